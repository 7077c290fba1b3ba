#include <array>
#include <string>

#include "base/system_failure.h"
#include "content/millisecond_clock.h"
#include "form/main_menu_form.h"
#include "platform/services.h"
#include "sound/dsound.h"

using platform::kKeyDelete;
using platform::kKeyEnter;
using platform::kKeyEscape;
using platform::kKeyF1;
using platform::kKeySpace;

namespace {

constexpr int16_t kRightButton = platform::kButtonRight;
constexpr int16_t kCtrlAlone = platform::kShiftCtrl;
// Neither Escape nor Space may leave the film sooner than this after the last step.
constexpr int32_t kFilmLeaveGuardMs = 3000;

// What Escape does in an activity, `elapsed` milliseconds after the last step.
enum class LeaveStep {
    kTooSoon,  // a click, within the key delay
    kHeld,     // nothing: the film's guard holds it
    kLeave,    // leaves, unless a lock keeps it
};

LeaveStep LeaveStepAfter(int32_t elapsed, int32_t keyDelay, bool onFilm) {
    if (elapsed <= keyDelay) {
        return LeaveStep::kTooSoon;
    }
    if (elapsed < kFilmLeaveGuardMs && onFilm) {
        return LeaveStep::kHeld;
    }
    return LeaveStep::kLeave;
}

platform::WindowSystem& Window() {
    return *platform::Current().window;
}

// A click region with inclusive pixel bounds.
struct Region {
    int32_t left, top, right, bottom;
    bool Contains(platform::Point p) const {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    }
};

// Under the main menu's stop note, on the main menu and the sub-menus: acts as Escape.
constexpr Region kExitCorner{734, 534, 789, 589};
// The door above it on the main menu: the choices screen.
constexpr Region kChoicesButton{734, 466, 789, 524};

// Clicks split the main menu at x = 400 and y = 300 (the lines belong to the left and upper
// quadrants) into the themes 2 and 4 above, 3 and 1 below.
constexpr platform::Point kQuadrantSplit{400, 300};
constexpr int16_t kThemeAt[2][2] = {{2, 4}, {3, 1}};  // [lower][right]

int16_t ThemeAt(platform::Point p) {
    return kThemeAt[p.y > kQuadrantSplit.y ? 1 : 0][p.x > kQuadrantSplit.x ? 1 : 0];
}

template <size_t N>
void WarpTo(const std::array<platform::Point, N>& points, int16_t index, const char* table) {
    if (index < 0 || static_cast<size_t>(index) >= N) {
        Fail(std::string("focus ") + std::to_string(index) + " lies outside " + table);
    }
    const platform::Point target = points[static_cast<size_t>(index)];
    Window().SetCursorPos(target.x, target.y);
}

bool SlotEnabled(const ChoiceSettings& settings, int16_t theme, int32_t slot) {
    const int32_t item = (theme - 1) * 8 + slot;
    if (theme < 1 || theme > 4 || slot < 0 || slot > 7) {
        Fail("item " + std::to_string(item) + " lies outside the item table");
    }
    return settings.itemEnabled[static_cast<size_t>(item)];
}

// The enabled slot after `focus` in the theme, wrapping past 7 to 0; `focus` itself only when no
// other slot is enabled, and also when none is (the search ends after one round).
int16_t NextEnabledSlot(const ChoiceSettings& settings, int16_t theme, int16_t focus) {
    if (focus < 0 || focus > 7) {
        Fail("sub-menu focus " + std::to_string(focus) + " lies outside the sub-menu");
    }
    for (int32_t step = 1; step <= 8; ++step) {
        const int32_t slot = (focus + step) % 8;
        if (SlotEnabled(settings, theme, slot)) {
            return static_cast<int16_t>(slot);
        }
    }
    return focus;
}

}  // namespace

int16_t MainMenuForm::FirstEnabledSlot(int16_t theme) {
    for (int16_t slot = 0; slot < 8; ++slot) {
        if (SlotEnabled(settings, theme, slot)) {
            return slot;
        }
    }
    // A theme with every entry disabled keeps the focus it had, so the pointer stays in the table.
    return subMenuFocus >= 0 && subMenuFocus <= 7 ? subMenuFocus : int16_t{0};
}

void MainMenuForm::Form_MouseDown(int16_t button, int16_t, float, float) {
    if (isBusy) {
        return;
    }
    if (button == kRightButton) {
        settings.showPointerSprite = !settings.showPointerSprite;
        return;
    }
    // Keyboard users click through Enter with the pointer warped, so the event's own position is
    // never the one that counts.
    const platform::Point pointer = Window().GetCursorPos();
    if (currentScreen == Screen::kMainMenu) {
        if (kExitCorner.Contains(pointer)) {
            Form_KeyUp(kKeyEscape, 0);
        } else if (kChoicesButton.Contains(pointer)) {
            EnterChoicesScreen();
            PlaySound(DSound::kClick);
        } else {
            const int16_t theme = ThemeAt(pointer);
            requestedScreen = theme;
            menuContext = theme;
            subMenuFocus = FirstEnabledSlot(theme);
            WarpTo(subMenuWarpPoints, subMenuFocus, "the sub-menu");
            PlaySound(DSound::kClick);
        }
    } else if (Screen::IsSubMenu(currentScreen)) {
        if (kExitCorner.Contains(pointer)) {
            Form_KeyUp(kKeyEscape, 0);
            return;
        }
        const int16_t item = GetSubMenuIndex(false);
        if (!settings.itemEnabled[static_cast<size_t>(item)]) {
            return;
        }
        selectedItem = item;
        menuContext = static_cast<int16_t>(currentScreen + MenuContext::kActivityOffset);
        requestedScreen = Screen::kBuildUp;
        PlaySound(DSound::kClick);
    } else if (currentScreen == Screen::kBuildUp || currentScreen == Screen::kFilm) {
        Form_KeyUp(kKeySpace, 0);
    } else if (currentScreen == Screen::kChoices) {
        ChoicesScreenClick(pointer.x, pointer.y);
    }
}

void MainMenuForm::Form_KeyUp(int16_t keyCode, int16_t shift) {
    if (isBusy) {
        return;
    }
    switch (keyCode) {
        case kKeyDelete:
            OnDeleteKey(shift);
            break;
        case kKeyF1:
            OnF1Key();
            break;
        case kKeySpace:
        case kKeyEnter:
            OnSpaceOrEnterKey(keyCode);
            break;
        case kKeyEscape:
            OnEscapeKey();
            break;
        default:
            PlaySound(DSound::kClick);
            break;
    }
}

void MainMenuForm::OnDeleteKey(int16_t shift) {
    if (shift == kCtrlAlone && settings.exitLocked) {
        isRunning = false;
    }
    PlaySound(DSound::kClick);
}

void MainMenuForm::OnF1Key() {
    if (currentScreen != Screen::kMainMenu && currentScreen != Screen::kBuildUp &&
        currentScreen != Screen::kFilm) {
        PlaySound(DSound::kClick);
        return;
    }
    if (currentScreen != Screen::kMainMenu) {
        ReleaseActivityPictures();
    }
    EnterChoicesScreen();
}

void MainMenuForm::OnEscapeKey() {
    if (menuContext >= MenuContext::kFirstActivity && menuContext <= MenuContext::kLastActivity) {
        LeaveActivity();
        return;
    }
    if (menuContext == MenuContext::kMainMenu) {
        if (!settings.exitLocked) {
            isRunning = false;
        }
    } else if (menuContext == MenuContext::kChoices && editingSettings) {
        isRunning = false;
    } else if ((menuContext >= MenuContext::kFirstSubMenu &&
                menuContext <= MenuContext::kLastSubMenu) ||
               menuContext == MenuContext::kChoices) {
        requestedScreen = Screen::kMainMenu;
        menuContext = MenuContext::kMainMenu;
    }
    PlaySound(DSound::kClick);
}

void MainMenuForm::OnSpaceOrEnterKey(int16_t keyCode) {
    if (currentScreen == Screen::kBuildUp) {
        StepBuildUp();
        return;
    }
    if (currentScreen == Screen::kFilm) {
        const int32_t elapsed = GameUtil::ElapsedMs(GameUtil::GetMilliseconds(), stepTime);
        if (elapsed < kFilmLeaveGuardMs) {
            return;
        }
        if (elapsed > settings.keyDelay) {
            Form_KeyUp(kKeyEscape, 0);
        }
    } else if (currentScreen == Screen::kMainMenu) {
        if (keyCode == kKeySpace) {
            mainMenuFocus = static_cast<int16_t>(mainMenuFocus + 1);
            if (mainMenuFocus == 4) {
                mainMenuFocus = 0;
            }
            WarpTo(mainMenuWarpPoints, mainMenuFocus, "the main menu");
        } else {
            Form_MouseDown(0, 0, 0, 0);
        }
    } else if (Screen::IsSubMenu(currentScreen)) {
        // Enter moves the focus too, before it clicks at the pointer.
        subMenuFocus = NextEnabledSlot(settings, currentScreen, subMenuFocus);
        if (keyCode == kKeySpace) {
            WarpTo(subMenuWarpPoints, subMenuFocus, "the sub-menu");
        } else {
            Form_MouseDown(0, 0, 0, 0);
        }
    }
    PlaySound(DSound::kClick);
}

void MainMenuForm::LeaveActivity() {
    const int32_t now = GameUtil::GetMilliseconds();
    const LeaveStep step = LeaveStepAfter(GameUtil::ElapsedMs(now, stepTime), settings.keyDelay,
                                          currentScreen == Screen::kFilm);
    if (step == LeaveStep::kTooSoon) {
        PlaySound(DSound::kClick);
        return;
    }
    if (step == LeaveStep::kHeld) {
        return;
    }
    stepTime = now;
    for (bool locked : settings.escapeLocks) {
        if (locked) {
            return;
        }
    }
    DSound::StopAllSounds();
    ReleaseActivityPictures();
    menuContext = static_cast<int16_t>(menuContext - MenuContext::kActivityOffset);
    requestedScreen = menuContext;
    WarpTo(subMenuWarpPoints, subMenuFocus, "the sub-menu");
    PlaySound(DSound::kClick);
}

int32_t MainMenuForm::EscapeIdleMs() const {
    if (isBusy) {
        return kUntilInput;  // Escape does nothing at all
    }
    const bool inActivity =
        menuContext >= MenuContext::kFirstActivity && menuContext <= MenuContext::kLastActivity;
    const int32_t elapsed = GameUtil::ElapsedMs(GameUtil::GetMilliseconds(), stepTime);
    if (!inActivity || LeaveStepAfter(elapsed, settings.keyDelay, currentScreen == Screen::kFilm) !=
                           LeaveStep::kHeld) {
        return 0;
    }
    // Held until the guard's time has passed (the key delay has already).
    return kFilmLeaveGuardMs - elapsed;
}

void MainMenuForm::Form_MouseMove(int16_t, int16_t, float, float) {
    if (Screen::IsSubMenu(currentScreen)) {
        subMenuFocus = GetSubMenuIndex(true);
    }
}
