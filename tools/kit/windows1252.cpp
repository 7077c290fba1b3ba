#include "windows1252.h"

#include <cstdio>

namespace kit {
namespace {

// The characters of bytes 0x80..0x9F; 0 where the code page defines none.
constexpr char32_t kHighRow[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       //
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The next character of a UTF-8 text, or nothing for a malformed sequence.
std::optional<char32_t> Next(std::string_view text, size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
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
    } else {
        return std::nullopt;
    }
    if (i + length > text.size()) {
        return std::nullopt;
    }
    for (size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) {
            return std::nullopt;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms and surrogates are not characters.
    const char32_t least[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < least[length] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
        return std::nullopt;
    }
    i += length;
    return cp;
}

std::optional<char> ByteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<char>(cp);
    }
    for (int b = 0; b < 32; ++b) {
        if (kHighRow[b] != 0 && kHighRow[b] == cp) {
            return static_cast<char>(0x80 + b);
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8, std::string* offending) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        const std::optional<char32_t> cp = Next(utf8, i);
        if (!cp) {
            if (offending != nullptr) *offending = "a byte that is not UTF-8";
            return std::nullopt;
        }
        const std::optional<char> byte = ByteOf(*cp);
        if (!byte) {
            if (offending != nullptr) {
                char text[16];
                std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(*cp));
                *offending = text;
            }
            return std::nullopt;
        }
        out.push_back(*byte);
    }
    return out;
}

}  // namespace kit
