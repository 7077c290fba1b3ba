#pragma once

#include <string>
#include <string_view>

// What the program says about itself. `--help` and the manual page quillowbee(6) are both made
// from this one text, so they cannot disagree.
namespace UsageText {

// The answer to --help, wrapped for a terminal of 80 columns.
std::string Help();

// The first lines of the help, for a command line that was misunderstood.
std::string Synopsis();

// The manual page in roff, section 6, for `version` released on `date` (YYYY-MM-DD).
std::string ManualPage(std::string_view version, std::string_view date);

}  // namespace UsageText
