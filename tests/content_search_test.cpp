// Where the program finds its content when no folder is named.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/portable/content_search.h"
#include "support/test_files.h"

namespace {

using testing_support::ScopedEnv;
using testing_support::TempDir;
using Strings = std::vector<std::string>;

const std::vector<std::string_view> kThemeFiles = {"Data\\Yrke.dat", "Data\\Musik.dat",
                                                   "Data\\Sport.dat", "Data\\Djur.dat"};
const Strings kAllFour = {"Data/Yrke.dat", "Data/Musik.dat", "Data/Sport.dat", "Data/Djur.dat"};

TEST(ContentSearchTest, TakesTheFirstFolderThatHoldsEveryThemeFile) {
    // Folders below the root ("@" in XDG_DATA_DIRS); `looked`: those after the current one.
    struct Case {
        const char* name;
        std::optional<std::string> dataHome, dataDirs;  // nothing: unset
        Strings withContent, looked;
        std::optional<std::string> found;
    };
    const std::string local = "home/.local/share/Quillowbee", d = "data/Quillowbee";
    // clang-format off
    const Case cases[] = {
        {"the current directory first", "data", "@/s1", {"cwd", d, "s1/quillowbee"}, {d, "s1/quillowbee"}, "cwd"},
        {"then the user's data folder", "data", "@/s1", {d, "s1/quillowbee"}, {d, "s1/quillowbee"}, d},
        {"the earlier shared folder wins", "data", "@/s1:@/s2", {"s1/quillowbee", "s2/quillowbee"}, {d, "s1/quillowbee", "s2/quillowbee"}, "s1/quillowbee"},
        {"no XDG_DATA_HOME", std::nullopt, "@/s1", {local}, {local, "s1/quillowbee"}, local},
        {"a relative XDG_DATA_HOME", "rel", "@/s1", {local}, {local, "s1/quillowbee"}, local},
        {"relative and empty shared entries", "data", "::rel:@/s2/", {"s2/quillowbee"}, {d, "s2/quillowbee"}, "s2/quillowbee"},
        {"nothing anywhere", "data", "@/s1:@/s2", {}, {d, "s1/quillowbee", "s2/quillowbee"}, std::nullopt},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir root;
        for (const std::string& f : c.withContent)
            for (const std::string& name : kAllFour) root.Write(f + "/" + name, "x\n");
        std::filesystem::create_directories(root / "cwd");
        const std::string at = root.Path().string();
        auto full = [&](const std::string& below) { return at + "/" + below; };
        std::optional<std::string> dataDirs = c.dataDirs;
        for (size_t p; (p = dataDirs->find('@')) != std::string::npos;) dataDirs->replace(p, 1, at);
        testing_support::ScopedCurrentDir cwd(root / "cwd");
        const auto dataHome = c.dataHome && c.dataHome != "rel" ? full(*c.dataHome) : c.dataHome;
        ScopedEnv env[] = {
            {"HOME", full("home")}, {"XDG_DATA_HOME", dataHome}, {"XDG_DATA_DIRS", dataDirs}};
        const platform::ContentSearch search = platform::FindContentFolder(kThemeFiles);
        Strings looked{full("cwd")};
        for (const std::string& folder : c.looked) looked.push_back(full(folder));
        if (c.found) {  // the search stops at the folder it takes
            looked.erase(std::find(looked.begin(), looked.end(), full(*c.found)) + 1, looked.end());
            EXPECT_EQ(search.found, full(*c.found));
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
    const std::pair<Strings, bool> cases[] = {
        {kAllFour, true},
        {{"data/YRKE.DAT", "data/musik.dat", "data/Sport.dat", "data/Djur.DAT"}, true},
        {{"Data/Yrke.dat", "Data/Musik.dat", "Data/Djur.dat"}, false},
        {{"Data/Yrke.dat", "Data/Musik.dat", "Data/Sport.dat/x", "Data/Djur.dat"}, false},
    };
    for (const auto& [files, holds] : cases) {
        TempDir root;
        for (const std::string& name : files) root.Write("pack/" + name, "x\n");
        EXPECT_EQ(platform::HoldsContent((root / "pack").string(), kThemeFiles), holds)
            << testing::PrintToString(files);
    }
}

}  // namespace
