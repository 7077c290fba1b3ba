#include "platform/portable/ini_text.h"

#include <vector>

namespace platform {

namespace {

struct Line {
    std::string_view body;
    std::string_view ending;  // "\n", "\r\n" or, on the last line, possibly ""
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t feed = text.find('\n', start);
        if (feed == std::string_view::npos) {
            lines.push_back({text.substr(start), {}});
            break;
        }
        const size_t bodyEnd = feed > start && text[feed - 1] == '\r' ? feed - 1 : feed;
        lines.push_back(
            {text.substr(start, bodyEnd - start), text.substr(bodyEnd, feed + 1 - bodyEnd)});
        start = feed + 1;
    }
    return lines;
}

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c;
        };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// True for a section header line, whose name is then stored in `name`.
bool SectionName(std::string_view body, std::string_view& name) {
    const std::string_view trimmed = Trimmed(body);
    if (trimmed.empty() || trimmed.front() != '[') {
        return false;
    }
    const size_t close = trimmed.find(']');
    if (close == std::string_view::npos) {
        return false;
    }
    name = Trimmed(trimmed.substr(1, close - 1));
    return true;
}

bool IsKeyLine(std::string_view body, std::string_view key) {
    // A comment line's text before "=" begins with ";" or "#", so it never equals a key.
    const std::string_view trimmed = Trimmed(body);
    const size_t equals = trimmed.find('=');
    return equals != std::string_view::npos &&
           SameIgnoringAsciiCase(Trimmed(trimmed.substr(0, equals)), key);
}

}  // namespace

std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value) {
    const std::vector<Line> lines = SplitLines(text);
    const std::string setting = std::string(key) + "=" + std::string(value);
    // New lines end the way the file's lines already do.
    const std::string_view newline =
        !lines.empty() && lines.front().ending == "\r\n" ? "\r\n" : "\n";

    constexpr size_t kNone = static_cast<size_t>(-1);
    size_t replace = kNone;
    size_t insertAfter = kNone;  // the last non-blank line of the section, its header at least
    bool inSection = false;
    bool sectionSeen = false;
    for (size_t i = 0; i < lines.size() && replace == kNone; ++i) {
        std::string_view name;
        if (SectionName(lines[i].body, name)) {
            inSection = !sectionSeen && SameIgnoringAsciiCase(name, section);
            sectionSeen = sectionSeen || inSection;
            if (inSection) {
                insertAfter = i;
            }
        } else if (inSection && IsKeyLine(lines[i].body, key)) {
            replace = i;
        } else if (inSection && !Trimmed(lines[i].body).empty()) {
            insertAfter = i;
        }
    }

    std::string out;
    out.reserve(text.size() + setting.size() + section.size() + 8);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i == replace) {
            out += setting;
            out += lines[i].ending;
            continue;
        }
        out += lines[i].body;
        out += lines[i].ending.empty() && i == insertAfter ? newline : lines[i].ending;
        if (i == insertAfter && replace == kNone) {
            out += setting;
            out += newline;
        }
    }
    if (!sectionSeen) {
        if (!lines.empty() && lines.back().ending.empty()) {
            out += newline;
        }
        if (!lines.empty() && !Trimmed(lines.back().body).empty()) {
            out += newline;  // a blank line before the new section
        }
        out += "[" + std::string(section) + "]";
        out += newline;
        out += setting;
        out += newline;
    }
    return out;
}

}  // namespace platform
