// Replays every input of the picture decoder's fuzz corpus (seeds and past findings): each one
// must load or fail with SystemFailure, through the decoder and through LoadPictureSurface.
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "graphics/picture_loader.h"
#include "platform/portable/file_picture_decoder.h"
#include "base/system_failure.h"
#include "support/form_harness.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace testing_support {
namespace {

// As in the fuzzer: a header claiming more pixels than this is only decoded reduced.
constexpr int64_t kLargestFullDecode = int64_t{4096} * 4096;

bool ClaimsHugePicture(const std::string& bytes) {
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        return false;
    }
    tjhandle handle = tjInitDecompress();
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    const bool read =
        tjDecompressHeader3(handle, reinterpret_cast<const unsigned char*>(bytes.data()),
                            bytes.size(), &width, &height, &subsampling, &colorspace) == 0;
    tjDestroy(handle);
    return read && int64_t{width} * height > kLargestFullDecode;
}

// "ok WxH" for a decoded picture, "failed" for a SystemFailure; anything else fails the test.
template <typename F>
std::string Outcome(const fs::path& file, const char* step, F&& run) {
    try {
        return run();
    } catch (const SystemFailure&) {
        return "failed";
    } catch (const std::exception& other) {
        ADD_FAILURE() << file << ", " << step << ": " << other.what();
        return "other exception";
    }
}

std::string Size(int32_t width, int32_t height) {
    return "ok " + std::to_string(width) + "x" + std::to_string(height);
}

TEST(PictureDecoderCorpus, EveryInputLoadsOrFailsCleanly) {
    const fs::path corpus = fs::path(QUILLOWBEE_FUZZ_CORPUS_DIR) / "picture_decoder";
    FormHarness h;
    h.PrepareDisplay();
    auto decoder = platform::CreateFilePictureDecoder();

    // The seeds whose outcome is known: the full-size decode of each.
    const std::map<std::string, std::string> known = {
        {"jpeg_444_8x8.jpg", "ok 8x8"},     {"jpeg_420_17x9.jpg", "ok 17x9"},
        {"jpeg_gray_9x5.jpg", "ok 9x5"},    {"jpeg_progressive_12x10.jpg", "ok 12x10"},
        {"bmp24_5x3.bmp", "ok 5x3"},        {"bmp8_7x3.bmp", "ok 7x3"},
        {"bmp4_9x2_topdown.bmp", "ok 9x2"}, {"bmp1_17x3.bmp", "ok 17x3"},
        {"bmp32_4x2.bmp", "ok 4x2"},        {"jpeg_truncated.jpg", "failed"},
        {"bmp_truncated.bmp", "failed"}};
    size_t replayed = 0;
    size_t knownSeen = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(corpus)) {
        if (!entry.is_regular_file()) continue;
        const fs::path file = entry.path();
        const std::string path = file.string();
        ++replayed;
        const bool huge = ClaimsHugePicture(ReadFile(file));
        if (!huge) {
            const std::string full = Outcome(file, "decode", [&] {
                const auto& p = decoder->Decode(path, 0, 0);
                return Size(p.width, p.height);
            });
            if (auto it = known.find(file.filename().string()); it != known.end()) {
                ++knownSeen;
                EXPECT_EQ(full, it->second) << file;
            }
            Outcome(file, "load at its own size", [&] {
                SurfaceRequest natural;
                auto s = GameUtil::LoadPictureSurface(path, natural);
                return Size(s->Width(), s->Height());
            });
        }
        Outcome(file, "decode for 800 x 600", [&] {
            const auto& p = decoder->Decode(path, 800, 600);
            return Size(p.width, p.height);
        });
        Outcome(file, "load at 800 x 600", [&] {
            SurfaceRequest menu;
            menu.flags = 7;
            menu.caps = 0x840;
            menu.width = 800;
            menu.height = 600;
            auto s = GameUtil::LoadPictureSurface(path, menu);
            return Size(s->Width(), s->Height());
        });
    }
    EXPECT_EQ(knownSeen, known.size()) << "seeds missing from " << corpus;
    EXPECT_GE(replayed, known.size());
}

}  // namespace
}  // namespace testing_support
