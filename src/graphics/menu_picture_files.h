#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace GameUtil {

// One picture: the file as the program names it and the size it is loaded at (0: its own).
struct PictureFile {
    std::string path;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const PictureFile&) const = default;
};

// The 46 pictures of the main set and the 7 of the choices set, in the order the menu loaders
// read them (the content check goes through the same list).
std::vector<PictureFile> MainSetPictureFiles();
std::vector<PictureFile> ChoiceSetPictureFiles();

// The button picture of item `item` (0 to 31) in its theme's menu, as the program names it.
std::string ButtonPictureFile(int item);

}  // namespace GameUtil
