#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/picture_decoder.h"

namespace testing_support {

// A decoder that records every file asked for (and the size wanted), then decodes it for real.
class RecordingDecoder : public platform::PictureDecoder {
  public:
    struct Call {
        std::string path;
        int32_t wantWidth, wantHeight;
        int32_t decodedWidth = 0, decodedHeight = 0;
    };
    explicit RecordingDecoder(platform::PictureDecoder& real) : real_(real) {}
    // The paths asked for, in order.
    std::vector<std::string> Paths() const;
    const platform::DecodedPicture& Decode(const std::string& nativePath, int32_t wantWidth,
                                           int32_t wantHeight) override;
    std::vector<Call> calls;
    // Runs before each decode with its path; a test makes a decode fail by throwing from it.
    std::function<void(const std::string&)> beforeDecode;

  private:
    platform::PictureDecoder& real_;
};

// Installs a recording decoder in front of the current one until the end of the scope.
class ScopedRecordingDecoder {
  public:
    ScopedRecordingDecoder();
    ~ScopedRecordingDecoder();
    std::vector<RecordingDecoder::Call>& Calls() { return decoder_.calls; }
    std::vector<std::string> Paths() const { return decoder_.Paths(); }
    RecordingDecoder& Decoder() { return decoder_; }

  private:
    platform::PictureDecoder* previous_;
    RecordingDecoder decoder_;
};

}  // namespace testing_support
