#include "support/child_tour.h"

namespace testing_support {

ScriptedRun::ScriptedRun(FormHarness& harness, std::vector<Step> steps, int maxYields)
    : h_(harness), steps_(std::move(steps)), maxYields_(maxYields) {}

int ScriptedRun::Run() {
    h_.platform.window.onYield = [this] { OnYield(); };
    h_.form.Form_Initialize();
    ::testing::internal::CaptureStderr();
    const int status = h_.form.Form_Load();
    errors_ = ::testing::internal::GetCapturedStderr();
    h_.platform.window.onYield = nullptr;
    return status;
}

void ScriptedRun::OnYield() {
    h_.platform.counter.AdvanceMs(20);
    if (screens_.empty() || screens_.back() != h_.form.currentScreen) {
        screens_.push_back(h_.form.currentScreen);
    }
    if (++yields_ >= maxYields_) {
        h_.platform.window.pending.push_back({headless::InputEvent::Kind::Quit});
        return;
    }
    if (next_ >= steps_.size() || ++waited_ < steps_[next_].wait) {
        return;
    }
    waited_ = 0;
    Step& step = steps_[next_];
    ++tries_;
    if (step.act(h_) || tries_ >= step.maxTries) {
        done_.push_back(step.name);
        ++next_;
        tries_ = 0;
    }
}

void QueueClick(FormHarness& h, int32_t x, int32_t y, int16_t button) {
    h.platform.window.pointer = {x, y};
    h.platform.window.pending.push_back({headless::InputEvent::Kind::MouseMove});
    h.platform.window.pending.push_back({headless::InputEvent::Kind::MouseDown, button});
}

void QueueKey(FormHarness& h, int16_t key, int16_t shift) {
    h.platform.window.pending.push_back({headless::InputEvent::Kind::KeyUp, key, shift});
}

std::vector<ScriptedRun::Step> ChildTour() {
    auto click = [](int32_t x, int32_t y) {
        return [x, y](FormHarness& h) {
            QueueClick(h, x, y);
            return true;
        };
    };
    auto key = [](int16_t k) {
        return [k](FormHarness& h) {
            QueueKey(h, k);
            return true;
        };
    };
    return {
        {"look around the main menu", 3,
         [](FormHarness& h) {
             h.platform.window.pointer = {300, 200};
             h.platform.window.pending.push_back({headless::InputEvent::Kind::MouseMove});
             return true;
         },
         1},
        {"open the choices screen", 3, key(112), 1},
        {"page 1", 3, click(90, 80), 1},
        {"page 2", 3, click(90, 220), 1},
        {"page 3", 3, click(90, 360), 1},
        {"page 4", 3, click(90, 500), 1},
        {"back to the main menu", 3, key(27), 1},
        {"open Djur", 3, click(560, 135), 1},
        {"choose the hen", 3, click(110, 130), 1},
        {"build the picture", 30,
         [](FormHarness& h) {
             if (h.form.currentScreen == 6) {
                 return true;
             }
             QueueKey(h, 32);
             return false;
         },
         40},
        {"watch the film", 200, [](FormHarness&) { return true; }, 1},
        {"leave the film", 3, key(27), 1},
        {"leave the theme", 3, key(27), 1},
        {"end the program", 3, key(27), 1},
    };
}

}  // namespace testing_support
