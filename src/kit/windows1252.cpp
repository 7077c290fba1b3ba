#include "kit/windows1252.h"

#include <cstdio>

#include "platform/portable/text_encoding.h"

namespace kit {
namespace {

std::optional<char> ByteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<char>(cp);
    }
    // The code page's own characters of 0x80-0x9F; the C1 controls it leaves undefined are not
    // letters of a name.
    for (int b = 0x80; b <= 0x9F; ++b) {
        const char32_t character = platform::Windows1252Character(static_cast<unsigned char>(b));
        if (character == cp && (character < 0x80 || character > 0x9F)) {
            return static_cast<char>(b);
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8, std::string* offending) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        const char32_t cp = platform::NextUtf8Character(utf8, i);
        if (cp >= platform::kNotACharacter) {
            if (offending != nullptr) *offending = "a byte that is not UTF-8";
            return std::nullopt;
        }
        const std::optional<char> byte = ByteOf(cp);
        if (!byte) {
            if (offending != nullptr) {
                char text[16];
                std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(cp));
                *offending = text;
            }
            return std::nullopt;
        }
        out.push_back(*byte);
    }
    return out;
}

}  // namespace kit
