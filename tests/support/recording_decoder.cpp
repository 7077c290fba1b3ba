#include "support/recording_decoder.h"

#include "platform/services.h"

namespace testing_support {

const platform::DecodedPicture& RecordingDecoder::Decode(const std::string& nativePath,
                                                         int32_t wantWidth, int32_t wantHeight) {
    calls.push_back({nativePath, wantWidth, wantHeight});
    if (beforeDecode) {
        beforeDecode(nativePath);
    }
    const platform::DecodedPicture& picture = real_.Decode(nativePath, wantWidth, wantHeight);
    calls.back().decodedWidth = picture.width;
    calls.back().decodedHeight = picture.height;
    return picture;
}

ScopedRecordingDecoder::ScopedRecordingDecoder()
    : previous_(platform::Current().pictures), decoder_(*platform::Current().pictures) {
    platform::Services services = platform::Current();
    services.pictures = &decoder_;
    platform::Install(services);
}

ScopedRecordingDecoder::~ScopedRecordingDecoder() {
    platform::Services services = platform::Current();
    services.pictures = previous_;
    platform::Install(services);
}

std::vector<std::string> RecordingDecoder::Paths() const {
    std::vector<std::string> paths;
    for (const Call& call : calls) {
        paths.push_back(call.path);
    }
    return paths;
}

}  // namespace testing_support
