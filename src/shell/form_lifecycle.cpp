#include <cstdio>
#include <exception>
#include <thread>

#include "base/system_failure.h"
#include "content/data_file_reader.h"
#include "content/millisecond_clock.h"
#include "content/random_numbers.h"
#include "display/display_objects.h"
#include "form/main_menu_form.h"
#include "graphics/picture_loader.h"
#include "platform/services.h"
#include "sound/dsound.h"

using namespace DisplayFlags;

namespace {

platform::WindowSystem& Window() {
    return *platform::Current().window;
}

// Gives the desktop back after a failure, whatever state the display is in, and reports what
// failed in one line.
int FailurePath(const char* what) {
    GameUtil::EndReadAhead();
    try {
        if (GameUtil::displayDevice) {
            GameUtil::displayDevice->RestoreDisplayMode();
            GameUtil::displayDevice->SetCooperativeLevel(kCooperativeNormal);
        } else if (platform::Current().display != nullptr) {
            platform::Current().display->RestoreDisplayMode();
            platform::Current().display->SetCooperativeLevel(kCooperativeNormal);
        }
    } catch (const std::exception&) {
        // The process ends either way; the desktop mode is the platform's to restore now.
    }
    std::fprintf(stderr, "quillowbee: %s\n", what);
    return 1;
}

}  // namespace

void MainMenuForm::Form_Initialize() {
    isPrevInstance = Window().IsPreviousInstance();
}

int MainMenuForm::Form_Load() {
    try {
        if (isPrevInstance) {
            return 0;
        }
        StartUp();
        RunFrameLoop();
        ExitForm();
        return 0;
    } catch (const std::exception& failure) {
        return FailurePath(failure.what());
    }
}

void MainMenuForm::StartUp() {
    platform::WindowSystem& window = Window();
    window.SetPointerShape(platform::kPointerHourglass);
    isBusy = true;

    // With helper threads, the menus' pictures decode while the screen is taken, and the sound
    // bank loads beside them: only the first picture is waited for before it is shown.
    const bool helpers = platform::Current().helperThreads > 0;
    GameUtil::CreateDisplayDevice();
    ReadMenuPicturesAhead();
    GameUtil::TakeTheScreen();
    window.ShowWindow();
    std::jthread soundStart;
    if (helpers) {
        soundStart = std::jthread([] { DSound::InitSound(); });
    }

    for (const DataFileReader::ThemeFile& theme : DataFileReader::kThemeFiles) {
        DataFileReader::LoadItemFile(theme.fileName, theme.firstSlot);
    }

    if (!helpers) {
        DSound::InitSound();
    }

    settings.showPointerSprite = false;
    ResetSettings(0);
    ApplyAdultSettings();
    BuildCrossPositions();
    BuildSubMenuCellRects();
    BuildWarpPoints();

    mainMenuFocus = 0;
    subMenuFocus = 0;
    isDrawing = false;
    currentScreen = Screen::kMainMenu;
    requestedScreen = Screen::kMainMenu;
    filmPictures.clear();
    filmPictures.resize(1);

    LoadMainMenuPictures();
    LoadChoicePictures();

    GameUtil::SeedRandom(GameUtil::GetMilliseconds());
    // The adult who edits the settings keeps the pointer where it is.
    if (!editingSettings) {
        window.SetCursorPos(260, 150);
    }
    isBusy = false;
    window.SetPointerShape(platform::kPointerArrow);
    if (soundStart.joinable()) {
        soundStart.join();  // the main menu's first frame has its music
    }
    PlaySound(DSound::kStartMenuMusic);
    if (editingSettings) {
        settings.page = 1;
        EnterChoicesScreen();
    }
}

void MainMenuForm::ExitForm() {
    platform::WindowSystem& window = Window();
    window.SetPointerShape(platform::kPointerHourglass);
    isRunning = false;
    GameUtil::backBuffer->BltColorFill({0, 0, 800, 600}, 0);
    GameUtil::primarySurface->Flip(nullptr, kFlipWait);
    ReleaseAllPictures();
    GameUtil::EndReadAhead();
    DSound::StopAllSounds();
    DSound::ReleaseAllSounds();
    GameUtil::displayDevice->RestoreDisplayMode();
    GameUtil::displayDevice->SetCooperativeLevel(kCooperativeNormal);
    GameUtil::DropDisplayObjects();
    window.SetPointerShape(platform::kPointerArrow);
}

void MainMenuForm::ReleaseAllPictures() {
    GameUtil::DropReadAhead();
    ReleaseMainMenuPictures();
    ReleaseChoicePictures();
    ReleaseBuildUpPictures();
    ReleaseFilmPictures();
}

void MainMenuForm::ReleaseActivityPictures() {
    ReleaseBuildUpPictures();
    if (currentScreen == Screen::kFilm) {
        ReleaseFilmPictures();
    }
}

void MainMenuForm::ReleaseBuildUpPictures() {
    buildUpPicture.reset();
    nextBuildUpPicture.reset();
}

void MainMenuForm::ReleaseFilmPictures() {
    for (SurfaceSlot& picture : filmPictures) {
        picture.reset();
    }
}

void MainMenuForm::ClearMovieOnHd() {
    settings.movieOnHd = false;
    platform::Current().settings->WriteText("Quillowbee", "Settings", "movieOnHd", "False");
}

bool MainMenuForm::LoadWithOneRetry(const std::function<void()>& load,
                                    const std::function<void()>& release) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            load();
            return true;
        } catch (const std::exception&) {
            release();
            ClearMovieOnHd();
        }
    }
    return false;
}

void MainMenuForm::PlaySound(int16_t n) {
    DSound::PlaySound(n);
}
