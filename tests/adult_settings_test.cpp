// Settings into the record, a stderr line for each not applied; the store writing atomically.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "content/data_file_reader.h"
#include "input/adult_settings.h"
#include "platform/portable/ini_settings_store.h"
#include "platform/portable/ini_text.h"
#include "platform/portable/user_folders.h"
#include "support/form_harness.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;
using platform::IniSettingsStore;
using namespace testing_support;

ChoiceSettings Reset() {
    MainMenuForm form;
    form.ResetSettings(0);
    return form.settings;
}

void Hide(ChoiceSettings& s, std::initializer_list<size_t> items) {
    for (size_t item : items) s.itemEnabled[item] = false;
}

// Every key away from its reset value, as the first file of the table below writes it.
void ChangeEveryKey(ChoiceSettings& s) {
    s.exitLocked = s.simpleContent = s.reversePlay = true;
    s.escapeLocks = {true, false, false, true};
    s.keyDelay = 2000;
    Hide(s, {0, 24, 17, 25});
    s.buildUpSteps = 4;
    s.filmRepeats = 8;
    s.filmDelayFactor = 0.33;
    s.page1Choice = s.page2SecondChoice = s.page2Choice = s.page3Choice = s.page4Choice = false;
}

TEST(AdultSettingsTest, FilesThenOptionsIntoTheRecord) {
    const std::string ignored = "; the line is ignored\n",
                      delays = "(allowed: 500, 1000, 1500, 2000, 2500)";
    const std::string notALine = "' is not a key=value line, a [section] or a ;comment" + ignored;
    // clang-format off
    // Name, files (the least important first), options, what they change in the reset record,
    // stderr without the "quillowbee: " of every line.
    const std::tuple<const char*, std::vector<platform::SettingsFileText>, std::vector<std::string>, void (*)(ChoiceSettings&), std::string> cases[] = {
        {"every key, any case, blanks, comments, CRLF and a byte-order mark",
         {{"s.ini", "\xEF\xBB\xBF; ours\r\n [ settings ]\r\nEXITLOCKED = true\r\nescapeLocks=1,4\nkeyDelay=2000\ndisabledItems=Yrke:1, h\xC3\x96NA ,sport:boll,Katt\n"
              "buildUpSteps=4\nsimpleContent=True\nreversePlay=True\nfilmRepeats=8\nfilmDelayFactor=fast\npage1Choice=False\npage2SecondChoice=False\n"
              "page2Choice=False\npage3Choice=False\npage4Choice=False\nmovieOnHd=True\n", ""}}, {}, ChangeEveryKey, ""},
        {"system files, the user's, then the options, each later one winning key by key",
         {{"a.ini", "[Settings]\nkeyDelay=2500\nfilmDelayFactor=0.330\n", ""},
          {"b.ini", "[Settings]\nkeyDelay=2000\nexitLocked=True\ndisabledItems=Djur:1\n", ""},
          {"u.ini", "[Other]\nkeyDelay=7\nx\n[Settings]\nkeyDelay=1000\ndisabledItems=\n", ""}},
         {"--build-up-steps=0", "--film-speed=slow", "--disable-item=Djur:3,Katt", "--enable-item=djur:3", "--reverse-play", "--reverse-play=False"}, [](ChoiceSettings& s) { s.keyDelay = 1000; s.exitLocked = true; s.buildUpSteps = 0; s.filmDelayFactor = 3.0; Hide(s, {25}); }, ""},
        {"a wrong line leaves the good ones; a file that cannot be read is passed over",
         {{"a.ini", "", "Permission denied"}, {"u.ini", "[Settings]\nkeyDelay=700\nexitLocked=True\nkeyDelays=1000\n", ""}}, {}, [](ChoiceSettings& s) { s.exitLocked = true; },
         "a.ini: cannot be read (Permission denied); its settings are not used\nu.ini:2: keyDelay=700: not allowed " + delays + ignored +
         "u.ini:4: unknown setting 'keyDelays'" + ignored},
        {"values not allowed",
         {{"s.ini", "[Settings]\nkeyDelay=500ms\nbuildUpSteps=3\nfilmRepeats=16.0\nfilmDelayFactor=2\nexitLocked=1\nreversePlay=\nescapeLocks=5\n", ""}}, {}, [](ChoiceSettings&) {},
         "s.ini:2: keyDelay=500ms: not allowed " + delays + ignored +
         "s.ini:3: buildUpSteps=3: not allowed (allowed: 10, 4, 2, 0)" + ignored +
         "s.ini:4: filmRepeats=16.0: not allowed (allowed: 2, 4, 8, 16)" + ignored +
         "s.ini:5: filmDelayFactor=2: not allowed (allowed: slow, normal, fast (or 3.0, 1.0, 0.33))" + ignored +
         "s.ini:6: exitLocked=1: not allowed (allowed: True, False)" + ignored +
         "s.ini:7: reversePlay=: not allowed (allowed: True, False)" + ignored +
         "s.ini:8: escapeLocks=5: '5' is not a lock number 1 to 4" + ignored},
        {"lines out of place; the first section and a key's first line count, right or wrong",
         {{"s.ini", "exitLocked=True\n[Settings]\nkeyDelay 1000\n=True\n[Settings\n\x01\nkeyDelay=700\nkeyDelay=1000\n[Settings]\nreversePlay=True\n", ""}}, {}, [](ChoiceSettings&) {},
         "s.ini:1: 'exitLocked=True' lies before the [Settings] line" + ignored + "s.ini:3: 'keyDelay 1000" + notALine +
         "s.ini:4: '=True" + notALine + "s.ini:5: '[Settings" + notALine + "s.ini:6: '\x01" + notALine +
         "s.ini:7: keyDelay=700: not allowed " + delays + ignored + "s.ini:8: keyDelay is set on line 7 already, and the first counts" + ignored +
         "s.ini:9: a second [Settings] section (the first is on line 2); its lines are ignored\n"},
        {"items that cannot be found",
         {{"a.ini", "[Settings]\ndisabledItems=Fisk:1\n", ""}, {"b.ini", "[Settings]\ndisabledItems=Djur:9\n", ""},
          {"c.ini", "[Settings]\ndisabledItems=Djur:1,,Djur:2\n", ""}, {"d.ini", "[Settings]\ndisabledItems=Drake\n", ""},
          {"e.ini", "[Settings]\ndisabledItems=Boll\n", ""}}, {}, [](ChoiceSettings&) {},
         "a.ini:2: disabledItems=Fisk:1: no theme is named 'Fisk'" + ignored + "b.ini:2: disabledItems=Djur:9: a position is 1 to 8" + ignored +
         "c.ini:2: disabledItems=Djur:1,,Djur:2: an empty item name" + ignored + "d.ini:2: disabledItems=Drake: no item is named 'Drake'" + ignored +
         "e.ini:2: disabledItems=Boll: 'Boll' names more than one item; write it as Musik:Boll or the like" + ignored},
        {"a file never hides a whole theme",
         {{"s.ini", "[Settings]\ndisabledItems=Djur:1,Djur:2,Djur:3,Djur:4,Djur:5,Djur:6,Djur:7,Djur:8\n", ""}}, {}, [](ChoiceSettings&) {},
         "s.ini:2: disabledItems=Djur:1,Djur:2,Djur:3,Djur:4,Djur:5,Djur:6,Djur:7,Djur:8: every item of Djur would be hidden; at least one item of a theme stays" + ignored},
        {"files and options that hide a whole theme together show it whole",
         {{"s.ini", "[Settings]\ndisabledItems=Djur:1,Djur:2,Djur:3,Djur:4,Djur:5,Djur:6,Djur:7\n", ""}}, {"--disable-item=Djur:8", "--disable-item=Yrke:1"},
         [](ChoiceSettings& s) { Hide(s, {0}); }, "every item of Djur is hidden; all of them are shown\n"},
    };
    // clang-format on
    for (const auto& [name, files, options, change, printedWanted] : cases) {
        SCOPED_TRACE(name);
        FormHarness h;
        for (size_t item = 0; item < kItemCount; ++item)
            DataFileReader::itemTable[item].folder = "Tema\\Sak" + std::to_string(item) + "\\";
        // Names as the theme files give them (Windows-1252): "Boll" twice, a hen with an o-umlaut.
        DataFileReader::itemTable[24].folder = "Djur\\H\xF6na\\";
        DataFileReader::itemTable[25].folder = "Djur\\Katt\\";
        DataFileReader::itemTable[17].folder = DataFileReader::itemTable[11].folder = "X\\Boll\\";
        h.platform.settings.files = files;
        h.form.settingOptions = options;
        h.form.ResetSettings(0);
        ::testing::internal::CaptureStderr();
        h.form.ApplyAdultSettings();
        std::string printed = ::testing::internal::GetCapturedStderr();
        for (size_t at = 0; (at = printed.find("quillowbee: ", at)) != std::string::npos;)
            printed.erase(at, 12);
        ChoiceSettings expected = Reset();
        change(expected);
        EXPECT_EQ(h.form.settings, expected);
        EXPECT_EQ(printed, printedWanted);
    }
}

// What the editing mode writes reads back as the same record, key by key.
TEST(AdultSettingsTest, WrittenValuesReadBackAsTheSameRecord) {
    const ChoiceSettings defaults = Reset();
    ChoiceSettings changed = defaults;
    ChangeEveryKey(changed);
    EXPECT_TRUE(AdultSettings::ChangedValues(defaults, defaults).empty());
    for (const auto& [from, to] : {std::pair{defaults, changed}, std::pair{changed, defaults}}) {
        const platform::SettingsValues values = AdultSettings::ChangedValues(from, to);
        EXPECT_EQ(values.size(), 14u);
        std::string text = "[Settings]\n";
        for (const auto& [key, value] : values) text += key + "=" + value + "\n";
        ChoiceSettings read = from;
        const AdultSettings::ItemNames names{};
        EXPECT_TRUE(AdultSettings::ApplyFileText(
                        text, [&] { return std::cref(names); }, read)
                        .empty());
        EXPECT_EQ(read, to) << text;
    }
}

TEST(WithIniValue, ChangesOnlyTheKeysLine) {
    // clang-format off
    const std::tuple<const char*, std::string, std::string> cases[] = {  // name, before, after
        {"other keys, sections and comments kept", "; Q\n[O]\nmovieOnHd=1\n\n[Settings]\n# note\nv = 7\nmovieOnHd=1\n[T]\ny=2\n",
         "; Q\n[O]\nmovieOnHd=1\n\n[Settings]\n# note\nv = 7\nmovieOnHd=False\n[T]\ny=2\n"},
        {"another case, blanks around", "  [ settings ]  \n  MOVIEONHD  =  True\n", "  [ settings ]  \nmovieOnHd=False\n"},
        {"commented keys", "[Settings]\n;movieOnHd=1\n#movieOnHd=1\n", "[Settings]\n;movieOnHd=1\n#movieOnHd=1\nmovieOnHd=False\n"},
        {"a longer key", "[Settings]\nmovieOnHdX=1\n", "[Settings]\nmovieOnHdX=1\nmovieOnHd=False\n"},
        {"added before the blank lines, with carriage returns", "[Settings]\r\na=1\r\n\r\n[O]\r\nmovieOnHd=1\r\n",
         "[Settings]\r\na=1\r\nmovieOnHd=False\r\n\r\n[O]\r\nmovieOnHd=1\r\n"},
        {"only the first key line", "[Settings]\nmovieOnHd=1\nmovieOnHd=2\n", "[Settings]\nmovieOnHd=False\nmovieOnHd=2\n"},
        {"section added after a blank line, other bytes kept", "[Sk\xE4rm]\nn=\xC3\xB6\n", "[Sk\xE4rm]\nn=\xC3\xB6\n\n[Settings]\nmovieOnHd=False\n"},
        {"no line feed after the key", "[Settings]\nmovieOnHd=True", "[Settings]\nmovieOnHd=False"},
        {"a byte-order mark stays in front", "\xEF\xBB\xBF[Settings]\r\nmovieOnHd=1\r\n", "\xEF\xBB\xBF[Settings]\r\nmovieOnHd=False\r\n"}};
    // clang-format on
    for (const auto& [name, before, after] : cases)
        EXPECT_EQ(platform::WithIniValue(before, "Settings", "movieOnHd", "False"), after) << name;
}

// The files in a folder: a temporary file left behind shows.
auto Entries(const fs::path& folder) {
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
}

TEST(IniSettingsStore, WritesOnlyItsOwnLineInTheUsersConfigFolderKeepingTheFileMode) {
    TempDir scratch;
    // A relative XDG_CONFIG_HOME wrongly taken stays inside the scratch folder.
    ScopedCurrentDir entered(scratch.Path());
    const std::string home = (scratch / "home").string(), xdg = (scratch / "xdg/deeper").string();
    // XDG_CONFIG_HOME, the folder written, the file before (empty: none) and after.
    // clang-format off
    const std::tuple<std::optional<std::string>, fs::path, std::string, std::string> cases[] = {
        {xdg, xdg + "/Quillowbee", "", "[Settings]\nmovieOnHd=False\n"},
        {std::nullopt, home + "/.config/Quillowbee", "; kept\r\n[Settings]\r\nmovieOnHd=True\r\n[Other]\r\nz=1", "; kept\r\n[Settings]\r\nmovieOnHd=False\r\n[Other]\r\nz=1"},
        {"relative/config", home + "/.config/Quillowbee", "", "[Settings]\nmovieOnHd=False\n"}};
    // clang-format on
    ScopedEnv homeVariable("HOME", home);
    for (const auto& [xdgConfigHome, folder, before, after] : cases) {
        ScopedEnv configHome("XDG_CONFIG_HOME", xdgConfigHome);
        if (!before.empty()) {
            WriteFile(folder / "settings.ini", before);
            fs::permissions(folder / "settings.ini", fs::perms(0640));
        }
        IniSettingsStore store;
        EXPECT_EQ(store.FileFor("Quillowbee"), folder / "settings.ini");
        store.WriteText("Quillowbee", "Settings", "movieOnHd", "False");
        store.WriteText("Quillowbee", "Settings", "movieOnHd", "False");
        EXPECT_EQ(ReadFile(folder / "settings.ini"), after);
        EXPECT_TRUE(before.empty() ||
                    fs::status(folder / "settings.ini").permissions() == fs::perms(0640));
        EXPECT_EQ(Entries(folder), 1);
        for (const char* folder : {"home", "xdg"}) fs::remove_all(scratch / folder);
    }
}

TEST(IniSettingsStore, SystemFoldersFollowXdgConfigDirs) {
    // clang-format off
    const std::pair<std::optional<std::string>, std::vector<std::string>> cases[] = {
        {std::nullopt, {"/etc/xdg"}}, {"", {"/etc/xdg"}}, {"relative", {"/etc/xdg"}},
        {"/opt/a:/srv/b/", {"/opt/a", "/srv/b"}}, {"relative:/opt/a::", {"/opt/a"}}};
    // clang-format on
    for (const auto& [variable, folders] : cases) {
        ScopedEnv dirs("XDG_CONFIG_DIRS", variable);
        EXPECT_EQ(platform::SystemConfigFolders(), folders) << variable.value_or("(unset)");
    }
}

TEST(IniSettingsStore, ReadsTheSystemFilesThenTheUsersAndWritesOnlyTheUsers) {
    TempDir scratch;
    scratch.Write("first/Quillowbee/settings.ini", "[Settings]\nkeyDelay=2500\n");
    scratch.Write("broken/Quillowbee/settings.ini/inside.txt", "a folder, not a file");
    scratch.Write("last/Quillowbee/settings.ini", "; least important\n");
    scratch.Write("large/Quillowbee/settings.ini", std::string((1 << 20) + 1, ';'));
    scratch.Write("user/Quillowbee/settings.ini", "; mine\n[Settings]\nkeyDelay=500\n");
    // The most important system folder first, as in XDG_CONFIG_DIRS.
    IniSettingsStore store(scratch / "user",
                           {scratch / "first", scratch / "broken", scratch / "missing",
                            scratch / "large", scratch / "last"});
    const std::vector<platform::SettingsFileText> files = store.ReadFiles("Quillowbee");
    const std::tuple<const char*, std::string, std::string> expected[] = {
        // folder, text, error
        {"last", "; least important\n", ""},
        {"large", "", "larger than 1 MiB, too large for a settings file"},
        {"broken", "", "not a regular file"},
        {"first", "[Settings]\nkeyDelay=2500\n", ""},
        {"user", "; mine\n[Settings]\nkeyDelay=500\n", ""}};
    ASSERT_EQ(files.size(), std::size(expected));
    for (size_t i = 0; i < files.size(); ++i) {
        const auto& [folder, text, error] = expected[i];
        EXPECT_EQ(files[i].name, (scratch / folder / "Quillowbee/settings.ini").string());
        EXPECT_TRUE(files[i].text == text && files[i].error == error) << folder;
    }
    store.WriteValues("Quillowbee", "Settings", {{"keyDelay", "1000"}, {"exitLocked", "True"}});
    EXPECT_EQ(scratch.Read("user/Quillowbee/settings.ini"),
              "; mine\n[Settings]\nkeyDelay=1000\nexitLocked=True\n");
    EXPECT_EQ(scratch.Read("first/Quillowbee/settings.ini"), "[Settings]\nkeyDelay=2500\n");
    EXPECT_EQ(Entries(scratch / "user/Quillowbee"), 1);
}

TEST(IniSettingsStore, AWriteThatCannotBeDoneLeavesWhatWasThere) {
    const std::string oldText = "[Settings]\nmovieOnHd=True\n; long enough to pass a small limit\n";
    const auto linked = [](const TempDir& s) {
        s.Write("elsewhere/in", "kept");
        fs::create_directories(s / "Quillowbee");
        fs::create_directory_symlink(s / "elsewhere", s / "Quillowbee/settings.ini");
    };
    // clang-format off
    const std::tuple<const char*, std::function<void(const TempDir&)>, rlim_t> cases[] = {
        {"the settings file is a folder", [](const TempDir& s) { s.Write("Quillowbee/settings.ini/in", "kept"); }, RLIM_INFINITY},
        {"the settings file is a link to a folder", linked, RLIM_INFINITY},
        {"the application folder is a file", [](const TempDir& s) { s.Write("Quillowbee", "not a folder"); }, RLIM_INFINITY},
        // A full disk stops a write half-way: files limited to a few bytes.
        {"the disk fills during the write", [&](const TempDir& s) { s.Write("Quillowbee/settings.ini", oldText); }, 16}};
    // clang-format on
    for (const auto& [name, prepare, fileSizeLimit] : cases) {
        SCOPED_TRACE(name);
        TempDir scratch;
        prepare(scratch);
        const bool hadFile = fs::is_regular_file(scratch / "Quillowbee/settings.ini");
        rlimit old{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
        const rlimit limited{std::min(fileSizeLimit, old.rlim_max), old.rlim_max};
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
        EXPECT_NO_THROW(IniSettingsStore(scratch.Path())
                            .WriteText("Quillowbee", "Settings", "movieOnHd", "False"));
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        if (!fs::is_directory(scratch / "Quillowbee"))
            EXPECT_EQ(scratch.Read("Quillowbee"), "not a folder");
        else
            EXPECT_TRUE(Entries(scratch / "Quillowbee") == 1 &&
                        (!hadFile || scratch.Read("Quillowbee/settings.ini") == oldText));
    }
}

}  // namespace
