// The settings store: one key's line changed in an INI file, atomically, never ending the program.
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

#include "platform/portable/ini_settings_store.h"
#include "platform/portable/ini_text.h"
#include "platform/portable/user_folders.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;
using platform::IniSettingsStore;
using testing_support::TempDir;

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
    testing_support::ScopedCurrentDir entered(scratch.Path());
    const std::string home = (scratch / "home").string(), xdg = (scratch / "xdg/deeper").string();
    // XDG_CONFIG_HOME, the folder written, the file before (empty: none) and after.
    const std::tuple<std::optional<std::string>, fs::path, std::string, std::string> cases[] = {
        {xdg, xdg + "/Quillowbee", "", "[Settings]\nmovieOnHd=False\n"},
        {std::nullopt, home + "/.config/Quillowbee",
         "; kept\r\n[Settings]\r\nmovieOnHd=True\r\n[Other]\r\nz=1",
         "; kept\r\n[Settings]\r\nmovieOnHd=False\r\n[Other]\r\nz=1"},
        {"relative/config", home + "/.config/Quillowbee", "", "[Settings]\nmovieOnHd=False\n"}};
    testing_support::ScopedEnv homeVariable("HOME", home);
    for (const auto& [xdgConfigHome, folder, before, after] : cases) {
        testing_support::ScopedEnv configHome("XDG_CONFIG_HOME", xdgConfigHome);
        if (!before.empty()) {
            testing_support::WriteFile(folder / "settings.ini", before);
            fs::permissions(folder / "settings.ini", fs::perms(0640));
        }
        IniSettingsStore store;
        EXPECT_EQ(store.FileFor("Quillowbee"), folder / "settings.ini");
        store.WriteText("Quillowbee", "Settings", "movieOnHd", "False");
        store.WriteText("Quillowbee", "Settings", "movieOnHd", "False");
        EXPECT_EQ(testing_support::ReadFile(folder / "settings.ini"), after);
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
        testing_support::ScopedEnv dirs("XDG_CONFIG_DIRS", variable);
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
    const std::tuple<const char*, std::function<void(const TempDir&)>, rlim_t> cases[] = {
        {"the settings file is a folder",
         [](const TempDir& s) { s.Write("Quillowbee/settings.ini/in", "kept"); }, RLIM_INFINITY},
        {"the settings file is a link to a folder",
         [](const TempDir& s) {
             s.Write("elsewhere/in", "kept");
             fs::create_directories(s / "Quillowbee");
             fs::create_directory_symlink(s / "elsewhere", s / "Quillowbee/settings.ini");
         },
         RLIM_INFINITY},
        {"the application folder is a file",
         [](const TempDir& s) { s.Write("Quillowbee", "not a folder"); }, RLIM_INFINITY},
        // A full disk stops a write half-way: files limited to a few bytes.
        {"the disk fills during the write",
         [&](const TempDir& s) { s.Write("Quillowbee/settings.ini", oldText); }, 16}};
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
        if (!fs::is_directory(scratch / "Quillowbee")) {
            EXPECT_EQ(scratch.Read("Quillowbee"), "not a folder");
        } else {
            EXPECT_EQ(Entries(scratch / "Quillowbee"), 1);
            EXPECT_TRUE(!hadFile || scratch.Read("Quillowbee/settings.ini") == oldText);
        }
    }
}

}  // namespace
