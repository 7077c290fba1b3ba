#pragma once

#include <string>
#include <string_view>

namespace platform {

// Turns one of the system's path texts ("Grafik\\Meny\\StartMeny.jpg", Windows-1252 bytes) into
// a native UTF-8 path: backslashes become '/', each part is matched exactly, else
// case-insensitively among the entries of its folder; the prefix "C:\\Quillowbee\\" stands for
// ${XDG_DATA_HOME:-$HOME/.local/share}/Quillowbee/. Relative texts stay relative to the current
// directory. A part that matches nothing is kept as written, so opening it fails naturally.
std::string NativePath(std::string_view systemPath);

// The same for a relative path text below the native folder `folder` instead of the current
// directory; the folder itself is taken as written.
std::string NativePathBelow(const std::string& folder, std::string_view systemPath);

// Windows-1252 bytes to UTF-8.
std::string Windows1252ToUtf8(std::string_view text);

}  // namespace platform
