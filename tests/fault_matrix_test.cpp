// Every content file removed, and every content file cut to half its length: the program
// behaves as its rules say for that file and never crashes.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/child_tour.h"
#include "support/mini_pack.h"
#include "support/recording_decoder.h"
#include "support/sound_files.h"
#include "support/test_files.h"

namespace {

using testing_support::ChildTour;
using testing_support::DerivedPack;
using testing_support::ScriptedRun;

enum class Outcome {
    FailurePath,    // status 1, one line naming the file, the desktop back
    MenusRetried,   // the menu set's retry clears movieOnHd twice; the tour still completes
    Silent,         // no sound at all; the tour completes
    Normal,         // the tour completes (a truncated sound that still loads)
    ActivityHolds,  // the activity holds on its missing picture; the tour completes
};

struct Fault {
    std::string file;   // native path inside the pack
    std::string named;  // what the failure line must name
    bool truncate;
    Outcome outcome;
};

std::string Name(const std::string& nativePath) {
    std::string name = nativePath.substr(nativePath.find_last_of('/') + 1);
    std::replace_if(
        name.begin(), name.end(),
        [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

std::vector<Fault> AllFaults() {
    std::vector<Fault> faults;
    for (bool truncate : {false, true}) {
        for (const char* data : {"Yrke", "Musik", "Sport", "Djur"}) {
            faults.push_back({std::string("Data/") + data + ".dat",
                              std::string("Data\\") + data + ".dat", truncate,
                              Outcome::FailurePath});
        }
        for (const std::string& path : testing_support::MainSetPaths()) {
            faults.push_back(
                {testing_support::Native(path).string(), "", truncate, Outcome::MenusRetried});
        }
        for (const std::string& path : testing_support::ChoiceSetPaths()) {
            const std::string native = testing_support::Native(path).string();
            faults.push_back({native, Name(native).substr(0, Name(native).size() - 4), truncate,
                              Outcome::FailurePath});
        }
        for (const char* sound : testing_support::kBankFiles) {
            faults.push_back({sound, "", truncate, truncate ? Outcome::Normal : Outcome::Silent});
        }
        faults.push_back(
            {"Djur/H\xC3\xB6na/Komplex/Film/03.jpg", "", truncate, Outcome::ActivityHolds});
        faults.push_back(
            {"Djur/H\xC3\xB6na/Komplex/Byggupp/04.jpg", "", truncate, Outcome::ActivityHolds});
    }
    return faults;
}

class FaultMatrixTest : public ::testing::TestWithParam<Fault> {};

TEST_P(FaultMatrixTest, BehavesAsItsRulesSay) {
    const Fault& fault = GetParam();
    DerivedPack pack;
    if (fault.truncate) {
        pack.Truncate(fault.file, 0.5);
    } else {
        pack.Remove(fault.file);
    }
    testing_support::ScopedCurrentDir cwd(pack.Path());
    testing_support::FormHarness h;
    ScriptedRun run(h, ChildTour());
    const int status = run.Run();

    size_t movieOnHdWrites = 0;
    for (const auto& write : h.platform.settings.writes) {
        EXPECT_EQ(write.key, "movieOnHd");
        EXPECT_EQ(write.value, "False");
        ++movieOnHdWrites;
    }
    const auto& calls = h.platform.display.calls;
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls.back(), "SetCooperativeLevel 8");  // the desktop is back in every case

    if (fault.outcome == Outcome::FailurePath) {
        EXPECT_EQ(status, 1);
        EXPECT_TRUE(run.Errors().starts_with("quillowbee: ")) << run.Errors();
        EXPECT_NE(run.Errors().find(fault.named), std::string::npos) << run.Errors();
        EXPECT_EQ(std::count(run.Errors().begin(), run.Errors().end(), '\n'), 1);
        return;
    }
    EXPECT_EQ(status, 0) << run.Errors();
    EXPECT_TRUE(run.Errors().empty()) << run.Errors();
    EXPECT_TRUE(run.Completed()) << "stopped after: "
                                 << (run.Done().empty() ? "nothing" : run.Done().back());
    // Every screen was shown: main menu, choices, sub-menu 4, build-up, film, and back.
    EXPECT_EQ(run.Screens(), (std::vector<int16_t>{0, 12, 0, 4, 5, 6, 4, 0}));
    switch (fault.outcome) {
        case Outcome::MenusRetried:
            EXPECT_EQ(movieOnHdWrites, 2u);
            break;
        case Outcome::Silent:
            EXPECT_TRUE(h.platform.sound.plays.empty());
            EXPECT_EQ(movieOnHdWrites, 0u);
            break;
        case Outcome::ActivityHolds:
            EXPECT_EQ(movieOnHdWrites, 2u);
            break;
        default:
            EXPECT_EQ(movieOnHdWrites, 0u);
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryContentFile, FaultMatrixTest, ::testing::ValuesIn(AllFaults()),
    [](const ::testing::TestParamInfo<Fault>& info) {
        std::string name = (info.param.truncate ? "Truncated_" : "Missing_") + info.param.file;
        std::replace_if(
            name.begin(), name.end(),
            [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
        return name + "_" + std::to_string(info.index);
    });

// Memory running out while a picture decodes is retried like a missing picture, by every
// loader: the menus, the film and the build-up.
TEST(FaultMatrixOutOfMemory, EveryPictureLoaderRetriesOnceAndTheTourCompletes) {
    for (const std::string picture :
         {"Grafik/Meny/Knapp1_30.jpg", "Komplex/Film/03.jpg", "Komplex/Byggupp/04.jpg"}) {
        SCOPED_TRACE(picture);
        DerivedPack pack;
        testing_support::ScopedCurrentDir cwd(pack.Path());
        testing_support::FormHarness h;
        testing_support::ScopedRecordingDecoder decoder;
        decoder.Decoder().beforeDecode = [&](const std::string& path) {
            if (path.ends_with(picture)) {
                throw std::bad_alloc();
            }
        };
        ScriptedRun run(h, ChildTour());
        EXPECT_EQ(run.Run(), 0) << run.Errors();
        EXPECT_TRUE(run.Completed());
        EXPECT_EQ(h.platform.settings.writes.size(), 2u);
        EXPECT_EQ(std::ranges::count_if(decoder.Paths(),
                                        [&](const std::string& p) { return p.ends_with(picture); }),
                  2);
    }
}

// The untouched pack for comparison: the same tour, with sound and without a settings write.
TEST(FaultMatrixBaseline, TheCompletePackRunsTheWholeTour) {
    DerivedPack pack;
    testing_support::ScopedCurrentDir cwd(pack.Path());
    testing_support::FormHarness h;
    ScriptedRun run(h, ChildTour());
    EXPECT_EQ(run.Run(), 0) << run.Errors();
    EXPECT_TRUE(run.Completed());
    EXPECT_EQ(run.Screens(), (std::vector<int16_t>{0, 12, 0, 4, 5, 6, 4, 0}));
    EXPECT_TRUE(h.platform.settings.writes.empty());
    EXPECT_FALSE(h.platform.sound.plays.empty());
}

}  // namespace
