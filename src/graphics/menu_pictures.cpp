#include <exception>
#include <string>

#include "display/display_objects.h"
#include "form/main_menu_form.h"
#include "graphics/menu_picture_files.h"
#include "graphics/picture_loader.h"
#include "platform/services.h"

using namespace DisplayFlags;

namespace {

void SetSize(SurfaceRequest& request, int32_t width, int32_t height) {
    request.width = width;
    request.height = height;
}

void Load(SurfaceSlot& slot, const std::string& path, SurfaceRequest& request) {
    slot = GameUtil::LoadPictureSurface(path, request);
}

// Both sets, in the order the loaders below read them.
std::vector<GameUtil::PictureFile> MenuPictureFiles() {
    std::vector<GameUtil::PictureFile> files = GameUtil::MainSetPictureFiles();
    for (GameUtil::PictureFile& file : GameUtil::ChoiceSetPictureFiles()) {
        files.push_back(std::move(file));
    }
    return files;
}

}  // namespace

void MainMenuForm::LoadMainMenuPictures() {
    SurfaceRequest request = GameUtil::OffScreenPictureRequest(0, 0);
    // The set is loaded whole or not at all; one more pass may find what was missing (a slow
    // disk, a file being copied in).
    LoadWithOneRetry(
        [&] {
            GameUtil::ReadAhead(MenuPictureFiles());
            SetSize(request, 800, 600);
            Load(menuPictures[0], "Grafik\\Meny\\StartMeny.jpg", request);
            SetSize(request, 70, 70);
            Load(stopNotePicture, "Grafik\\Meny\\StoppLapp.jpg", request);
            if (currentScreen == Screen::kMainMenu) {
                // The main menu's background is on screen while the rest loads.
                DrawMenuBackground();
                GameUtil::primarySurface->Flip(nullptr, kFlipWait);
            }
            SetSize(request, 800, 600);
            Load(menuPictures[1], "Grafik\\Meny\\YrkeMeny1.jpg", request);
            Load(menuPictures[2], "Grafik\\Meny\\MusikMeny1.jpg", request);
            Load(menuPictures[3], "Grafik\\Meny\\SportMeny1.jpg", request);
            Load(menuPictures[4], "Grafik\\Meny\\DjurMeny1.jpg", request);
            SetSize(request, 310, 285);
            for (size_t n = 0; n < quadrantPictures.size(); ++n) {
                Load(quadrantPictures[n], "Grafik\\Meny\\StartMeny" + std::to_string(n) + ".jpg",
                     request);
            }
            SetSize(request, 195, 260);
            for (size_t k = 0; k < buttonPictures.size(); ++k) {
                Load(buttonPictures[k], GameUtil::ButtonPictureFile(static_cast<int>(k)), request);
            }
            SetSize(request, 800, 600);
            for (size_t n = 0; n < notePictures.size(); ++n) {
                Load(notePictures[n], "Grafik\\Meny\\Lapp" + std::to_string(n) + ".jpg", request);
            }
        },
        [&] { ReleaseMainMenuPictures(); });
}

void MainMenuForm::LoadChoicePictures() {
    SurfaceRequest request = GameUtil::OffScreenPictureRequest(800, 600);
    GameUtil::ReadAhead(GameUtil::ChoiceSetPictureFiles());
    Load(choicePictures[0], "Grafik\\Meny\\Val\\InfoMeny.jpg", request);
    Load(choicePictures[1], "Grafik\\Meny\\Val\\4Meny.jpg", request);
    Load(choicePictures[2], "Grafik\\Meny\\Val\\8Meny.jpg", request);
    Load(choicePictures[3], "Grafik\\Meny\\Val\\ByggUppMeny.jpg", request);
    Load(choicePictures[4], "Grafik\\Meny\\Val\\FilmMeny.jpg", request);
    SetSize(request, 23, 23);
    Load(selectedMarkPicture, "Grafik\\Meny\\Val\\selected.jpg", request);
    SetSize(request, 51, 54);
    Load(crossPicture, "Grafik\\Meny\\Val\\kryss.bmp", request);
    crossPicture->SetColorKey(kColorKeySourceBlt, 0, 0);
}

void MainMenuForm::ReadMenuPicturesAhead() {
    GameUtil::ReadAhead(MenuPictureFiles());
}

void MainMenuForm::ReleaseMainMenuPictures() {
    for (SurfaceSlot& picture : menuPictures) {
        picture.reset();
    }
    for (SurfaceSlot& picture : quadrantPictures) {
        picture.reset();
    }
    for (SurfaceSlot& picture : buttonPictures) {
        picture.reset();
    }
    stopNotePicture.reset();
}

void MainMenuForm::ReleaseChoicePictures() {
    for (SurfaceSlot& picture : choicePictures) {
        picture.reset();
    }
    selectedMarkPicture.reset();
    crossPicture.reset();
    for (SurfaceSlot& picture : madeItemPictures) {
        picture.reset();
    }
}

void MainMenuForm::RecoverLostDisplay() {
    platform::WindowSystem& window = *platform::Current().window;
    displayWasLost = false;
    while (!GameUtil::IsDisplayReady()) {
        if (!isRunning) {
            // A quit asked for before or while the display is away ends the program without
            // waiting for the display to come back.
            return;
        }
        window.Yield(*this);
        displayWasLost = true;
    }
    window.Yield(*this);
    if (displayWasLost) {
        displayWasLost = false;
        GameUtil::displayDevice->RestoreAllSurfaces();
        LoadMainMenuPictures();
        LoadChoicePictures();
        EnterScreen();
    }
}
