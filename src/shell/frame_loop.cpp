#include <algorithm>

#include "content/millisecond_clock.h"
#include "display/display_objects.h"
#include "form/main_menu_form.h"
#include "platform/services.h"
#include "sound/dsound.h"

namespace {
// An idle loop still looks once a second, which bounds the cost of any change that comes
// without an event.
constexpr int32_t kIdleWakeMs = 1000;
}  // namespace

void MainMenuForm::RunFrameLoop() {
    isRunning = true;
    while (isRunning) {
        RunPass();
    }
}

void MainMenuForm::RunPass() {
    if (requestedScreen != currentScreen) {
        currentScreen = requestedScreen;
        DSound::StopAllSounds();
        if (currentScreen == Screen::kMainMenu || currentScreen == Screen::kChoices) {
            PlaySound(DSound::kStartMenuMusic);
        }
        if (Screen::IsSubMenu(currentScreen)) {
            PlaySound(DSound::kSubMenuMusic);
        }
        EnterScreen();
    }
    bool composed = false;
    const int16_t filmIndexBefore = filmIndex;
    if (!isDrawing) {
        isDrawing = true;
        RecoverLostDisplay();
        if (currentScreen == Screen::kMainMenu) {
            DrawMenuBackground();
            DrawMainMenuSelection();
        } else if (Screen::IsSubMenu(currentScreen)) {
            DrawMenuBackground();
            DrawSubMenuSelection();
        }
        switch (currentScreen) {
            case Screen::kBuildUp:
                DrawBuildUpPicture();
                break;
            case Screen::kFilm:
                DrawFilmFrame();
                break;
            case Screen::kChoices:
                DrawChoicesScreen();
                break;
            default:
                break;
        }
        if (settings.showPointerSprite) {
            const platform::Point pointer = platform::Current().window->GetCursorPos();
            GameUtil::backBuffer->DrawCircle(pointer.x, pointer.y, 10);
        }
        GameUtil::primarySurface->Flip(nullptr, DisplayFlags::kFlipWait);
        isDrawing = false;
        composed = true;
    }
    platform::WindowSystem& window = *platform::Current().window;
    // A pass that would only repeat itself sleeps in its yield until something happens.
    const int32_t waitMs = composed ? IdleWaitMs(filmIndex != filmIndexBefore) : 0;
    eventsTaken_ = waitMs > 0 ? window.WaitAndYield(*this, waitMs) : window.Yield(*this);
}

int32_t MainMenuForm::IdleWaitMs(bool filmMoved) {
    DisplayDevice* device = GameUtil::displayDevice.get();
    // A changed frame is composed once more to see that it holds, but a film's: it changes with
    // its picture alone, and the film's deadlines cover that.
    // While the kit makes a dropped item, the loop keeps its pace to show the item once made.
    if (!isRunning || eventsTaken_ || requestedScreen != currentScreen || device == nullptr ||
        (device->LastFrameChanged() && currentScreen != Screen::kFilm) ||
        device->TestCooperativeLevel() != 0 || itemInMaking >= 0) {
        return 0;
    }
    if (currentScreen == Screen::kMainMenu || Screen::IsSubMenu(currentScreen) ||
        currentScreen == Screen::kChoices || currentScreen == Screen::kBuildUp) {
        return kIdleWakeMs;
    }
    if (currentScreen == Screen::kFilm && !filmMoved) {
        return std::min(FilmIdleMs(), kIdleWakeMs);
    }
    return 0;
}

void MainMenuForm::EnterScreen() {
    platform::WindowSystem& window = *platform::Current().window;
    window.SetPointerShape(platform::kPointerHourglass);
    isBusy = true;
    if (currentScreen == Screen::kBuildUp) {
        LoadFilm();
        StartBuildUp();
    } else if (currentScreen == Screen::kFilm) {
        filmDeadline = GameUtil::AddMsRounded(
            GameUtil::GetMilliseconds(),
            settings.filmDelayFactor * filmDelays.at(static_cast<size_t>(filmIndex)));
    } else if (currentScreen != Screen::kMainMenu && !Screen::IsSubMenu(currentScreen) &&
               currentScreen != Screen::kChoices) {
        isRunning = false;  // no such screen
    }
    isBusy = false;
    window.SetPointerShape(platform::kPointerArrow);
}
