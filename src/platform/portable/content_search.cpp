#include "platform/portable/content_search.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/portable/path_resolution.h"
#include "platform/portable/user_folders.h"

namespace platform {

namespace {

constexpr const char* kDefaultDataDirs = "/usr/local/share:/usr/share";

std::string CurrentDirectory() {
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    return error ? std::string(".") : here.string();
}

// The absolute folders of a colon-separated list; relative and empty entries do not count.
std::vector<std::string> AbsoluteFolders(std::string_view list) {
    std::vector<std::string> folders;
    while (!list.empty()) {
        const size_t colon = list.find(':');
        std::string folder(list.substr(0, colon));
        list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
        while (folder.size() > 1 && folder.back() == '/') {
            folder.pop_back();
        }
        if (!folder.empty() && folder.front() == '/') {
            folders.push_back(folder == "/" ? "" : folder);
        }
    }
    return folders;
}

}  // namespace

std::vector<std::string> ContentFolderCandidates() {
    std::vector<std::string> candidates{CurrentDirectory(), UserDataHome() + "/Quillowbee"};
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    std::vector<std::string> shared = AbsoluteFolders(dataDirs != nullptr ? dataDirs : "");
    if (shared.empty()) {
        shared = AbsoluteFolders(kDefaultDataDirs);
    }
    for (const std::string& folder : shared) {
        candidates.push_back(folder + "/quillowbee");
    }
    return candidates;
}

bool HoldsContent(const std::string& folder, const std::vector<std::string_view>& themeFiles) {
    for (const std::string_view file : themeFiles) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(NativePathBelow(folder, file), error)) {
            return false;
        }
    }
    return !themeFiles.empty();
}

ContentSearch FindContentFolder(const std::vector<std::string_view>& themeFiles) {
    ContentSearch search;
    for (std::string& folder : ContentFolderCandidates()) {
        search.looked.push_back(folder);
        if (HoldsContent(folder, themeFiles)) {
            search.found = std::move(folder);
            break;
        }
    }
    return search;
}

std::string NoContentMessage(const ContentSearch& search) {
    std::string places;
    for (const std::string& folder : search.looked) {
        places += (places.empty() ? "" : ", ") + folder;
    }
    return "no content found (the theme files Data/*.dat are in none of " + places +
           "); install it there or name its folder with --content=DIR";
}

}  // namespace platform
