#include "jpeg_writer.h"

#include "writers/jpeg_writer.h"

namespace make_demo {

std::string EncodeJpeg(const Canvas& canvas, JpegQuality quality) {
    const bool menu = quality == JpegQuality::Menu;
    return writers::EncodeJpeg(
        canvas.Pixels(), canvas.Width(), canvas.Height(), canvas.Stride(),
        writers::JpegPixels::Bgrx,
        {menu ? 92 : 84, menu ? writers::JpegSampling::Full : writers::JpegSampling::Half});
}

}  // namespace make_demo
