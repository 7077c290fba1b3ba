// Quillowbee: the picture program's entry. Everything the run does happens inside the main
// window's load event; this only reads the command line, finds the content and sets up the
// platform around it, or checks the content without opening a window.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "check/content_check.h"
#include "command_line/command_line.h"
#include "command_line/usage_text.h"
#include "content/data_file_reader.h"
#include "display/display_objects.h"
#include "form/main_menu_form.h"
#include "input/adult_settings.h"
#include "platform/portable/content_search.h"
#include "platform/portable/decode_pool.h"
#include "platform/portable/file_picture_decoder.h"
#include "platform/portable/ini_settings_store.h"
#include "platform/portable/steady_counter.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/wave_decode.h"
#include "platform/services.h"
#include "shell/kit_program.h"
#include "sound/dsound.h"
#include "window_icon.h"

namespace {

// Makes the content folder the current directory: the one named, else the first that holds the
// theme files. Its absolute path, or nothing after saying on stderr what failed.
std::optional<std::string> EnterContentFolder(const std::optional<std::string>& named);

// The setting options tried on a record of their own, so a wrong one is told before anything is
// shown; the run applies them again after the settings files. The items' names, for options that
// name an item, come from the theme files of the content folder, which is entered for them.
// 0 when every option is right, else the exit status.
int CheckSettingOptions(const CommandLine::Request& request, std::optional<std::string>& folder) {
    std::optional<AdultSettings::ItemNames> names;
    const AdultSettings::ItemNamesSource source = [&]() -> const AdultSettings::ItemNames& {
        if (!names) {
            if (!folder) {
                folder = EnterContentFolder(request.contentFolder);
            }
            if (folder) {
                for (const DataFileReader::ThemeFile& theme : DataFileReader::kThemeFiles) {
                    DataFileReader::LoadItemFile(theme.fileName, theme.firstSlot);
                }
            }
            names = AdultSettings::ItemNamesOf(DataFileReader::itemTable);
        }
        return *names;
    };
    ChoiceSettings trial;
    trial.itemEnabled.fill(true);
    std::string misuse;
    for (const std::string& option : request.settingOptions) {
        std::string error;
        const AdultSettings::OptionResult result =
            AdultSettings::ApplyOption(option, source, trial, error);
        if (names && !folder) {
            return 1;  // no content to name items from; EnterContentFolder said why
        }
        if (result == AdultSettings::OptionResult::NotASetting) {
            misuse = "unknown option '" + option + "'";
        } else if (result == AdultSettings::OptionResult::Wrong) {
            misuse = error;
        }
        if (!misuse.empty()) {
            break;
        }
    }
    if (const int theme = AdultSettings::ThemeWithoutItems(trial); misuse.empty() && theme != 0) {
        misuse = "the options hide every item of " + std::string(AdultSettings::ThemeName(theme)) +
                 "; leave at least one of each theme";
    }
    DataFileReader::itemTable = {};
    if (misuse.empty()) {
        return 0;
    }
    std::fprintf(stderr, "quillowbee: %s\nTry 'quillowbee --help' for more information.\n",
                 misuse.c_str());
    return 2;
}

int Run(const CommandLine::Request& request) {
    const platform::PresentationOptions& options = request.presentation;
    // Declared before the platform so they outlive it; the platform's end takes SDL down.
    platform::IniSettingsStore settings;
    platform::SteadyCounter counter;
    std::unique_ptr<platform::PictureDecoder> pictures = platform::CreateFilePictureDecoder();
    platform::SdlPlatform sdl(options);
    platform::Install({&sdl.Window(), &sdl.Display(), &sdl.Text(), &sdl.Sound(), pictures.get(),
                       &counter, &settings, platform::DecodePool::HelpersForThisMachine(),
                       platform::CreateFilePictureDecoder});
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
    form->settingOptions = request.settingOptions;
    form->editingSettings = request.editing;
    if (request.editing) {
        // Photos dropped on an item go through quillowbee-kit, beside this program, into the
        // per-user content folder, which starts as a copy of the content this run uses (the
        // current folder, which the kit inherits).
        form->itemMaker = KitProgram::CreateMaker(KitProgram::BesideThisProgram(), "");
    }
    form->Form_Initialize();
    if (request.editing && form->isPrevInstance) {
        // The adult is told why nothing opens; the child's copy ends silently as ever.
        std::fputs("quillowbee: Quillowbee is running; end it before changing its settings\n",
                   stderr);
        return 1;
    }
    return form->Form_Load();
}

int Check(const std::string& folder) {
    const ContentCheck::Readers readers{platform::CreateFilePictureDecoder,
                                        platform::DecodeWaveFile};
    const ContentCheck::Report report =
        ContentCheck::CheckContent(readers, std::max(1u, std::thread::hardware_concurrency()));
    for (const ContentCheck::Problem& problem : report.problems) {
        std::printf("%s\n", problem.Text().c_str());
    }
    std::printf("%s\n", report.Summary(folder).c_str());
    return report.problems.empty() ? 0 : 1;
}

std::optional<std::string> EnterContentFolder(const std::optional<std::string>& named) {
    std::string folder;
    if (named) {
        folder = *named;
    } else {
        std::vector<std::string_view> themeFiles;
        for (const DataFileReader::ThemeFile& theme : DataFileReader::kThemeFiles) {
            themeFiles.emplace_back(theme.fileName);
        }
        const platform::ContentSearch search = platform::FindContentFolder(themeFiles);
        if (!search.found) {
            std::fprintf(stderr, "quillowbee: %s\n", platform::NoContentMessage(search).c_str());
            return std::nullopt;
        }
        folder = *search.found;
    }
    std::error_code error;
    std::filesystem::current_path(folder, error);
    if (error) {
        std::fprintf(stderr, "quillowbee: cannot use the content folder %s: %s\n", folder.c_str(),
                     error.message().c_str());
        return std::nullopt;
    }
    return std::filesystem::current_path(error).string();
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine::Request request = CommandLine::Read(argc, argv);
    switch (request.action) {
        case CommandLine::Action::Help:
            std::fputs(UsageText::Help().c_str(), stdout);
            return 0;
        case CommandLine::Action::Version:
            std::printf("quillowbee %s\n", QUILLOWBEE_VERSION);
            return 0;
        case CommandLine::Action::Misuse:
            std::fprintf(stderr,
                         "quillowbee: %s\n%sTry 'quillowbee --help' for more information.\n",
                         request.misuse.c_str(), UsageText::Synopsis().c_str());
            return 2;
        case CommandLine::Action::Run:
        case CommandLine::Action::Check:
            break;
    }
    std::optional<std::string> folder;
    try {
        if (const int status = CheckSettingOptions(request, folder); status != 0) {
            return status;
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "quillowbee: %s\n", failure.what());
        return 1;
    }
    if (!folder) {
        folder = EnterContentFolder(request.contentFolder);
    }
    if (!folder) {
        return 1;
    }
    try {
        if (request.action == CommandLine::Action::Check) {
            return Check(*folder);
        }
        request.presentation.windowClass = QUILLOWBEE_APP_ID;
        request.presentation.icon = QuillowbeeWindowIcon();
        return Run(request);
    } catch (const std::exception& failure) {
        // The platform has gone on the way out, and with it the window: the desktop is back.
        platform::Install({});
        std::fprintf(stderr, "quillowbee: %s\n", failure.what());
        return 1;
    }
}
