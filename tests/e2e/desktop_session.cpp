#include "desktop_session.h"

#include <fcntl.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace e2e {
namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::RunTool;
using testing_support::WaitUntil;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {
// Generous, since the machine may be busy with other tests; a wait that succeeds ends early.
constexpr auto kScreenLimit = 10s;
constexpr auto kToolLimit = 15s;

// The program shows its 800 x 600 picture on the whole 1024 x 768 screen, with no bars.
constexpr int kPictureWidth = 800, kPictureHeight = 600, kScreenWidth = 1024, kScreenHeight = 768;
// Means of 8 x 8 picture pixels even out JPEG decoding, 16-bit colour and scaling, while a
// different picture changes whole patches. A screen showing the right picture stays within
// about 15 (of 255) of it in every patch mean.
constexpr int kPatch = 8, kColumns = kPictureWidth / kPatch, kRows = kPictureHeight / kPatch;
constexpr int kTolerance = 24;

// The picture pixel under the middle of image pixel `i` of `size`.
int PictureCoordinate(int i, int size, int pictureSize) {
    return static_cast<int>((2LL * i + 1) * pictureSize / (2LL * size));
}

std::vector<std::array<double, 3>> PatchMeans(const Image& image) {
    if (image.width <= 0 || image.height <= 0) throw std::invalid_argument("empty picture");
    std::vector<std::array<double, 3>> means(kColumns * kRows);
    std::vector<int> counts(kColumns * kRows);
    for (int y = 0; y < image.height; ++y) {
        const int row = PictureCoordinate(y, image.height, kPictureHeight) / kPatch;
        for (int x = 0; x < image.width; ++x) {
            const int patch =
                row * kColumns + PictureCoordinate(x, image.width, kPictureWidth) / kPatch;
            for (int c = 0; c < 3; ++c) means[patch][c] += image.Pixel(x, y)[c];
            ++counts[patch];
        }
    }
    for (size_t patch = 0; patch < means.size(); ++patch)
        for (double& channel : means[patch]) channel /= std::max(counts[patch], 1);
    return means;
}

// How a screen differs from a picture: patches whose mean differs by more than the tolerance,
// and the largest difference of a channel in a patch mean.
struct Difference {
    int patches = 0, largest = 0;
};
Difference Compare(const Image& shown, const Image& expected) {
    const auto a = PatchMeans(shown), b = PatchMeans(expected);
    Difference difference;
    for (size_t patch = 0; patch < a.size(); ++patch) {
        int worst = 0;
        for (int c = 0; c < 3; ++c)
            worst = std::max(worst, static_cast<int>(std::abs(a[patch][c] - b[patch][c]) + 0.5));
        difference.largest = std::max(difference.largest, worst);
        difference.patches += worst > kTolerance;
    }
    return difference;
}

// A binary PPM (P6) with 8-bit samples, as `import ... -depth 8 ppm:-` writes it.
Image ParsePpm(const std::string& bytes) {
    std::istringstream in(bytes);
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    in >> magic >> width >> height >> maximum;
    const size_t size = 3u * width * height,
                 at = in.get() == EOF ? 0 : static_cast<size_t>(in.tellg());
    if (magic != "P6" || width <= 0 || height <= 0 || maximum != 255 || at == 0 ||
        bytes.size() < at + size) {
        throw std::runtime_error("not a whole binary PPM with 8-bit samples");
    }
    return {width, height, {bytes.begin() + at, bytes.begin() + at + size}};
}
}  // namespace

Image& Image::Paste(const Image& part, int x, int y) {
    for (int row = std::max(0, -y); row < part.height && y + row < height; ++row) {
        for (int column = std::max(0, -x); column < part.width && x + column < width; ++column)
            std::memcpy(Pixel(x + column, y + row), part.Pixel(column, row), 3);
    }
    return *this;
}

Image LoadJpeg(const fs::path& file) {
    const std::string bytes = ReadFile(file);
    std::unique_ptr<void, int (*)(tjhandle)> decoder(tjInitDecompress(), tjDestroy);
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.empty() || decoder == nullptr ||
        tjDecompressHeader3(decoder.get(), data, bytes.size(), &width, &height, &subsampling,
                            &colourspace) != 0) {
        throw std::runtime_error("not a JPEG picture: " + file.string());
    }
    Image image{width, height};
    if (tjDecompress2(decoder.get(), data, bytes.size(), image.Pixel(0, 0), width, 0, height,
                      TJPF_RGB, TJFLAG_ACCURATEDCT) != 0) {
        throw std::runtime_error("cannot decode " + file.string());
    }
    return image;
}

// Twice the tolerance: a patch that far off stays off by more than the tolerance even when the
// screen adds its own small differences.
bool Distinct(const Image& before, const Image& after) {
    return Compare(before, after).largest > 2 * kTolerance;
}

std::string DesktopSession::Unavailable() {
    for (const char* tool : {"Xvfb", "xdotool", "import"})
        if (!testing_support::FoundInPath(tool)) return std::string(tool) + " not found: skipped";
    return fs::is_directory(QUILLOWBEE_DEMO_DIR) ? "" : "no demo content (make demo): skipped";
}

DesktopSession::DesktopSession(const std::string& settingsText,
                               std::vector<std::string> arguments) {
    fs::permissions(folder_.Path(), fs::perms::owner_all);  // the program's runtime folder
    if (!settingsText.empty())
        testing_support::WriteFile(SettingsFolder() / "settings.ini", settingsText);
    // -displayfd lets the server take the first free display itself and write its number once it
    // accepts connections, so tests side by side never race for one. -noreset keeps it from
    // starting over (and centring the pointer) whenever its last client leaves.
    const fs::path numberFile = folder_ / "display";
    const int fd = open(numberFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    server_ = std::make_unique<testing_support::ChildProcess>(testing_support::Launch{
        .argv = {"Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-noreset"},
        .env = {},
        .stderrFile = folder_ / "xvfb.log",
        .fd3 = fd});
    close(fd);
    std::string number;
    const auto started = [&] {
        return (number = ReadFile(numberFile)).find('\n') != std::string::npos;
    };
    WaitUntil([&] { return started() || !server_->Running(); }, 15s);
    if (!started())
        throw std::runtime_error("Xvfb did not start: " + ReadFile(folder_ / "xvfb.log"));
    display_ = ":" + number.substr(0, number.find('\n'));

    arguments.insert(arguments.begin(), QUILLOWBEE_PROGRAM);
    auto env = testing_support::HeadlessProgramEnvironment(folder_.Path());
    env["SDL_VIDEODRIVER"] = "x11";
    env["DISPLAY"] = display_;
    // clang-format off
    program_ = std::make_unique<testing_support::ChildProcess>(testing_support::Launch{.argv = arguments,
        .env = env, .folder = QUILLOWBEE_DEMO_DIR, .stdoutFile = folder_ / "program.out", .stderrFile = folder_ / "program.err"});
    // clang-format on
    const auto ready = [&] { return ReadFile(FrameLog()).find("ready ") != std::string::npos; };
    WaitUntil([&] { return ready() || !program_->Running(); }, 30s);
    if (!ready() || !program_->Running())
        throw std::runtime_error("the program did not get ready on display " + display_ + ": " +
                                 ProgramErrors());
}

// Each xdotool run has handed its requests to the server before it ends, so input from one run
// always comes before input from the next.
std::string DesktopSession::Xdotool(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "xdotool");
    const auto result = RunTool(arguments, {{"DISPLAY", display_}}, kToolLimit);
    if (result.status != 0)
        throw std::runtime_error("xdotool " + arguments.at(1) + " failed on display " + display_);
    return result.output;
}

// The screen pixel whose middle lies on picture pixel `p`: the program reads it back as `p`.
void DesktopSession::MoveTo(Point p, bool click) {
    std::vector<std::string> arguments = {
        "mousemove", std::to_string((2LL * p.x + 1) * kScreenWidth / (2LL * kPictureWidth)),
        std::to_string((2LL * p.y + 1) * kScreenHeight / (2LL * kPictureHeight))};
    if (click) arguments.insert(arguments.end(), {"click", "1"});
    Xdotool(arguments);
}

::testing::AssertionResult DesktopSession::WaitForPointer(Point picture) {
    Point at;
    const auto there = [&] {
        Point screen{-1, -1};  // from "x:<x> y:<y> screen:<n> window:<id>"
        std::sscanf(Xdotool({"getmouselocation"}).c_str(), "x:%d y:%d", &screen.x, &screen.y);
        at = {PictureCoordinate(screen.x, kScreenWidth, kPictureWidth),
              PictureCoordinate(screen.y, kScreenHeight, kPictureHeight)};
        return at == picture;
    };
    if (WaitUntil(there, kScreenLimit)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the pointer is at (" << at.x << ", " << at.y
                                         << "), not at (" << picture.x << ", " << picture.y << ")";
}

Image DesktopSession::Screenshot() {
    const auto result =
        RunTool({"import", "-display", display_, "-window", "root", "-depth", "8", "ppm:-"}, {},
                kToolLimit);
    if (result.status != 0) throw std::runtime_error("no screenshot of display " + display_);
    return ParsePpm(result.output);
}

int DesktopSession::WaitForOneOf(const std::vector<const Image*>& candidates) {
    const auto end = Clock::now() + kScreenLimit;
    do {
        const Image shot = Screenshot();
        for (size_t i = 0; i < candidates.size(); ++i)
            if (Compare(shot, *candidates[i]).patches == 0) return static_cast<int>(i);
        std::this_thread::sleep_for(50ms);
    } while (Clock::now() < end && program_->Running());
    return -1;
}

::testing::AssertionResult DesktopSession::WaitForScreen(const Image& expected,
                                                         const std::string& what) {
    if (WaitForOneOf({&expected}) == 0) return ::testing::AssertionSuccess();
    const Difference difference = Compare(Screenshot(), expected);
    return ::testing::AssertionFailure()
           << "the screen does not show " << what << " (" << difference.patches
           << " patches differ, by up to " << difference.largest << ")"
           << (program_->Running() ? "" : "; the program ended: " + ProgramErrors());
}
}  // namespace e2e
