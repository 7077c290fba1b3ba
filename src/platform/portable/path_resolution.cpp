#include "platform/portable/path_resolution.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/portable/user_folders.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

// Windows-1252 bytes 0x80..0x9F. The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) keep their Latin-1 code points, the C1 controls, as Windows' own conversion
// does: every byte then has its own character, so two different names never become one.
constexpr char32_t kHighRow[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        // Every character of the code page lies in the Basic Multilingual Plane.
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Marks a byte that does not start a well-formed UTF-8 sequence; it then equals only itself.
constexpr char32_t kStrayByte = 0x110000;

// The character starting at `i` of a UTF-8 name, advancing `i` past it.
char32_t NextCharacter(std::string_view text, size_t& i) {
    const auto byte = [&](size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    size_t length = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
    }
    if (length == 0 || i + length > text.size()) {
        ++i;
        return kStrayByte + lead;
    }
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return kStrayByte + lead;
        }
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    i += length;
    return cp;
}

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
        if (Folded(NextCharacter(a, i)) != Folded(NextCharacter(b, j))) {
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

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c;
        };
        if (lower(text[i]) != lower(prefix[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string Windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        AppendUtf8(out, b >= 0x80 && b <= 0x9F ? kHighRow[b - 0x80] : b);
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
