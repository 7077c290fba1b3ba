#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "display/display_device.h"
#include "form/choice_settings.h"
#include "form/item_making.h"
#include "platform/window_system.h"

// Screen numbers: the main menu, the sub-menus of themes 1-4, the two activities, the choices
// screen.
namespace Screen {
inline constexpr int16_t kMainMenu = 0;
inline constexpr int16_t kFirstSubMenu = 1;
inline constexpr int16_t kLastSubMenu = 4;
inline constexpr int16_t kBuildUp = 5;
inline constexpr int16_t kFilm = 6;
inline constexpr int16_t kChoices = 12;
inline constexpr bool IsSubMenu(int16_t screen) {
    return screen >= kFirstSubMenu && screen <= kLastSubMenu;
}
}  // namespace Screen

// Values of menuContext: where the user stands, which decides what Escape does.
namespace MenuContext {
inline constexpr int16_t kMainMenu = 0;
inline constexpr int16_t kFirstSubMenu = 1;  // the sub-menu of theme n is n
inline constexpr int16_t kLastSubMenu = 4;
// An activity started from the sub-menu of theme n is n + kActivityOffset (7-10).
inline constexpr int16_t kActivityOffset = 6;
inline constexpr int16_t kFirstActivity = kFirstSubMenu + kActivityOffset;
inline constexpr int16_t kLastActivity = kLastSubMenu + kActivityOffset;
inline constexpr int16_t kChoices = 12;
}  // namespace MenuContext

using SurfaceSlot = std::unique_ptr<Surface>;

// The one window. Its fields are the menu state record; its methods are the menu operations.
// Every operation reads and writes the record directly.
class MainMenuForm : public platform::EventSink {
  public:
    // ---- The menu state record, in declaration order. ----
    ChoiceSettings savedSettings{};
    ChoiceSettings settings{};
    std::array<SurfaceSlot, 5> menuPictures;
    SurfaceSlot stopNotePicture;
    std::array<SurfaceSlot, 4> quadrantPictures;
    std::array<SurfaceSlot, 32> buttonPictures;
    std::array<SurfaceSlot, 4> notePictures;
    std::array<SurfaceSlot, 5> choicePictures;
    SurfaceSlot selectedMarkPicture;
    SurfaceSlot crossPicture;
    SurfaceSlot buildUpPicture;
    SurfaceSlot nextBuildUpPicture;
    std::vector<SurfaceSlot> filmPictures;
    int16_t selectedItem = 0;
    std::vector<int16_t> filmDelays;
    int16_t buildUpIndex = 0;
    int16_t filmIndex = 0;
    int16_t currentScreen = 0;
    int16_t requestedScreen = 0;
    int16_t menuContext = 0;
    int32_t filmDeadline = 0;
    int16_t buildUpLast = 0;
    int16_t filmPasses = 0;
    int32_t stepTime = 0;
    int16_t buildUpStride = 0;
    bool isBusy = false;
    bool isRunning = false;
    bool displayWasLost = false;
    bool isDrawing = false;
    int16_t buildUpStepsTaken = 0;
    std::array<Rect, 32> subMenuCellRects{};
    std::array<platform::Point, 4> mainMenuWarpPoints{};
    int16_t mainMenuFocus = 0;
    int16_t subMenuFocus = 0;
    std::array<platform::Point, 8> subMenuWarpPoints{};
    bool isPrevInstance = false;

    // ---- How an adult started the run, set before Form_Load. ----
    // The command line's setting options ("--key-delay=1000"), applied after the settings files.
    std::vector<std::string> settingOptions;
    // The run is the choices screen's editing mode: clicks change the settings and save them.
    bool editingSettings = false;
    // Makes items from photos dropped on the item page in the editing mode; none: drops do
    // nothing.
    std::unique_ptr<ItemMaking::Maker> itemMaker;

    // ---- Items made from dropped photos (input/photo_drop.cpp). ----
    int16_t itemInMaking = -1;                     // the item being made, -1 for none
    std::array<SurfaceSlot, 32> madeItemPictures;  // new small pictures over the item page's
    std::string dropMessage;                       // why the last drop was refused

    // ---- Start-up, display and shutdown (shell/form_lifecycle.cpp). ----
    void Form_Initialize();
    // The whole run: start-up, frame loop, shutdown. Returns the process's exit status: 0 for a
    // normal end (or a second copy), 1 after the failure path.
    int Form_Load();
    void StartUp();
    void ExitForm();
    void ReleaseAllPictures();
    void ReleaseActivityPictures();
    void ReleaseBuildUpPictures();
    void ReleaseFilmPictures();
    // Sets movieOnHd False and records "False" under "movieOnHd" in the settings store.
    void ClearMovieOnHd();
    // The picture loaders' retry rule: run `load`; when it fails (a missing or broken picture,
    // memory running out), run `release`, clear movieOnHd and run `load` once more. A second
    // failure is swallowed the same way. True when one of the two attempts succeeded.
    bool LoadWithOneRetry(const std::function<void()>& load, const std::function<void()>& release);
    void PlaySound(int16_t n);

    // ---- Frame loop (shell/frame_loop.cpp). ----
    void RunFrameLoop();
    void EnterScreen();
    // One pass of the loop, for tests that drive the form pass by pass.
    void RunPass();

    // ---- Menu picture set and display loss (graphics/menu_pictures.cpp). ----
    void LoadMainMenuPictures();
    void LoadChoicePictures();
    // Starts reading both menu sets for the loaders above (on the helper threads, if any).
    void ReadMenuPicturesAhead();
    void ReleaseMainMenuPictures();
    void ReleaseChoicePictures();
    void RecoverLostDisplay();

    // ---- Layout tables (graphics/layout_tables.cpp). ----
    void BuildCrossPositions();
    void BuildSubMenuCellRects();
    void BuildWarpPoints();

    // ---- Menu drawing (graphics/menu_drawing.cpp). ----
    void DrawMenuBackground();
    void DrawMainMenuSelection();
    void DrawSubMenuSelection();

    // ---- Hit test (input/sub_menu_hit_test.cpp). ----
    int16_t GetSubMenuIndex(bool shortIndex);

    // ---- Settings record (input/choice_settings.cpp). ----
    void ResetSettings(int16_t group);
    void EnterChoicesScreen();
    // The settings files (the system's, then the user's) and then the setting options, over the
    // reset record; what cannot be applied is told on stderr and changes nothing.
    void ApplyAdultSettings();

    // ---- Mouse and keys (input/mouse_and_keys.cpp). ----
    void Form_MouseDown(int16_t button, int16_t shift, float x, float y);
    void Form_KeyUp(int16_t keyCode, int16_t shift);
    void Form_MouseMove(int16_t button, int16_t shift, float x, float y);
    // How long from now Escape in an activity keeps changing nothing: the film's guard holding
    // it back; 0 when Escape would act now.
    int32_t EscapeIdleMs() const;
    // What the idle-time helpers return when only input changes what the passes do.
    static constexpr int32_t kUntilInput = INT32_MAX;

    // ---- Choices screen (input/choices_screen.cpp). ----
    void DrawChoicesScreen();
    void ChoicesScreenClick(int32_t x, int32_t y);
    // The editing mode's click on a page (input/settings_editing.cpp): the value under the
    // pointer is chosen and the changed keys saved to the user's settings file at once.
    void EditChoice(int32_t x, int32_t y);

    // Photos dropped at (x, y): on an item of the editing mode's item page, that item is made
    // from them away from the frame loop.
    void DropPhotos(const std::vector<std::string>& paths, int32_t x, int32_t y);
    // Takes the outcome of the item being made, when it has ended.
    void CollectMadeItem();
    // The item page's new small pictures, the item being made and the refusal message.
    void DrawMadeItems();

    // ---- Film (activities/film_player.cpp). ----
    void LoadFilm();
    void DrawFilmFrame();
    void PlayFilmSounds();
    // The sounds of its own that the film plays again whenever they are silent, in that order.
    std::span<const int16_t> FilmSoundsKept() const;
    // How long from now the film's passes change nothing unless input comes: until its next
    // picture, a kept sound's end or the time its end may leave; 0 when the next pass acts.
    int32_t FilmIdleMs();

    // ---- Build-up (activities/build_up.cpp). ----
    void StartBuildUp();
    void DrawBuildUpPicture();
    void StepBuildUp();
    int16_t NextBuildUpIndex();
    std::string GetBuildUpPicturePath(int16_t n);

    // ---- Window events, delivered while the window system yields. ----
    void OnMouseDown(int16_t button, int16_t shift, float x, float y) override {
        Form_MouseDown(button, shift, x, y);
    }
    void OnKeyUp(int16_t keyCode, int16_t shift) override { Form_KeyUp(keyCode, shift); }
    void OnMouseMove(int16_t button, int16_t shift, float x, float y) override {
        Form_MouseMove(button, shift, x, y);
    }
    void OnDropFiles(const std::vector<std::string>& paths, float x, float y) override {
        DropPhotos(paths, static_cast<int32_t>(x), static_cast<int32_t>(y));
    }
    void OnQuitRequest() override { isRunning = false; }
    void OnCloseRequest() override {
        if (!settings.exitLocked || editingSettings) {
            isRunning = false;
        }
    }

  private:
    // ---- Frame loop (shell/frame_loop.cpp). ----
    // How long the yield after the pass just composed may sleep, in milliseconds (0: not at all):
    // until an input event on a screen that moves on by input alone, on a film until its next
    // pass can change something (at most a second either way). Only when no switch is asked for,
    // the frame equalled the one before (a film's may be new), the display is there and no event
    // came since that frame.
    int32_t IdleWaitMs(bool filmMoved);
    bool eventsTaken_ = true;  // the last yield delivered an event

    // ---- Navigation helpers (input/mouse_and_keys.cpp). ----
    int16_t FirstEnabledSlot(int16_t theme);
    void OnDeleteKey(int16_t shift);
    void OnF1Key();
    void OnEscapeKey();
    void OnSpaceOrEnterKey(int16_t keyCode);
    void LeaveActivity();
};
