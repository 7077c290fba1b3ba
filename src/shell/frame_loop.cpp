#include "content/millisecond_clock.h"
#include "platform/services.h"
#include "display/display_objects.h"
#include "form/main_menu_form.h"
#include "sound/dsound.h"

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
        if (currentScreen >= 1 && currentScreen <= 4) {
            PlaySound(DSound::kSubMenuMusic);
        }
        EnterScreen();
    }
    if (!isDrawing) {
        isDrawing = true;
        RecoverLostDisplay();
        switch (currentScreen) {
            case Screen::kMainMenu:
                DrawMenuBackground();
                DrawMainMenuSelection();
                break;
            case 1:
            case 2:
            case 3:
            case 4:
                DrawMenuBackground();
                DrawSubMenuSelection();
                break;
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
    }
    platform::Current().window->Yield(*this);
}

void MainMenuForm::EnterScreen() {
    platform::WindowSystem& window = *platform::Current().window;
    window.SetPointerShape(platform::kPointerHourglass);
    isBusy = true;
    switch (currentScreen) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
        case Screen::kChoices:
            break;
        case Screen::kBuildUp:
            LoadFilm();
            StartBuildUp();
            break;
        case Screen::kFilm:
            filmDeadline = GameUtil::AddMsRounded(
                GameUtil::GetMilliseconds(),
                settings.filmDelayFactor * filmDelays.at(static_cast<size_t>(filmIndex)));
            break;
        default:
            isRunning = false;
            break;
    }
    isBusy = false;
    window.SetPointerShape(platform::kPointerArrow);
}
