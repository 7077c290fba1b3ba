#include "command_line/usage_text.h"

#include <vector>

#include "input/adult_settings.h"

namespace UsageText {

namespace {

struct Option {
    const char* name;  // as typed, e.g. "--content=DIR"
    const char* text;
};

struct Section {
    const char* title;
    const char* text;  // paragraphs separated by "\n"
};

constexpr const char* kName = "quillowbee";
constexpr const char* kSummary = "a full-screen picture program for young children";
constexpr const char* kSynopsis[] = {"quillowbee [OPTION]...", "quillowbee --check [DIR]"};

constexpr const char* kDescription =
    "Quillowbee shows a picture menu of four themes with eight items each. Choosing an item "
    "builds its picture step by step, with a sound on every key press or click, and then plays "
    "its short film. Adults find the settings on the choices screen (F1).\n"
    "It reads its pictures, sounds and theme files from a content folder. Without --content it "
    "takes the first folder that holds the theme files Data/*.dat: the current directory, then "
    "${XDG_DATA_HOME:-~/.local/share}/Quillowbee, then quillowbee below each folder of "
    "${XDG_DATA_DIRS:-/usr/local/share:/usr/share}, where the package installs its demo content.";

constexpr Option kOptions[] = {
    {"--content=DIR", "read the content from DIR instead of looking for it"},
    {"--check [DIR]",
     "check the content in DIR (without DIR: the folder the program would use) without opening "
     "a window: the theme files with every record, the menu pictures, the sounds and every "
     "item's build-up and film pictures, each decoded as the program loads it; print one line "
     "per problem, then a summary"},
    {"--settings",
     "change the settings: the choices screen, in a window, where clicks choose the values and "
     "save them in the user's settings file at once; photos dropped from the file manager on an "
     "item's picture (second page) make that item from them, as quillowbee-kit does; Escape or "
     "the door ends it"},
    {"--windowed", "run in an 800 x 600 window instead of the whole screen"},
    {"--fullscreen", "run on the whole screen (with --settings too)"},
    {"--renderer=software", "draw in software through the window's framebuffer"},
    {"--renderer=accelerated", "draw with the graphics hardware"},
    {"--help", "show this help and exit"},
    {"--version", "show the version and exit"},
};

constexpr const char* kSettingsIntro =
    "Settings are read at start from the [Settings] section of "
    "/etc/xdg/Quillowbee/settings.ini (in each folder of $XDG_CONFIG_DIRS), then of "
    "~/.config/Quillowbee/settings.ini (in $XDG_CONFIG_HOME), then from these options; a later "
    "one overrides an earlier one. Each option is a key of the files too:";

constexpr Section kSections[] = {
    {"Keys and mouse",
     "Click a theme, then an item; click or press Space or Enter to build the picture. Space "
     "moves between themes and items, Enter chooses, Escape goes back and on the main menu ends "
     "the program, F1 opens the choices screen."},
    {"Files",
     "The only thing the program writes is the setting movieOnHd in "
     "${XDG_CONFIG_HOME:-~/.config}/Quillowbee/settings.ini. Content below C:\\Quillowbee\\ in "
     "a theme file means ${XDG_DATA_HOME:-~/.local/share}/Quillowbee/."},
    {"Exit status",
     "0 when the program ended normally or the check found no problem; 1 when something it "
     "needs is missing or broken (one line on standard error says what) or the check found "
     "problems; 2 when the command line is wrong."},
};

constexpr size_t kWidth = 79;
constexpr size_t kOptionColumn = 27;

// `text` filled into lines of at most kWidth columns, each starting with `indent` spaces (the
// first with `firstIndent`).
std::string Fill(std::string_view text, size_t firstIndent, size_t indent) {
    std::string out;
    std::string line(firstIndent, ' ');
    bool lineHasWord = false;
    while (!text.empty()) {
        const size_t space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
        if (lineHasWord && line.size() + 1 + word.size() > kWidth) {
            out += line + "\n";
            line.assign(indent, ' ');
            lineHasWord = false;
        }
        line += (lineHasWord ? " " : "") + std::string(word);
        lineHasWord = true;
    }
    return out + line + "\n";
}

std::vector<std::string_view> Paragraphs(std::string_view text) {
    std::vector<std::string_view> paragraphs;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        paragraphs.push_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return paragraphs;
}

// Text for roff: backslashes and minus signs escaped, a leading dot or quote kept from being
// read as a request.
std::string Roff(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) {
        out.insert(0, "\\&");
    }
    return out;
}

// An option's name in bold, a placeholder for its argument in italics: "--content=DIR",
// "--check [DIR]"; "--renderer=software" is all typed as it stands.
std::string RoffOption(std::string_view name) {
    const size_t split = name.find_first_of("= ");
    const bool placeholder =
        split != std::string_view::npos && split + 1 < name.size() &&
        (name[split + 1] == '[' || (name[split + 1] >= 'A' && name[split + 1] <= 'Z'));
    if (!placeholder) {
        return "\\fB" + Roff(name) + "\\fR";
    }
    return "\\fB" + Roff(name.substr(0, split)) + "\\fR" + Roff(name.substr(split, 1)) + "\\fI" +
           Roff(name.substr(split + 1)) + "\\fR";
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

}  // namespace

std::string Synopsis() {
    std::string out;
    for (const char* line : kSynopsis) {
        out += (out.empty() ? "Usage: " : "  or:  ") + std::string(line) + "\n";
    }
    return out;
}

std::string Help() {
    std::string out = Synopsis();
    for (const std::string_view paragraph : Paragraphs(kDescription)) {
        out += "\n" + Fill(paragraph, 0, 0);
    }
    out += "\nOptions:\n";
    for (const Option& option : kOptions) {
        std::string head = "  " + std::string(option.name);
        if (head.size() + 2 > kOptionColumn) {
            out += head + "\n";
            head.clear();
        }
        head.resize(kOptionColumn, ' ');
        out += head + Fill(option.text, kOptionColumn, kOptionColumn).substr(kOptionColumn);
    }
    out += "\nSettings:\n" + Fill(kSettingsIntro, 2, 2) + AdultSettings::OptionsHelp();
    for (const Section& section : kSections) {
        out += "\n" + std::string(section.title) + ":\n";
        for (const std::string_view paragraph : Paragraphs(section.text)) {
            out += Fill(paragraph, 2, 2);
        }
    }
    return out;
}

std::string ManualPage(std::string_view version, std::string_view date) {
    std::string out = ".TH QUILLOWBEE 6 \"" + std::string(date) + "\" \"quillowbee " +
                      std::string(version) + "\" \"Games\"\n";
    out += ".SH NAME\n" + std::string(kName) + " \\- " + kSummary + "\n";
    out += ".SH SYNOPSIS\n";
    for (const char* line : kSynopsis) {
        out += ".B " + Roff(line) + "\n.br\n";
    }
    out += ".SH DESCRIPTION\n";
    for (const std::string_view paragraph : Paragraphs(kDescription)) {
        out += ".PP\n" + Roff(paragraph) + "\n";
    }
    out += ".SH OPTIONS\n";
    for (const Option& option : kOptions) {
        out += ".TP\n" + RoffOption(option.name) + "\n" + Roff(option.text) + "\n";
    }
    out += ".SH SETTINGS\n.PP\n" + Roff(kSettingsIntro) + "\n.PP\n.nf\n" +
           Roff(AdultSettings::OptionsHelp()) + ".fi\n";
    for (const Section& section : kSections) {
        out += ".SH " + Upper(section.title) + "\n";
        for (const std::string_view paragraph : Paragraphs(section.text)) {
            out += ".PP\n" + Roff(paragraph) + "\n";
        }
    }
    return out;
}

}  // namespace UsageText
