#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/test_files.h"

namespace e2e {
// An 8-bit RGB picture, rows top to bottom.
struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb = std::vector<uint8_t>(3u * width * height);
    uint8_t* Pixel(int x, int y) { return &rgb[3u * (y * width + x)]; }
    const uint8_t* Pixel(int x, int y) const { return &rgb[3u * (y * width + x)]; }
    // Copies `part` with its top left corner at (x, y), as the program lays a highlight over a
    // menu picture; what falls outside is cut off.
    Image& Paste(const Image& part, int x, int y);
};

// Decodes a JPEG file with TurboJPEG; throws naming the file when it cannot.
Image LoadJpeg(const std::filesystem::path& file);
// Whether two pictures differ by so much that a screen showing one can never pass for the other.
bool Distinct(const Image& before, const Image& after);

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

// The real program on the demo content, full screen on an Xvfb display of its own (1024 x 768),
// with its own settings, lock folder and frame log, driven with xdotool and watched through
// screenshots in its 800 x 600 picture coordinates. The program ends first, then the display.
class DesktopSession {
  public:
    // Why sessions cannot run on this machine ("" when they can).
    static std::string Unavailable();

    // Starts the display and the program (with `settingsText`, when not empty, in its settings
    // file) and waits until the program is ready for input.
    explicit DesktopSession(const std::string& settingsText = "",
                            std::vector<std::string> arguments = {});

    void MoveTo(Point picture, bool click = false);
    void ClickAt(Point picture) { MoveTo(picture, true); }
    // An X key name: "space", "Return", "Escape", "F1".
    void Press(const std::string& key) { Xdotool({"key", key}); }
    // Waits until the X pointer is on `picture`, where the program warps it.
    ::testing::AssertionResult WaitForPointer(Point picture);
    // Takes screenshots until one shows `expected`; fails naming `what` when none does in time.
    ::testing::AssertionResult WaitForScreen(const Image& expected, const std::string& what);
    // Takes screenshots until one shows one of `candidates` and says which, or -1.
    int WaitForOneOf(const std::vector<const Image*>& candidates);

    testing_support::ChildProcess& Program() { return *program_; }
    std::string ProgramErrors() const { return folder_.Read("program.err"); }
    std::filesystem::path SettingsFolder() const { return folder_ / "config/Quillowbee"; }
    std::filesystem::path FrameLog() const { return folder_ / "frames.log"; }

  private:
    std::string Xdotool(std::vector<std::string> arguments);
    Image Screenshot();

    testing_support::TempDir folder_;
    std::string display_;
    std::unique_ptr<testing_support::ChildProcess> server_, program_;
};
}  // namespace e2e
