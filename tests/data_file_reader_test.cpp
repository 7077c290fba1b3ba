// Theme data files: eight records of six lines each into the item table, fields and numbers.
#include "content/data_file_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "base/system_failure.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// The six lines of a plain record, and its item; each record differs so a shifted one shows.
Lines RecordLines(int i) {
    const auto n = [i](int plus) { return std::to_string(i + plus); };
    return {"Yrke\\Sak" + n(0) + "\\", n(1), n(10), "2", n(100) + ",200,300", "Anm" + n(0)};
}
std::string RecordItem(int i) {
    const Lines l = RecordLines(i);
    return l[0] + " | " + l[1] + " | " + l[2] + " | 2 | " + std::to_string(100 + i) +
           " 200 300 | " + l[5];
}
std::string Join(const Lines& lines, const std::string& eol = "\n") {
    std::string text;
    for (const std::string& line : lines) text += line + eol;
    return text;
}
// Records 0..count-1 with record `changed` given by `lines`, each line ended by `eol`.
std::string Records(int count, int changed = -1, const Lines& lines = {}, std::string eol = "\n") {
    std::string text;
    for (int i = 0; i < count; ++i) text += Join(i == changed ? lines : RecordLines(i), eol);
    return text;
}

std::string Describe(const ItemInfo& item) {
    std::ostringstream text;
    text << item.folder << " | " << item.simpleLast << " | " << item.complexLast << " | "
         << item.filmLast << " |";
    for (const int16_t delay : item.filmDelays) text << " " << delay;
    text << " | " << item.remark;
    return text.str();
}

const std::string kFolder = "<a folder>";

std::string FailureOf(const std::function<void()>& run) try {
    return run(), "no failure";
} catch (const SystemFailure& failure) {
    return failure.what();
}

// Writes `bytes` to the disk file of the system path `fileName` in a fresh current directory.
struct DataFolder {
    DataFolder(std::string name, const std::optional<std::string>& bytes) {
        DataFileReader::itemTable = {};
        std::replace(name.begin(), name.end(), '\\', '/');
        if (bytes == kFolder)
            fs::create_directories(scratch / name);
        else if (bytes)
            scratch.Write(name, *bytes);
    }
    ~DataFolder() { DataFileReader::itemTable = {}; }
    testing_support::TempDir scratch;
    testing_support::ScopedCurrentDir entered{scratch.Path()};
};

TEST(LoadItemFile, FillsExactlyEightSlotsFromWellFormedFiles) {
    std::string longFilm = "Yrke\\Sak3\\ | 4 | 13 | 32767 |";
    for (int d = 0; d < 16384; ++d) longFilm += " 40 60";
    struct Case {
        const char* name;
        std::string bytes;
        int16_t firstSlot = 0;
        int changed = -1;  // the record whose item differs from the plain one, and that item
        std::string item = "";
        const char* onDisk = "Data\\Yrke.dat";
    };
    // clang-format off
    const Case cases[] = {
        {"line feeds", Records(8)},
        {"carriage return and line feed", Records(8, -1, {}, "\r\n")},
        {"into the last theme", Records(8), 24},
        {"a file name in another case on the disk", Records(8), 0, -1, "", "data\\yrke.DAT"},
        {"a ninth record and anything after the eighth are ignored", Records(8) + Join({"Extra\\", "x", "y", "z", "q", "r"}) + "not a record\n,,,\n-1"},
        {"the eighth record's remark may be missing", Records(7) + Join({"Yrke\\Sak7\\", "8", "17", "2", "107,200,300"}), 0, 7, "Yrke\\Sak7\\ | 8 | 17 | 2 | 107 200 300 | "},
        {"the last remark without a line feed", Records(8).substr(0, Records(8).size() - 1)},
        {"spaces, blank lines, control characters and a lone carriage return",
         "\n \n\t\x01\n" + Join({" Djur\\ H\xF6na \\ ", " 1 2 ", "\t3\r4", "2", " 100 , 200 ,\t300 ", std::string("en anm\0\x7f\xE4rkning", 15)}) +
             "\n\n  \r\n\x1a\n" + Records(8).substr(Join(RecordLines(0)).size()),
         0, 0, "Djur\\H\xF6na\\ | 12 | 34 | 2 | 100 200 300 | enanm\x7f\xE4rkning"},
        {"a long delay line's surplus is ignored", Records(8, 2, {"Yrke\\Sak2\\", "3", "12", "1", "1,2,3,4,x", "Anm2"}), 0, 2, "Yrke\\Sak2\\ | 3 | 12 | 1 | 1 2 | Anm2"},
        {"one film picture and negative picture counts", Records(8, 1, {"Yrke\\Sak1\\", "-3", "-32768", "0", "250,abc", "Anm1"}), 0, 1, "Yrke\\Sak1\\ | -3 | -32768 | 0 | 250 | Anm1"},
        {"the longest film", Records(8, 3, {"Yrke\\Sak3\\", "4", "13", "32767", "40,60", "Anm3"}), 0, 3, longFilm + " | Anm3"}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DataFolder folder(c.onDisk, c.bytes);
        EXPECT_NO_THROW(DataFileReader::LoadItemFile("Data\\Yrke.dat", c.firstSlot));
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(Describe(DataFileReader::Item(c.firstSlot + i)),
                      i == c.changed ? c.item : RecordItem(i));
        for (const int slot : {c.firstSlot - 1, c.firstSlot + 8})  // the slots around: empty
            EXPECT_TRUE(slot < 0 || slot >= kItemCount ||
                        Describe(DataFileReader::Item(slot)) == Describe(ItemInfo{}))
                << slot;
    }
}

// The loader fails at the first problem; the check names the same problem with the line it is
// on (0 for the file as a whole; nothing where only the slots are wrong).
TEST(LoadItemFile, FailsNamingTheFileAndWhatWasWrong) {
    // The file, its bytes (none: no such file), the first slot, the failure, the problem's line.
    // clang-format off
    const std::tuple<std::string, std::optional<std::string>, int16_t, std::string, std::optional<int32_t>> cases[] = {
        {"Data\\Djur.dat", Records(7), 24, "Data\\Djur.dat: record 8: file ends before the folder line", 42},
        {"Data\\Djur.dat", Records(7) + Join({"Djur\\Sak7\\", "1", "2", "3"}), 24, "Data\\Djur.dat: record 8: file ends before the delay line", 46},
        {"Data\\Djur.dat", Records(2) + "Djur\\Sak2\\\n\n", 24, "Data\\Djur.dat: record 3: file ends before the simpleLast line", 14},
        {"Data\\Yrke.dat", "\r\n \n\x01\n", 0, "Data\\Yrke.dat: record 1: file ends before the folder line", 3},
        {"Data\\Yrke.dat", Records(8, 1, {"Yrke\\Sak1\\", "1,5", "11", "2", "1,2,3", "Anm1"}), 0, "Data\\Yrke.dat: record 2: simpleLast \"1,5\" is not a number", 8},
        {"Data\\Yrke.dat", Records(8, 0, {"Yrke\\Sak0\\", "1", "40000", "2", "1,2,3", "Anm0"}), 0, "Data\\Yrke.dat: record 1: complexLast \"40000\" is outside -32768..32767", 3},
        {"Data\\Musik.dat", Records(8, 4, {"Musik\\Sak4\\", "1", "2", "-0.6", "1", "Anm4"}), 8, "Data\\Musik.dat: record 5: filmLast -1 is negative", 28},
        {"Data\\Sport.dat", Records(8, 7, {"Sport\\Sak7\\", "1", "2", "1", "100,x", "Anm7"}), 16, "Data\\Sport.dat: record 8: delay 1 \"x\" is not a number", 47},
        {"Data\\Sport.dat", std::nullopt, 16, "Data\\Sport.dat: cannot be opened (No such file or directory)", 0},
        {"Data\\Musik.dat", kFolder, 8, "Data\\Musik.dat: cannot be read (Is a directory)", 0},
        {"Data\\Yrke.dat", Records(8), 30, "item 32 is outside 0..31", std::nullopt}};
    // clang-format on
    for (const auto& [fileName, bytes, firstSlot, message, line] : cases) {
        DataFolder folder(fileName, bytes);
        EXPECT_EQ(FailureOf([&] { DataFileReader::LoadItemFile(fileName, firstSlot); }), message);
        const DataFileReader::ThemeFileCheck check = DataFileReader::CheckItemFile(fileName);
        if (!line) {
            EXPECT_TRUE(check.problems.empty()) << message;
            continue;
        }
        ASSERT_EQ(check.problems.size(), 1u) << message;
        EXPECT_EQ(fileName + ": " + check.problems[0].Text(), message);
        EXPECT_EQ(check.problems[0].line, *line) << message;
    }
    EXPECT_THROW(DataFileReader::Item(-1), SystemFailure);
}

TEST(CheckItemFile, GoesOnPastEachProblemToTheEndOfTheFile) {
    std::string bytes = Records(8, 1, {"Yrke\\Sak1\\", "x", "11", "2", "1,2,3", "Anm1"});
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
        {42, "record 8: file ends before the folder line"}};
    std::vector<std::pair<int32_t, std::string>> found;
    for (const auto& problem : check.problems) found.emplace_back(problem.line, problem.Text());
    EXPECT_EQ(found, expected);
    // Every record up to the end is read from its own lines; a bad number reads as 0, a
    // negative film as none.
    const std::string items[] = {RecordItem(0), "Yrke\\Sak1\\ | 0 | 11 | 2 | 1 2 3 | Anm1",
                                 RecordItem(2), "Yrke\\Sak3\\ | 4 | 13 | -1 | | Anm3",
                                 RecordItem(4), "Yrke\\Sak5\\ | 6 | 15 | 2 | 105 0 300 | Anm5",
                                 RecordItem(6)};
    ASSERT_EQ(check.items.size(), std::size(items));
    for (size_t i = 0; i < std::size(items); ++i) EXPECT_EQ(Describe(check.items[i]), items[i]);
    EXPECT_EQ(Describe(DataFileReader::Item(0)), Describe(ItemInfo{})) << "the check fills no slot";
}

TEST(GetField, CountsFieldsAndWrapsAroundPastTheLastComma) {
    // The skipping takes every field before n to be at least one character long: from an empty
    // field's comma it searches past the next comma and wraps around.
    const std::tuple<int16_t, const char*, const char*> cases[] = {
        {0, "5,10,15", "5"},      {2, "5,10,15", "15"}, {3, "5,10,15", "5"}, {5, "5,10,15", "15"},
        {32767, "5,10,15", "10"}, {-1, "5,10,15", "5"}, {100, "7", "7"},     {3, "", ""},
        {1, "5,10,", "10"},       {2, "5,10,", ""},     {3, "5,10,", ""},    {1, "5,,7", ""},
        {2, "5,,7", "5"},         {1, ",5", ""},        {1, "12345,6", "6"}};
    for (const auto& [n, text, field] : cases)
        EXPECT_EQ(DataFileReader::GetField(n, text), field) << n << " of " << text;
}

TEST(ParseNumber, TakesSixteenBitNumbersRoundingHalvesToEvenAndRefusesTheRest) {
    // The last two lie beyond a double's precision, on either side of one half.
    // clang-format off
    const std::pair<std::string, int16_t> numbers[] = {{"-0", 0}, {"+5", 5},
        {std::string(19, '0') + "32767", 32767}, {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"2.05", 2},
        {"32766.5", 32766}, {"-32768.5", -32768}, {"2.4999999999999999999", 2},
        {"2.5000000000000000001", 3}};
    // clang-format on
    for (const auto& [text, value] : numbers)
        EXPECT_NO_THROW(EXPECT_EQ(DataFileReader::ParseNumber(text), value) << text);
    // Superscript two (B2) is no digit; a long number is shown cut short.
    const std::string notNumbers[] = {"",      "+",    "1.",  ".5", "1e3",
                                      "1.5.2", "0x10", "+-1", " 5", "\xB2"};
    const std::string outside[] = {"32768", "-32769", "32767.5", "1" + std::string(22, '0'),
                                   std::string(60, '7')};
    const auto expectRefused = [](const std::string& text, const std::string& refusal) {
        const std::string shown = text.size() > 40 ? text.substr(0, 40) + "..." : text;
        EXPECT_EQ(FailureOf([&] { DataFileReader::ParseNumber(text); }),
                  "\"" + shown + "\" " + refusal);
    };
    for (const std::string& text : notNumbers) expectRefused(text, "is not a number");
    for (const std::string& text : outside) expectRefused(text, "is outside -32768..32767");
}

// Every input the fuzzer keeps loads whole (eight items with a film each) or fails naming itself.
TEST(DataFileCorpus, EveryInputLoadsOrFailsNamingTheFile) {
    int inputs = 0, loaded = 0;
    for (const auto& entry :
         fs::directory_iterator(fs::path(QUILLOWBEE_FUZZ_CORPUS_DIR) / "data_file_reader")) {
        const std::string file = entry.path().string();
        DataFolder none("unused", std::nullopt);
        const std::string failure = FailureOf([&] { DataFileReader::LoadItemFile(file, 24); });
        EXPECT_TRUE(failure == "no failure" || failure.starts_with(file + ": ")) << failure;
        ++inputs;
        loaded += failure == "no failure";
        for (int slot = 24; failure == "no failure" && slot < 32; ++slot) {
            const ItemInfo& item = DataFileReader::Item(slot);
            EXPECT_EQ(item.filmDelays.size(), static_cast<size_t>(item.filmLast) + 1) << file;
        }
    }
    EXPECT_GE(inputs, 5);
    EXPECT_GE(loaded, 2) << "the valid seeds load";
}

}  // namespace
