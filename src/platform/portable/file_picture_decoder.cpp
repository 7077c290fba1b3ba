#include "platform/portable/file_picture_decoder.h"

#include <sys/stat.h>
#include <turbojpeg.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/system_failure.h"
#include "platform/portable/bmp_reader.h"

namespace platform {

int32_t PixelsToHimetric(int32_t pixels) {
    return static_cast<int32_t>((static_cast<int64_t>(pixels) * 2540 + 48) / 96);
}

namespace {

// TurboJPEG reports warnings through the same nonzero result as errors. A warning such as
// stray bytes before a marker still decodes every pixel; a file whose data ends early decodes
// with grey where its end is missing, so that one counts as unreadable.
bool IsHarmlessWarning(tjhandle handle) {
    if (tjGetErrorCode(handle) != TJERR_WARNING) {
        return false;
    }
    return std::strstr(tjGetErrorStr2(handle), "Premature end") == nullptr;
}

// Reads a whole file in one read where its size is known; a missing or unreadable file fails
// naming it.
void ReadWholeFile(const std::string& path, std::string& bytes) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) {
        Fail(path + ": cannot be opened (" + std::strerror(errno) + ")");
    }
    bytes.clear();
    struct stat status {};
    if (fstat(fileno(file.get()), &status) == 0 && S_ISREG(status.st_mode)) {
        bytes.reserve(static_cast<size_t>(status.st_size));
    }
    // Until the end, whatever the size said: a file may grow or shrink while it is read.
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        bytes.append(chunk, got);
    }
    if (std::ferror(file.get())) {
        Fail(path + ": cannot be read");
    }
}

class FilePictureDecoder : public PictureDecoder {
  public:
    FilePictureDecoder() : handle_(tjInitDecompress()) {
        if (handle_ == nullptr) {
            Fail("the JPEG decoder cannot be created");
        }
    }
    ~FilePictureDecoder() override {
        if (handle_ != nullptr) {
            tjDestroy(handle_);
        }
    }
    FilePictureDecoder(const FilePictureDecoder&) = delete;
    FilePictureDecoder& operator=(const FilePictureDecoder&) = delete;

    const DecodedPicture& Decode(const std::string& nativePath, int32_t wantWidth,
                                 int32_t wantHeight) override {
        ReadWholeFile(nativePath, bytes_);
        if (bytes_.size() >= 2 && bytes_[0] == 'B' && bytes_[1] == 'M') {
            ReadBmp(nativePath, bytes_, picture_);
            picture_.physicalWidth = PixelsToHimetric(picture_.width);
            picture_.physicalHeight = PixelsToHimetric(picture_.height);
            return picture_;
        }
        try {
            DecodeJpeg(nativePath, wantWidth, wantHeight);
        } catch (const SystemFailure&) {
            // TurboJPEG keeps state from a failed file (after a header cut short, the next good
            // file reads as 0 x 0 pixels): the next picture starts with a fresh decompressor.
            tjDestroy(handle_);
            handle_ = tjInitDecompress();
            throw;
        }
        return picture_;
    }

  private:
    void DecodeJpeg(const std::string& name, int32_t wantWidth, int32_t wantHeight) {
        if (handle_ == nullptr && (handle_ = tjInitDecompress()) == nullptr) {
            Fail("the JPEG decoder cannot be created");
        }
        int width = 0, height = 0, subsampling = 0, colorspace = 0;
        const auto* data = reinterpret_cast<const unsigned char*>(bytes_.data());
        if (tjDecompressHeader3(handle_, data, bytes_.size(), &width, &height, &subsampling,
                                &colorspace) != 0 &&
            !IsHarmlessWarning(handle_)) {
            Fail(name + ": not a readable picture (" + tjGetErrorStr2(handle_) + ")");
        }
        if (width <= 0 || height <= 0) {
            // A header cut off before its size ends with a mere warning and no size.
            Fail(name + ": not a readable picture (no picture size in its header)");
        }
        if (width > kLargestPictureSide || height > kLargestPictureSide) {
            Fail(name + ": picture of " + std::to_string(width) + " x " + std::to_string(height) +
                 " pixels is too large");
        }
        // Decode straight at 1/2, 1/4 or 1/8 where the result still covers the wanted size.
        tjscalingfactor factor{1, 1};
        if (wantWidth > 0 && wantHeight > 0) {
            for (int denom : {8, 4, 2}) {
                const tjscalingfactor f{1, denom};
                if (TJSCALED(width, f) >= wantWidth && TJSCALED(height, f) >= wantHeight) {
                    factor = f;
                    break;
                }
            }
        }
        picture_.physicalWidth = PixelsToHimetric(width);
        picture_.physicalHeight = PixelsToHimetric(height);
        picture_.width = TJSCALED(width, factor);
        picture_.height = TJSCALED(height, factor);
        picture_.pixels.resize(static_cast<size_t>(picture_.width) * picture_.height * 3);
        if (tjDecompress2(handle_, data, bytes_.size(), picture_.pixels.data(), picture_.width, 0,
                          picture_.height, TJPF_RGB, 0) != 0 &&
            !IsHarmlessWarning(handle_)) {
            Fail(name + ": not a readable picture (" + tjGetErrorStr2(handle_) + ")");
        }
    }

    tjhandle handle_;
    std::string bytes_;
    DecodedPicture picture_;
};

}  // namespace

std::unique_ptr<PictureDecoder> CreateFilePictureDecoder() {
    return std::make_unique<FilePictureDecoder>();
}

}  // namespace platform
