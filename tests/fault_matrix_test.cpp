// One case per kind of fault in the content, each on a fresh small pack and a whole tour through
// every screen: the program behaves as its rules say for that file and never crashes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/portable/file_picture_decoder.h"
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

void WritePackWithFault(const std::filesystem::path& pack, const std::string& name, Fault fault) {
    testing_support::WriteMiniPack(pack);
    const std::filesystem::path file = pack / name;
    const std::string bytes = testing_support::ReadFile(file);
    ASSERT_FALSE(bytes.empty()) << "no such file";
    if (fault == Fault::Truncated)
        testing_support::WriteFile(file, bytes.substr(0, bytes.size() / 2));
    if (fault == Fault::Missing) std::filesystem::remove(file);
}

// A decoder of a helper thread: the real one, failing for lack of memory on one file.
class HelperDecoder : public platform::PictureDecoder {
  public:
    explicit HelperDecoder(std::string failing) : failing_(std::move(failing)) {}
    const platform::DecodedPicture& Decode(const std::string& path, int32_t width,
                                           int32_t height) override {
        if (!failing_.empty() && path.ends_with(failing_)) throw std::bad_alloc();
        return real_->Decode(path, width, height);
    }

  private:
    std::string failing_;
    std::unique_ptr<platform::PictureDecoder> real_ = platform::CreateFilePictureDecoder();
};

// Everything a tour shows outside: status, stderr, screens, settings writes, sounds, and a digest
// of every presented frame, in order.
std::vector<std::string> TourSeenFromOutside(const std::string& file, Fault fault,
                                             unsigned helpers) {
    testing_support::TempDir pack;
    WritePackWithFault(pack.Path(), file, fault);
    testing_support::ScopedCurrentDir cwd(pack.Path());
    testing_support::FormHarness h;
    const std::string failing = fault == Fault::OutOfMemory ? file : "";
    platform::Services services = platform::Current();
    services.helperThreads = helpers;
    services.newPictureDecoder = [failing] { return std::make_unique<HelperDecoder>(failing); };
    platform::Install(services);
    testing_support::ScopedRecordingDecoder decoder;
    decoder.Decoder().beforeDecode = [&](const std::string& path) {
        if (!failing.empty() && path.ends_with(failing)) throw std::bad_alloc();
    };
    std::vector<std::string> seen;
    h.platform.display.onPresent = [&] {
        uint64_t digest = 14695981039346656037ull;
        for (uint16_t pixel : h.platform.display.lastFrame)
            digest = (digest ^ pixel) * 1099511628211ull;
        seen.push_back("frame " + std::to_string(digest));
    };
    ScriptedRun run(h, testing_support::ChildTour());
    seen.push_back("status " + std::to_string(run.Run()) + " " + run.Errors());
    for (int16_t screen : run.Screens()) seen.push_back("screen " + std::to_string(screen));
    for (const auto& write : h.platform.settings.writes)
        seen.push_back(write.key + "=" + write.value);
    for (const std::string& play : h.platform.sound.plays) seen.push_back("sound " + play);
    return seen;
}

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
        WritePackWithFault(pack.Path(), c.file, c.fault);
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

TEST(FaultMatrix, PicturesReadAheadOnHelpersChangeNothingAChildOrAParentSees) {
    // clang-format off
    const struct {
        const char* file;
        Fault fault;
    } cases[] = {
        {"Ljud/Djur/Hona.wav", Fault::Truncated},  // every picture there
        {"Grafik/Meny/StartMeny.jpg", Fault::Truncated},  // the first picture shown
        {"Grafik/Meny/Knapp1_30.jpg", Fault::OutOfMemory},
        {"Grafik/Meny/Val/kryss.bmp", Fault::Missing},    // the last of the start-up
        {"Tema4/Sak0/Komplex/Film/03.jpg", Fault::Missing},
        {"Tema4/Sak0/Komplex/Film/01.jpg", Fault::OutOfMemory},  // the first of the film
        {"Tema4/Sak0/Komplex/Byggupp/01.jpg", Fault::Truncated},  // read ahead at the entry
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.file << ", fault " << static_cast<int>(c.fault));
        const std::vector<std::string> alone = TourSeenFromOutside(c.file, c.fault, 0);
        ASSERT_GT(std::ranges::count_if(
                      alone, [](const std::string& s) { return s.starts_with("frame"); }),
                  0);  // at least the first picture, read ahead
        EXPECT_EQ(TourSeenFromOutside(c.file, c.fault, 3), alone);
    }
}

}  // namespace
