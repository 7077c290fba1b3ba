// System paths (backslashes, Windows-1252, any case) on the disk; where content is found.
#include "platform/portable/path_resolution.h"
#include "platform/portable/content_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "support/test_files.h"

namespace {

using platform::NativePath;
using platform::Windows1252ToUtf8;
using namespace testing_support;
using Strings = std::vector<std::string>;

TEST(Windows1252ToUtf8, GivesEachByteItsOwnWellFormedCharacter) {
    // The euro sign, and the five bytes Windows-1252 leaves undefined kept as C1 controls.
    EXPECT_EQ(Windows1252ToUtf8(std::string("H\xF6na\x80\x81\x9D\0", 9)),
              std::string("H\xC3\xB6na\xE2\x82\xAC\xC2\x81\xC2\x9D\0", 14));
    std::set<std::string> seen;
    for (int b = 0; b < 256; ++b) {
        const std::string utf8 = Windows1252ToUtf8(std::string(1, char(b)));
        const auto lead = static_cast<unsigned char>(utf8[0]);  // tells the character's length
        ASSERT_EQ(utf8.size(), lead < 0x80 ? 1u : lead < 0xE0 ? 2u : lead < 0xF0 ? 3u : 4u) << b;
        for (size_t k = 1; k < utf8.size(); ++k) EXPECT_EQ(utf8[k] & 0xC0, 0x80) << "byte " << b;
        EXPECT_TRUE(seen.insert(utf8).second) << "byte " << b << " shares its character";
    }
}

TEST(NativePath, MatchesEachPartExactlyElseIgnoringCaseAndFindsTheUserDataFolder) {
    TempDir scratch;
    const std::string xdg = (scratch / "xdg").string(), home = (scratch / "home").string();
    for (const std::string below : {"", "xdg/Quillowbee/", "home/.local/share/Quillowbee/"})
        for (const char* file : {"Grafik/Meny/Val/Sida1.jpg", "Djur/H\xC3\xB6na/Film/01.jpg",
                                 "Ljud/A.wav", "Ljud/a.WAV", "Musik/\xC3\x85RA/x.jpg"})
            scratch.Write(below + file, "x");
    for (int upper = 0xC0; upper <= 0xDE; ++upper)
        scratch.Write("Latin/" + Windows1252ToUtf8(std::string(1, char(upper))), "x");
    scratch.Write("Latin/\xC5\xA0\xC5\x92\xC5\xBD\xC5\xB8", "x");  // ŠŒŽŸ
    ScopedCurrentDir entered(scratch.Path());
    ScopedEnv homeVariable("HOME", home);
    // XDG_DATA_HOME, the system path, the path on the disk.
    std::vector<std::tuple<std::optional<std::string>, std::string, std::string>> cases = {
        {xdg, "GRAFIK\\MENY\\VAL\\SIDA1.JPG", "Grafik/Meny/Val/Sida1.jpg"},
        {xdg, "djur\\H\xD6NA\\film\\01.jpg", "Djur/H\xC3\xB6na/Film/01.jpg"},
        {xdg, "Musik\\\xE5ra\\X.JPG", "Musik/\xC3\x85RA/x.jpg"},  // å finds ÅRA
        {xdg, "Ljud\\a.WAV", "Ljud/a.WAV"},                       // the exact name first
        {xdg, "Ljud\\a.wav", "Ljud/A.wav"},                       // else the first in byte order
        // A missing part is kept as written, and so is everything below it; o is not ö.
        {xdg, "grafik\\saknas\\meny\\x.jpg", "Grafik/saknas/meny/x.jpg"},
        {xdg, "Djur\\Hona\\Film\\", "Djur/Hona/Film/"},
        {xdg, "", ""},
        {xdg, "Latin\\\x9A\x9C\x9E\xFF", "Latin/\xC5\xA0\xC5\x92\xC5\xBD\xC5\xB8"},
        {xdg, "Latin\\\xDF", "Latin/\xC3\x9F"},  // ß has no capital to find
        // The hard disk prefix stands for the user data folder, an absolute XDG_DATA_HOME only.
        {xdg, "c:\\QUILLOWBEE\\djur\\h\xF6na\\", xdg + "/Quillowbee/Djur/H\xC3\xB6na/"},
        {xdg + "/", "C:\\Quillowbee\\Saknas\\01.jpg", xdg + "/Quillowbee/Saknas/01.jpg"},
        {std::nullopt, "C:\\Quillowbee\\ljud\\A.wav", home + "/.local/share/Quillowbee/Ljud/A.wav"},
        {"xdg", "C:\\Quillowbee\\Ljud", home + "/.local/share/Quillowbee/Ljud"},
        {xdg, "D:\\Quillowbee\\Ljud", "D:/Quillowbee/Ljud"},
        {xdg, "C:\\QuillowbeeX\\Ljud", "C:/QuillowbeeX/Ljud"}};
    // Every Latin-1 letter finds its capital; × and ÷ are no letters and find only themselves.
    for (int upper = 0xC0; upper <= 0xDE; ++upper)
        cases.emplace_back(
            xdg, "latin\\" + std::string(1, char(upper + 0x20)),
            "Latin/" + Windows1252ToUtf8(std::string(1, char(upper == 0xD7 ? 0xF7 : upper))));
    for (const auto& [xdgDataHome, system, native] : cases) {
        ScopedEnv dataHome("XDG_DATA_HOME", xdgDataHome);
        EXPECT_EQ(NativePath(system), native) << system;
    }
}

const std::vector<std::string_view> kThemeFiles = {"Data\\Yrke.dat", "Data\\Musik.dat",
                                                   "Data\\Sport.dat", "Data\\Djur.dat"};
const Strings kAllFour = {"Data/Yrke.dat", "Data/Musik.dat", "Data/Sport.dat", "Data/Djur.dat"};

TEST(ContentSearchTest, TakesTheFirstFolderThatHoldsEveryThemeFile) {
    // Name, XDG_DATA_HOME and XDG_DATA_DIRS (none: unset), the folders with content, those looked
    // in after the current one, the one found. Folders lie below the root ("@" in XDG_DATA_DIRS).
    using Opt = std::optional<std::string>;
    const std::string local = "home/.local/share/Quillowbee", d = "data/Quillowbee";
    // clang-format off
    const std::tuple<const char*, Opt, Opt, Strings, Strings, Opt> cases[] = {
        {"the current directory first", "data", "@/s1", {"cwd", d, "s1/quillowbee"}, {d, "s1/quillowbee"}, "cwd"},
        {"then the user's data folder", "data", "@/s1", {d, "s1/quillowbee"}, {d, "s1/quillowbee"}, d},
        {"the earlier shared folder wins", "data", "@/s1:@/s2", {"s1/quillowbee", "s2/quillowbee"}, {d, "s1/quillowbee", "s2/quillowbee"}, "s1/quillowbee"},
        {"no XDG_DATA_HOME", std::nullopt, "@/s1", {local}, {local, "s1/quillowbee"}, local},
        {"a relative XDG_DATA_HOME", "rel", "@/s1", {local}, {local, "s1/quillowbee"}, local},
        {"relative and empty shared entries", "data", "::rel:@/s2/", {"s2/quillowbee"}, {d, "s2/quillowbee"}, "s2/quillowbee"},
        {"nothing anywhere", "data", "@/s1:@/s2", {}, {d, "s1/quillowbee", "s2/quillowbee"}, std::nullopt}};
    // clang-format on
    for (const auto& [name, dataHomeBelow, dataDirsBelow, withContent, lookedBelow, found] :
         cases) {
        SCOPED_TRACE(name);
        TempDir root;
        for (const std::string& f : withContent)
            for (const std::string& name : kAllFour) root.Write(f + "/" + name, "x\n");
        std::filesystem::create_directories(root / "cwd");
        const std::string at = root.Path().string();
        auto full = [&](const std::string& below) { return at + "/" + below; };
        Opt dataDirs = dataDirsBelow;
        for (size_t p; (p = dataDirs->find('@')) != std::string::npos;) dataDirs->replace(p, 1, at);
        ScopedCurrentDir cwd(root / "cwd");
        const Opt dataHome =
            dataHomeBelow && dataHomeBelow != "rel" ? full(*dataHomeBelow) : dataHomeBelow;
        ScopedEnv env[] = {
            {"HOME", full("home")}, {"XDG_DATA_HOME", dataHome}, {"XDG_DATA_DIRS", dataDirs}};
        const platform::ContentSearch search = platform::FindContentFolder(kThemeFiles);
        Strings looked{full("cwd")};
        for (const std::string& folder : lookedBelow) looked.push_back(full(folder));
        if (found) {  // the search stops at the folder it takes
            looked.erase(std::find(looked.begin(), looked.end(), full(*found)) + 1, looked.end());
            EXPECT_EQ(search.found, full(*found));
        } else {
            EXPECT_EQ(search.found, std::nullopt);
            for (const std::string& folder : looked)  // the message names every folder looked in
                EXPECT_NE(platform::NoContentMessage(search).find(folder), std::string::npos);
        }
        EXPECT_EQ(search.looked, looked);
    }
    ScopedEnv dataDirs("XDG_DATA_DIRS", std::nullopt);  // then the system data folders
    const Strings all = platform::ContentFolderCandidates();
    EXPECT_EQ(Strings(all.end() - 2, all.end()),
              (Strings{"/usr/local/share/quillowbee", "/usr/share/quillowbee"}));
}

TEST(ContentSearchTest, AFolderHoldsContentOnlyWithAllFourThemeFiles) {
    // clang-format off
    const std::pair<Strings, bool> cases[] = {{kAllFour, true}, {{"data/YRKE.DAT", "data/musik.dat", "data/Sport.dat", "data/Djur.DAT"}, true},
        {{"Data/Yrke.dat", "Data/Musik.dat", "Data/Djur.dat"}, false}, {{"Data/Yrke.dat", "Data/Musik.dat", "Data/Sport.dat/x", "Data/Djur.dat"}, false}};
    // clang-format on
    for (const auto& [files, holds] : cases) {
        TempDir root;
        for (const std::string& name : files) root.Write("pack/" + name, "x\n");
        EXPECT_EQ(platform::HoldsContent((root / "pack").string(), kThemeFiles), holds)
            << testing::PrintToString(files);
    }
}

}  // namespace
