#include <cairo.h>
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "activities/picture_numbers.h"
#include "content/data_file_reader.h"
#include "display/display_objects.h"
#include "kit/kit.h"
#include "kit/kit_error.h"
#include "kit/photo.h"
#include "kit/picture_fit.h"
#include "kit/theme_record.h"
#include "platform/portable/path_resolution.h"
#include "support/activity_scene.h"
#include "support/mini_pack.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

using testing_support::ReadFile;
using testing_support::ScopedCurrentDir;
using testing_support::TempDir;

constexpr int16_t kDjurFirst = 24;

// Every file below a folder with its size and a hash of its bytes, to see that a run changed
// nothing.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string relative = fs::relative(entry.path(), folder).string();
        if (!entry.is_regular_file()) {
            files[relative] = "folder";
            continue;
        }
        const std::string bytes = ReadFile(entry.path());
        files[relative] =
            std::to_string(bytes.size()) + " " + std::to_string(std::hash<std::string>{}(bytes));
    }
    return files;
}

// A w × h photo of four coloured quarters: red, green / blue, yellow.
std::vector<uint8_t> Quarters(int w, int h) {
    std::vector<uint8_t> rgb;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool right = x >= w / 2, bottom = y >= h / 2;
            const uint8_t r = (!bottom || right) && !(right && !bottom) ? 255 : 0;
            rgb.push_back(!bottom && !right ? 255 : r);
            rgb.push_back(right ? 255 : 0);
            rgb.push_back(bottom && !right ? 255 : 0);
        }
    }
    return rgb;
}

// An APP1 Exif segment holding only the orientation, in either byte order.
std::string ExifSegment(int orientation, bool bigEndian) {
    auto u16 = [&](int v) {
        return bigEndian ? std::string{static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)}
                         : std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    };
    auto u32 = [&](int v) { return bigEndian ? u16(0) + u16(v) : u16(v) + u16(0); };
    std::string tiff = bigEndian ? "MM" : "II";
    tiff += u16(42) + u32(8) + u16(1);  // one entry in the first directory
    tiff += u16(0x0112) + u16(3) + u32(1) + u16(orientation) + u16(0);  // orientation, SHORT
    tiff += u32(0);
    const std::string body = std::string("Exif\0\0", 6) + tiff;
    const int length = static_cast<int>(body.size()) + 2;
    return std::string("\xFF\xE1", 2) + static_cast<char>(length >> 8) +
           static_cast<char>(length & 0xFF) + body;
}

void WriteJpegWithExif(const fs::path& path, int w, int h, const std::vector<uint8_t>& rgb,
                       int orientation, bool bigEndian) {
    testing_support::WriteJpegPixels(path, w, h, rgb);
    std::string jpeg = ReadFile(path);
    jpeg.insert(2, ExifSegment(orientation, bigEndian));
    testing_support::WriteFile(path, jpeg);
}

struct Colour {
    int r, g, b;
};
Colour At(const make_demo::Canvas& canvas, int x, int y) {
    const uint8_t* p = canvas.Pixels() + y * canvas.Stride() + x * 4;
    return {p[2], p[1], p[0]};
}
bool Near(Colour a, Colour b) {
    return std::abs(a.r - b.r) < 40 && std::abs(a.g - b.g) < 40 && std::abs(a.b - b.b) < 40;
}

TEST(KitPhotoTest, EveryExifOrientationIsTurnedUpright) {
    // Where the stored pixel (x, y) of a w × h picture is shown, as the camera notes it.
    struct Case {
        int orientation;
        bool bigEndian;
    };
    const Case cases[] = {{1, false}, {2, true}, {3, false}, {4, true},
                          {5, false}, {6, true}, {7, false}, {8, true}};
    const int W = 160, H = 120;  // the upright photo
    const std::vector<uint8_t> upright = Quarters(W, H);
    for (const Case& c : cases) {
        SCOPED_TRACE("orientation " + std::to_string(c.orientation));
        const bool turned = c.orientation >= 5;
        const int sw = turned ? H : W, sh = turned ? W : H;
        std::vector<uint8_t> stored(static_cast<size_t>(sw) * sh * 3);
        for (int y = 0; y < sh; ++y) {
            for (int x = 0; x < sw; ++x) {
                int u = x, v = y;
                switch (c.orientation) {
                    case 2:
                        u = sw - 1 - x;
                        break;
                    case 3:
                        u = sw - 1 - x;
                        v = sh - 1 - y;
                        break;
                    case 4:
                        v = sh - 1 - y;
                        break;
                    case 5:
                        u = y;
                        v = x;
                        break;
                    case 6:
                        u = sh - 1 - y;
                        v = x;
                        break;
                    case 7:
                        u = sh - 1 - y;
                        v = sw - 1 - x;
                        break;
                    case 8:
                        u = y;
                        v = sw - 1 - x;
                        break;
                }
                for (int k = 0; k < 3; ++k) {
                    stored[(static_cast<size_t>(y) * sw + x) * 3 + k] =
                        upright[(static_cast<size_t>(v) * W + u) * 3 + k];
                }
            }
        }
        TempDir dir;
        WriteJpegWithExif(dir / "photo.jpg", sw, sh, stored, c.orientation, c.bigEndian);
        const kit::UprightPhoto photo = kit::LoadPhoto(dir / "photo.jpg");
        EXPECT_EQ(photo.Width(), W);
        const make_demo::Canvas work = kit::FitPhoto(photo, make_demo::Hex(0x000000));
        const int m = 100;  // well inside each quarter
        EXPECT_TRUE(Near(At(work, m, m), {255, 0, 0}));
        EXPECT_TRUE(Near(At(work, kit::kWorkWidth - m, m), {0, 255, 0}));
        EXPECT_TRUE(Near(At(work, m, kit::kWorkHeight - m), {0, 0, 255}));
        EXPECT_TRUE(Near(At(work, kit::kWorkWidth - m, kit::kWorkHeight - m), {255, 255, 0}));
    }
}

TEST(KitPhotoTest, PhotosOfEveryShapeAreCutOrLetterboxedAndOthersRefused) {
    const make_demo::Rgb bars = make_demo::Hex(0x0000FF);
    struct Case {
        const char* what;
        int w, h;
        bool png;
        bool barsAtLeftEdge;
    };
    const Case cases[] = {
        {"wide 16:9 is cut", 320, 180, false, false},
        {"square is cut", 200, 200, true, false},
        {"portrait 3:4 gets bars", 150, 200, false, true},
        {"panorama gets bars at top, not at the left", 400, 100, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::vector<uint8_t> white(static_cast<size_t>(c.w) * c.h * 3, 255);
        const fs::path path = dir / (c.png ? "p.png" : "p.jpg");
        if (c.png) {
            cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, c.w, c.h);
            cairo_t* cr = cairo_create(s);
            cairo_set_source_rgb(cr, 1, 1, 1);
            cairo_paint(cr);
            cairo_destroy(cr);
            ASSERT_EQ(cairo_surface_write_to_png(s, path.c_str()), CAIRO_STATUS_SUCCESS);
            cairo_surface_destroy(s);
        } else {
            testing_support::WriteJpegPixels(path, c.w, c.h, white);
        }
        const make_demo::Canvas work = kit::FitPhoto(kit::LoadPhoto(path), bars);
        const Colour left = At(work, 3, kit::kWorkHeight / 2);
        EXPECT_EQ(Near(left, {0, 0, 255}), c.barsAtLeftEdge);
        EXPECT_TRUE(Near(At(work, kit::kWorkWidth / 2, kit::kWorkHeight / 2), {255, 255, 255}));
    }
    TempDir dir;
    const std::pair<const char*, std::string> refused[] = {
        {"notes.txt", "shopping list"},
        {"cut.jpg", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 10)},
        {"phone.heic", std::string("\0\0\0\x18"
                                   "ftypheic",
                                   12)},
        {"empty.png", ""},
    };
    for (const auto& [name, bytes] : refused) {
        dir.Write(name, bytes);
        EXPECT_THROW(kit::LoadPhoto(dir / name), kit::KitError) << name;
    }
}

// A theme file of eight records as the program reads it, in a few of the shapes it accepts.
struct ThemeFileCase {
    const char* what;
    std::string text;
    int slot;
};

std::string Record(int n, const char* eol) {
    return "Djur\\Sak" + std::to_string(n) + "\\" + eol + "3" + eol + "5" + eol + "2" + eol +
           "100,200,300" + eol + "R" + std::to_string(n) + eol;
}
std::string EightRecords(const char* eol) {
    std::string text;
    for (int n = 0; n < 8; ++n) text += Record(n, eol);
    return text;
}

TEST(KitRecordTest, RecordReadsBackThroughTheProgramsReaderAndOtherBytesStay) {
    std::string untidy = EightRecords("\r\n");
    untidy.insert(0, "\r\n  \r\n");
    untidy.insert(untidy.find("Djur\\Sak4"), "\t\r\n \x01\r\n   ");
    std::string noLastRemark = EightRecords("\n");
    noLastRemark.resize(noLastRemark.rfind("R7"));
    std::string noFinalLineEnd = EightRecords("\n");
    noFinalLineEnd.pop_back();
    const ThemeFileCase cases[] = {
        {"CRLF, first slot", EightRecords("\r\n"), 0},
        {"LF, last slot", EightRecords("\n"), 7},
        {"blank and control lines around the record", untidy, 4},
        {"last record without remark", noLastRemark, 7},
        {"last line without line end", noFinalLineEnd, 7},
        {"a ninth record after the eighth", EightRecords("\n") + Record(8, "\n"), 7},
    };
    kit::ItemRecord record;
    record.folder = "Djur\\Egen_Mormors_katt_\xE5\\";  // å in Windows-1252
    record.simpleLast = 5;
    record.complexLast = 10;
    record.filmLast = 13;
    for (int d = 0; d <= 13; ++d) record.filmDelays.push_back(static_cast<int16_t>(100 + d));
    record.remark = "Mormors_katt_\x80";  // the euro sign
    for (const ThemeFileCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const ScopedCurrentDir inside(dir.Path());
        dir.Write("Data/Djur.dat", c.text);
        DataFileReader::LoadItemFile("Data\\Djur.dat", kDjurFirst);
        std::vector<ItemInfo> before(DataFileReader::itemTable.begin() + kDjurFirst,
                                     DataFileReader::itemTable.end());

        const kit::RecordSpan span = kit::FindRecord(c.text, c.slot);
        const std::string written =
            kit::ReplaceRecord(c.text, c.slot, kit::RecordText(record, kit::LineEndOf(c.text)));
        EXPECT_EQ(written.substr(0, span.begin), c.text.substr(0, span.begin));
        const size_t after = c.text.size() - span.end;
        EXPECT_EQ(written.substr(written.size() - after), c.text.substr(span.end));
        dir.Write("Data/Djur.dat", written);
        DataFileReader::LoadItemFile("Data\\Djur.dat", kDjurFirst);
        for (int s = 0; s < 8; ++s) {
            const ItemInfo& got = DataFileReader::itemTable[static_cast<size_t>(kDjurFirst + s)];
            if (s != c.slot) {
                EXPECT_EQ(got.folder, before[static_cast<size_t>(s)].folder);
                EXPECT_EQ(got.filmDelays, before[static_cast<size_t>(s)].filmDelays);
                continue;
            }
            EXPECT_EQ(got.folder, record.folder);
            EXPECT_EQ(got.simpleLast, record.simpleLast);
            EXPECT_EQ(got.complexLast, record.complexLast);
            EXPECT_EQ(got.filmLast, record.filmLast);
            EXPECT_EQ(got.filmDelays, record.filmDelays);
            EXPECT_EQ(got.remark, record.remark);
        }
    }
    EXPECT_THROW(kit::FindRecord(EightRecords("\n").substr(0, 200), 7), kit::KitError);
}

// A content folder holding the small test pack, with a photo beside it.
class KitRunTest : public ::testing::Test {
  protected:
    TempDir dir;
    fs::path content = dir / "content";
    fs::path photo = dir / "cat.jpg";

    void SetUp() override {
        testing_support::WriteMiniPack(content);
        testing_support::WriteJpegPixels(photo, 400, 300, Quarters(400, 300));
    }

    kit::KitOptions Options(const std::string& name = "Mormors katt") const {
        kit::KitOptions options;
        options.theme = "djur";
        options.position = 3;
        options.name = name;
        options.photos = {photo};
        options.content = content;
        return options;
    }

    void LoadDjur() {
        const ScopedCurrentDir inside(content);
        DataFileReader::LoadItemFile("Data\\Djur.dat", kDjurFirst);
    }
};

TEST_F(KitRunTest, SeriesAreNumberedAsTheActivitiesReadThem) {
    const kit::KitResult result = kit::MakeItem(Options("Mormors katt"));
    EXPECT_EQ(result.item, 26);
    LoadDjur();
    const ItemInfo item = DataFileReader::itemTable[26];
    EXPECT_EQ(item.folder, result.folderText);
    EXPECT_LT(item.simpleLast, item.complexLast);
    ASSERT_EQ(item.filmDelays.size(), static_cast<size_t>(item.filmLast) + 1);
    const ScopedCurrentDir inside(content);
    auto exists = [&](const std::string& set, int n) {
        return fs::exists(
            platform::NativePath(item.folder + set + ActivityPictures::NumberText(n) + ".jpg"));
    };
    for (const bool simple : {true, false}) {
        const int last = simple ? item.simpleLast : item.complexLast;
        for (int n = 0; n <= last; ++n)
            EXPECT_TRUE(exists(ActivityPictures::BuildUpFolder(simple), n)) << n;
        EXPECT_FALSE(exists(ActivityPictures::BuildUpFolder(simple), last + 1));
        for (int n = 0; n <= item.filmLast; ++n)
            EXPECT_TRUE(exists(ActivityPictures::FilmFolder(simple), n)) << n;
        EXPECT_FALSE(exists(ActivityPictures::FilmFolder(simple), item.filmLast + 1));
    }
    const std::string button = ReadFile(platform::NativePath("Grafik\\Meny\\Knapp1_26.jpg"));
    tjhandle handle = tjInitDecompress();
    int w = 0, h = 0, sub = 0, space = 0;
    EXPECT_EQ(tjDecompressHeader3(handle, reinterpret_cast<const unsigned char*>(button.data()),
                                  button.size(), &w, &h, &sub, &space),
              0);
    tjDestroy(handle);
    EXPECT_EQ(w, 195);
    EXPECT_EQ(h, 260);
}

TEST_F(KitRunTest, FailedRunLeavesTheContentAsItWas) {
    const auto before = Snapshot(content);
    struct Case {
        const char* what;
        std::string name;
        std::string failAt;  // a step that fails; empty: none
        bool usage;
    };
    const Case cases[] = {
        {"a name with a cat emoji", "Katt \xF0\x9F\x90\xB1", "", true},
        {"a name that is not UTF-8", "Katt \xFF", "", true},
        {"a name of spaces", "   ", "", true},
        {"moving the pictures in fails", "Katt", "item pictures", false},
        {"the sub-menu picture fails", "Katt", "sub-menu picture", false},
        {"the note picture fails", "Katt", "note picture", false},
        {"the button picture fails", "Katt", "button picture", false},
        {"the theme file fails", "Katt", "theme file", false},
        {"keeping the undo copy fails", "Katt", "undo copy", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        kit::KitOptions options = Options(c.name);
        options.beforeStep = [&](std::string_view step) {
            if (step == c.failAt) kit::Fail("the disk is full");
        };
        try {
            kit::MakeItem(options);
            ADD_FAILURE() << "the run succeeded";
        } catch (const kit::KitError& e) {
            EXPECT_EQ(e.GetKind() == kit::KitError::Kind::Usage, c.usage) << e.what();
        }
        EXPECT_EQ(Snapshot(content), before);
    }
    kit::KitOptions notAPicture = Options();
    dir.Write("notes.jpg", "not a photo");
    notAPicture.photos = {photo, dir / "notes.jpg"};
    EXPECT_THROW(kit::MakeItem(notAPicture), kit::KitError);
    EXPECT_EQ(Snapshot(content), before);
}

TEST_F(KitRunTest, UndoBringsBackWhatEachRunReplaced) {
    const std::string original = ReadFile(content / "Data/Djur.dat");
    kit::MakeItem(Options("Katt"));
    const std::string firstItem = ReadFile(content / "Data/Djur.dat");
    const auto firstFolder = Snapshot(content / "Djur/Egen3_Katt");
    // The same name again: the item's own folder is replaced and kept.
    testing_support::WriteJpegPixels(photo, 300, 300, Quarters(300, 300));
    kit::MakeItem(Options("Katt"));
    EXPECT_NE(Snapshot(content / "Djur/Egen3_Katt"), firstFolder);

    kit::UndoItem(Options());
    EXPECT_EQ(ReadFile(content / "Data/Djur.dat"), firstItem);
    EXPECT_EQ(Snapshot(content / "Djur/Egen3_Katt"), firstFolder);
    // One step back is kept, not more.
    EXPECT_THROW(kit::UndoItem(Options()), kit::KitError);

    kit::MakeItem(Options("Hund"));
    const auto beforeFailedUndo = Snapshot(content);
    kit::KitOptions failing = Options();
    failing.beforeStep = [](std::string_view step) {
        if (step == "theme file") kit::Fail("the disk is full");
    };
    EXPECT_THROW(kit::UndoItem(failing), kit::KitError);
    EXPECT_EQ(Snapshot(content), beforeFailedUndo);
    kit::UndoItem(Options());
    EXPECT_EQ(ReadFile(content / "Data/Djur.dat"), firstItem);
    EXPECT_FALSE(fs::exists(content / "Djur/Egen3_Hund"));
    EXPECT_NE(firstItem, original);
}

TEST_F(KitRunTest, EmptyContentFolderGetsACopyAndTheSourceStaysUnchanged) {
    const auto source = Snapshot(content);
    kit::KitOptions options = Options();
    options.content = dir / "family";
    options.seedFrom = content;
    const kit::KitResult result = kit::MakeItem(options);
    EXPECT_TRUE(result.copiedContent);
    EXPECT_EQ(Snapshot(content), source);
    EXPECT_TRUE(fs::exists(dir / "family/Djur/Egen3_Mormors_katt"));
    options.seedFrom = dir / "nowhere";
    options.content = dir / "other";
    EXPECT_THROW(kit::MakeItem(options), kit::KitError);
    EXPECT_FALSE(fs::exists(dir / "other"));
}

// The program itself, headless, steps through the new item's build-up and plays its film.
TEST(KitActivityTest, TheProgramPlaysTheNewItemsBuildUpAndFilm) {
    testing_support::ActivityScene scene;
    testing_support::WriteMiniPack(scene.dir.Path());
    testing_support::WriteJpegPixels(scene.dir / "cat.jpg", 640, 480, Quarters(640, 480));
    kit::KitOptions options;
    options.theme = "Djur";
    options.position = 8;
    options.name = "Katten Måns";
    options.photos = {scene.dir / "cat.jpg", scene.dir / "cat.jpg"};
    options.content = scene.dir.Path();
    const kit::KitResult result = kit::MakeItem(options);
    ASSERT_EQ(result.item, 31);
    DataFileReader::LoadItemFile("Data\\Djur.dat", kDjurFirst);

    MainMenuForm& form = scene.form;
    for (const bool simple : {true, false}) {
        SCOPED_TRACE(simple ? "simple" : "detailed");
        form.selectedItem = 31;
        form.settings.simpleContent = simple;
        form.settings.buildUpSteps = 10;
        form.currentScreen = Screen::kBuildUp;
        form.requestedScreen = Screen::kBuildUp;
        form.EnterScreen();
        const ItemInfo& item = DataFileReader::itemTable[31];
        const int last = simple ? item.simpleLast : item.complexLast;
        int steps = 0;
        while (form.requestedScreen == Screen::kBuildUp && steps <= last + 1) {
            ASSERT_TRUE(form.buildUpPicture) << "step " << steps;
            scene.platform.counter.AdvanceMs(5000);
            form.StepBuildUp();
            ++steps;
        }
        EXPECT_EQ(steps, last + 1);
        EXPECT_EQ(form.requestedScreen, Screen::kFilm);
        ASSERT_EQ(form.filmPictures.size(), static_cast<size_t>(item.filmLast) + 1);
        for (const auto& picture : form.filmPictures) EXPECT_TRUE(picture);
        EXPECT_TRUE(scene.SettingsWrites().empty());  // no picture failed to load
    }
}

}  // namespace
