#include <cairo.h>
#include <gtest/gtest.h>
#if QUILLOWBEE_HEIF
#include <libheif/heif.h>
#endif

#include <filesystem>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "check/content_check.h"
#include "content/data_file_reader.h"
#include "kit/kit.h"
#include "kit/kit_error.h"
#include "kit/photo.h"
#include "kit/picture_fit.h"
#include "kit/theme_record.h"
#include "platform/portable/file_picture_decoder.h"
#include "platform/portable/path_resolution.h"
#include "platform/sdl/wave_decode.h"
#include "support/activity_scene.h"
#include "support/mini_pack.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

using namespace testing_support;

constexpr int16_t kDjurFirst = 24;

// Every file below a folder with its size and a hash of its bytes.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string bytes = entry.is_regular_file() ? ReadFile(entry.path()) : "folder";
        files[fs::relative(entry.path(), folder).string()] =
            std::to_string(bytes.size()) + " " + std::to_string(std::hash<std::string>{}(bytes));
    }
    return files;
}

// A JPEG's APP1 Exif segment holding only the orientation, in either byte order.
std::string ExifSegment(int orientation, bool big) {
    const auto u16 = [&](int v) {
        return big ? std::string{char(v >> 8), char(v)} : std::string{char(v), char(v >> 8)};
    };
    const auto u32 = [&](int v) { return big ? u16(0) + u16(v) : u16(v) + u16(0); };
    const std::string body = std::string("Exif\0\0", 6) + (big ? "MM" : "II") + u16(42) + u32(8) +
                             u16(1) /* entry */ + u16(0x0112) + u16(3) /* SHORT */ + u32(1) +
                             u16(orientation) + u16(0) + u32(0);
    const auto size = static_cast<int>(body.size()) + 2;
    return "\xFF\xE1" + std::string{char(size >> 8), char(size)} + body;
}

#if QUILLOWBEE_HEIF
// A HEIC of w × h RGB pixels stored turned as EXIF orientation `orientation` says (libheif
// writes it as rotation and mirroring boxes). False when libheif here has no HEVC encoder.
bool WriteHeic(const fs::path& path, int w, int h, const std::vector<uint8_t>& rgb,
               int orientation) {
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    const auto ok = [](heif_error e) { return e.code == heif_error_Ok; };
    heif_image* image = nullptr;
    heif_image_create(w, h, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
    heif_image_add_plane(image, heif_channel_interleaved, w, h, 8);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < h; ++y) std::copy_n(&rgb[y * w * 3], w * 3, plane + y * stride);
    heif_encoding_options* options = heif_encoding_options_alloc();
    options->image_orientation = static_cast<heif_orientation>(orientation);
    const bool written =
        ok(heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder)) &&
        ok(heif_encoder_set_lossy_quality(encoder, 90)) &&
        ok(heif_context_encode_image(context, image, encoder, options, nullptr)) &&
        ok(heif_context_write_to_file(context, path.c_str()));
    heif_encoding_options_free(options);
    heif_image_release(image);
    if (encoder) heif_encoder_release(encoder);
    heif_context_free(context);
    return written;
}
#endif

bool Near(const make_demo::Canvas& canvas, int x, int y, Rgb c) {
    const uint8_t* p = canvas.Pixels() + y * canvas.Stride() + x * 4;
    return std::abs(p[2] - c.r) < 40 && std::abs(p[1] - c.g) < 40 && std::abs(p[0] - c.b) < 40;
}

TEST(KitPhotoTest, EveryExifOrientationIsTurnedUpright) {
    const int W = 160, H = 120;  // the upright photo
    const std::vector<uint8_t> upright = Quarters(W, H);
    for (int o = 1; o <= 8; ++o) {
        SCOPED_TRACE("orientation " + std::to_string(o));
        // The camera stores the upright pixel (u, v) at (x, y): 5 to 8 turned a quarter, the
        // others mirrored as the orientation notes.
        const bool turned = o >= 5, flipU = o == 2 || o == 3 || o == 6 || o == 7,
                   flipV = o == 3 || o == 4 || o == 7 || o == 8;
        const int sw = turned ? H : W, sh = turned ? W : H;
        std::vector<uint8_t> stored;
        for (int y = 0; y < sh; ++y)
            for (int x = 0; x < sw; ++x) {
                const int u = flipU ? W - 1 - (turned ? y : x) : (turned ? y : x);
                const int v = flipV ? H - 1 - (turned ? x : y) : (turned ? x : y);
                for (int k = 0; k < 3; ++k) stored.push_back(upright[(v * W + u) * 3 + k]);
            }
        TempDir dir;
        WriteJpegPixels(dir / "photo.jpg", sw, sh, stored);
        WriteFile(dir / "photo.jpg",
                  ReadFile(dir / "photo.jpg").insert(2, ExifSegment(o, o % 2 == 0)));
        std::vector<fs::path> photos = {dir / "photo.jpg"};
#if QUILLOWBEE_HEIF
        // The same photo as a phone's HEIC, its turn in the HEIC's own boxes.
        if (WriteHeic(dir / "photo.heic", sw, sh, stored, o)) photos.push_back(dir / "photo.heic");
#endif
        for (const fs::path& path : photos) {
            SCOPED_TRACE(path.filename().string());
            const kit::UprightPhoto photo = kit::LoadPhoto(path);
            EXPECT_EQ(photo.Width(), W);
            const make_demo::Canvas work = kit::FitPhoto(photo, make_demo::Hex(0x000000));
            for (int q = 0; q < 4; ++q) {  // well inside each quarter
                const int x = q % 2 ? kit::kWorkWidth - 100 : 100,
                          y = q / 2 ? kit::kWorkHeight - 100 : 100;
                EXPECT_TRUE(Near(work, x, y, kQuarters[q])) << q;
            }
        }
    }
}

TEST(KitPhotoTest, PhotosOfEveryShapeAreCutOrLetterboxedAndOthersRefused) {
    const Rgb blue{0, 0, 255}, black{};  // the bars, the photo
    // Wide 16:9 and square are cut, portrait 3:4 gets bars at the sides, a panorama at the top.
    // clang-format off
    const std::tuple<int, int, bool, bool> cases[] = {  // width, height, PNG, bars at the left
        {320, 180, false, false}, {200, 200, true, false}, {150, 200, false, true}, {400, 100, true, false}};
    // clang-format on
    for (const auto& [w, h, png, bars] : cases) {
        SCOPED_TRACE(testing::Message() << w << " x " << h);
        TempDir dir;
        const fs::path path = dir / (png ? "p.png" : "p.jpg");
        if (png) {
            cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);  // black
            ASSERT_EQ(cairo_surface_write_to_png(s, path.c_str()), CAIRO_STATUS_SUCCESS);
            cairo_surface_destroy(s);
        } else {
            WriteJpegPixels(path, w, h, std::vector<uint8_t>(w * h * 3, 0));
        }
        const make_demo::Canvas work = kit::FitPhoto(kit::LoadPhoto(path), make_demo::Hex(0xFF));
        EXPECT_EQ(Near(work, 3, kit::kWorkHeight / 2, blue), bars);
        EXPECT_TRUE(Near(work, kit::kWorkWidth / 2, kit::kWorkHeight / 2, black));
    }
    TempDir dir;
    // clang-format off
    const std::pair<const char*, std::string> refused[] = {{"notes.txt", "shopping list"},
        {"cut.jpg", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 10)},
        {"phone.heic", std::string("\0\0\0\030ftypheic", 12)}, {"empty.png", ""}};
    // clang-format on
    for (const auto& [name, bytes] : refused) {
        dir.Write(name, bytes);
        EXPECT_THROW(kit::LoadPhoto(dir / name), kit::KitError) << name;
    }
}

// A theme file of eight records as the program reads it, in a few of the shapes it accepts.
std::string Records(const char* eol, int from = 0, int to = 8) {
    std::string text;
    for (int n = from; n < to; ++n)
        text += "Djur\\Sak" + std::to_string(n) + "\\" + eol + "3" + eol + "5" + eol + "2" + eol +
                "100,200,300" + eol + "R" + std::to_string(n) + eol;
    return text;
}

TEST(KitRecordTest, RecordReadsBackThroughTheProgramsReaderAndOtherBytesStay) {
    std::string untidy = "\r\n  \r\n" + Records("\r\n");
    untidy.insert(untidy.find("Djur\\Sak4"), "\t\r\n \x01\r\n   ");
    const std::string lf = Records("\n");
    const std::tuple<const char*, std::string, int> cases[] = {
        {"CRLF, first slot", Records("\r\n"), 0},
        {"LF, last slot", lf, 7},
        {"blank and control lines around the record", untidy, 4},
        {"last record without remark", lf.substr(0, lf.rfind("R7")), 7},
        {"last line without line end", lf.substr(0, lf.size() - 1), 7},
        {"a ninth record after the eighth", lf + Records("\n", 8, 9), 7}};
    std::vector<int16_t> delays(14);
    std::iota(delays.begin(), delays.end(), int16_t{100});
    // å in Windows-1252 and the euro sign
    const kit::ItemRecord record{
        "Djur\\Egen_Mormors_katt_\xE5\\", 5, 10, 13, delays, "Mormors_katt_\x80"};
    const auto fields = [](const auto& i) {
        return std::tie(i.folder, i.simpleLast, i.complexLast, i.filmLast, i.filmDelays, i.remark);
    };
    for (const auto& [what, text, slot] : cases) {
        SCOPED_TRACE(what);
        TempDir dir;
        const ScopedCurrentDir inside(dir.Path());
        dir.Write("Data/Djur.dat", text);
        DataFileReader::LoadItemFile("Data\\Djur.dat", kDjurFirst);
        std::vector<ItemInfo> items(DataFileReader::itemTable.begin() + kDjurFirst,
                                    DataFileReader::itemTable.end());
        const kit::RecordSpan span = kit::FindRecord(text, slot);
        const std::string written =
            kit::ReplaceRecord(text, slot, kit::RecordText(record, kit::LineEndOf(text)));
        EXPECT_EQ(written.substr(0, span.begin), text.substr(0, span.begin));
        EXPECT_EQ(written.substr(written.size() - (text.size() - span.end)), text.substr(span.end));
        dir.Write("Data/Djur.dat", written);
        DataFileReader::LoadItemFile("Data\\Djur.dat", kDjurFirst);
        for (size_t s = 0; s < 8; ++s) {
            const ItemInfo& got = DataFileReader::itemTable[kDjurFirst + s];
            if (s == static_cast<size_t>(slot))
                EXPECT_EQ(fields(got), fields(record));
            else
                EXPECT_EQ(fields(got), fields(items[s])) << s;
        }
    }
    EXPECT_THROW(kit::FindRecord(lf.substr(0, 200), 7), kit::KitError);
}

// A content folder holding the small test pack, with a photo beside it.
class KitRunTest : public ::testing::Test {
  protected:
    TempDir dir;
    fs::path content = dir / "content", photo = dir / "cat.jpg";
    void SetUp() override {
        WriteMiniPack(content);
        WriteJpegPixels(photo, 400, 300, Quarters(400, 300));
    }
    // Theme, position, name, photos, content; the disk full before the step `failAt`.
    kit::KitOptions Options(const std::string& name = "Mormors katt", std::string failAt = "") {
        kit::KitOptions options{"djur", 3, name, {photo}, content, {}};
        options.beforeStep = [failAt](auto step) {
            if (step == failAt) kit::Fail("the disk is full");
        };
        return options;
    }
};

TEST_F(KitRunTest, FailedRunLeavesTheContentAsItWas) {
    const auto before = Snapshot(content);
    // A name refused (usage), or a failure at the first, a middle or the last step.
    // clang-format off
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"Katt \xF0\x9F\x90\xB1", "", true}, {"Katt \xFF", "", true}, {"   ", "", true},
        {"Katt", "item pictures", false}, {"Katt", "button picture", false}, {"Katt", "undo copy", false}};
    // clang-format on
    for (const auto& [name, failAt, usage] : cases) {
        SCOPED_TRACE(std::string(name) + ", " + failAt);
        try {
            kit::MakeItem(Options(name, failAt));
            ADD_FAILURE() << "the run succeeded";
        } catch (const kit::KitError& e) {
            EXPECT_EQ(e.GetKind() == kit::KitError::Kind::Usage, usage) << e.what();
        }
        EXPECT_EQ(Snapshot(content), before);
    }
}

TEST_F(KitRunTest, UndoBringsBackWhatEachRunReplacedAndAnEmptyFolderIsSeeded) {
    const std::string original = ReadFile(content / "Data/Djur.dat");
    kit::MakeItem(Options("Katt"));
    const std::string firstItem = ReadFile(content / "Data/Djur.dat");
    const auto firstFolder = Snapshot(content / "Djur/Egen3_Katt");
    // The same name again: the item's own folder is replaced and kept.
    WriteJpegPixels(photo, 300, 300, Quarters(300, 300));
    kit::MakeItem(Options("Katt"));
    EXPECT_NE(Snapshot(content / "Djur/Egen3_Katt"), firstFolder);
    kit::UndoItem(Options());
    EXPECT_EQ(ReadFile(content / "Data/Djur.dat"), firstItem);
    EXPECT_EQ(Snapshot(content / "Djur/Egen3_Katt"), firstFolder);
    EXPECT_THROW(kit::UndoItem(Options()), kit::KitError);  // one step back is kept, not more

    kit::MakeItem(Options("Hund"));
    const auto beforeFailedUndo = Snapshot(content);
    EXPECT_THROW(kit::UndoItem(Options("Mormors katt", "theme file")), kit::KitError);
    EXPECT_EQ(Snapshot(content), beforeFailedUndo);
    kit::UndoItem(Options());
    EXPECT_EQ(ReadFile(content / "Data/Djur.dat"), firstItem);
    EXPECT_FALSE(fs::exists(content / "Djur/Egen3_Hund"));
    EXPECT_NE(firstItem, original);

    // An empty content folder gets a copy first, and the copy's source stays unchanged.
    const auto source = Snapshot(content);
    kit::KitOptions options = Options();
    options.content = dir / "family";
    options.seedFrom = content;
    EXPECT_TRUE(kit::MakeItem(options).copiedContent);
    EXPECT_EQ(Snapshot(content), source);
    EXPECT_TRUE(fs::exists(dir / "family/Djur/Egen3_Mormors_katt"));
    options.seedFrom = dir / "nowhere";
    options.content = dir / "other";
    EXPECT_THROW(kit::MakeItem(options), kit::KitError);
    EXPECT_FALSE(fs::exists(dir / "other"));
}

// What the kit adds passes the content check (every picture it names is there and decodes), and
// the program, headless, steps through its build-up into its film in both sets.
TEST(KitContentTest, TheNewItemPassesTheCheckAndPlays) {
    ActivityScene scene;
    WriteMiniPack(scene.dir.Path());
    WriteJpegPixels(scene.dir / "cat.jpg", 640, 480, Quarters(640, 480));
    const fs::path cat = scene.dir / "cat.jpg";
    const kit::KitResult result =
        kit::MakeItem({"Djur", 8, "Katten Måns", {cat, cat}, scene.dir.Path(), {}});
    ASSERT_EQ(result.item, 31);
    const ContentCheck::Report report = ContentCheck::CheckContent(
        {platform::CreateFilePictureDecoder, platform::DecodeWaveFile}, 2);
    for (const ContentCheck::Problem& problem : report.problems) ADD_FAILURE() << problem.Text();
    const kit::UprightPhoto button =
        kit::LoadPhoto(platform::NativePath("Grafik\\Meny\\Knapp1_31.jpg"));
    EXPECT_EQ(std::pair(button.Width(), button.Height()), std::pair(195.0, 260.0));  // the menu's

    DataFileReader::LoadItemFile("Data\\Djur.dat", kDjurFirst);
    const ItemInfo& item = DataFileReader::itemTable[31];
    MainMenuForm& form = scene.form;
    for (const bool simple : {true, false}) {
        const int last = simple ? item.simpleLast : item.complexLast;
        form.selectedItem = 31;
        form.settings.simpleContent = simple;
        form.settings.buildUpSteps = 10;
        form.currentScreen = form.requestedScreen = Screen::kBuildUp;
        form.EnterScreen();
        int steps = 0;
        for (; form.requestedScreen == Screen::kBuildUp && steps <= last + 1; ++steps) {
            ASSERT_TRUE(form.buildUpPicture) << simple << " step " << steps;
            scene.platform.counter.AdvanceMs(5000);
            form.StepBuildUp();
        }
        EXPECT_EQ(steps, last + 1) << simple;
        EXPECT_EQ(form.requestedScreen, Screen::kFilm) << simple;
        ASSERT_EQ(form.filmPictures.size(), static_cast<size_t>(item.filmLast) + 1);
        for (const auto& picture : form.filmPictures) EXPECT_TRUE(picture);
    }
    EXPECT_TRUE(scene.SettingsWrites().empty()) << "no picture failed to load";
}

}  // namespace
