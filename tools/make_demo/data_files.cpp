#include "data_files.h"

#include <stdexcept>

#include "item_series.h"

namespace make_demo {

std::string ToWindows1252(std::string_view utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
            // Two-byte sequences for U+0080 … U+00FF, which Windows-1252 shares with Latin-1
            // from U+00A0 on.
            const auto next = static_cast<unsigned char>(utf8[++i]);
            const unsigned code = ((c & 0x1F) << 6) | (next & 0x3F);
            if ((next & 0xC0) != 0x80 || code < 0xA0) {
                throw std::runtime_error("no Windows-1252 letter for text " + std::string(utf8));
            }
            out.push_back(static_cast<char>(code));
        } else {
            throw std::runtime_error("no Windows-1252 letter for text " + std::string(utf8));
        }
    }
    return out;
}

std::string ThemeDataFile(Theme theme) {
    std::string text;
    auto line = [&text](const std::string& s) { text += s + "\r\n"; };
    const auto& items = Items();
    const size_t first = (static_cast<size_t>(theme) - 1) * 8;
    for (size_t slot = first; slot < first + 8; ++slot) {
        const Item& item = items[slot];
        const SeriesCounts counts = CountItemSeries(item);
        line(ToWindows1252(FolderText(item)));
        line(std::to_string(counts.simpleLast));
        line(std::to_string(counts.complexLast));
        line(std::to_string(counts.filmLast));
        std::string delays;
        for (int16_t d : FilmDelays(item)) {
            if (!delays.empty()) delays += ",";
            delays += std::to_string(d);
        }
        line(delays);
        // The reader drops spaces, so the remark is written without them.
        line(ToWindows1252(std::string(item.name)) + "-demo");
    }
    return {text.begin(), text.end()};
}

void WriteDataFiles(PackWriter& pack) {
    for (Theme theme : {Theme::Yrke, Theme::Musik, Theme::Sport, Theme::Djur}) {
        pack.Write("Data\\" + std::string(ThemeName(theme)) + ".dat", ThemeDataFile(theme));
    }
}

}  // namespace make_demo
