// `cmake --install` into a fresh prefix: the files a desktop needs are there and valid, and the
// installed program, started from another folder, finds the installed demo content.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "sdl_test_support.h"

namespace fs = std::filesystem;

namespace {

using namespace std::chrono_literals;
using sdl_testing::Program;
using sdl_testing::RunEnvironment;
using sdl_testing::TempDir;
using sdl_testing::WaitUntil;

// The path of `tool` on PATH, or nothing.
std::optional<fs::path> Tool(const std::string& tool) {
    std::istringstream folders(std::getenv("PATH") != nullptr ? std::getenv("PATH") : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const fs::path candidate = fs::path(folder) / tool;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

// Runs a validator on installed files; a validator that is not there is a failure, since
// scripts/install-deps.sh installs it with everything else the tests need.
void Validate(const std::string& tool, const std::vector<std::string>& args) {
    const std::optional<fs::path> path = Tool(tool);
    ASSERT_TRUE(path) << tool << " is not installed (scripts/install-deps.sh installs it)";
    TempDir folder;
    Program run(*path, folder.Path(), {}, args);
    EXPECT_EQ(run.Wait(60s), 0) << tool << ": " << run.Stdout() << run.Stderr();
}

TEST(InstallTest, InstallsValidDesktopFilesAndAProgramThatFindsItsContentFromAnyFolder) {
    TempDir prefix;
    Program install(QUILLOWBEE_CMAKE, QUILLOWBEE_BUILD_DIR, {},
                    {"--install", QUILLOWBEE_BUILD_DIR, "--prefix", prefix.Path().string()});
    ASSERT_EQ(install.Wait(120s), 0) << install.Stdout() << install.Stderr();

    const std::string id = QUILLOWBEE_APP_ID;
    const fs::path share = prefix.Path() / "share";
    const fs::path desktop = share / "applications" / (id + ".desktop");
    const fs::path settings = share / "applications" / (id + ".Settings.desktop");
    const fs::path metainfo = share / "metainfo" / (id + ".metainfo.xml");
    for (const fs::path& file : {
             prefix.Path() / "games/quillowbee",
             share / "quillowbee/Data/Yrke.dat",
             share / "quillowbee/Grafik/Meny/Val/kryss.bmp",
             share / "quillowbee/Ljud/StartMeny.wav",
             desktop,
             settings,
             share / "icons/hicolor/48x48/apps" / (id + ".png"),
             share / "icons/hicolor/64x64/apps" / (id + ".png"),
             share / "icons/hicolor/128x128/apps" / (id + ".png"),
             share / "icons/hicolor/256x256/apps" / (id + ".png"),
             share / "icons/hicolor/scalable/apps" / (id + ".svg"),
             metainfo,
             share / "man/man6/quillowbee.6.gz",
             share / "doc/quillowbee/copyright",
         }) {
        EXPECT_TRUE(fs::is_regular_file(file)) << file;
    }
    EXPECT_FALSE(fs::exists(share / "quillowbee/.complete")) << "the build's own stamp";
    Validate("desktop-file-validate", {desktop.string(), settings.string()});
    Validate("appstreamcli", {"validate", "--no-net", metainfo.string()});

    // Started from a folder without content, with the prefix's data folder last in the list.
    TempDir elsewhere;
    RunEnvironment environment;
    auto variables = environment.Variables();
    variables["XDG_DATA_DIRS"] = (elsewhere.Path() / "nothing").string() + ":" + share.string();
    Program program(prefix.Path() / "games/quillowbee", elsewhere.Path(), variables, {});
    ASSERT_TRUE(WaitUntil([&] { return environment.Logged("ready") || program.Wait(0ms); }, 30s))
        << "the main menu was not drawn within the limit";
    ASSERT_FALSE(program.Wait(0ms)) << "ended early: " << program.Stderr();
    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait(15s), 0) << program.Stderr();
    EXPECT_EQ(program.Stderr(), "");
}

}  // namespace
