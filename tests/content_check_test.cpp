// The content check on the tests' own small pack: a good pack, then one fault of each kind.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
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

using namespace testing_support;
using Sizes = std::vector<std::pair<int32_t, int32_t>>;

ContentCheck::Report CheckIn(const fs::path& folder, const ContentCheck::Readers& readers) {
    ScopedCurrentDir inside(folder);
    return ContentCheck::CheckContent(readers, 2);
}

// A file of the mini pack; Yrke: its Data/Yrke.dat with lines replaced (counting from 1).
std::string Pack(const std::string& name) {
    return ReadFile(SharedMiniPack() / name);
}
std::string Yrke(std::map<size_t, std::string> lines) {
    const std::string bytes = Pack("Data/Yrke.dat");
    std::string out;
    for (size_t start = 0, line = 1, end; start < bytes.size(); start = end, ++line) {
        end = bytes.find('\n', start) + 1;
        out += lines.contains(line) ? lines[line] + "\r\n" : bytes.substr(start, end - start);
    }
    return out;
}

// The decoder each worker of the check gets: it notes every file asked for and the size wanted.
std::mutex askedLock;
std::map<std::string, Sizes> asked;
struct Recording : platform::PictureDecoder {
    std::unique_ptr<platform::PictureDecoder> real = platform::CreateFilePictureDecoder();
    const platform::DecodedPicture& Decode(const std::string& path, int32_t w, int32_t h) override {
        const platform::DecodedPicture& picture = real->Decode(path, w, h);
        const std::lock_guard<std::mutex> hold(askedLock);
        asked[path].emplace_back(w, h);
        return picture;
    }
};

TEST(ContentCheckTest, AGoodPackHasNoProblemsAndEachPictureIsDecodedOnceAtItsSize) {
    const ContentCheck::Report report = CheckIn(
        SharedMiniPack(), {[] { return std::make_unique<Recording>(); }, platform::DecodeWaveFile});
    for (const ContentCheck::Problem& problem : report.problems) ADD_FAILURE() << problem.Text();
    // Each item: build-ups of 3 and 4 pictures, two films of 4.
    EXPECT_EQ(report.Summary("P"),
              "checked P: 4 theme files with 32 items, 53 menu pictures, 13 sounds, 480 activity "
              "pictures: no problems");
    std::map<std::string, Sizes> expected;
    for (const auto& files : {GameUtil::MainSetPictureFiles(), GameUtil::ChoiceSetPictureFiles()})
        for (const GameUtil::PictureFile& file : files)
            expected[NativeName(file.path).string()] = {{file.width, file.height}};
    for (const auto& [path, sizes] : asked)
        if (path.starts_with("Tema")) expected[path] = {{800, 600}};
    EXPECT_EQ(asked, expected);
    EXPECT_EQ(asked.size(), 53u + 480u);
}

TEST(ContentCheckTest, NamesEachFaultWithItsFileAndLine) {
    const std::string missing = ": cannot be opened (No such file or directory)",
                      one = "1 problem in 1 file";
    const std::string jpeg = Pack("Grafik/Meny/StartMeny.jpg");
    // The file, its bytes (none: removed), the first problem (ending in "*": its start, a decoder
    // words the rest), the summary's end, the activity pictures counted.
    // clang-format off
    const std::tuple<const char*, std::optional<std::string>, std::string, std::string, int32_t> faults[] = {
        {"Data/Sport.dat", {}, "Data/Sport.dat" + missing, one, 24 * 15},
        {"Data/Yrke.dat", Yrke({{14, "two"}}), "Data/Yrke.dat:14: record 3: simpleLast \"two\" is not a number", one, 480 - 2},
        {"Grafik/Meny/Knapp1_05.jpg", {}, "Grafik/Meny/Knapp1_05.jpg" + missing, one, 480},
        {"Grafik/Meny/StartMeny.jpg", jpeg.substr(0, jpeg.size() / 2), "Grafik/Meny/StartMeny.jpg: not a readable picture*", one, 480},
        {"Grafik/Meny/Val/kryss.bmp", "BM not a bitmap", "Grafik/Meny/Val/kryss.bmp: *", one, 480},
        {"Ljud/Click.wav", {}, "Ljud/Click.wav: the sound file cannot be opened", one, 480},
        {"Ljud/Build3.wav", "hello", "Ljud/Build3.wav: not a wave file (no RIFF WAVE header)", one, 480},
        {"Ljud/StartMeny.wav", TinyWave(0), "Ljud/StartMeny.wav: the sound holds no samples", one, 480},
        {"Tema1/Sak0/Komplex/Film/03.jpg", {}, "Tema1/Sak0/Komplex/Film/03.jpg" + missing, one, 480},
        {"Tema2/Sak3/Enkel/Byggupp", {}, "Tema2/Sak3/Enkel/Byggupp/01.jpg to Tema2/Sak3/Enkel/Byggupp/03.jpg (3 files)" + missing, "1 problem in 3 files", 480},
        {"Data/Yrke.dat", Yrke({{4, "5"}, {5, "100,100,100,100,100,100"}}), "Tema1/Sak0/Enkel/Film/05.jpg to Tema1/Sak0/Enkel/Film/06.jpg (2 files)" + missing, "2 problems in 4 files", 480 + 4}};
    // clang-format on
    for (const auto& [file, bytes, problem, summaryEnd, activityPictures] : faults) {
        SCOPED_TRACE(problem);
        TempDir pack;
        WriteMiniPack(pack.Path());
        bytes ? WriteFile(pack / file, *bytes) : static_cast<void>(fs::remove_all(pack / file));
        const ContentCheck::Report report =
            CheckIn(pack.Path(), {platform::CreateFilePictureDecoder, platform::DecodeWaveFile});
        ASSERT_FALSE(report.problems.empty());
        const std::string first = report.problems[0].Text();
        const std::string start = problem.substr(0, problem.find('*'));
        EXPECT_TRUE(problem.ends_with('*') ? first.starts_with(start) && first != start
                                           : first == problem)
            << first;
        EXPECT_TRUE(report.Summary("P").ends_with(summaryEnd)) << report.Summary("P");
        EXPECT_EQ(report.activityPictures, activityPictures);
    }
}

}  // namespace
