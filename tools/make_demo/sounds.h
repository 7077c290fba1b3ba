#pragma once

#include "pack_writer.h"

namespace make_demo {

// The thirteen sounds under "Ljud": menu tunes, click, build-up sounds and the film sounds.
void WriteSounds(PackWriter& pack);

}  // namespace make_demo
