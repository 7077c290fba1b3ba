#include "kit/item_maker.h"

#include <array>
#include <exception>
#include <mutex>
#include <thread>

#include "kit/kit_error.h"
#include "platform/portable/file_picture_decoder.h"

namespace kit {
namespace {

constexpr std::array<const char*, 4> kThemes = {"Yrke", "Musik", "Sport", "Djur"};
// The part of a 195 x 260 button picture that shows the item, without its frame and caption.
constexpr int32_t kShownLeft = 18, kShownTop = 18, kShownWidth = 159, kShownHeight = 172;

uint16_t Rgb565(const uint8_t* rgb) {
    return static_cast<uint16_t>(((rgb[0] >> 3) << 11) | ((rgb[1] >> 2) << 5) | (rgb[2] >> 3));
}

// The button picture's item part, shrunk to the item page's small picture (nearest pixel).
std::vector<uint16_t> Thumbnail(const std::filesystem::path& button) {
    const std::unique_ptr<platform::PictureDecoder> decoder = platform::CreateFilePictureDecoder();
    const platform::DecodedPicture& picture = decoder->Decode(button.string(), 0, 0);
    using ItemMaking::kThumbnailHeight, ItemMaking::kThumbnailWidth;
    std::vector<uint16_t> pixels;
    pixels.reserve(static_cast<size_t>(kThumbnailWidth * kThumbnailHeight));
    for (int32_t y = 0; y < kThumbnailHeight; ++y) {
        for (int32_t x = 0; x < kThumbnailWidth; ++x) {
            const int32_t sx =
                (kShownLeft + x * kShownWidth / kThumbnailWidth) * picture.width / 195;
            const int32_t sy =
                (kShownTop + y * kShownHeight / kThumbnailHeight) * picture.height / 260;
            pixels.push_back(Rgb565(&picture.pixels[(static_cast<size_t>(sy) * picture.width +
                                                     static_cast<size_t>(sx)) *
                                                    4]));
        }
    }
    return pixels;
}

class ThreadMaker : public ItemMaking::Maker {
  public:
    explicit ThreadMaker(KitOptions base) : base_(std::move(base)) {}
    ~ThreadMaker() override {
        if (worker_.joinable()) worker_.join();
    }

    bool Start(int16_t item, const std::vector<std::string>& photos) override {
        if (running_) return false;
        if (worker_.joinable()) worker_.join();
        KitOptions options = base_;
        options.theme = kThemes[static_cast<size_t>(item / 8)];
        options.position = item % 8 + 1;
        options.name.clear();
        options.photos.assign(photos.begin(), photos.end());
        running_ = true;
        worker_ = std::thread([this, item, options = std::move(options)] {
            ItemMaking::Outcome outcome;
            outcome.item = item;
            try {
                const KitResult result = MakeItem(options);
                outcome.thumbnail = Thumbnail(result.button);
                outcome.made = true;
            } catch (const std::exception& e) {
                outcome.message = e.what();
            }
            const std::lock_guard<std::mutex> lock(mutex_);
            outcome_ = std::move(outcome);
        });
        return true;
    }

    std::optional<ItemMaking::Outcome> TakeOutcome() override {
        const std::lock_guard<std::mutex> lock(mutex_);
        std::optional<ItemMaking::Outcome> taken = std::move(outcome_);
        outcome_.reset();
        if (taken) running_ = false;
        return taken;
    }

  private:
    const KitOptions base_;
    std::mutex mutex_;
    std::optional<ItemMaking::Outcome> outcome_;
    bool running_ = false;  // read and written by the form's thread only
    std::thread worker_;
};

}  // namespace

std::unique_ptr<ItemMaking::Maker> CreateItemMaker(const KitOptions& base) {
    return std::make_unique<ThreadMaker>(base);
}

}  // namespace kit
