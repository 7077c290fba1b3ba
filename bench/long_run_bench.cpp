// Left running for days: the growth of resident memory while the hen's endless film runs for 72
// hours and the menus for a week, on the demo content and the headless platform's clock.
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "bench.h"
#include "display/display_objects.h"
#include "form/main_menu_form.h"
#include "platform/headless/headless_platform.h"
#include "sound/dsound.h"

namespace {

// Resident memory of this process in KiB.
long ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * 4;
}

struct Run {
    std::filesystem::path previous = std::filesystem::current_path();
    headless::Platform platform;
    MainMenuForm form;

    Run() {
        std::filesystem::current_path(bench::DemoDir());
        form.StartUp();
        form.isRunning = true;
    }
    ~Run() {
        form = MainMenuForm{};
        DSound::ResetModule();  // the sounds go before the platform that made them
        GameUtil::DropDisplayObjects();
        std::filesystem::current_path(previous);
    }
    void PassesEvery(int64_t ms, int64_t count) {
        for (int64_t i = 0; i < count; ++i) {
            platform.counter.AdvanceMs(ms);
            form.RunPass();
        }
    }
};

void MeasureLongRuns() {
    {
        Run run;
        run.form.settings.filmDelayFactor = 3.0;
        run.form.settings.filmRepeats = 16;  // endless
        run.form.settings.buildUpSteps = 0;
        run.form.selectedItem = 24;
        run.form.menuContext = 10;
        run.form.requestedScreen = 5;
        run.PassesEvery(1000, 600);  // settle before measuring
        const long before = ResidentKiB();
        run.PassesEvery(15000, 72 * 240);
        if (!run.form.isRunning || run.form.currentScreen != Screen::kFilm) {
            throw std::runtime_error("the endless film ended");
        }
        bench::Report("long run: resident memory growth, endless film for 72 hours",
                      static_cast<double>(ResidentKiB() - before), "KiB", "should stay near 0");
    }
    {
        Run run;
        const platform::Point spots[] = {{100, 100}, {500, 100}, {100, 400}, {700, 500}};
        run.PassesEvery(60000, 60);
        const long before = ResidentKiB();
        for (int i = 0; i < 7 * 24 * 60; ++i) {
            run.platform.window.pointer = spots[i % 4];
            if (i % 500 == 0) {
                run.form.requestedScreen = run.form.currentScreen == 0 ? 3 : 0;
                run.form.menuContext = run.form.requestedScreen;
            }
            run.PassesEvery(60000, 1);
        }
        bench::Report("long run: resident memory growth, menus for a week",
                      static_cast<double>(ResidentKiB() - before), "KiB", "should stay near 0");
    }
}

const bench::Register kLongRuns("long-run", MeasureLongRuns);

}  // namespace
