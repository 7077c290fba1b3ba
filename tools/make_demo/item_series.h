#pragma once

#include <string>

#include "item_catalog.h"
#include "pack_writer.h"

namespace make_demo {

// The highest picture numbers that the item's data record gives.
struct SeriesCounts {
    int simpleLast;
    int complexLast;
    int filmLast;
};

SeriesCounts CountItemSeries(const Item& item);

// Picture file name of picture index n: "01" … "09", then "10", "11" …, and ".jpg".
std::string PictureFileName(int index);

// Writes the item's four picture series: "Enkel\\Film", "Komplex\\Film", "Enkel\\Byggupp"
// and "Komplex\\Byggupp" below its folder.
void WriteItemSeries(PackWriter& pack, const Item& item);

}  // namespace make_demo
