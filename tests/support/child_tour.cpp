#include "support/child_tour.h"

namespace testing_support {
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
    if (screens_.empty() || screens_.back() != h_.form.currentScreen)
        screens_.push_back(h_.form.currentScreen);
    if (++yields_ >= maxYields_) {
        h_.platform.window.pending.push_back({headless::InputEvent::Kind::Quit});
        return;
    }
    if (next_ >= steps_.size() || ++waited_ < steps_[next_].wait) return;
    waited_ = 0;
    Step& step = steps_[next_];
    ++tries_;
    if (step.act(h_) || tries_ >= step.maxTries) {
        done_.push_back(step.name);
        ++next_;
        tries_ = 0;
    }
}

namespace {
// Steps that act once: the pointer moved to (x, y) and, with `click`, pressed there; or a key.
std::function<bool(FormHarness&)> Click(int32_t x, int32_t y, bool click = true) {
    return [=](FormHarness& h) {
        h.platform.window.pointer = {x, y};
        h.platform.window.pending.push_back({headless::InputEvent::Kind::MouseMove});
        if (click) h.platform.window.pending.push_back({headless::InputEvent::Kind::MouseDown, 1});
        return true;
    };
}
std::function<bool(FormHarness&)> Key(int16_t key) {
    return [key](FormHarness& h) {
        h.platform.window.pending.push_back({headless::InputEvent::Kind::KeyUp, key, 0});
        return true;
    };
}
}  // namespace

std::vector<ScriptedRun::Step> ChildTour() {
    // Space steps the build-up until its last picture brings the film on.
    const auto build = [](FormHarness& h) {
        return h.form.currentScreen == 6 || (Key(32)(h), false);
    };
    // clang-format off
    return {
        {"look around the main menu", 3, Click(300, 200, false)}, {"open the choices screen", 3, Key(112)},
        {"page 1", 3, Click(90, 80)}, {"page 2", 3, Click(90, 220)}, {"page 3", 3, Click(90, 360)},
        {"page 4", 3, Click(90, 500)}, {"back to the main menu", 3, Key(27)}, {"open Djur", 3, Click(560, 135)},
        {"choose the hen", 3, Click(110, 130)}, {"build the picture", 30, build, 40},
        {"watch the film", 200, [](FormHarness&) { return true; }}, {"leave the film", 3, Key(27)},
        {"leave the theme", 3, Key(27)}, {"end the program", 3, Key(27)},
    };
    // clang-format on
}
}  // namespace testing_support
