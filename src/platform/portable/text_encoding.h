#pragma once

#include <string>
#include <string_view>

namespace platform {

// What NextUtf8Character gives for a byte that does not start a well-formed UTF-8 sequence:
// kNotACharacter plus the byte, so such a byte equals only itself.
inline constexpr char32_t kNotACharacter = 0x110000;

// The character starting at `i` of a UTF-8 text, advancing `i` past it. Cut-short, overlong and
// surrogate sequences are not characters: one byte is passed over.
char32_t NextUtf8Character(std::string_view text, size_t& i);

void AppendUtf8(std::string& out, char32_t character);

// Whether `text` starts with `prefix`, ASCII letters compared without regard to case.
bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);

// The character of a Windows-1252 byte. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) keep their Latin-1 code points, the C1 controls, as Windows' own
// conversion does: every byte then has its own character.
char32_t Windows1252Character(unsigned char byte);

}  // namespace platform
