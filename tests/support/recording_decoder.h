#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/picture_decoder.h"
#include "platform/services.h"

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
    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const Call& call : calls) paths.push_back(call.path);
        return paths;
    }
    const platform::DecodedPicture& Decode(const std::string& nativePath, int32_t wantWidth,
                                           int32_t wantHeight) override {
        calls.push_back({nativePath, wantWidth, wantHeight});
        if (beforeDecode) beforeDecode(nativePath);
        const platform::DecodedPicture& picture = real_.Decode(nativePath, wantWidth, wantHeight);
        calls.back().decodedWidth = picture.width;
        calls.back().decodedHeight = picture.height;
        return picture;
    }
    std::vector<Call> calls;
    // Runs before each decode with its path; a test makes a decode fail by throwing from it.
    std::function<void(const std::string&)> beforeDecode;

  private:
    platform::PictureDecoder& real_;
};

// Makes `decoder` the one every picture is read with.
inline void InstallDecoder(platform::PictureDecoder* decoder) {
    platform::Services services = platform::Current();
    services.pictures = decoder;
    platform::Install(services);
}

// Installs a recording decoder in front of the current one until the end of the scope.
class ScopedRecordingDecoder {
  public:
    ScopedRecordingDecoder() { InstallDecoder(&decoder_); }
    ~ScopedRecordingDecoder() { InstallDecoder(previous_); }
    std::vector<RecordingDecoder::Call>& Calls() { return decoder_.calls; }
    std::vector<std::string> Paths() const { return decoder_.Paths(); }
    RecordingDecoder& Decoder() { return decoder_; }

  private:
    platform::PictureDecoder* previous_ = platform::Current().pictures;
    RecordingDecoder decoder_{*previous_};
};
}  // namespace testing_support
