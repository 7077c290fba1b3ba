// The settings store: one key's line changed in an INI file, atomically, never ending the program.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/portable/ini_settings_store.h"
#include "platform/portable/ini_text.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;
using platform::IniSettingsStore;
using platform::WithIniValue;

TEST(WithIniValue, ChangesOnlyTheKeysLine) {
    const struct {
        const char* name;
        std::string before;
        std::string after;
    } cases[] = {
        {"other keys, sections and comments kept",
         "; Quillowbee\n[Other]\nmovieOnHd=True\nx = 1\n\n[Settings]\n# note\nvolume = 7\n"
         "movieOnHd=True\nlast=1\n[Tail]\ny=2\n",
         "; Quillowbee\n[Other]\nmovieOnHd=True\nx = 1\n\n[Settings]\n# note\nvolume = 7\n"
         "movieOnHd=False\nlast=1\n[Tail]\ny=2\n"},
        {"key and section in another case, blanks around them",
         "  [ settings ]  \n  MOVIEONHD  =  True\n", "  [ settings ]  \nmovieOnHd=False\n"},
        {"commented key not taken for the key", "[Settings]\n;movieOnHd=True\n#movieOnHd=True\n",
         "[Settings]\n;movieOnHd=True\n#movieOnHd=True\nmovieOnHd=False\n"},
        {"a longer key with the same start is another key", "[Settings]\nmovieOnHdX=1\n",
         "[Settings]\nmovieOnHdX=1\nmovieOnHd=False\n"},
        {"key added after the section's last line, before its blank lines",
         "[Settings]\na=1\n\n\n[Other]\nb=2\n",
         "[Settings]\na=1\nmovieOnHd=False\n\n\n[Other]\nb=2\n"},
        {"only the first of two key lines replaced", "[Settings]\nmovieOnHd=1\nmovieOnHd=2\n",
         "[Settings]\nmovieOnHd=False\nmovieOnHd=2\n"},
        {"section added after a blank line", "[Other]\nb=2\n",
         "[Other]\nb=2\n\n[Settings]\nmovieOnHd=False\n"},
        {"no line feed after the key", "[Settings]\nmovieOnHd=True", "[Settings]\nmovieOnHd=False"},
        {"carriage returns kept and used", "[Settings]\r\na=1\r\n\r\n[Other]\r\nmovieOnHd=1\r\n",
         "[Settings]\r\na=1\r\nmovieOnHd=False\r\n\r\n[Other]\r\nmovieOnHd=1\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithIniValue(c.before, "Settings", "movieOnHd", "False"), c.after) << c.name;
    }
}

// Every entry of a folder, to see that no temporary file stays behind.
std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(IniSettingsStore, WritesOnlyItsOwnLineInTheUsersConfigFolderKeepingTheFileMode) {
    testing_support::TempDir scratch;
    // A relative XDG_CONFIG_HOME wrongly taken stays inside the scratch folder.
    testing_support::ScopedCurrentDir entered(scratch.Path());
    const std::string home = (scratch / "home").string();
    const std::string xdg = (scratch / "xdg/deeper").string();
    const std::string kept = "; kept\r\n[Settings]\r\nvolume=3\r\nmovieOnHd=True\r\n[Other]\r\nz=1";
    const struct {
        std::optional<std::string> xdgConfigHome;
        fs::path folder;
        std::string before;  // nothing: no file yet
        std::string after;
    } cases[] = {
        {xdg, xdg + "/Quillowbee", "", "[Settings]\nmovieOnHd=False\n"},
        {std::nullopt, home + "/.config/Quillowbee", kept,
         "; kept\r\n[Settings]\r\nvolume=3\r\nmovieOnHd=False\r\n[Other]\r\nz=1"},
        {"relative/config", home + "/.config/Quillowbee", "", "[Settings]\nmovieOnHd=False\n"}};
    testing_support::ScopedEnv homeVariable("HOME", home);
    for (const auto& c : cases) {
        testing_support::ScopedEnv configHome("XDG_CONFIG_HOME", c.xdgConfigHome);
        if (!c.before.empty()) {
            testing_support::WriteFile(c.folder / "settings.ini", c.before);
            fs::permissions(c.folder / "settings.ini", fs::perms(0640));
        }
        IniSettingsStore store;
        EXPECT_EQ(store.FileFor("Quillowbee"), c.folder / "settings.ini");
        store.WriteText("Quillowbee", "Settings", "movieOnHd", "False");
        store.WriteText("Quillowbee", "Settings", "movieOnHd", "False");
        EXPECT_EQ(testing_support::ReadFile(c.folder / "settings.ini"), c.after);
        if (!c.before.empty()) {
            EXPECT_EQ(fs::status(c.folder / "settings.ini").permissions(), fs::perms(0640));
        }
        EXPECT_EQ(Entries(c.folder), std::vector<std::string>{"settings.ini"});
        fs::remove_all(scratch / "home");
        fs::remove_all(scratch / "xdg");
    }
}

TEST(IniSettingsStore, AWriteThatCannotBeDoneLeavesWhatWasThere) {
    const std::string oldText = "[Settings]\nmovieOnHd=True\n; long enough to pass a small limit\n";
    const struct {
        const char* name;
        std::function<void(const testing_support::TempDir&)> prepare;
        rlim_t fileSizeLimit;
    } cases[] = {
        {"the settings file is a folder",
         [](const testing_support::TempDir& s) { s.Write("Quillowbee/settings.ini/in", "kept"); },
         RLIM_INFINITY},
        {"the settings file is a link to a folder",
         [](const testing_support::TempDir& s) {
             s.Write("elsewhere/in", "kept");
             fs::create_directories(s / "Quillowbee");
             fs::create_directory_symlink(s / "elsewhere", s / "Quillowbee/settings.ini");
         },
         RLIM_INFINITY},
        {"the application folder is a file",
         [](const testing_support::TempDir& s) { s.Write("Quillowbee", "not a folder"); },
         RLIM_INFINITY},
        {"the disk fills during the write",
         [&](const testing_support::TempDir& s) { s.Write("Quillowbee/settings.ini", oldText); },
         16}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::TempDir scratch;
        c.prepare(scratch);
        const std::string before = fs::is_regular_file(scratch / "Quillowbee/settings.ini")
                                       ? scratch.Read("Quillowbee/settings.ini")
                                       : "";
        IniSettingsStore store(scratch.Path());
        // A full disk stops a write half-way: files limited to a few bytes.
        rlimit old{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
        rlimit limited = old;
        limited.rlim_cur = std::min(c.fileSizeLimit, old.rlim_max);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
        EXPECT_NO_THROW(store.WriteText("Quillowbee", "Settings", "movieOnHd", "False"));
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        if (!fs::is_directory(scratch / "Quillowbee")) {
            EXPECT_EQ(scratch.Read("Quillowbee"), "not a folder");
        } else {
            EXPECT_EQ(Entries(scratch / "Quillowbee"), std::vector<std::string>{"settings.ini"});
            if (!before.empty()) {
                EXPECT_EQ(scratch.Read("Quillowbee/settings.ini"), before);
            }
        }
    }
}

}  // namespace
