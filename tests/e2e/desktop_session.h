#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "screen_image.h"
#include "support/child_process.h"
#include "support/test_files.h"

namespace e2e {

// The real program on the demo content, full screen on a virtual X display of its own
// (Xvfb, 1024 x 768), with its own settings folder, lock folder and frame log. The test drives
// it with real X input and looks at it through screenshots; everything is in the program's
// 800 x 600 picture coordinates. The program goes first, then the display.
class DesktopSession {
  public:
    // Why sessions cannot run on this machine ("" when they can).
    static std::string Unavailable();

    // Starts the display and the program and waits until the program is ready for input.
    // `settingsText`, when not empty, is put in the settings file first; `arguments` go on the
    // program's command line.
    explicit DesktopSession(const std::string& settingsText = "",
                            std::vector<std::string> arguments = {});
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    void MoveTo(Point picture, bool click = false);
    void ClickAt(Point picture) { MoveTo(picture, true); }
    // An X key name: "space", "Return", "Escape", "F1".
    void Press(const std::string& key);
    // `key` pressed and released while `modifier` ("ctrl") is held, as a hand does it.
    void PressWith(const std::string& modifier, const std::string& key);
    // Waits until the X pointer is on `picture`, where the program warps it.
    ::testing::AssertionResult WaitForPointer(Point picture);

    Image Screenshot();
    // Takes screenshots until one shows `expected`; fails naming `what` when none does in time.
    ::testing::AssertionResult WaitForScreen(const Image& expected, const std::string& what);
    // Takes screenshots until one shows one of `candidates` and says which, or -1.
    int WaitForOneOf(const std::vector<const Image*>& candidates);

    testing_support::ChildProcess& Program() { return *program_; }
    std::string ProgramErrors() const { return folder_.Read("program.err"); }
    std::filesystem::path SettingsFolder() const { return folder_ / "config/Quillowbee"; }
    std::filesystem::path FrameLog() const { return folder_ / "frames.log"; }

  private:
    void StartDisplay();
    void StartProgram();
    std::string Xdotool(std::vector<std::string> arguments);

    testing_support::TempDir folder_;
    std::vector<std::string> arguments_;
    std::string display_;
    std::unique_ptr<testing_support::ChildProcess> server_;
    std::unique_ptr<testing_support::ChildProcess> program_;
};

}  // namespace e2e
