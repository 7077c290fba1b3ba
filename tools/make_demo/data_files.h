#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "item_catalog.h"
#include "pack_writer.h"

namespace make_demo {

// The program's data files are 8-bit Windows-1252 text; our names are UTF-8. Only the
// Latin-1 letters (å, ä, ö, é …) are needed; anything else is refused.
std::string ToWindows1252(std::string_view utf8);

// "Data\\<theme>.dat": eight six-line records with CRLF line ends.
std::string ThemeDataFile(Theme theme);

void WriteDataFiles(PackWriter& pack);

}  // namespace make_demo
