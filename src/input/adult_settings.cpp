#include "input/adult_settings.h"

#include <charconv>
#include <initializer_list>
#include <map>

#include "platform/portable/ini_text.h"
#include "platform/portable/path_resolution.h"

namespace AdultSettings {

namespace {

using platform::SameIniName;

constexpr std::array<std::string_view, 4> kThemes{"Yrke", "Musik", "Sport", "Djur"};

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Splits a comma-separated list into its trimmed entries; an empty text is an empty list.
std::vector<std::string_view> ListEntries(std::string_view text) {
    std::vector<std::string_view> entries;
    if (Trimmed(text).empty()) {
        return entries;
    }
    while (true) {
        const size_t comma = text.find(',');
        entries.push_back(Trimmed(text.substr(0, comma)));
        if (comma == std::string_view::npos) {
            return entries;
        }
        text.remove_prefix(comma + 1);
    }
}

bool WholeNumber(std::string_view text, int& number) {
    text = Trimmed(text);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// Lower case for ASCII and for the Latin-1 capitals that item names can hold (UTF-8).
std::string Folded(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 'A' && c <= 'Z') {
            out.push_back(static_cast<char>(c + 0x20));
        } else if (c == 0xC3 && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[++i]);
            const bool capital = next >= 0x80 && next <= 0x9E && next != 0x97;
            out.push_back(static_cast<char>(c));
            out.push_back(static_cast<char>(capital ? next + 0x20 : next));
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

int ThemeNumber(std::string_view name) {
    for (size_t t = 0; t < kThemes.size(); ++t) {
        if (SameIniName(Trimmed(name), kThemes[t])) {
            return static_cast<int>(t) + 1;
        }
    }
    return 0;
}

struct Found {
    int item = -1;
    std::string error;
};

// The item an entry names: "Djur:3" (theme and position 1-8), "Djur:Katt" or "Katt".
Found FindItem(std::string_view entry, const ItemNamesSource& names) {
    int first = 0;
    int last = kItemCount - 1;
    std::string_view name = entry;
    if (const size_t colon = entry.find(':'); colon != std::string_view::npos) {
        const int theme = ThemeNumber(entry.substr(0, colon));
        if (theme == 0) {
            return {-1, "no theme is named '" + std::string(Trimmed(entry.substr(0, colon))) + "'"};
        }
        name = Trimmed(entry.substr(colon + 1));
        first = (theme - 1) * kItemsPerTheme;
        last = first + kItemsPerTheme - 1;
        if (int position = 0; WholeNumber(name, position)) {
            if (position < 1 || position > kItemsPerTheme) {
                return {-1, "a position is 1 to 8"};
            }
            return {first + position - 1, ""};
        }
    }
    if (name.empty()) {
        return {-1, "an empty item name"};
    }
    const ItemNames& known = names();
    const std::string wanted = Folded(name);
    Found found;
    for (int item = first; item <= last; ++item) {
        if (Folded(known[static_cast<size_t>(item)]) != wanted) {
            continue;
        }
        if (found.item >= 0) {
            return {-1, "'" + std::string(name) + "' names more than one item; write it as " +
                            std::string(kThemes[static_cast<size_t>(found.item / 8)]) + ":" +
                            std::string(name) + " or the like"};
        }
        found.item = item;
    }
    if (found.item < 0) {
        found.error = "no item is named '" + std::string(entry) + "'";
    }
    return found;
}

std::string ItemText(int item) {
    return std::string(kThemes[static_cast<size_t>(item / kItemsPerTheme)]) + ":" +
           std::to_string(item % kItemsPerTheme + 1);
}

// ---- The setters and getters of the table. A setter returns what is wrong, "" when it has
// set the value. ----

using Setter = std::string (*)(std::string_view value, const ItemNamesSource& names,
                               ChoiceSettings& settings);
using Getter = std::string (*)(const ChoiceSettings& settings);

const std::string kNotAllowed = "not allowed";

template <bool ChoiceSettings::*Field>
std::string SetBool(std::string_view value, const ItemNamesSource&, ChoiceSettings& settings) {
    if (SameIniName(Trimmed(value), "True")) {
        settings.*Field = true;
    } else if (SameIniName(Trimmed(value), "False")) {
        settings.*Field = false;
    } else {
        return kNotAllowed;
    }
    return "";
}

template <bool ChoiceSettings::*Field>
std::string GetBool(const ChoiceSettings& settings) {
    return settings.*Field ? "True" : "False";
}

template <int16_t ChoiceSettings::*Field, int16_t... Allowed>
std::string SetNumber(std::string_view value, const ItemNamesSource&, ChoiceSettings& settings) {
    int number = 0;
    if (!WholeNumber(value, number) || ((number != Allowed) && ...)) {
        return kNotAllowed;
    }
    settings.*Field = static_cast<int16_t>(number);
    return "";
}

template <int16_t ChoiceSettings::*Field>
std::string GetNumber(const ChoiceSettings& settings) {
    return std::to_string(settings.*Field);
}

struct Speed {
    std::string_view name;
    std::string_view number;
    double factor;
};
constexpr std::array<Speed, 3> kSpeeds{
    {{"slow", "3.0", 3.0}, {"normal", "1.0", 1.0}, {"fast", "0.33", 0.33}}};

std::string SetSpeed(std::string_view value, const ItemNamesSource&, ChoiceSettings& settings) {
    value = Trimmed(value);
    double number = -1;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    const bool isNumber = error == std::errc() && end == value.data() + value.size();
    for (const Speed& speed : kSpeeds) {
        if (SameIniName(value, speed.name) || (isNumber && number == speed.factor)) {
            settings.filmDelayFactor = speed.factor;
            return "";
        }
    }
    return kNotAllowed;
}

std::string GetSpeed(const ChoiceSettings& settings) {
    for (const Speed& speed : kSpeeds) {
        if (settings.filmDelayFactor == speed.factor) {
            return std::string(speed.number);
        }
    }
    return std::to_string(settings.filmDelayFactor);
}

std::string SetEscapeLocks(std::string_view value, const ItemNamesSource&,
                           ChoiceSettings& settings) {
    std::array<bool, 4> locks{};
    for (std::string_view entry : ListEntries(value)) {
        int lock = 0;
        if (!WholeNumber(entry, lock) || lock < 1 || lock > 4) {
            return "'" + std::string(entry) + "' is not a lock number 1 to 4";
        }
        locks[static_cast<size_t>(lock - 1)] = true;
    }
    settings.escapeLocks = locks;
    return "";
}

std::string GetEscapeLocks(const ChoiceSettings& settings) {
    std::string text;
    for (size_t i = 0; i < settings.escapeLocks.size(); ++i) {
        if (settings.escapeLocks[i]) {
            text += (text.empty() ? "" : ",") + std::to_string(i + 1);
        }
    }
    return text;
}

// Sets itemEnabled of every item the list names to `enabled`.
std::string MarkItems(std::string_view value, const ItemNamesSource& names,
                      ChoiceSettings& settings, bool enabled) {
    const std::vector<std::string_view> entries = ListEntries(value);
    if (entries.empty()) {
        return "no item named";
    }
    std::array<bool, kItemCount> marked = settings.itemEnabled;
    for (std::string_view entry : entries) {
        const Found found = FindItem(entry, names);
        if (found.item < 0) {
            return found.error;
        }
        marked[static_cast<size_t>(found.item)] = enabled;
    }
    settings.itemEnabled = marked;
    return "";
}

std::string SetDisabledItems(std::string_view value, const ItemNamesSource& names,
                             ChoiceSettings& settings) {
    ChoiceSettings changed = settings;
    changed.itemEnabled.fill(true);
    if (!ListEntries(value).empty()) {
        if (std::string error = MarkItems(value, names, changed, false); !error.empty()) {
            return error;
        }
    }
    if (const int theme = ThemeWithoutItems(changed); theme != 0) {
        return "every item of " + std::string(ThemeName(theme)) +
               " would be hidden; at least one item of a theme stays";
    }
    settings.itemEnabled = changed.itemEnabled;
    return "";
}

std::string DisableItems(std::string_view value, const ItemNamesSource& names,
                         ChoiceSettings& settings) {
    return MarkItems(value, names, settings, false);
}

std::string EnableItems(std::string_view value, const ItemNamesSource& names,
                        ChoiceSettings& settings) {
    return MarkItems(value, names, settings, true);
}

std::string GetDisabledItems(const ChoiceSettings& settings) {
    std::string text;
    for (int item = 0; item < kItemCount; ++item) {
        if (!settings.itemEnabled[static_cast<size_t>(item)]) {
            text += (text.empty() ? "" : ",") + ItemText(item);
        }
    }
    return text;
}

// ---- The table. ----

struct Key {
    const char* key;       // in the settings file; null for an option only
    const char* option;    // without its "--"
    const char* argument;  // the option's argument in the help; "" for a switch
    const char* values;    // what is allowed, for the help and for messages
    const char* help;
    Setter set;
    Getter get;                    // null for an option only
    Setter setByOption = nullptr;  // when the option does other than setting the key's value
};

template <bool ChoiceSettings::*Field>
Key Switch(const char* key, const char* option, const char* help) {
    return {key, option, "", "True, False", help, SetBool<Field>, GetBool<Field>};
}

const std::vector<Key>& Keys() {
    static const std::vector<Key> keys{
        Switch<&ChoiceSettings::exitLocked>(
            "exitLocked", "exit-locked",
            "Escape and the door do not end the program; Ctrl+Delete does"),
        {"escapeLocks", "escape-locks", "=LOCKS", "lock numbers 1-4 separated by commas, or none",
         "any lock keeps Escape from leaving a build-up or film", SetEscapeLocks, GetEscapeLocks},
        {"keyDelay", "key-delay", "=MS", "500, 1000, 1500, 2000, 2500",
         "milliseconds after a step before a key takes the next or leaves",
         SetNumber<&ChoiceSettings::keyDelay, 500, 1000, 1500, 2000, 2500>,
         GetNumber<&ChoiceSettings::keyDelay>},
        {"disabledItems", "disable-item", "=ITEMS",
         "Theme:1-8, Theme:Name or Name, separated by commas (themes Yrke, Musik, Sport, Djur)",
         "items covered by their note in the menu; the option adds to the files' items",
         SetDisabledItems, GetDisabledItems, DisableItems},
        {nullptr, "enable-item", "=ITEMS", "as for --disable-item",
         "shows items that the files or an earlier option hide", EnableItems, nullptr},
        {"buildUpSteps", "build-up-steps", "=N", "10, 4, 2, 0",
         "10 every picture, 4 about a quarter, 2 first and last, 0 no build-up",
         SetNumber<&ChoiceSettings::buildUpSteps, 10, 4, 2, 0>,
         GetNumber<&ChoiceSettings::buildUpSteps>},
        Switch<&ChoiceSettings::simpleContent>(
            "simpleContent", "simple-content",
            "the simple pictures (\"Enkel\") instead of the detailed ones"),
        Switch<&ChoiceSettings::reversePlay>("reversePlay", "reverse-play",
                                             "build-up and film run backwards"),
        {"filmRepeats", "film-repeats", "=N", "2, 4, 8, 16",
         "the film ends by itself after N passes; 16 never",
         SetNumber<&ChoiceSettings::filmRepeats, 2, 4, 8, 16>,
         GetNumber<&ChoiceSettings::filmRepeats>},
        {"filmDelayFactor", "film-speed", "=SPEED", "slow, normal, fast (or 3.0, 1.0, 0.33)",
         "how long each film picture stays: three times, as made, a third", SetSpeed, GetSpeed},
        // The two-way choices that the pages show and nothing reads.
        Switch<&ChoiceSettings::page1Choice>("page1Choice", "page1-choice",
                                             "the \"defaults\" choice of the Meny page"),
        Switch<&ChoiceSettings::page2SecondChoice>("page2SecondChoice", "page2-second-choice",
                                                   "the choice at the top left of the Bilder page"),
        Switch<&ChoiceSettings::page2Choice>("page2Choice", "page2-choice",
                                             "the \"defaults\" choice of the Bilder page"),
        Switch<&ChoiceSettings::page3Choice>("page3Choice", "page3-choice",
                                             "the \"defaults\" choice of the Bygga page"),
        Switch<&ChoiceSettings::page4Choice>("page4Choice", "page4-choice",
                                             "the \"defaults\" choice of the Film page"),
    };
    return keys;
}

const Key* KeyNamed(std::string_view key) {
    for (const Key& k : Keys()) {
        if (k.key != nullptr && SameIniName(key, k.key)) {
            return &k;
        }
    }
    return nullptr;
}

// A value that is simply not allowed is told with what is.
std::string Explained(const std::string& wrong, const Key& key) {
    return wrong == kNotAllowed ? wrong + " (allowed: " + key.values + ")" : wrong;
}

// Breaks `text` into lines of at most 79 characters, each line after the first indented.
std::string Wrapped(std::string_view text, size_t indent) {
    constexpr size_t kWidth = 79;
    std::string out;
    size_t column = indent;
    while (!text.empty()) {
        const size_t space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        if (column > indent && column + 1 + word.size() > kWidth) {
            out += "\n" + std::string(indent, ' ');
            column = indent;
        } else if (column > indent) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        text = space == std::string_view::npos ? std::string_view{} : text.substr(space + 1);
    }
    return out + "\n";
}

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

}  // namespace

std::string_view ThemeName(int theme) {
    return theme >= 1 && theme <= 4 ? kThemes[static_cast<size_t>(theme - 1)] : "";
}

ItemNames ItemNamesOf(const std::array<ItemInfo, kItemCount>& items) {
    ItemNames names;
    for (size_t i = 0; i < items.size(); ++i) {
        std::string_view folder = items[i].folder;
        while (folder.ends_with('\\')) {
            folder.remove_suffix(1);
        }
        const size_t slash = folder.rfind('\\');
        names[i] = platform::Windows1252ToUtf8(
            slash == std::string_view::npos ? folder : folder.substr(slash + 1));
    }
    return names;
}

int ThemeWithoutItems(const ChoiceSettings& settings) {
    for (int theme = 1; theme <= 4; ++theme) {
        bool any = false;
        for (int slot = 0; slot < kItemsPerTheme; ++slot) {
            any = any || settings.itemEnabled[static_cast<size_t>((theme - 1) * 8 + slot)];
        }
        if (!any) {
            return theme;
        }
    }
    return 0;
}

std::vector<Problem> ApplyFileText(std::string_view text, const ItemNamesSource& names,
                                   ChoiceSettings& settings) {
    std::vector<Problem> problems;
    bool anySection = false;
    bool inSettings = false;
    int settingsLine = 0;
    std::map<const Key*, int> setOn;
    for (const platform::IniLine& line : platform::IniLines(text)) {
        auto report = [&](const std::string& what) { problems.push_back({line.number, what}); };
        switch (line.kind) {
            case platform::IniLine::Kind::Blank:
            case platform::IniLine::Kind::Comment:
                break;
            case platform::IniLine::Kind::Section:
                anySection = true;
                inSettings = SameIniName(line.name, kSection) && settingsLine == 0;
                if (SameIniName(line.name, kSection) && settingsLine != 0) {
                    report("a second [Settings] section (the first is on line " +
                           std::to_string(settingsLine) + "); its lines are ignored");
                } else if (inSettings) {
                    settingsLine = line.number;
                }
                break;
            case platform::IniLine::Kind::Malformed:
                if (inSettings || !anySection) {
                    report(Quoted(line.text) +
                           " is not a key=value line, a [section] or a ;comment; the line is "
                           "ignored");
                }
                break;
            case platform::IniLine::Kind::Value: {
                if (!anySection) {
                    report(Quoted(line.text) +
                           " lies before the [Settings] line; the line is ignored");
                    break;
                }
                if (!inSettings) {
                    break;  // other sections belong to others
                }
                // The program records a failed load there; it is written, never read.
                if (SameIniName(line.name, "movieOnHd")) {
                    break;
                }
                const Key* key = KeyNamed(line.name);
                if (key == nullptr) {
                    report("unknown setting " + Quoted(line.name) + "; the line is ignored");
                    break;
                }
                if (const auto earlier = setOn.find(key); earlier != setOn.end()) {
                    report(std::string(key->key) + " is set on line " +
                           std::to_string(earlier->second) +
                           " already, and the first counts; the line is ignored");
                    break;
                }
                setOn[key] = line.number;
                if (const std::string wrong = key->set(line.value, names, settings);
                    !wrong.empty()) {
                    report(std::string(key->key) + "=" + std::string(line.value) + ": " +
                           Explained(wrong, *key) + "; the line is ignored");
                }
                break;
            }
        }
    }
    return problems;
}

OptionResult ApplyOption(std::string_view argument, const ItemNamesSource& names,
                         ChoiceSettings& settings, std::string& error) {
    if (!argument.starts_with("--")) {
        return OptionResult::NotASetting;
    }
    const std::string_view body = argument.substr(2);
    const size_t equals = body.find('=');
    const std::string_view name = body.substr(0, equals);
    for (const Key& key : Keys()) {
        if (name != key.option) {
            continue;
        }
        const bool isSwitch = key.argument[0] == '\0';
        if (equals == std::string_view::npos && !isSwitch) {
            error = "option '--" + std::string(name) + "' needs a value: --" + std::string(name) +
                    key.argument + " (allowed: " + key.values + ")";
            return OptionResult::Wrong;
        }
        const std::string_view value =
            equals == std::string_view::npos ? "True" : body.substr(equals + 1);
        const Setter set = key.setByOption != nullptr ? key.setByOption : key.set;
        if (const std::string wrong = set(value, names, settings); !wrong.empty()) {
            error = std::string(argument) + ": " + Explained(wrong, key);
            return OptionResult::Wrong;
        }
        return OptionResult::Applied;
    }
    return OptionResult::NotASetting;
}

std::string OptionsHelp() {
    constexpr size_t kColumn = 29;
    std::string help;
    for (const Key& key : Keys()) {
        const bool isSwitch = key.argument[0] == '\0';
        std::string option =
            std::string("  --") + key.option + (isSwitch ? "[=BOOL]" : key.argument);
        if (option.size() >= kColumn) {
            option += "\n";
            option.resize(option.size() + kColumn, ' ');
        } else {
            option.resize(kColumn, ' ');
        }
        const std::string values =
            (key.key != nullptr ? "key " + std::string(key.key) + "; " : std::string()) +
            (isSwitch ? "BOOL: " : std::string(key.argument + 1) + ": ") + key.values;
        help += option + Wrapped(key.help, kColumn);
        help += std::string(kColumn, ' ') + Wrapped(values, kColumn);
    }
    return help;
}

platform::SettingsValues ChangedValues(const ChoiceSettings& before, const ChoiceSettings& after) {
    platform::SettingsValues changed;
    for (const Key& key : Keys()) {
        if (key.get == nullptr) {
            continue;
        }
        if (std::string value = key.get(after); value != key.get(before)) {
            changed.emplace_back(key.key, std::move(value));
        }
    }
    return changed;
}

}  // namespace AdultSettings
