// Where the program finds its content when no folder is named.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/portable/content_search.h"
#include "support/test_files.h"

namespace {

using testing_support::ScopedCurrentDir;
using testing_support::ScopedEnv;
using testing_support::TempDir;

const std::vector<std::string_view> kThemeFiles = {"Data\\Yrke.dat", "Data\\Musik.dat",
                                                   "Data\\Sport.dat", "Data\\Djur.dat"};

void WriteThemeFiles(const TempDir& root, const std::string& folder,
                     const std::vector<std::string>& names = {"Data/Yrke.dat", "Data/Musik.dat",
                                                              "Data/Sport.dat", "Data/Djur.dat"}) {
    for (const std::string& name : names) {
        root.Write(folder + "/" + name, "x\n");
    }
}

TEST(ContentSearchTest, TakesTheFirstFolderThatHoldsEveryThemeFile) {
    // Folders below the test's root: "cwd" is the current directory, "home" the home folder.
    struct Case {
        const char* name;
        std::optional<std::string> dataHome;  // XDG_DATA_HOME below the root; nothing: unset
        std::optional<std::string> dataDirs;  // XDG_DATA_DIRS, "@" standing for the root
        std::vector<std::string> withContent;
        std::vector<std::string> looked;  // after the current directory
        std::optional<std::string> found;
    };
    const Case cases[] = {
        {"the current directory comes first",
         "data",
         "@/s1",
         {"cwd", "data/Quillowbee", "s1/quillowbee"},
         {"data/Quillowbee", "s1/quillowbee"},
         "cwd"},
        {"then the user's data folder",
         "data",
         "@/s1",
         {"data/Quillowbee", "s1/quillowbee"},
         {"data/Quillowbee", "s1/quillowbee"},
         "data/Quillowbee"},
        {"then each shared data folder in order",
         "data",
         "@/s1:@/s2",
         {"s2/quillowbee"},
         {"data/Quillowbee", "s1/quillowbee", "s2/quillowbee"},
         "s2/quillowbee"},
        {"the earlier shared folder wins",
         "data",
         "@/s1:@/s2",
         {"s1/quillowbee", "s2/quillowbee"},
         {"data/Quillowbee", "s1/quillowbee", "s2/quillowbee"},
         "s1/quillowbee"},
        {"no XDG_DATA_HOME: below the home folder",
         std::nullopt,
         "@/s1",
         {"home/.local/share/Quillowbee"},
         {"home/.local/share/Quillowbee", "s1/quillowbee"},
         "home/.local/share/Quillowbee"},
        {"a relative XDG_DATA_HOME does not count",
         "rel",
         "@/s1",
         {"home/.local/share/Quillowbee"},
         {"home/.local/share/Quillowbee", "s1/quillowbee"},
         "home/.local/share/Quillowbee"},
        {"relative and empty shared entries do not count",
         "data",
         "::rel:@/s2/",
         {"s2/quillowbee"},
         {"data/Quillowbee", "s2/quillowbee"},
         "s2/quillowbee"},
        {"nothing anywhere",
         "data",
         "@/s1",
         {},
         {"data/Quillowbee", "s1/quillowbee"},
         std::nullopt},
    };
    for (const Case& c : cases) {
        TempDir root;
        for (const std::string& folder : c.withContent) {
            WriteThemeFiles(root, folder);
        }
        std::filesystem::create_directories(root / "cwd");
        const std::string at = root.Path().string();
        auto full = [&](const std::string& below) { return at + "/" + below; };
        std::optional<std::string> dataDirs = c.dataDirs;
        for (size_t p; dataDirs && (p = dataDirs->find('@')) != std::string::npos;) {
            dataDirs->replace(p, 1, at);
        }
        ScopedCurrentDir cwd(root / "cwd");
        ScopedEnv home("HOME", full("home"));
        ScopedEnv dataHome("XDG_DATA_HOME",
                           c.dataHome
                               ? std::optional(c.dataHome == "rel" ? "rel" : full(*c.dataHome))
                               : std::nullopt);
        ScopedEnv shared("XDG_DATA_DIRS", dataDirs);

        const platform::ContentSearch search = platform::FindContentFolder(kThemeFiles);
        std::vector<std::string> looked{full("cwd")};
        for (const std::string& folder : c.looked) {
            looked.push_back(full(folder));
        }
        if (c.found) {
            // The search stops at the folder it takes.
            looked.resize(static_cast<size_t>(
                std::find(looked.begin(), looked.end(), full(*c.found)) - looked.begin() + 1));
            EXPECT_EQ(search.found, full(*c.found)) << c.name;
        } else {
            EXPECT_EQ(search.found, std::nullopt) << c.name;
            const std::string message = platform::NoContentMessage(search);
            for (const std::string& folder : looked) {
                EXPECT_NE(message.find(folder), std::string::npos) << c.name << ": " << message;
            }
        }
        EXPECT_EQ(search.looked, looked) << c.name;
    }
}

TEST(ContentSearchTest, WithoutXdgDataDirsLooksInTheSystemDataFolders) {
    TempDir root;
    ScopedEnv dataDirs("XDG_DATA_DIRS", std::nullopt);
    ScopedEnv dataHome("XDG_DATA_HOME", (root / "data").string());
    const std::vector<std::string> candidates = platform::ContentFolderCandidates();
    ASSERT_EQ(candidates.size(), 4u);
    EXPECT_EQ(candidates[2], "/usr/local/share/quillowbee");
    EXPECT_EQ(candidates[3], "/usr/share/quillowbee");
}

TEST(ContentSearchTest, AFolderHoldsContentOnlyWithAllFourThemeFiles) {
    struct Case {
        const char* name;
        std::vector<std::string> files;  // theme files written below the folder
        bool holds;
    };
    const Case cases[] = {
        {"all four", {"Data/Yrke.dat", "Data/Musik.dat", "Data/Sport.dat", "Data/Djur.dat"}, true},
        {"any case on disk",
         {"data/YRKE.DAT", "data/musik.dat", "data/Sport.dat", "data/Djur.DAT"},
         true},
        {"one missing", {"Data/Yrke.dat", "Data/Musik.dat", "Data/Djur.dat"}, false},
        {"a folder in place of a file",
         {"Data/Yrke.dat", "Data/Musik.dat", "Data/Sport.dat/x", "Data/Djur.dat"},
         false},
        {"nothing", {}, false},
    };
    for (const Case& c : cases) {
        TempDir root;
        std::filesystem::create_directories(root / "pack");
        WriteThemeFiles(root, "pack", c.files);
        EXPECT_EQ(platform::HoldsContent((root / "pack").string(), kThemeFiles), c.holds) << c.name;
    }
}

}  // namespace
