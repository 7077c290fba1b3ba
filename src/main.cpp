// Quillowbee: the picture program's entry. Everything the run does happens inside the main
// window's load event; this only reads the command line and sets up the platform around it.
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <string_view>

#include "platform/portable/file_picture_decoder.h"
#include "platform/portable/ini_settings_store.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/services.h"
#include "platform/portable/steady_counter.h"
#include "display/display_objects.h"
#include "form/main_menu_form.h"
#include "sound/dsound.h"

namespace {

constexpr const char* kUsage =
    "Usage: quillowbee [OPTION]...\n"
    "A full-screen picture program for young children. It reads its pictures, sounds and\n"
    "theme files from the current directory.\n"
    "\n"
    "  --windowed                 run in an 800 x 600 window instead of the whole screen\n"
    "  --renderer=software        draw in software through the window's framebuffer\n"
    "  --renderer=accelerated     draw with the graphics hardware\n"
    "  --help                     show this help and exit\n"
    "  --version                  show the version and exit\n";

enum class Action { Run, Help, Version, Misuse };

Action ReadCommandLine(int argc, char** argv, platform::PresentationOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help") {
            return Action::Help;
        }
        if (arg == "--version") {
            return Action::Version;
        }
        if (arg == "--windowed") {
            options.windowed = true;
        } else if (arg == "--renderer=software") {
            options.renderer = platform::RendererChoice::Software;
        } else if (arg == "--renderer=accelerated") {
            options.renderer = platform::RendererChoice::Accelerated;
        } else {
            std::fprintf(stderr, "quillowbee: unknown option '%s'\n", argv[i]);
            return Action::Misuse;
        }
    }
    return Action::Run;
}

int Run(const platform::PresentationOptions& options) {
    // Declared before the platform so they outlive it; the platform's end takes SDL down.
    platform::IniSettingsStore settings;
    platform::SteadyCounter counter;
    std::unique_ptr<platform::PictureDecoder> pictures = platform::CreateFilePictureDecoder();
    platform::SdlPlatform sdl(options);
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
    form->Form_Initialize();
    return form->Form_Load();
}

}  // namespace

int main(int argc, char** argv) {
    platform::PresentationOptions options;
    switch (ReadCommandLine(argc, argv, options)) {
        case Action::Help:
            std::fputs(kUsage, stdout);
            return 0;
        case Action::Version:
            std::printf("quillowbee %s\n", QUILLOWBEE_VERSION);
            return 0;
        case Action::Misuse:
            std::fputs(kUsage, stderr);
            return 2;
        case Action::Run:
            break;
    }
    try {
        return Run(options);
    } catch (const std::exception& failure) {
        // The platform has gone on the way out, and with it the window: the desktop is back.
        platform::Install({});
        std::fprintf(stderr, "quillowbee: %s\n", failure.what());
        return 1;
    }
}
