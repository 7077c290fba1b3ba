#include "platform/portable/ini_text.h"

#include <vector>

#include "platform/portable/text_encoding.h"

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
    return equals != std::string_view::npos && SameIniName(Trimmed(trimmed.substr(0, equals)), key);
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

bool SameIniName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && StartsWithIgnoringAsciiCase(a, b);
}

std::vector<IniLine> IniLines(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    std::vector<IniLine> lines;
    int number = 0;
    for (const Line& line : SplitLines(text)) {
        IniLine out;
        out.number = ++number;
        out.text = line.body;
        const std::string_view trimmed = Trimmed(line.body);
        const size_t equals = trimmed.find('=');
        if (trimmed.empty()) {
            out.kind = IniLine::Kind::Blank;
        } else if (trimmed.front() == ';' || trimmed.front() == '#') {
            out.kind = IniLine::Kind::Comment;
        } else if (SectionName(line.body, out.name)) {
            out.kind = IniLine::Kind::Section;
        } else if (equals != std::string_view::npos && equals > 0 && trimmed.front() != '[') {
            out.kind = IniLine::Kind::Value;
            out.name = Trimmed(trimmed.substr(0, equals));
            out.value = Trimmed(trimmed.substr(equals + 1));
        } else {
            out.kind = IniLine::Kind::Malformed;
        }
        lines.push_back(out);
    }
    return lines;
}

std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value) {
    // A byte-order mark (an editor's) stays in front of the first line, not in its name.
    const bool marked = text.starts_with(kByteOrderMark);
    if (marked) {
        text.remove_prefix(kByteOrderMark.size());
    }
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
            inSection = !sectionSeen && SameIniName(name, section);
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

    std::string out(marked ? kByteOrderMark : std::string_view{});
    out.reserve(text.size() + setting.size() + section.size() + 11);
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
