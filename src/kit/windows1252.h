#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kit {

// The Windows-1252 bytes of a UTF-8 text, or nothing when the text is not well-formed UTF-8 or
// holds a character the code page lacks. `offending` then names that character ("U+1F431").
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8, std::string* offending);

}  // namespace kit
