// One case per kind of fault in the content, each on a fresh small pack and a whole tour through
// every screen: the program behaves as its rules say for that file and never crashes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <new>

#include "support/child_tour.h"
#include "support/mini_pack.h"
#include "support/recording_decoder.h"
#include "support/test_files.h"

namespace {

using testing_support::ScriptedRun;

// Failure path: status 1, one line naming the file, the desktop back. Otherwise the tour completes:
// retried (a picture loader's retry cleared movieOnHd twice), silent, or as with the whole pack.
enum class Outcome { FailurePath, Retried, Silent, Normal };
enum class Fault { Missing, Truncated, OutOfMemory };

TEST(FaultMatrix, EveryKindOfFaultBehavesAsItsRulesSay) {
    // clang-format off
    const struct {
        const char* file;  // native path inside the pack
        Fault fault;
        Outcome outcome;
        const char* named = "";  // what the failure line names
    } cases[] = {
        {"Data/Djur.dat", Fault::Truncated, Outcome::FailurePath, "Data\\Djur.dat"},
        {"Grafik/Meny/Knapp1_30.jpg", Fault::Truncated, Outcome::Retried},
        {"Grafik/Meny/Knapp1_30.jpg", Fault::OutOfMemory, Outcome::Retried},
        {"Grafik/Meny/Val/4Meny.jpg", Fault::Missing, Outcome::FailurePath, "4Meny"},
        {"Ljud/Click.wav", Fault::Missing, Outcome::Silent},
        {"Ljud/Djur/Hona.wav", Fault::Truncated, Outcome::Normal},
        {"Tema4/Sak0/Komplex/Film/03.jpg", Fault::Missing, Outcome::Retried},
        {"Tema4/Sak0/Komplex/Byggupp/03.jpg", Fault::OutOfMemory, Outcome::Retried},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.file << ", fault " << static_cast<int>(c.fault));
        testing_support::TempDir pack;
        testing_support::WriteMiniPack(pack.Path());
        const std::filesystem::path file = pack.Path() / c.file;
        const std::string bytes = testing_support::ReadFile(file);
        ASSERT_FALSE(bytes.empty()) << "no such file";
        if (c.fault == Fault::Truncated)
            testing_support::WriteFile(file, bytes.substr(0, bytes.size() / 2));
        if (c.fault == Fault::Missing) std::filesystem::remove(file);
        testing_support::ScopedCurrentDir cwd(pack.Path());
        testing_support::FormHarness h;
        testing_support::ScopedRecordingDecoder decoder;
        if (c.fault == Fault::OutOfMemory) {
            decoder.Decoder().beforeDecode = [&](const std::string& path) {
                if (path.ends_with(c.file)) throw std::bad_alloc();
            };
        }
        ScriptedRun run(h, testing_support::ChildTour());
        const int status = run.Run();

        for (const auto& write : h.platform.settings.writes)
            EXPECT_EQ(write.key + "=" + write.value, "movieOnHd=False");
        ASSERT_FALSE(h.platform.display.calls.empty());
        EXPECT_EQ(h.platform.display.calls.back(), "SetCooperativeLevel 8");  // the desktop is back
        if (c.outcome == Outcome::FailurePath) {
            EXPECT_EQ(status, 1);
            EXPECT_TRUE(run.Errors().starts_with("quillowbee: ")) << run.Errors();
            EXPECT_NE(run.Errors().find(c.named), std::string::npos) << run.Errors();
            EXPECT_EQ(std::ranges::count(run.Errors(), '\n'), 1);
            continue;
        }
        EXPECT_EQ(status, 0) << run.Errors();
        EXPECT_TRUE(run.Errors().empty()) << run.Errors();
        EXPECT_TRUE(run.Completed()) << (run.Done().empty() ? "nothing done" : run.Done().back());
        // Every screen: main menu, choices, sub-menu 4, build-up, film, and back out.
        EXPECT_EQ(run.Screens(), (std::vector<int16_t>{0, 12, 0, 4, 5, 6, 4, 0}));
        EXPECT_EQ(h.platform.settings.writes.size(), c.outcome == Outcome::Retried ? 2u : 0u);
        EXPECT_EQ(h.platform.sound.plays.empty(), c.outcome == Outcome::Silent);
        if (c.fault == Fault::OutOfMemory) {
            // A picture that fails is asked for once more, never a third time.
            const auto asked = std::ranges::count_if(
                decoder.Paths(), [&](const std::string& p) { return p.ends_with(c.file); });
            EXPECT_EQ(asked, 2);
        }
    }
}

}  // namespace
