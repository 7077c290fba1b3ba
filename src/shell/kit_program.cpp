#include "shell/kit_program.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <exception>
#include <filesystem>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "display/display_device.h"
#include "graphics/menu_picture_files.h"
#include "platform/portable/file_picture_decoder.h"
#include "platform/portable/path_resolution.h"
#include "platform/portable/user_folders.h"

namespace KitProgram {
namespace {

constexpr std::array<const char*, 4> kThemes = {"Yrke", "Musik", "Sport", "Djur"};
constexpr std::string_view kItemPage = "Grafik\\Meny\\Val\\8Meny.jpg";

// The item's small picture as the item page of `content` now shows it (the box at `box`,
// nearest pixel when the page is not 800 x 600); without an item page, the middle of its button
// picture.
std::vector<uint16_t> Thumbnail(const std::string& content, int16_t item, platform::Point box) {
    std::error_code error;
    const std::string itemPage = platform::NativePathBelow(content, kItemPage);
    const bool page = std::filesystem::is_regular_file(itemPage, error);
    const std::unique_ptr<platform::PictureDecoder> decoder = platform::CreateFilePictureDecoder();
    const platform::DecodedPicture& picture = decoder->Decode(
        page ? itemPage : platform::NativePathBelow(content, GameUtil::ButtonPictureFile(item)), 0,
        0);
    using ItemMaking::kThumbnailHeight, ItemMaking::kThumbnailWidth;
    // The box in the picture's 800 x 600 (page) or 195 x 260 (button) coordinates.
    const int32_t left = page ? box.x : 18, top = page ? box.y : 18;
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
            const uint8_t* rgb = &picture.pixels[at * 3];
            pixels.push_back(PackRgb565(rgb[0], rgb[1], rgb[2]));
        }
    }
    return pixels;
}

// The kit's last line on standard error that carries its name, without it; else its last line.
std::string LastSaid(const std::string& said) {
    const std::string prefix = std::string(kName) + ": ";
    std::string last, named;
    size_t start = 0;
    while (start < said.size()) {
        size_t stop = said.find('\n', start);
        if (stop == std::string::npos) stop = said.size();
        const std::string line = said.substr(start, stop - start);
        start = stop + 1;
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        last = line;
        if (line.starts_with(prefix)) named = line.substr(prefix.size());
    }
    return named.empty() ? last : named;
}

class ProgramMaker : public ItemMaking::Maker {
  public:
    ProgramMaker(std::string kit, std::string content)
        : kit_(std::move(kit)), content_(std::move(content)) {}
    ~ProgramMaker() override {
        if (worker_.joinable()) worker_.join();
    }

    bool Start(int16_t item, platform::Point box, const std::vector<std::string>& photos) override {
        if (running_) return false;
        if (worker_.joinable()) worker_.join();
        std::vector<std::string> arguments = {
            kit_,
            std::string("--theme=") + kThemes[static_cast<size_t>(item / 8)],
            "--position=" + std::to_string(item % 8 + 1),
            // As before the kit ran on its own, a fault elsewhere in the content does not refuse
            // the drop, and the adult is not kept waiting for a check of every picture.
            "--no-check",
        };
        if (!content_.empty()) arguments.push_back("--content=" + content_);
        arguments.push_back("--");  // a photo's name may begin with '-'
        arguments.insert(arguments.end(), photos.begin(), photos.end());
        const std::string content =
            content_.empty() ? platform::UserDataHome() + "/Quillowbee" : content_;
        running_ = true;
        worker_ = std::thread([this, item, box, content, arguments = std::move(arguments)] {
            ItemMaking::Outcome outcome;
            outcome.item = item;
            outcome.message = RefusalOf(platform::RunProgram(arguments), kit_);
            if (outcome.message.empty()) {
                try {
                    outcome.thumbnail = Thumbnail(content, item, box);
                    outcome.made = true;
                } catch (const std::exception& e) {
                    outcome.message =
                        std::string("the item is made, but its small picture: ") + e.what();
                }
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
    const std::string kit_;
    const std::string content_;
    std::mutex mutex_;
    std::optional<ItemMaking::Outcome> outcome_;
    bool running_ = false;  // read and written by the form's thread only
    std::thread worker_;
};

}  // namespace

std::string BesideThisProgram() {
    const std::string folder = platform::OwnProgramFolder();
    return (folder.empty() ? std::string(".") : folder) + "/" + kName;
}

std::string RefusalOf(const platform::ProgramEnd& end, const std::string& kit) {
    using Kind = platform::ProgramEnd::Kind;
    switch (end.kind) {
        case Kind::NotStarted:
            if (end.code == ENOENT) {
                return "cannot make the item: " + kit +
                       " is not there; install quillowbee-kit beside the program";
            }
            return "cannot make the item: running " + kit + " failed: " + std::strerror(end.code);
        case Kind::Signalled:
            return std::string(kName) + " ended on signal " + std::to_string(end.code) + " (" +
                   ::strsignal(end.code) + ") while making the item";
        case Kind::Exited:
            break;
    }
    if (end.code == 0) return "";
    const std::string said = LastSaid(end.errorOutput);
    if (!said.empty()) return said;
    return std::string(kName) + " ended with status " + std::to_string(end.code) +
           " without saying why";
}

std::unique_ptr<ItemMaking::Maker> CreateMaker(std::string kit, std::string content) {
    return std::make_unique<ProgramMaker>(std::move(kit), std::move(content));
}

}  // namespace KitProgram
