// `cmake --install` into a fresh prefix: the files a desktop needs are there and valid, and the
// installed program, started from another folder, finds the installed demo content.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "support/child_process.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

using namespace std::chrono_literals;
using testing_support::ChildProcess;
using testing_support::Launch;
using testing_support::TempDir;

// Runs a validator on installed files; a validator that is not there is a failure, since
// scripts/install-deps.sh installs it with everything else the tests need.
void Validate(const std::string& tool, const std::vector<std::string>& args) {
    ASSERT_TRUE(testing_support::FoundInPath(tool))
        << tool << " is not installed (scripts/install-deps.sh installs it)";
    std::vector<std::string> argv{tool};
    argv.insert(argv.end(), args.begin(), args.end());
    const testing_support::ToolResult result = testing_support::RunTool(argv, {}, 60s);
    EXPECT_EQ(result.status, 0) << tool << ": " << result.output;
}

TEST(InstallTest, InstallsValidDesktopFilesAndAProgramThatFindsItsContentFromAnyFolder) {
    TempDir prefix;
    const testing_support::ToolResult install = testing_support::RunTool(
        {QUILLOWBEE_CMAKE, "--install", QUILLOWBEE_BUILD_DIR, "--prefix", prefix.Path().string()},
        {}, 120s);
    ASSERT_EQ(install.status, 0) << install.output;

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
    TempDir runtime;
    Launch launch;
    launch.argv = {(prefix.Path() / "games/quillowbee").string()};
    launch.env = testing_support::HeadlessProgramEnvironment(runtime.Path());
    launch.env["XDG_DATA_DIRS"] = (elsewhere / "nothing").string() + ":" + share.string();
    launch.folder = elsewhere.Path();
    launch.stderrFile = runtime / "err";
    ChildProcess program(launch);
    ASSERT_TRUE(testing_support::WaitUntil(
        [&] {
            return runtime.Read("frames.log").find("ready ") != std::string::npos ||
                   !program.Running();
        },
        30s))
        << "the main menu was not drawn within the limit";
    ASSERT_TRUE(program.Running()) << "ended early: " << runtime.Read("err");
    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait(15s), 0) << runtime.Read("err");
    EXPECT_EQ(runtime.Read("err"), "");
}

}  // namespace
