#include "graphics/menu_picture_files.h"

namespace GameUtil {

std::string ButtonPictureFile(int item) {
    return "Grafik\\Meny\\Knapp1_" + std::string(item < 10 ? "0" : "") + std::to_string(item) +
           ".jpg";
}

std::vector<PictureFile> MainSetPictureFiles() {
    std::vector<PictureFile> files{
        {"Grafik\\Meny\\StartMeny.jpg", 800, 600},  {"Grafik\\Meny\\StoppLapp.jpg", 70, 70},
        {"Grafik\\Meny\\YrkeMeny1.jpg", 800, 600},  {"Grafik\\Meny\\MusikMeny1.jpg", 800, 600},
        {"Grafik\\Meny\\SportMeny1.jpg", 800, 600}, {"Grafik\\Meny\\DjurMeny1.jpg", 800, 600},
    };
    for (int n = 0; n < 4; ++n) {
        files.push_back({"Grafik\\Meny\\StartMeny" + std::to_string(n) + ".jpg", 310, 285});
    }
    for (int k = 0; k < 32; ++k) {
        files.push_back({ButtonPictureFile(k), 195, 260});
    }
    for (int n = 0; n < 4; ++n) {
        files.push_back({"Grafik\\Meny\\Lapp" + std::to_string(n) + ".jpg", 800, 600});
    }
    return files;
}

std::vector<PictureFile> ChoiceSetPictureFiles() {
    return {
        {"Grafik\\Meny\\Val\\InfoMeny.jpg", 800, 600},
        {"Grafik\\Meny\\Val\\4Meny.jpg", 800, 600},
        {"Grafik\\Meny\\Val\\8Meny.jpg", 800, 600},
        {"Grafik\\Meny\\Val\\ByggUppMeny.jpg", 800, 600},
        {"Grafik\\Meny\\Val\\FilmMeny.jpg", 800, 600},
        {"Grafik\\Meny\\Val\\selected.jpg", 23, 23},
        {"Grafik\\Meny\\Val\\kryss.bmp", 51, 54},
    };
}

}  // namespace GameUtil
