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

uint16_t Rgb565(const uint8_t* rgb) {
    return static_cast<uint16_t>(((rgb[0] >> 3) << 11) | ((rgb[1] >> 2) << 5) | (rgb[2] >> 3));
}

// The item's small picture as the item page now shows it (the page's box, nearest pixel when
// the page is not 800 x 600); without an item page, the middle of its button picture.
std::vector<uint16_t> Thumbnail(const KitResult& made) {
    const std::unique_ptr<platform::PictureDecoder> decoder = platform::CreateFilePictureDecoder();
    const bool page = !made.itemPage.empty();
    const platform::DecodedPicture& picture =
        decoder->Decode((page ? made.itemPage : made.button).string(), 0, 0);
    using ItemMaking::kThumbnailHeight, ItemMaking::kThumbnailWidth;
    // The box in the picture's 800 x 600 (page) or 195 x 260 (button) coordinates.
    const int32_t left = page ? made.itemPageBox[0] : 18, top = page ? made.itemPageBox[1] : 18;
    const int32_t width = page ? kThumbnailWidth : 159, height = page ? kThumbnailHeight : 172;
    const int32_t fullWidth = page ? 800 : 195, fullHeight = page ? 600 : 260;
    std::vector<uint16_t> pixels;
    pixels.reserve(static_cast<size_t>(kThumbnailWidth * kThumbnailHeight));
    for (int32_t y = 0; y < kThumbnailHeight; ++y) {
        for (int32_t x = 0; x < kThumbnailWidth; ++x) {
            const int32_t sx = (left + x * width / kThumbnailWidth) * picture.width / fullWidth;
            const int32_t sy = (top + y * height / kThumbnailHeight) * picture.height / fullHeight;
            const size_t at = static_cast<size_t>(sy) * static_cast<size_t>(picture.width) +
                              static_cast<size_t>(sx);
            pixels.push_back(Rgb565(&picture.pixels[at * 3]));
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
                outcome.thumbnail = Thumbnail(result);
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
