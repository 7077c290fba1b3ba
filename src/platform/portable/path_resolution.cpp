#include "platform/portable/path_resolution.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/portable/text_encoding.h"
#include "platform/portable/user_folders.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

// Lower case for the letters a Windows-1252 name can hold: ASCII, Latin-1 and the code page's
// own Š, Œ, Ž and Ÿ.
char32_t Folded(char32_t cp) {
    if ((cp >= 'A' && cp <= 'Z') || (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7)) {
        return cp + 0x20;
    }
    if (cp == 0x0160 || cp == 0x0152 || cp == 0x017D) {
        return cp + 1;
    }
    if (cp == 0x0178) {
        return 0x00FF;
    }
    return cp;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (Folded(NextUtf8Character(a, i)) != Folded(NextUtf8Character(b, j))) {
            return false;
        }
    }
    return i == a.size() && j == b.size();
}

bool Exists(const std::string& path) {
    std::error_code error;
    return fs::exists(path, error);
}

// The entry of `folder` whose name equals `part` but for case; when several do, the first in
// byte order, so the choice does not depend on the order the folder lists them in.
std::optional<std::string> FindIgnoringCase(const std::string& folder, std::string_view part) {
    std::error_code error;
    fs::directory_iterator entries(folder.empty() ? "." : folder, error);
    std::optional<std::string> found;
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        std::string name = entries->path().filename().string();
        if (SameIgnoringCase(name, part) && (!found || name < *found)) {
            found = std::move(name);
        }
    }
    return found;
}

}  // namespace

std::string Windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        AppendUtf8(out, Windows1252Character(b));
    }
    return out;
}

namespace {

// `relative` ('/'-separated, UTF-8) below the native folder `base` ("" or ending in '/').
std::string Resolve(const std::string& base, const std::string& relative) {
    // Content written with the right case is found with one look-up.
    if (Exists(base + relative)) {
        return base + relative;
    }

    std::string resolved = base;
    bool searching = true;  // once a folder is missing, nothing below it can be found
    size_t start = 0;
    while (true) {
        const size_t slash = relative.find('/', start);
        const std::string_view written = std::string_view(relative).substr(
            start, slash == std::string::npos ? std::string::npos : slash - start);
        std::string part(written);
        if (searching && !part.empty() && part != "." && part != ".." && !Exists(resolved + part)) {
            if (std::optional<std::string> found = FindIgnoringCase(resolved, part)) {
                part = std::move(*found);
            } else {
                searching = false;
            }
        }
        resolved += part;
        if (slash == std::string::npos) {
            break;
        }
        resolved += '/';
        start = slash + 1;
    }
    return resolved;
}

std::string WithSlashes(std::string text) {
    for (char& c : text) {
        if (c == '\\') {
            c = '/';
        }
    }
    return text;
}

}  // namespace

std::string NativePath(std::string_view systemPath) {
    constexpr std::string_view kHardDiskPrefix = "C:\\Quillowbee\\";
    if (StartsWithIgnoringAsciiCase(systemPath, kHardDiskPrefix)) {
        return Resolve(UserDataHome() + "/",
                       "Quillowbee/" + WithSlashes(Windows1252ToUtf8(
                                           systemPath.substr(kHardDiskPrefix.size()))));
    }
    return Resolve("", WithSlashes(Windows1252ToUtf8(systemPath)));
}

std::string NativePathBelow(const std::string& folder, std::string_view systemPath) {
    std::string base = folder;
    if (!base.empty() && base.back() != '/') {
        base += '/';
    }
    return Resolve(base, WithSlashes(Windows1252ToUtf8(systemPath)));
}

}  // namespace platform
