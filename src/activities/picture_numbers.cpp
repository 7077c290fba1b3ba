#include "activities/picture_numbers.h"

namespace ActivityPictures {

std::string NumberText(int32_t n) {
    const int32_t number = n + 1;
    return (number < 10 ? "0" : "") + std::to_string(number);
}

std::string FilmFolder(bool simpleContent) {
    return simpleContent ? "Enkel\\Film\\" : "Komplex\\Film\\";
}

std::string BuildUpFolder(bool simpleContent) {
    return simpleContent ? "Enkel\\Byggupp\\" : "Komplex\\Byggupp\\";
}

}  // namespace ActivityPictures
