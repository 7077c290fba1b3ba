#include "platform/headless/headless_platform.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "base/system_failure.h"
#include "platform/portable/file_picture_decoder.h"

namespace headless {

void Window::SetPointerShape(int16_t shape) {
    pointerShape = shape;
    pointerShapes.push_back(shape);
}

void Window::SetCursorPos(int32_t x, int32_t y) {
    pointer = {x, y};
    warps.push_back(pointer);
}

bool Window::WaitAndYield(platform::EventSink& sink, int32_t timeoutMs) {
    waits.push_back(timeoutMs);
    if (onWait) {
        onWait();
    }
    return Yield(sink);
}

bool Window::Yield(platform::EventSink& sink) {
    ++yields;
    if (onYield) {
        onYield();
    }
    const bool any = !pending.empty();
    while (!pending.empty()) {
        const InputEvent event = pending.front();
        pending.pop_front();
        const auto x = static_cast<float>(pointer.x);
        const auto y = static_cast<float>(pointer.y);
        switch (event.kind) {
            case InputEvent::Kind::MouseDown:
                sink.OnMouseDown(event.code, event.shift, x, y);
                break;
            case InputEvent::Kind::KeyUp:
                sink.OnKeyUp(event.code, event.shift);
                break;
            case InputEvent::Kind::MouseMove:
                sink.OnMouseMove(0, event.shift, x, y);
                break;
            case InputEvent::Kind::Quit:
                sink.OnQuitRequest();
                break;
            case InputEvent::Kind::Close:
                sink.OnCloseRequest();
                break;
            case InputEvent::Kind::Drop:
                if (!pendingDrops.empty()) {
                    const std::vector<std::string> files = std::move(pendingDrops.front());
                    pendingDrops.pop_front();
                    sink.OnDropFiles(files, x, y);
                }
                break;
        }
    }
    return any;
}

void Display::SetCooperativeLevel(int32_t flags) {
    calls.push_back("SetCooperativeLevel " + std::to_string(flags));
}

void Display::SetDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel, int32_t,
                             int32_t) {
    calls.push_back("SetDisplayMode " + std::to_string(width) + "x" + std::to_string(height) + "x" +
                    std::to_string(bitsPerPixel));
    if (refuseDisplayMode) {
        Fail("the display mode 800 x 600 cannot be set");
    }
    fullScreen = true;
}

void Display::RestoreDisplayMode() {
    calls.push_back("RestoreDisplayMode");
    fullScreen = false;
}

void Display::Present(const uint16_t* pixels, int32_t width, int32_t height, int32_t pitchPixels) {
    ++presents;
    frameWidth = width;
    frameHeight = height;
    lastFrame.resize(static_cast<size_t>(width) * height);
    for (int32_t y = 0; y < height; ++y) {
        std::memcpy(lastFrame.data() + static_cast<size_t>(y) * width,
                    pixels + static_cast<size_t>(y) * pitchPixels, width * sizeof(uint16_t));
    }
    if (onPresent) {
        onPresent();
    }
}

void Display::PresentChanged(const uint16_t* pixels, int32_t width, int32_t height,
                             int32_t pitchPixels, const std::vector<Rect>& changed) {
    lastChanged = changed;
    if (width != frameWidth || height != frameHeight) {
        Present(pixels, width, height, pitchPixels);  // nothing to patch: the whole frame
        return;
    }
    ++presents;
    for (const Rect& r : changed) {
        for (int32_t y = r.top; y < r.bottom; ++y) {
            std::memcpy(lastFrame.data() + static_cast<size_t>(y) * width + r.left,
                        pixels + static_cast<size_t>(y) * pitchPixels + r.left,
                        static_cast<size_t>(r.right - r.left) * sizeof(uint16_t));
        }
    }
    if (onPresent) {
        onPresent();
    }
}

const platform::TextMask& Text::Render(const platform::FontSpec& font, const std::string& text) {
    calls.push_back({font, text});
    auto [it, inserted] = cache_.try_emplace(text);
    platform::TextMask& mask = it->second;
    if (inserted) {
        mask.width = static_cast<int32_t>(text.size()) * 8;
        mask.height = 15;
        mask.coverage.assign(static_cast<size_t>(mask.width) * mask.height, 0);
        for (size_t c = 0; c < text.size(); ++c) {
            for (int32_t y = 2; y < 13; ++y) {
                for (int32_t x = 1; x < 7; ++x) {
                    mask.coverage[static_cast<size_t>(y) * mask.width + c * 8 + x] = 255;
                }
            }
        }
    }
    return mask;
}

SoundBuffer::SoundBuffer(SoundSystem& system, std::string filePath)
    : path(std::move(filePath)), system_(system) {
    system_.buffers.push_back(this);
}

SoundBuffer::~SoundBuffer() {
    std::erase(system_.buffers, this);
}

void SoundBuffer::SetCurrentPosition(int32_t newPosition) {
    position = newPosition;
}

void SoundBuffer::Play(int32_t flags) {
    playing = true;
    looping = (flags & platform::kPlayLooping) != 0;
    playedAtMs = system_.clock != nullptr ? system_.clock->NowMs() : 0;
    ++plays;
    system_.plays.push_back(path);
}

void SoundBuffer::Stop() {
    playing = false;
}

int32_t SoundBuffer::GetStatus() {
    const bool ended = !looping && lengthMs > 0 && system_.clock != nullptr &&
                       system_.clock->NowMs() - playedAtMs >= lengthMs + lateMs;
    if (!playing || ended) {
        return 0;
    }
    return platform::kSoundStatusPlaying | (looping ? platform::kSoundStatusLooping : 0);
}

int32_t SoundBuffer::GetRemainingMs() {
    if (GetStatus() == 0) {
        return 0;
    }
    if (looping || lengthMs <= 0 || system_.clock == nullptr) {
        return platform::kSoundPlaysOn;
    }
    return static_cast<int32_t>(
        std::clamp<int64_t>(lengthMs - (system_.clock->NowMs() - playedAtMs), 0, INT32_MAX - 1));
}

void SoundDevice::SetCooperativeLevel(int32_t) {
    if (system_.refuseCooperative) {
        Fail("the sound device refused the priority level");
    }
}

std::unique_ptr<platform::SoundBuffer> SoundDevice::CreateSoundBufferFromFile(
    const std::string& nativePath, const platform::SoundBufferDescription&,
    const platform::WaveFormat&) {
    std::ifstream file(nativePath, std::ios::binary);
    char header[12] = {};
    if (!file.read(header, sizeof header) || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "WAVE", 4) != 0) {
        Fail(nativePath + ": not a readable wave file");
    }
    return std::make_unique<SoundBuffer>(system_, nativePath);
}

std::unique_ptr<platform::SoundBuffer> SoundDevice::CreateSoundBufferFromResource(
    const std::string&, const std::string& resourceName, const platform::SoundBufferDescription&,
    const platform::WaveFormat&) {
    Fail("no sound resource named " + resourceName);
}

std::unique_ptr<platform::SoundDevice> SoundSystem::CreateSoundDevice(const std::string&) {
    if (noDevice) {
        Fail("no sound device");
    }
    return std::make_unique<SoundDevice>(*this);
}

SoundBuffer* SoundSystem::Find(const std::string& suffix) {
    for (SoundBuffer* buffer : buffers) {
        if (buffer->path.size() >= suffix.size() &&
            buffer->path.compare(buffer->path.size() - suffix.size(), suffix.size(), suffix) == 0) {
            return buffer;
        }
    }
    return nullptr;
}

void SoundSystem::FinishOneShots() {
    for (SoundBuffer* buffer : buffers) {
        if (!buffer->looping) {
            buffer->playing = false;
        }
    }
}

int64_t Counter::QueryFrequency() {
    ++frequencyQueries;
    return frequency;
}

void Settings::WriteValues(const std::string& application, const std::string& section,
                           const platform::SettingsValues& values) {
    ++changes;
    for (const auto& [key, value] : values) {
        writes.push_back({application, section, key, value});
    }
}

Platform::Platform() : pictures(platform::CreateFilePictureDecoder()) {
    sound.clock = &counter;
    Install();
}

Platform::~Platform() {
    platform::Install({});
}

void Platform::Install() {
    platform::Install(
        {&window, &display, &text, &sound, pictures.get(), &counter, &settings, 0, {}});
}

}  // namespace headless
