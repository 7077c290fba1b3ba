#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The text of an INI file with `key`=`value` set in [`section`]: the first line of that key in
// the first such section is replaced, else the key is added after the section's last line, else
// the section is added at the end. Every other line, comments and line endings included, stays
// as it was. Sections and keys are matched ignoring ASCII case and surrounding blanks.
std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value);

// One line of an INI text as a reader sees it, by the rules WithIniValue writes by: a leading
// byte-order mark is skipped, blanks around names and values do not count, a line whose first
// character is ";" or "#" is a comment.
struct IniLine {
    enum class Kind { Blank, Comment, Section, Value, Malformed };
    Kind kind = Kind::Blank;
    int number = 0;          // counted from 1
    std::string_view name;   // the section's name or the key
    std::string_view value;  // of a key=value line
    std::string_view text;   // the whole line without its ending, for messages
};
std::vector<IniLine> IniLines(std::string_view text);

// Sections and keys are the same ignoring ASCII case.
bool SameIniName(std::string_view a, std::string_view b);

}  // namespace platform
