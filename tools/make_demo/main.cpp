// quillowbee-make-demo OUTPUT_DIR: draws and synthesises the complete demo content pack —
// theme data files, menu and choices pictures, sounds and every item's picture series.
// quillowbee-make-demo --icons OUTPUT_DIR: draws the program's icons (see icon.h).
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "choices_pages.h"
#include "data_files.h"
#include "icon.h"
#include "item_catalog.h"
#include "item_series.h"
#include "menu_pictures.h"
#include "pack_writer.h"
#include "sounds.h"

namespace {

using make_demo::PackWriter;

// Runs the jobs on two workers; each job writes files of its own, so the order in which they
// finish does not change a byte of the pack.
std::string RunJobs(const std::vector<std::function<void()>>& jobs) {
    std::atomic<size_t> next{0};
    std::mutex errorLock;
    std::string error;
    auto worker = [&] {
        for (size_t i = next.fetch_add(1); i < jobs.size(); i = next.fetch_add(1)) {
            try {
                jobs[i]();
            } catch (const std::exception& e) {
                std::lock_guard<std::mutex> hold(errorLock);
                if (error.empty()) error = e.what();
                next = jobs.size();
            }
        }
    };
    std::thread helper(worker);
    worker();
    helper.join();
    return error;
}

// Hands back the font caches that cairo and fontconfig keep for the whole process, so that the
// leak checker of the sanitizer build finds nothing left over.
void ReleaseCaches() {
    cairo_debug_reset_static_data();
    FcFini();
}

int WriteIconFiles(const char* folder) {
    try {
        make_demo::WriteIcons(folder);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillowbee-make-demo: %s\n", e.what());
        return 1;
    }
    ReleaseCaches();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--icons") {
        return WriteIconFiles(argv[2]);
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n       %s --icons OUTPUT_DIR\n", argv[0],
                     argv[0]);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    PackWriter pack{std::filesystem::path(argv[1])};

    std::vector<std::function<void()>> jobs;
    // The longest jobs first, so the two workers finish together.
    for (const make_demo::Item& item : make_demo::Items()) {
        jobs.emplace_back([&pack, &item] { make_demo::WriteItemSeries(pack, item); });
    }
    jobs.emplace_back([&pack] { make_demo::WriteMainMenuPictures(pack); });
    for (make_demo::Theme theme : {make_demo::Theme::Yrke, make_demo::Theme::Musik,
                                   make_demo::Theme::Sport, make_demo::Theme::Djur}) {
        jobs.emplace_back([&pack, theme] { make_demo::WriteSubMenuPictures(pack, theme); });
    }
    jobs.emplace_back([&pack] { make_demo::WriteChoicesPictures(pack); });
    jobs.emplace_back([&pack] { make_demo::WriteSounds(pack); });
    jobs.emplace_back([&pack] { make_demo::WriteDataFiles(pack); });

    const std::string error = RunJobs(jobs);
    ReleaseCaches();
    if (!error.empty()) {
        std::fprintf(stderr, "quillowbee-make-demo: %s\n", error.c_str());
        return 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("quillowbee-make-demo: %d files, %.1f MB in %s (%.1f s)\n", pack.FilesWritten(),
                pack.BytesWritten() / 1e6, argv[1], seconds);
    return 0;
}
