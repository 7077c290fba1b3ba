// Not built yet.
#include "platform/file_picture_decoder.h"
#include "shell/system_failure.h"

namespace platform {
namespace {
class NoDecoder : public PictureDecoder {
public:
    DecodedPicture Decode(const std::string& path, int32_t, int32_t) override {
        Fail(path + ": picture decoding is not built yet");
    }
};
}  // namespace
std::unique_ptr<PictureDecoder> CreateFilePictureDecoder() { return std::make_unique<NoDecoder>(); }
}  // namespace platform
