// Loading theme data files into the item table.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "content/data_file_reader.h"
#include "shell/system_failure.h"
#include "support/test_files.h"

namespace {

using Lines = std::vector<std::string>;

// The six lines of a plain record; each record differs so a shifted record shows.
Lines RecordLines(int i) {
    const std::string n = std::to_string(i);
    return {"Yrke\\Sak" + n + "\\",
            std::to_string(i + 1),
            std::to_string(i + 10),
            "2",
            std::to_string(100 + i) + ",200,300",
            "Anm" + n};
}

ItemInfo RecordItem(int i) {
    ItemInfo item;
    item.folder = "Yrke\\Sak" + std::to_string(i) + "\\";
    item.simpleLast = static_cast<int16_t>(i + 1);
    item.complexLast = static_cast<int16_t>(i + 10);
    item.filmLast = 2;
    item.filmDelays = {static_cast<int16_t>(100 + i), 200, 300};
    item.remark = "Anm" + std::to_string(i);
    return item;
}

std::string Join(const Lines& lines, const std::string& eol = "\n") {
    std::string text;
    for (const std::string& line : lines) {
        text += line + eol;
    }
    return text;
}

// Records 0..count-1, each line ended by `eol`.
std::string Records(int count, const std::string& eol = "\n") {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += Join(RecordLines(i), eol);
    }
    return text;
}

// Records 0..7 with record `changed` replaced.
std::string EightWith(int changed, const Lines& lines) {
    std::string text;
    for (int i = 0; i < 8; ++i) {
        text += Join(i == changed ? lines : RecordLines(i));
    }
    return text;
}

void ExpectItem(int slot, const ItemInfo& expected, const std::string& name) {
    const ItemInfo& item = DataFileReader::itemTable[static_cast<size_t>(slot)];
    EXPECT_EQ(item.folder, expected.folder) << name << ", slot " << slot;
    EXPECT_EQ(item.simpleLast, expected.simpleLast) << name << ", slot " << slot;
    EXPECT_EQ(item.complexLast, expected.complexLast) << name << ", slot " << slot;
    EXPECT_EQ(item.filmLast, expected.filmLast) << name << ", slot " << slot;
    EXPECT_EQ(item.filmDelays, expected.filmDelays) << name << ", slot " << slot;
    EXPECT_EQ(item.remark, expected.remark) << name << ", slot " << slot;
}

// Writes `bytes` to the disk file of the system path `fileName` in a fresh current directory.
struct DataFolder {
    explicit DataFolder(const std::string& fileName, const std::optional<std::string>& bytes) {
        DataFileReader::itemTable = {};
        if (bytes) {
            std::string onDisk = fileName;
            std::replace(onDisk.begin(), onDisk.end(), '\\', '/');
            scratch.Write(onDisk, *bytes);
        }
    }
    ~DataFolder() { DataFileReader::itemTable = {}; }
    testing_support::TempDir scratch;
    testing_support::ScopedCurrentDir entered{scratch.Path()};
};

ItemInfo With(ItemInfo item, void (*change)(ItemInfo&)) {
    change(item);
    return item;
}

TEST(LoadItemFileTest, FillsEightSlotsFromWellFormedFiles) {
    std::vector<int16_t> alternating(32768);
    for (size_t d = 0; d < alternating.size(); ++d) {
        alternating[d] = d % 2 == 0 ? 40 : 60;
    }
    ItemInfo longFilm = RecordItem(3);
    longFilm.filmLast = 32767;
    longFilm.filmDelays = alternating;

    struct Case {
        const char* name;
        std::string bytes;
        int16_t firstSlot;
        std::vector<std::pair<int, ItemInfo>> expected;  // slot, item
    };
    std::vector<Case> cases = {
        {"line feeds", Records(8), 0, {}},
        {"carriage return and line feed", Records(8, "\r\n"), 0, {}},
        {"into the last theme", Records(8), 24, {}},
        {"a ninth record is ignored",
         Records(8) + Join({"Extra\\", "x", "y", "z", "q", "r"}),
         0,
         {}},
        {"anything after the eighth record is ignored",
         Records(8) + "not a record\n,,,\n-1",
         0,
         {}},
        {"the eighth record's remark may be missing",
         Records(7) + Join({"Yrke\\Sak7\\", "8", "17", "2", "107,200,300"}),
         0,
         {{7, With(RecordItem(7), [](ItemInfo& i) { i.remark.clear(); })}}},
        {"the last remark without a line feed", Records(8).substr(0, Records(8).size() - 1), 0, {}},
        {"spaces, blank lines and control characters",
         "\n \n\t\x01\n" +
             Join({" Djur\\ H\xF6na \\ ", " 1 2 ", "\t3", "2", " 100 , 200 ,\t300 ",
                   "en anm\xE4rkning"}) +
             "\n\n  \r\n\x1a\n" + Records(8).substr(Join(RecordLines(0)).size()),
         0,
         {{0, With(RecordItem(0),
                   [](ItemInfo& i) {
                       i.folder = "Djur\\H\xF6na\\";
                       i.simpleLast = 12;
                       i.complexLast = 3;
                       i.filmDelays = {100, 200, 300};
                       i.remark = "enanm\xE4rkning";
                   })}}},
        {"a short delay line wraps around",
         EightWith(2, {"Yrke\\Sak2\\", "3", "12", "4", "100,200", "Anm2"}),
         0,
         {{2, With(RecordItem(2),
                   [](ItemInfo& i) {
                       i.filmLast = 4;
                       i.filmDelays = {100, 200, 100, 200, 100};
                   })}}},
        {"a long delay line's surplus is ignored",
         EightWith(2, {"Yrke\\Sak2\\", "3", "12", "1", "1,2,3,4,x", "Anm2"}),
         0,
         {{2, With(RecordItem(2),
                   [](ItemInfo& i) {
                       i.filmLast = 1;
                       i.filmDelays = {1, 2};
                   })}}},
        {"fractions round halves to even",
         EightWith(5, {"Yrke\\Sak5\\", "2.5", "3.5", "1.4", "1.5,2.5", "Anm5"}),
         0,
         {{5, With(RecordItem(5),
                   [](ItemInfo& i) {
                       i.simpleLast = 2;
                       i.complexLast = 4;
                       i.filmLast = 1;
                       i.filmDelays = {2, 2};
                   })}}},
        {"one film picture",
         EightWith(1, {"Yrke\\Sak1\\", "2", "11", "0", "250,abc", "Anm1"}),
         0,
         {{1, With(RecordItem(1),
                   [](ItemInfo& i) {
                       i.filmLast = 0;
                       i.filmDelays = {250};
                   })}}},
        {"negative picture counts other than the film's",
         EightWith(6, {"Yrke\\Sak6\\", "-3", "-32768", "2", "106,200,300", "Anm6"}),
         0,
         {{6, With(RecordItem(6),
                   [](ItemInfo& i) {
                       i.simpleLast = -3;
                       i.complexLast = -32768;
                   })}}},
        {"the longest film",
         EightWith(3, {"Yrke\\Sak3\\", "4", "13", "32767", "40,60", "Anm3"}),
         0,
         {{3, longFilm}}},
    };
    for (Case& c : cases) {
        // Slots the case does not name hold the plain records.
        for (int i = 0; i < 8; ++i) {
            const int slot = c.firstSlot + i;
            if (std::none_of(c.expected.begin(), c.expected.end(),
                             [&](const auto& e) { return e.first == slot; })) {
                c.expected.emplace_back(slot, RecordItem(i));
            }
        }
        DataFolder folder("Data\\Yrke.dat", c.bytes);
        try {
            DataFileReader::LoadItemFile("Data\\Yrke.dat", c.firstSlot);
        } catch (const SystemFailure& failure) {
            ADD_FAILURE() << c.name << ": " << failure.what();
            continue;
        }
        for (const auto& [slot, item] : c.expected) {
            ExpectItem(slot, item, c.name);
        }
        // The slots around the eight stay empty.
        for (const int slot : {c.firstSlot - 1, c.firstSlot + 8}) {
            if (slot >= 0 && slot < kItemCount) {
                ExpectItem(slot, ItemInfo{}, c.name);
            }
        }
    }
}

// The loader fails at the first problem; the check names the same problem with the line it is
// on (0 where the file cannot be opened; nothing where only the slots are wrong).
TEST(LoadItemFileTest, FailsNamingTheFileAndWhatWasWrong) {
    struct Case {
        std::string fileName;
        std::optional<std::string> bytes;  // nothing: no such file
        int16_t firstSlot;
        std::string message;
        std::optional<int32_t> line;
    };
    const Case cases[] = {
        {"Data\\Djur.dat", Records(7), 24,
         "Data\\Djur.dat: record 8: file ends before the folder line", 42},
        {"Data\\Djur.dat", Records(7) + Join({"Djur\\Sak7\\", "1", "2", "3"}), 24,
         "Data\\Djur.dat: record 8: file ends before the delay line", 46},
        {"Data\\Djur.dat", Records(2) + "Djur\\Sak2\\\n\n", 24,
         "Data\\Djur.dat: record 3: file ends before the simpleLast line", 14},
        {"Data\\Djur.dat", Join({"Djur\\Sak0\\", "1", "2"}), 24,
         "Data\\Djur.dat: record 1: file ends before the filmLast line", 3},
        {"Data\\Djur.dat", Records(1) + "Djur\\Sak1\\\r\n1\r\n2", 24,
         "Data\\Djur.dat: record 2: file ends before the filmLast line", 9},
        {"Data\\Yrke.dat", "", 0, "Data\\Yrke.dat: record 1: file ends before the folder line", 1},
        {"Data\\Yrke.dat", "\r\n \n\x01\n", 0,
         "Data\\Yrke.dat: record 1: file ends before the folder line", 3},
        {"Data\\Yrke.dat", EightWith(1, {"Yrke\\Sak1\\", "abc", "11", "2", "1,2,3", "Anm1"}), 0,
         "Data\\Yrke.dat: record 2: simpleLast \"abc\" is not a number", 8},
        {"Data\\Yrke.dat",
         "\n\n" + EightWith(0, {"Yrke\\Sak0\\", "1,5", "10", "2", "1,2,3", "Anm0"}), 0,
         "Data\\Yrke.dat: record 1: simpleLast \"1,5\" is not a number", 4},
        {"Data\\Yrke.dat", EightWith(0, {"Yrke\\Sak0\\", "1", "40000", "2", "1,2,3", "Anm0"}), 0,
         "Data\\Yrke.dat: record 1: complexLast \"40000\" is outside -32768..32767", 3},
        {"Data\\Musik.dat", EightWith(4, {"Musik\\Sak4\\", "1", "2", "-1", "1,2,3", "Anm4"}), 8,
         "Data\\Musik.dat: record 5: filmLast -1 is negative", 28},
        {"Data\\Musik.dat", EightWith(4, {"Musik\\Sak4\\", "1", "2", "-0.6", "1", "Anm4"}), 8,
         "Data\\Musik.dat: record 5: filmLast -1 is negative", 28},
        {"Data\\Musik.dat", EightWith(4, {"Musik\\Sak4\\", "1", "2", "32768", "1", "Anm4"}), 8,
         "Data\\Musik.dat: record 5: filmLast \"32768\" is outside -32768..32767", 28},
        {"Data\\Sport.dat", EightWith(7, {"Sport\\Sak7\\", "1", "2", "1", "100,x", "Anm7"}), 16,
         "Data\\Sport.dat: record 8: delay 1 \"x\" is not a number", 47},
        {"Data\\Sport.dat", EightWith(0, {"Sport\\Sak0\\", "1", "2", "2", "100,,300", "Anm0"}), 16,
         "Data\\Sport.dat: record 1: delay 1 \"\" is not a number", 5},
        {"Data\\Sport.dat", EightWith(0, {"Sport\\Sak0\\", "1", "2", "1", "100,", "Anm0"}), 16,
         "Data\\Sport.dat: record 1: delay 1 \"\" is not a number", 5},
        {"Data\\Sport.dat", EightWith(0, {"Sport\\Sak0\\", "1", "2", "0", "40000", "Anm0"}), 16,
         "Data\\Sport.dat: record 1: delay 0 \"40000\" is outside -32768..32767", 5},
        {"Data\\Sport.dat", std::nullopt, 16,
         "Data\\Sport.dat: cannot be opened (No such file or directory)", 0},
        {"Data\\Yrke.dat", Records(8), 30, "item 32 is outside 0..31", std::nullopt},
    };
    for (const Case& c : cases) {
        DataFolder folder(c.fileName, c.bytes);
        try {
            DataFileReader::LoadItemFile(c.fileName, c.firstSlot);
            ADD_FAILURE() << "no failure, expected: " << c.message;
        } catch (const SystemFailure& failure) {
            EXPECT_EQ(failure.what(), c.message);
        }
        const DataFileReader::ThemeFileCheck check = DataFileReader::CheckItemFile(c.fileName);
        if (!c.line) {
            EXPECT_TRUE(check.problems.empty()) << c.message;
            continue;
        }
        ASSERT_EQ(check.problems.size(), 1u) << c.message;
        EXPECT_EQ(c.fileName + ": " + check.problems[0].Text(), c.message);
        EXPECT_EQ(check.problems[0].line, *c.line) << c.message;
    }
}

TEST(CheckItemFileTest, GoesOnPastEachProblemToTheEndOfTheFile) {
    std::string bytes = EightWith(1, {"Yrke\\Sak1\\", "x", "11", "2", "1,2,3", "Anm1"});
    bytes = bytes.substr(0, bytes.rfind("Yrke\\Sak7"));  // seven records
    const size_t record4 = bytes.find("Yrke\\Sak3");
    bytes.replace(record4, bytes.find("Anm3") - record4, "Yrke\\Sak3\\\n4\n13\n-2\n5,6\n");
    const size_t delays6 = bytes.find("105,200,300");
    bytes.replace(delays6, 11, "105,y,300,z");
    DataFolder folder("Data\\Yrke.dat", bytes);

    const DataFileReader::ThemeFileCheck check = DataFileReader::CheckItemFile("Data\\Yrke.dat");
    const std::vector<std::pair<int32_t, std::string>> expected = {
        {8, "record 2: simpleLast \"x\" is not a number"},
        {22, "record 4: filmLast -2 is negative"},
        {35, "record 6: delay 1 \"y\" is not a number"},
        {42, "record 8: file ends before the folder line"},
    };
    ASSERT_EQ(check.problems.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(check.problems[i].line, expected[i].first) << i;
        EXPECT_EQ(check.problems[i].Text(), expected[i].second) << i;
    }
    // Every record up to the end is read from its own lines; a bad number reads as 0.
    ASSERT_EQ(check.items.size(), 7u);
    EXPECT_EQ(check.items[1].simpleLast, 0);
    EXPECT_EQ(check.items[1].complexLast, 11);
    EXPECT_EQ(check.items[3].remark, "Anm3");
    EXPECT_TRUE(check.items[3].filmDelays.empty());
    EXPECT_EQ(check.items[5].filmDelays, (std::vector<int16_t>{105, 0, 300}));
    EXPECT_EQ(check.items[6].folder, "Yrke\\Sak6\\");
    // The check fills no slot of the table.
    ExpectItem(0, ItemInfo{}, "check");
}

TEST(LoadItemFileTest, SevenRecordsLeaveSlot31Empty) {
    DataFolder folder("Data\\Djur.dat", Records(7));
    EXPECT_THROW(DataFileReader::LoadItemFile("Data\\Djur.dat", 24), SystemFailure);
    ExpectItem(30, RecordItem(6), "seven records");
    ExpectItem(31, ItemInfo{}, "seven records");
}

TEST(LoadItemFileTest, AFolderInPlaceOfTheFileCannotBeRead) {
    DataFolder folder("Data\\Musik.dat", std::nullopt);
    std::filesystem::create_directories("Data/Musik.dat");
    try {
        DataFileReader::LoadItemFile("Data\\Musik.dat", 8);
        ADD_FAILURE() << "a folder was read as a data file";
    } catch (const SystemFailure& failure) {
        EXPECT_EQ(std::string(failure.what()), "Data\\Musik.dat: cannot be read (Is a directory)");
    }
}

TEST(LoadItemFileTest, FindsTheFileWhateverTheCaseOnDisk) {
    DataFolder folder("data\\yrke.DAT", Records(8));
    DataFileReader::LoadItemFile("Data\\Yrke.dat", 0);
    ExpectItem(7, RecordItem(7), "case");
}

}  // namespace
