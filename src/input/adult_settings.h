#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "content/game_info.h"
#include "form/choice_settings.h"
#include "platform/settings_store.h"

// The settings an adult chooses: the keys of the [Settings] section of the settings files and
// the command-line options of the same names, read into the settings record and written back
// from it. One table holds every key, so the files, the options, the help and the writes agree.
namespace AdultSettings {

inline constexpr const char* kApplication = "Quillowbee";
inline constexpr const char* kSection = "Settings";

// The items' names as their theme files give them (the last part of the folder), in UTF-8.
using ItemNames = std::array<std::string, kItemCount>;
// Gives the names when they are first needed: reading them may mean reading the theme files.
using ItemNamesSource = std::function<const ItemNames&()>;

ItemNames ItemNamesOf(const std::array<ItemInfo, kItemCount>& items);

// A line of a settings file that was not applied, and why.
struct Problem {
    int line = 0;
    std::string what;
};

// Applies the [Settings] section of a settings file's text to `settings`, line by line. A line
// that cannot be applied changes nothing and is reported; so are lines that lie before the
// section, a second [Settings] section and a key set twice (the first counts, as for writes).
std::vector<Problem> ApplyFileText(std::string_view text, const ItemNamesSource& names,
                                   ChoiceSettings& settings);

enum class OptionResult { NotASetting, Applied, Wrong };
// Applies one command-line argument when it is a setting's option ("--key-delay=1000",
// "--exit-locked"); with Wrong, `error` says what is wrong and what is allowed.
OptionResult ApplyOption(std::string_view argument, const ItemNamesSource& names,
                         ChoiceSettings& settings, std::string& error);

// The lines of the program's --help that describe the settings' options.
std::string OptionsHelp();

// The keys whose values differ between two records, each with its value in `after`, as the
// settings file writes it.
platform::SettingsValues ChangedValues(const ChoiceSettings& before, const ChoiceSettings& after);

// The first theme (1-4) none of whose items is enabled, or 0 when every theme keeps one.
int ThemeWithoutItems(const ChoiceSettings& settings);
std::string_view ThemeName(int theme);

}  // namespace AdultSettings
