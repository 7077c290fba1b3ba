// The content check on the tests' own small pack: a good pack, then one fault of each kind.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "check/content_check.h"
#include "graphics/menu_picture_files.h"
#include "platform/portable/file_picture_decoder.h"
#include "platform/sdl/wave_decode.h"
#include "support/mini_pack.h"
#include "support/sound_files.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

using testing_support::ScopedCurrentDir;
using testing_support::TempDir;
using testing_support::WriteFile;

const ContentCheck::Readers kRealReaders{platform::CreateFilePictureDecoder,
                                         platform::DecodeWaveFile};

ContentCheck::Report CheckIn(const fs::path& folder,
                             const ContentCheck::Readers& readers = kRealReaders) {
    ScopedCurrentDir inside(folder);
    return ContentCheck::CheckContent(readers, 2);
}

// The mini pack's Data/Yrke.dat with one line replaced (lines count from 1).
std::string YrkeWithLine(const fs::path& pack, int number, const std::string& text) {
    const std::string bytes = testing_support::ReadFile(pack / "Data/Yrke.dat");
    std::string out;
    int line = 1;
    for (size_t start = 0; start < bytes.size(); ++line) {
        const size_t end = bytes.find('\n', start) + 1;
        out += line == number ? text + "\r\n" : bytes.substr(start, end - start);
        start = end;
    }
    return out;
}

TEST(ContentCheckTest, AGoodPackHasNoProblems) {
    const ContentCheck::Report report = CheckIn(testing_support::SharedMiniPack());
    for (const ContentCheck::Problem& problem : report.problems) {
        ADD_FAILURE() << problem.Text();
    }
    EXPECT_EQ(report.themeFiles, 4);
    EXPECT_EQ(report.items, 32);
    EXPECT_EQ(report.menuPictures, 53);
    EXPECT_EQ(report.sounds, 13);
    // Each item: build-ups of 3 and 4 pictures, two films of 4.
    EXPECT_EQ(report.activityPictures, 32 * 15);
    EXPECT_EQ(report.Summary("P"),
              "checked P: 4 theme files with 32 items, 53 menu pictures, 13 sounds, 480 activity "
              "pictures: no problems");
}

TEST(ContentCheckTest, DecodesEveryPictureOnceAtTheSizeTheProgramLoadsIt) {
    std::mutex lock;
    std::map<std::string, std::pair<int32_t, int32_t>> asked;
    int decodes = 0;
    struct Recording : platform::PictureDecoder {
        std::function<void(const std::string&, int32_t, int32_t)> record;
        std::unique_ptr<platform::PictureDecoder> real = platform::CreateFilePictureDecoder();
        const platform::DecodedPicture& Decode(const std::string& path, int32_t w,
                                               int32_t h) override {
            record(path, w, h);
            return real->Decode(path, w, h);
        }
    };
    const ContentCheck::Readers readers{[&] {
                                            auto decoder = std::make_unique<Recording>();
                                            decoder->record = [&](const std::string& path,
                                                                  int32_t w, int32_t h) {
                                                const std::lock_guard<std::mutex> hold(lock);
                                                asked[path] = {w, h};
                                                ++decodes;
                                            };
                                            return decoder;
                                        },
                                        platform::DecodeWaveFile};
    CheckIn(testing_support::SharedMiniPack(), readers);

    EXPECT_EQ(decodes, 53 + 480);
    EXPECT_EQ(asked.size(), 53u + 480u);
    std::vector<GameUtil::MenuPictureFile> menu = GameUtil::MainSetPictureFiles();
    for (const GameUtil::MenuPictureFile& file : GameUtil::ChoiceSetPictureFiles()) {
        menu.push_back(file);
    }
    for (const GameUtil::MenuPictureFile& file : menu) {
        EXPECT_EQ(asked[testing_support::Native(file.path).string()],
                  std::make_pair(file.width, file.height))
            << file.path;
    }
    for (const auto& [path, size] : asked) {
        if (path.starts_with("Tema")) {
            EXPECT_EQ(size, std::make_pair(800, 600)) << path;
        }
    }
    EXPECT_EQ(asked.count("Tema4/Sak7/Komplex/Byggupp/04.jpg"), 1u);
    EXPECT_EQ(asked.count("Tema4/Sak7/Komplex/Byggupp/05.jpg"), 0u);
}

TEST(ContentCheckTest, NamesEachFaultWithItsFileAndLine) {
    const std::string missing = "cannot be opened (No such file or directory)";
    struct Fault {
        const char* name;
        std::function<void(const fs::path&)> make;
        std::string problem;  // the whole line, or its start where a decoder words the rest
        bool wholeLine;
        std::string summaryEnd;
        int32_t activityPictures = 480;
    };
    const Fault faults[] = {
        {"a theme file missing", [](const fs::path& p) { fs::remove(p / "Data/Sport.dat"); },
         "Data/Sport.dat: " + missing, true, "1 problem in 1 file", 24 * 15},
        {"a bad number in a record",
         [](const fs::path& p) { WriteFile(p / "Data/Yrke.dat", YrkeWithLine(p, 14, "two")); },
         "Data/Yrke.dat:14: record 3: simpleLast \"two\" is not a number", true,
         "1 problem in 1 file", 480 - 2},
        {"a menu picture missing",
         [](const fs::path& p) { fs::remove(p / "Grafik/Meny/Knapp1_05.jpg"); },
         "Grafik/Meny/Knapp1_05.jpg: " + missing, true, "1 problem in 1 file"},
        {"a menu picture cut short",
         [](const fs::path& p) {
             const fs::path file = p / "Grafik/Meny/StartMeny.jpg";
             fs::resize_file(file, fs::file_size(file) / 2);
         },
         "Grafik/Meny/StartMeny.jpg: not a readable picture", false, "1 problem in 1 file"},
        {"the choices cross not a bitmap",
         [](const fs::path& p) { WriteFile(p / "Grafik/Meny/Val/kryss.bmp", "BM not a bitmap"); },
         "Grafik/Meny/Val/kryss.bmp: ", false, "1 problem in 1 file"},
        {"a sound missing", [](const fs::path& p) { fs::remove(p / "Ljud/Click.wav"); },
         "Ljud/Click.wav: the sound file cannot be opened", true, "1 problem in 1 file"},
        {"a sound that is no wave file",
         [](const fs::path& p) { WriteFile(p / "Ljud/Build3.wav", "hello"); },
         "Ljud/Build3.wav: not a wave file (no RIFF WAVE header)", true, "1 problem in 1 file"},
        {"a sound without samples",
         [](const fs::path& p) {
             WriteFile(p / "Ljud/StartMeny.wav", testing_support::TinyWave(0));
         },
         "Ljud/StartMeny.wav: the sound holds no samples", true, "1 problem in 1 file"},
        {"an activity picture missing",
         [](const fs::path& p) { fs::remove(p / "Tema1/Sak0/Komplex/Film/03.jpg"); },
         "Tema1/Sak0/Komplex/Film/03.jpg: " + missing, true, "1 problem in 1 file"},
        {"an activity picture broken",
         [](const fs::path& p) { WriteFile(p / "Tema4/Sak7/Enkel/Film/02.jpg", "\xFF\xD8 no"); },
         "Tema4/Sak7/Enkel/Film/02.jpg: not a readable picture", false, "1 problem in 1 file"},
        {"a series folder missing",
         [](const fs::path& p) { fs::remove_all(p / "Tema2/Sak3/Enkel/Byggupp"); },
         "Tema2/Sak3/Enkel/Byggupp/01.jpg to Tema2/Sak3/Enkel/Byggupp/03.jpg (3 files): " + missing,
         true, "1 problem in 3 files"},
        {"a film shorter than its record",
         [](const fs::path& p) {
             WriteFile(p / "Data/Yrke.dat", YrkeWithLine(p, 4, "5"));
             WriteFile(p / "Data/Yrke.dat", YrkeWithLine(p, 5, "100,100,100,100,100,100"));
         },
         "Tema1/Sak0/Enkel/Film/05.jpg to Tema1/Sak0/Enkel/Film/06.jpg (2 files): " + missing, true,
         "2 problems in 4 files", 480 + 4},
    };
    for (const Fault& fault : faults) {
        TempDir pack;
        testing_support::WriteMiniPack(pack.Path());
        fault.make(pack.Path());
        const ContentCheck::Report report = CheckIn(pack.Path());
        ASSERT_FALSE(report.problems.empty()) << fault.name;
        const std::string first = report.problems[0].Text();
        if (fault.wholeLine) {
            EXPECT_EQ(first, fault.problem) << fault.name;
        } else {
            EXPECT_TRUE(first.starts_with(fault.problem) && first.size() > fault.problem.size())
                << fault.name << ": " << first;
        }
        const std::string summary = report.Summary("P");
        std::string all;
        for (const ContentCheck::Problem& problem : report.problems) {
            all += "\n" + problem.Text();
        }
        EXPECT_TRUE(summary.ends_with(fault.summaryEnd)) << fault.name << ": " << summary << all;
        EXPECT_EQ(report.activityPictures, fault.activityPictures) << fault.name;
    }
}

}  // namespace
