#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace GameUtil {

// One menu picture: the file as the program names it and the size it is loaded at.
struct MenuPictureFile {
    std::string path;
    int32_t width;
    int32_t height;
};

// The 46 pictures of the main set and the 7 of the choices set, in the order the menu loaders
// read them (the content check goes through the same list).
std::vector<MenuPictureFile> MainSetPictureFiles();
std::vector<MenuPictureFile> ChoiceSetPictureFiles();

}  // namespace GameUtil
