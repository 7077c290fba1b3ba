#pragma once

#include <string>

#include "canvas.h"

namespace make_demo {

enum class JpegQuality {
    Menu,    // menu pictures: full colour resolution, sharp edges around names
    Series,  // activity pictures: smaller files, many of them
};

std::string EncodeJpeg(const Canvas& canvas, JpegQuality quality);

}  // namespace make_demo
