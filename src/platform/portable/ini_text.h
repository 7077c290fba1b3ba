#pragma once

#include <string>
#include <string_view>

namespace platform {

// The text of an INI file with `key`=`value` set in [`section`]: the first line of that key in
// the first such section is replaced, else the key is added after the section's last line, else
// the section is added at the end. Every other line, comments and line endings included, stays
// as it was. Sections and keys are matched ignoring ASCII case and surrounding blanks.
std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value);

}  // namespace platform
