#include "jpeg_writer.h"

#include <turbojpeg.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace make_demo {
namespace {

// One compressor a thread: TurboJPEG handles are not shared between threads.
class Compressor {
  public:
    Compressor() : handle_(tjInitCompress()) {
        if (handle_ == nullptr) throw std::runtime_error("cannot start the JPEG encoder");
    }
    ~Compressor() { tjDestroy(handle_); }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;
    tjhandle Get() const { return handle_; }

  private:
    tjhandle handle_;
};

}  // namespace

std::vector<uint8_t> EncodeJpeg(const Canvas& canvas, JpegQuality quality) {
    thread_local Compressor compressor;
    // A worst-case buffer kept between calls: no allocation for each of the many pictures.
    thread_local std::vector<unsigned char> buffer;
    const bool menu = quality == JpegQuality::Menu;
    const int subsampling = menu ? TJSAMP_444 : TJSAMP_420;
    const unsigned long capacity = tjBufSize(canvas.Width(), canvas.Height(), subsampling);
    if (buffer.size() < capacity) buffer.resize(capacity);
    unsigned char* jpeg = buffer.data();
    unsigned long size = capacity;
    const int result = tjCompress2(compressor.Get(), canvas.Pixels(), canvas.Width(),
                                   canvas.Stride(), canvas.Height(), TJPF_BGRX, &jpeg, &size,
                                   subsampling, menu ? 92 : 84, TJFLAG_NOREALLOC);
    if (result != 0) {
        throw std::runtime_error(std::string("JPEG encoding failed: ") +
                                 tjGetErrorStr2(compressor.Get()));
    }
    return std::vector<uint8_t>(jpeg, jpeg + size);
}

}  // namespace make_demo
