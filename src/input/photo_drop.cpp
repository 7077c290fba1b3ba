#include <algorithm>
#include <cstdio>
#include <optional>

#include "display/display_objects.h"
#include "form/main_menu_form.h"
#include "graphics/picture_loader.h"
#include "input/choice_places.h"
#include "sound/dsound.h"

namespace {

const platform::FontSpec kCaptionFont{"Century Gothic", 11.25, 700};
constexpr uint32_t kCaptionColor = 0x800000;  // dark blue (0xBBGGRR)
constexpr uint32_t kRefusalColor = 0x0000C0;  // dark red
constexpr int32_t kCaptionX = 235;
constexpr int32_t kCaptionY = 528;  // between the page's panel and its buttons

}  // namespace

void MainMenuForm::DropPhotos(const std::vector<std::string>& paths, int32_t x, int32_t y) {
    if (!editingSettings || !itemMaker || currentScreen != Screen::kChoices || settings.page != 2 ||
        paths.empty()) {
        return;
    }
    for (size_t i = 0; i < settings.crossPositions.size(); ++i) {
        const platform::Point at = settings.crossPositions[i];
        if (!ChoicePlaces::OnCross({at.x, at.y}, x, y)) {
            continue;
        }
        // One item at a time: a drop while one is being made is refused with the click alone.
        if (!itemMaker->Start(static_cast<int16_t>(i), at, paths)) {
            PlaySound(DSound::kClick);
            return;
        }
        itemInMaking = static_cast<int16_t>(i);
        dropMessage.clear();
        return;
    }
}

void MainMenuForm::CollectMadeItem() {
    if (itemInMaking < 0 || !itemMaker) {
        return;
    }
    std::optional<ItemMaking::Outcome> outcome = itemMaker->TakeOutcome();
    if (!outcome) {
        return;
    }
    itemInMaking = -1;
    if (!outcome->made) {
        dropMessage = outcome->message;
        std::fprintf(stderr, "quillowbee: %s\n", dropMessage.c_str());
        PlaySound(DSound::kClick);
        return;
    }
    SurfaceRequest request = GameUtil::OffScreenPictureRequest(ItemMaking::kThumbnailWidth,
                                                               ItemMaking::kThumbnailHeight);
    SurfaceSlot picture = GameUtil::displayDevice->CreateSurfaceForOverwrite(request);
    for (int32_t row = 0; row < ItemMaking::kThumbnailHeight; ++row) {
        const uint16_t* from =
            outcome->thumbnail.data() + static_cast<size_t>(row) * ItemMaking::kThumbnailWidth;
        std::copy(from, from + ItemMaking::kThumbnailWidth, picture->Row(row));
    }
    madeItemPictures.at(static_cast<size_t>(outcome->item)) = std::move(picture);
}

void MainMenuForm::DrawMadeItems() {
    Surface& back = *GameUtil::backBuffer;
    for (size_t i = 0; i < madeItemPictures.size(); ++i) {
        if (madeItemPictures[i]) {
            back.BltFast(settings.crossPositions[i].x, settings.crossPositions[i].y,
                         madeItemPictures[i].get(),
                         {0, 0, ItemMaking::kThumbnailWidth, ItemMaking::kThumbnailHeight},
                         DisplayFlags::kBltFastWait);
        }
    }
    const uint32_t color = back.ForeColor();
    back.SetFont(kCaptionFont);
    if (itemInMaking >= 0) {
        // The item being made is ringed, and the caption says so.
        const platform::Point at = settings.crossPositions[static_cast<size_t>(itemInMaking)];
        back.SetForeColor(kCaptionColor);
        back.DrawCircle(at.x + ChoicePlaces::kCrossWidth / 2, at.y + ChoicePlaces::kCrossHeight / 2,
                        ChoicePlaces::kCrossHeight / 2 + 4);
        back.DrawText(kCaptionX, kCaptionY, "Making the item from the photos ...");
    } else if (!dropMessage.empty()) {
        back.SetForeColor(kRefusalColor);
        back.DrawText(kCaptionX, kCaptionY, dropMessage);
    }
    back.SetForeColor(color);
}
