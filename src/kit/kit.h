#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "kit/staging.h"

namespace kit {

// What to make: an item of a theme from a family's photos.
struct KitOptions {
    std::string theme;  // "Yrke", "Musik", "Sport" or "Djur", any case
    int position = 0;   // 1..8: the top row left to right, then the bottom row
    // UTF-8; shown on the item's button, kept in its record. Empty: the name the item has now
    // (the last part of its record's folder).
    std::string name;
    std::vector<std::filesystem::path> photos;  // JPEG, PNG or HEIC, at least one
    // The content folder to change; empty: the per-user one. When it holds no content yet the
    // content of `seedFrom` (empty: the current directory) is copied there first.
    std::filesystem::path content;
    std::filesystem::path seedFrom;
    StepHook beforeStep = [](std::string_view) {};
};

struct KitResult {
    std::filesystem::path content;     // the content folder changed
    std::filesystem::path itemFolder;  // the item's pictures (empty after an undo)
    std::filesystem::path button;      // the item's sub-menu button picture
    // The choices screen's item page, when the content has one, and where on it the item's
    // small picture lies.
    std::filesystem::path itemPage;
    std::array<int, 2> itemPageBox{};
    std::string folderText;      // the record's folder text, Windows-1252
    int item = 0;                // the program's item number, 0..31
    bool copiedContent = false;  // whether the content was copied there first
};

// Writes the item: its button and cell in the theme's menu pictures, its build-up and film and
// its record in the theme file. Everything is made in a work folder inside the content folder
// and then moved into place; a failure anywhere leaves the content as it was. What the item
// replaced is kept, so that UndoItem can bring it back. Failures are KitError.
KitResult MakeItem(const KitOptions& options);

// The name an item keeps when it is made again without one, from its record's folder text
// (Windows-1252): the folder's last part, less the kit's own "EgenN_" prefix, '_' read as a
// space ("Djur\Egen3_Mormors_katt\" is "Mormors katt"). In UTF-8.
std::string NameFromRecord(const std::string& folder);

// Brings back the item that the last MakeItem at options.theme and options.position replaced.
KitResult UndoItem(const KitOptions& options);

// Build-up lengths: pieces across and down in the simple and in the detailed set.
inline constexpr int kSimpleColumns = 2, kSimpleRows = 2;
inline constexpr int kComplexColumns = 3, kComplexRows = 3;
inline constexpr int kMostPhotos = 12;

}  // namespace kit
