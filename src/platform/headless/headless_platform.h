#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/services.h"

// In-memory platform for tests: the pointer is set by the test, the clock is manual, and flips,
// sounds and settings writes are recorded.
namespace headless {

struct InputEvent {
    enum class Kind { MouseDown, KeyUp, MouseMove, Quit, Close, Drop } kind = Kind::MouseDown;
    int16_t code = 0;  // button or key code
    int16_t shift = 0;
};

class Window : public platform::WindowSystem {
  public:
    bool previousInstance = false;
    bool shown = false;
    int16_t pointerShape = platform::kPointerArrow;
    std::vector<int16_t> pointerShapes;  // every shape set, in order
    platform::Point pointer{0, 0};
    std::vector<platform::Point> warps;  // every SetCursorPos, in order
    std::deque<InputEvent> pending;
    // The files of each pending Drop, in order; a drop falls at the pointer.
    std::deque<std::vector<std::string>> pendingDrops;
    int yields = 0;
    // Runs at the start of every yield, before the pending events (tests act "during" a wait).
    std::function<void()> onYield;
    std::vector<int32_t> waits;  // the limit of every waiting yield, in order
    // Runs when the loop would sleep, before the yield: the clock does not move by itself.
    std::function<void()> onWait;

    bool IsPreviousInstance() override { return previousInstance; }
    void ShowWindow() override { shown = true; }
    void SetPointerShape(int16_t shape) override;
    platform::Point GetCursorPos() override { return pointer; }
    void SetCursorPos(int32_t x, int32_t y) override;
    bool Yield(platform::EventSink& sink) override;
    bool WaitAndYield(platform::EventSink& sink, int32_t timeoutMs) override;
};

class Display : public platform::DisplayPresentation {
  public:
    std::vector<std::string> calls;  // "SetCooperativeLevel 81", "SetDisplayMode 800x600x16", ...
    bool refuseDisplayMode = false;
    bool lost = false;
    int presents = 0;
    std::vector<uint16_t> lastFrame;  // the last presented picture, 800 x 600
    int32_t frameWidth = 0;
    int32_t frameHeight = 0;
    bool fullScreen = false;
    std::function<void()> onPresent;

    void SetCooperativeLevel(int32_t flags) override;
    void SetDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel, int32_t refreshRate,
                        int32_t flags) override;
    void RestoreDisplayMode() override;
    void Present(const uint16_t* pixels, int32_t width, int32_t height,
                 int32_t pitchPixels) override;
    // Takes only the changed rectangles into `lastFrame`, so a rectangle that misses a changed
    // pixel shows as a difference from the whole frame.
    void PresentChanged(const uint16_t* pixels, int32_t width, int32_t height, int32_t pitchPixels,
                        const std::vector<Rect>& changed) override;
    std::vector<Rect> lastChanged;  // the rectangles of the last frame handed over
    int32_t TestCooperativeLevel() override { return lost ? 1 : 0; }
    void RestoreAllSurfaces() override { calls.push_back("RestoreAllSurfaces"); }
    uint16_t PixelAt(int32_t x, int32_t y) const { return lastFrame.at(y * frameWidth + x); }
};

// Every character is a solid 6 x 11 block in an 8 x 15 cell, so tests can find drawn text.
class Text : public platform::TextRenderer {
  public:
    struct Call {
        platform::FontSpec font;
        std::string text;
    };
    std::vector<Call> calls;
    const platform::TextMask& Render(const platform::FontSpec& font,
                                     const std::string& text) override;

  private:
    std::map<std::string, platform::TextMask> cache_;
};

class SoundSystem;

// A buffer that "sounds" until the test ends it (one-shots) or it is stopped. A one-shot given a
// length also ends by itself once the clock has moved that long past its play (and `lateMs`
// more, as a device that reports the end late).
class SoundBuffer : public platform::SoundBuffer {
  public:
    explicit SoundBuffer(SoundSystem& system, std::string path);
    ~SoundBuffer() override;
    void SetCurrentPosition(int32_t position) override;
    void Play(int32_t flags) override;
    void Stop() override;
    int32_t GetStatus() override;
    int32_t GetRemainingMs() override;

    std::string path;
    // Played and neither stopped nor ended by the test since; stays set when a length ends it.
    bool playing = false;
    bool looping = false;
    int32_t position = 0;
    int plays = 0;
    int64_t lengthMs = 0;  // 0: no end of its own
    int64_t lateMs = 0;
    int64_t playedAtMs = 0;

  private:
    SoundSystem& system_;
};

class SoundDevice : public platform::SoundDevice {
  public:
    explicit SoundDevice(SoundSystem& system) : system_(system) {}
    void SetCooperativeLevel(int32_t flags) override;
    std::unique_ptr<platform::SoundBuffer> CreateSoundBufferFromFile(
        const std::string& nativePath, const platform::SoundBufferDescription& description,
        const platform::WaveFormat& format) override;
    std::unique_ptr<platform::SoundBuffer> CreateSoundBufferFromResource(
        const std::string& moduleName, const std::string& resourceName,
        const platform::SoundBufferDescription& description,
        const platform::WaveFormat& format) override;

  private:
    SoundSystem& system_;
};

class Counter;

class SoundSystem : public platform::SoundSystem {
  public:
    const Counter* clock = nullptr;     // what ends one-shots that have a length
    bool noDevice = false;              // creating the device fails
    bool refuseCooperative = false;     // the cooperative level is refused
    std::vector<SoundBuffer*> buffers;  // live buffers, in creation order
    std::vector<std::string> plays;     // the path of every Play, in order
    int nextEvent = 1;

    std::unique_ptr<platform::SoundDevice> CreateSoundDevice(const std::string& deviceId) override;
    int32_t CreateEvent() override { return nextEvent++; }
    // The buffer loaded from a file whose native path ends with `suffix`, or null.
    SoundBuffer* Find(const std::string& suffix);
    // Ends every one-shot that is sounding, as if it had played to its end.
    void FinishOneShots();
};

class Counter : public platform::PerformanceCounter {
  public:
    int64_t frequency = 1000000;
    int64_t counter = 0;
    int frequencyQueries = 0;
    int64_t QueryFrequency() override;
    int64_t QueryCounter() override { return counter; }
    int64_t NowMs() const { return counter * 1000 / frequency; }
    void AdvanceMs(int64_t ms) { counter += ms * frequency / 1000; }
    void SetMs(int64_t ms) { counter = ms * frequency / 1000; }
};

class Settings : public platform::SettingsStore {
  public:
    struct Write {
        std::string application, section, key, value;
    };
    std::vector<Write> writes;  // one entry a key, in order
    int changes = 0;            // calls of WriteValues
    // What ReadFiles returns, whatever the application.
    std::vector<platform::SettingsFileText> files;
    std::vector<platform::SettingsFileText> ReadFiles(const std::string&) override { return files; }
    void WriteValues(const std::string& application, const std::string& section,
                     const platform::SettingsValues& values) override;
};

// Every headless piece, with the real picture decoder; installs itself as the current platform.
class Platform {
  public:
    Platform();
    ~Platform();
    Window window;
    Display display;
    Text text;
    SoundSystem sound;
    Counter counter;
    Settings settings;
    std::unique_ptr<platform::PictureDecoder> pictures;
    void Install();
};

}  // namespace headless
