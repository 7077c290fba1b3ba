// `cmake --install` into a fresh prefix: the files a desktop needs are there and valid, and the
// installed program, started from another folder, finds the installed demo content.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>

#include "support/child_process.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {
using namespace std::chrono_literals;
using testing_support::ChildProcess;
using testing_support::TempDir;

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
    for (const fs::path& file :
         {prefix.Path() / "games/quillowbee", prefix.Path() / "games/quillowbee-kit",
          share / "quillowbee/Data/Yrke.dat", share / "quillowbee/Grafik/Meny/Val/kryss.bmp",
          share / "quillowbee/Ljud/StartMeny.wav", desktop, settings, metainfo,
          share / "man/man6/quillowbee.6.gz", share / "doc/quillowbee/copyright"}) {
        EXPECT_TRUE(fs::is_regular_file(file)) << file;
    }
    for (const char* size : {"48x48", "64x64", "128x128", "256x256", "scalable"}) {
        const fs::path icon = share / "icons/hicolor" / size / "apps" / id;
        EXPECT_TRUE(fs::is_regular_file(icon.string() + (size[0] == 's' ? ".svg" : ".png")))
            << icon;
    }
    EXPECT_FALSE(fs::exists(share / "quillowbee/.complete")) << "the build's own stamp";
    // The kit's drawing libraries are loaded by the kit beside the program, never by the program.
    const auto libraries =
        testing_support::RunTool({"ldd", (prefix.Path() / "games/quillowbee").string()}, {}, 60s);
    EXPECT_EQ(libraries.status, 0) << libraries.output;
    EXPECT_NE(libraries.output.find("libSDL2"), std::string::npos) << libraries.output;
    EXPECT_EQ(libraries.output.find("libcairo"), std::string::npos) << libraries.output;
    // A validator that is not there is a failure: scripts/install-deps.sh installs it.
    for (const std::vector<std::string>& validate :
         {std::vector<std::string>{"desktop-file-validate", desktop.string(), settings.string()},
          {"appstreamcli", "validate", "--no-net", metainfo.string()}}) {
        const auto result = testing_support::RunTool(validate, {}, 60s);
        EXPECT_EQ(result.status, 0) << validate[0] << " (127: not installed): " << result.output;
    }

    // Started from a folder without content, with the prefix's data folder last in the list.
    TempDir elsewhere, runtime;
    auto env = testing_support::HeadlessProgramEnvironment(runtime.Path());
    env["XDG_DATA_DIRS"] = (elsewhere / "nothing").string() + ":" + share.string();
    // clang-format off
    ChildProcess program({.argv = {(prefix.Path() / "games/quillowbee").string()}, .env = env,
                          .folder = elsewhere.Path(), .stdoutFile = {}, .stderrFile = runtime / "err"});
    // clang-format on
    const auto ready = [&] {
        return runtime.Read("frames.log").find("ready ") != std::string::npos;
    };
    testing_support::WaitUntil([&] { return ready() || !program.Running(); }, 30s);
    ASSERT_TRUE(ready() && program.Running())
        << "not ready within the limit: " << runtime.Read("err");
    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait(15s), 0) << runtime.Read("err");
    EXPECT_EQ(runtime.Read("err"), "");
}
}  // namespace
