// One case per kind of fault in the content, each on a fresh small pack and a whole tour through
// every screen: the program behaves as its rules say for that file and never crashes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <tuple>
#include <vector>

#include "platform/portable/file_picture_decoder.h"
#include "support/child_tour.h"
#include "support/mini_pack.h"
#include "support/recording_decoder.h"
#include "support/test_files.h"

namespace {

using testing_support::ScriptedRun;

// The tour completes: retried (a picture loader's retry cleared movieOnHd twice), silent, or as
// with the whole pack. (A broken theme file ends the program at start-up: see the start-up tests.)
enum class Outcome { Retried, Silent, Normal };
enum class Fault { Missing, Truncated, OutOfMemory };

// A decoder of a helper thread: the real one, failing for lack of memory on one file.
struct HelperDecoder : platform::PictureDecoder {
    explicit HelperDecoder(std::string failing) : failing_(std::move(failing)) {}
    const platform::DecodedPicture& Decode(const std::string& path, int32_t width,
                                           int32_t height) override {
        if (!failing_.empty() && path.ends_with(failing_)) throw std::bad_alloc();
        return real_->Decode(path, width, height);
    }
    std::string failing_;
    std::unique_ptr<platform::PictureDecoder> real_ = platform::CreateFilePictureDecoder();
};

// Everything a tour on a small pack with one faulty file shows outside.
struct Tour {
    int status = 0;
    std::string errors, unfinished, lastDisplayCall;  // unfinished: "" when the tour completed
    std::vector<int16_t> screens;
    std::vector<std::string> writes, plays, frames;  // frames: a digest of each, in order
    long asked = 0;                                  // decodes of the faulty file on this thread
    auto Seen() const { return std::tie(status, errors, screens, writes, plays, frames); }
};

Tour RunTour(const std::string& file, Fault fault, unsigned helpers) {
    testing_support::TempDir pack;
    testing_support::WriteMiniPack(pack.Path());
    const std::filesystem::path path = pack.Path() / file;
    const std::string bytes = testing_support::ReadFile(path);
    EXPECT_FALSE(bytes.empty()) << "no such file";
    if (fault == Fault::Truncated)
        testing_support::WriteFile(path, bytes.substr(0, bytes.size() / 2));
    if (fault == Fault::Missing) std::filesystem::remove(path);
    testing_support::ScopedCurrentDir cwd(pack.Path());
    testing_support::FormHarness h;
    const std::string failing = fault == Fault::OutOfMemory ? file : "";
    platform::Services services = platform::Current();
    services.helperThreads = helpers;
    services.newPictureDecoder = [failing] { return std::make_unique<HelperDecoder>(failing); };
    platform::Install(services);
    testing_support::ScopedRecordingDecoder decoder;
    decoder.Decoder().beforeDecode = [&](const std::string& p) {
        if (!failing.empty() && p.ends_with(failing)) throw std::bad_alloc();
    };
    Tour t;
    h.platform.display.onPresent = [&] {
        uint64_t digest = 14695981039346656037ull;
        for (uint16_t pixel : h.platform.display.lastFrame)
            digest = (digest ^ pixel) * 1099511628211ull;
        t.frames.push_back(std::to_string(digest));
    };
    ScriptedRun run(h, testing_support::ChildTour());
    t.status = run.Run();
    t.errors = run.Errors();
    t.unfinished = run.Completed() ? "" : run.Done().empty() ? "nothing done" : run.Done().back();
    t.screens = run.Screens();
    for (const auto& write : h.platform.settings.writes)
        t.writes.push_back(write.key + "=" + write.value);
    t.plays = h.platform.sound.plays;
    t.lastDisplayCall = h.platform.display.calls.empty() ? "" : h.platform.display.calls.back();
    t.asked = std::ranges::count_if(decoder.Paths(),
                                    [&](const std::string& p) { return p.ends_with(file); });
    return t;
}

TEST(FaultMatrix, EveryKindOfFaultBehavesAsItsRulesSay) {
    // clang-format off
    const struct {
        const char* file;  // native path inside the pack
        Fault fault;
        Outcome outcome;
    } cases[] = {
        {"Grafik/Meny/Knapp1_30.jpg", Fault::OutOfMemory, Outcome::Retried},
        {"Ljud/Click.wav", Fault::Missing, Outcome::Silent},
        {"Ljud/Djur/Hona.wav", Fault::Truncated, Outcome::Normal},
        {"Tema4/Sak0/Komplex/Byggupp/03.jpg", Fault::OutOfMemory, Outcome::Retried},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.file << ", fault " << static_cast<int>(c.fault));
        const Tour t = RunTour(c.file, c.fault, 0);
        for (const std::string& write : t.writes) EXPECT_EQ(write, "movieOnHd=False");
        EXPECT_EQ(t.lastDisplayCall, "SetCooperativeLevel 8");  // the desktop is back
        EXPECT_EQ(std::pair(t.status, t.errors), std::pair(0, std::string()));
        EXPECT_EQ(t.unfinished, "");
        // Every screen: main menu, choices, sub-menu 4, build-up, film, and back out.
        EXPECT_EQ(t.screens, (std::vector<int16_t>{0, 12, 0, 4, 5, 6, 4, 0}));
        EXPECT_EQ(t.writes.size(), c.outcome == Outcome::Retried ? 2u : 0u);
        EXPECT_EQ(t.plays.empty(), c.outcome == Outcome::Silent);
        // A picture that fails is asked for once more, never a third time.
        EXPECT_TRUE(c.fault != Fault::OutOfMemory || t.asked == 2) << t.asked;
    }
}

TEST(FaultMatrix, PicturesReadAheadOnHelpersChangeNothingAChildOrAParentSees) {
    // Every picture there, the first shown, the last of the start-up, one and the first of the
    // film, the build-up's first (read ahead at the entry).
    // clang-format off
    const struct {
        const char* file;
        Fault fault;
    } cases[] = {
        {"Ljud/Djur/Hona.wav", Fault::Truncated}, {"Grafik/Meny/StartMeny.jpg", Fault::Truncated},
        {"Grafik/Meny/Knapp1_30.jpg", Fault::OutOfMemory}, {"Grafik/Meny/Val/kryss.bmp", Fault::Missing},
        {"Tema4/Sak0/Komplex/Film/03.jpg", Fault::Missing}, {"Tema4/Sak0/Komplex/Film/01.jpg", Fault::OutOfMemory},
        {"Tema4/Sak0/Komplex/Byggupp/01.jpg", Fault::Truncated},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.file << ", fault " << static_cast<int>(c.fault));
        const Tour alone = RunTour(c.file, c.fault, 0);
        ASSERT_FALSE(alone.frames.empty());  // at least the first picture, read ahead
        EXPECT_EQ(RunTour(c.file, c.fault, 3).Seen(), alone.Seen());
    }
}

}  // namespace
