// Quillowbee: the picture program's entry. Everything the run does happens inside the main
// window's load event; this only reads the command line and sets up the platform around it.
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "content/data_file_reader.h"
#include "display/display_objects.h"
#include "form/main_menu_form.h"
#include "input/adult_settings.h"
#include "platform/portable/file_picture_decoder.h"
#include "platform/portable/ini_settings_store.h"
#include "platform/portable/steady_counter.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/services.h"
#include "sound/dsound.h"

namespace {

constexpr const char* kUsage =
    "Usage: quillowbee [OPTION]...\n"
    "A full-screen picture program for young children. It reads its pictures, sounds and\n"
    "theme files from the current directory.\n"
    "\n"
    "  --settings                 change the settings: the choices screen, in a window, where\n"
    "                             clicks choose the values and save them in the user's\n"
    "                             settings file at once; Escape or the door ends it\n"
    "  --windowed                 run in an 800 x 600 window instead of the whole screen\n"
    "  --fullscreen               run on the whole screen (with --settings too)\n"
    "  --renderer=software        draw in software through the window's framebuffer\n"
    "  --renderer=accelerated     draw with the graphics hardware\n"
    "  --help                     show this help and exit\n"
    "  --version                  show the version and exit\n"
    "\n"
    "Settings are read at start from the [Settings] section of\n"
    "/etc/xdg/Quillowbee/settings.ini (in each folder of $XDG_CONFIG_DIRS), then of\n"
    "~/.config/Quillowbee/settings.ini (in $XDG_CONFIG_HOME), then from these options; a\n"
    "later one overrides an earlier one. Each option is a key of the files too:\n"
    "\n";

enum class Action { Run, Help, Version, Misuse };

struct CommandLine {
    platform::PresentationOptions presentation;
    bool editing = false;
    bool fullscreen = false;
    std::vector<std::string> settingOptions;
};

// The items' names, for options that name an item; they come from the theme files.
const AdultSettings::ItemNames& ItemNamesFromThemeFiles() {
    static std::optional<AdultSettings::ItemNames> names;
    if (!names) {
        DataFileReader::LoadItemFile("Data\\Yrke.dat", 0);
        DataFileReader::LoadItemFile("Data\\Musik.dat", 8);
        DataFileReader::LoadItemFile("Data\\Sport.dat", 16);
        DataFileReader::LoadItemFile("Data\\Djur.dat", 24);
        names = AdultSettings::ItemNamesOf(DataFileReader::itemTable);
    }
    return *names;
}

Action Misuse(const std::string& what) {
    std::fprintf(stderr, "quillowbee: %s\nTry 'quillowbee --help' for more information.\n",
                 what.c_str());
    return Action::Misuse;
}

Action ReadCommandLine(int argc, char** argv, CommandLine& line) {
    // The setting options are tried on a record of their own, so a wrong one is told now,
    // before anything is shown; the run applies them again after the settings files.
    ChoiceSettings trial;
    trial.itemEnabled.fill(true);
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help") {
            return Action::Help;
        }
        if (arg == "--version") {
            return Action::Version;
        }
        std::string error;
        if (arg == "--windowed") {
            line.presentation.windowed = true;
        } else if (arg == "--fullscreen") {
            line.fullscreen = true;
        } else if (arg == "--settings") {
            line.editing = true;
        } else if (arg == "--renderer=software") {
            line.presentation.renderer = platform::RendererChoice::Software;
        } else if (arg == "--renderer=accelerated") {
            line.presentation.renderer = platform::RendererChoice::Accelerated;
        } else if (const auto result =
                       AdultSettings::ApplyOption(arg, ItemNamesFromThemeFiles, trial, error);
                   result == AdultSettings::OptionResult::Applied) {
            line.settingOptions.emplace_back(arg);
        } else if (result == AdultSettings::OptionResult::Wrong) {
            return Misuse(error);
        } else {
            return Misuse("unknown option '" + std::string(arg) + "'");
        }
    }
    if (const int theme = AdultSettings::ThemeWithoutItems(trial)) {
        return Misuse("the options hide every item of " +
                      std::string(AdultSettings::ThemeName(theme)) +
                      "; leave at least one of each theme");
    }
    if (line.fullscreen) {
        line.presentation.windowed = false;
    } else if (line.editing) {
        line.presentation.windowed = true;
    }
    return Action::Run;
}

int Run(const CommandLine& line) {
    // Declared before the platform so they outlive it; the platform's end takes SDL down.
    platform::IniSettingsStore settings;
    platform::SteadyCounter counter;
    std::unique_ptr<platform::PictureDecoder> pictures = platform::CreateFilePictureDecoder();
    platform::SdlPlatform sdl(line.presentation);
    platform::Install({&sdl.Window(), &sdl.Display(), &sdl.Text(), &sdl.Sound(), pictures.get(),
                       &counter, &settings});
    // Whatever the run leaves loaded (after the failure path, sounds and surfaces) goes before
    // the platform that made it.
    struct ModulesGoFirst {
        ~ModulesGoFirst() {
            DSound::ResetModule();
            GameUtil::DropDisplayObjects();
            platform::Install({});
        }
    } modulesGoFirst;
    auto form = std::make_unique<MainMenuForm>();
    form->settingOptions = line.settingOptions;
    form->editingSettings = line.editing;
    form->Form_Initialize();
    if (line.editing && form->isPrevInstance) {
        // The adult is told why nothing opens; the child's copy ends silently as ever.
        std::fputs("quillowbee: Quillowbee is running; end it before changing its settings\n",
                   stderr);
        return 1;
    }
    return form->Form_Load();
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine line;
    try {
        switch (ReadCommandLine(argc, argv, line)) {
            case Action::Help:
                std::fputs(kUsage, stdout);
                std::fputs(AdultSettings::OptionsHelp().c_str(), stdout);
                return 0;
            case Action::Version:
                std::printf("quillowbee %s\n", QUILLOWBEE_VERSION);
                return 0;
            case Action::Misuse:
                return 2;
            case Action::Run:
                break;
        }
        return Run(line);
    } catch (const std::exception& failure) {
        // The platform has gone on the way out, and with it the window: the desktop is back.
        platform::Install({});
        std::fprintf(stderr, "quillowbee: %s\n", failure.what());
        return 1;
    }
}
