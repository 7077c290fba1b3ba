#include "kit/content_folder.h"

#include <algorithm>
#include <cctype>

#include "kit/kit_error.h"
#include "platform/portable/user_folders.h"

namespace fs = std::filesystem;

namespace kit {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

fs::path DefaultContentFolder() {
    return fs::path(platform::UserDataHome()) / "Quillowbee";
}

bool HoldsContent(const fs::path& folder) {
    std::error_code error;
    const fs::path data = ResolveIn(folder, "Data");
    if (!fs::is_directory(data, error)) return false;
    for (fs::directory_iterator it(data, error); !error && it != fs::directory_iterator();
         it.increment(error)) {
        if (Lower(it->path().extension().string()) == ".dat") return true;
    }
    return false;
}

bool EnsureContent(const fs::path& folder, const fs::path& source, const StepHook& hook) {
    if (HoldsContent(folder)) return false;
    std::error_code error;
    if (fs::exists(folder, error) && !fs::is_empty(folder, error)) {
        Fail(folder.string() +
             " holds files but no content (no Data folder with theme files); name the content "
             "folder with --content=DIR");
    }
    if (!HoldsContent(source)) {
        Fail("no content to start from: " + folder.string() + " holds none and " + source.string() +
             " has no Data folder with theme files; run the kit in the program's content "
             "folder or name one with --content=DIR");
    }
    fs::create_directories(folder.parent_path());
    const StageFolder stage(folder.parent_path());
    const fs::path copy = stage.Path() / "content";
    fs::copy(source, copy, fs::copy_options::recursive, error);
    if (error) {
        Fail("cannot copy the content of " + source.string() + " to " + folder.string() + ": " +
             error.message());
    }
    FlushToDisk(stage.Path());
    Transaction move(hook);
    move.Replace(copy, folder, stage.Path() / "empty", "copy the content");
    move.Commit();
    return true;
}

fs::path ResolveIn(const fs::path& folder, std::string_view systemPath) {
    fs::path resolved = folder;
    size_t start = 0;
    while (start <= systemPath.size()) {
        size_t end = systemPath.find('\\', start);
        if (end == std::string_view::npos) end = systemPath.size();
        const std::string part(systemPath.substr(start, end - start));
        start = end + 1;
        if (part.empty()) continue;
        std::error_code error;
        fs::path next = resolved / part;
        if (!fs::exists(next, error)) {
            const std::string wanted = Lower(part);
            std::string best;
            for (fs::directory_iterator it(resolved, error);
                 !error && it != fs::directory_iterator(); it.increment(error)) {
                const std::string name = it->path().filename().string();
                if (Lower(name) == wanted && (best.empty() || name < best)) best = name;
            }
            if (!best.empty()) next = resolved / best;
        }
        resolved = next;
    }
    return resolved;
}

}  // namespace kit
