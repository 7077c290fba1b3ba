#pragma once

#include <cstdint>
#include <string>

// Names of the activities' picture files: the item's folder, a series folder, the picture's
// number text and ".jpg", optionally below the hard-disk copy.
namespace ActivityPictures {

// Stands in front of every activity path while settings.movieOnHd is True.
inline constexpr char kHardDiskPrefix[] = "C:\\Quillowbee\\";
inline constexpr char kExtension[] = ".jpg";

// Picture n (0-based) is numbered from 1: "01" .. "09", then "10", "11", ... without padding.
std::string NumberText(int32_t n);

// "Enkel\\Film\\" for the simple set, "Komplex\\Film\\" for the complex one.
std::string FilmFolder(bool simpleContent);
// "Enkel\\Byggupp\\" for the simple set, "Komplex\\Byggupp\\" for the complex one.
std::string BuildUpFolder(bool simpleContent);

}  // namespace ActivityPictures
