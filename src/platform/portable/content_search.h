#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The folders that may hold the program's content, in the order they are tried: the current
// directory, ${XDG_DATA_HOME:-~/.local/share}/Quillowbee (where data files' "C:\Quillowbee\"
// also points), then quillowbee/ below each absolute folder of
// ${XDG_DATA_DIRS:-/usr/local/share:/usr/share}.
std::vector<std::string> ContentFolderCandidates();

// Whether `folder` holds every one of `themeFiles` (system path texts such as "Data\\Yrke.dat",
// found whatever their case on disk) as a regular file.
bool HoldsContent(const std::string& folder, const std::vector<std::string_view>& themeFiles);

struct ContentSearch {
    std::optional<std::string> found;  // the first candidate that holds content
    std::vector<std::string> looked;   // every candidate tried, in order
};
ContentSearch FindContentFolder(const std::vector<std::string_view>& themeFiles);

// One line for an adult when nothing was found: where the program looked and what to do.
std::string NoContentMessage(const ContentSearch& search);

}  // namespace platform
