#pragma once

#include "pack_writer.h"

namespace make_demo {

// The five choices pages, the selected mark and the cross, under "Grafik\\Meny\\Val".
void WriteChoicesPictures(PackWriter& pack);

}  // namespace make_demo
