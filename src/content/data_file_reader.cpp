#include "content/data_file_reader.h"

#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "base/numeric.h"
#include "base/system_failure.h"
#include "platform/portable/path_resolution.h"

namespace DataFileReader {

std::array<ItemInfo, kItemCount> itemTable;

ItemInfo& Item(int32_t index) {
    if (index < 0 || index >= kItemCount) {
        Fail("item " + std::to_string(index) + " is outside 0..31");
    }
    return itemTable[static_cast<size_t>(index)];
}

namespace {

// Where a data file is being read: the physical line the reading has reached (from 1), the line
// the last token started on, and whether the last character read was a line feed.
struct TokenPlace {
    int32_t line = 1;
    int32_t start = 1;
    bool afterFeed = false;
};

// ReadToken, keeping track of the lines. At the end of the file the start is the file's last
// line, so that "the file ends before ..." points at it.
std::string ReadTokenAt(std::FILE* file, TokenPlace& place) {
    std::string token;
    for (int c = std::getc(file); c != EOF; c = std::getc(file)) {
        if (c == '\n') {
            ++place.line;
            place.afterFeed = true;
            if (!token.empty()) {
                return token;
            }
            continue;
        }
        place.afterFeed = false;
        if (c >= 33) {
            if (token.empty()) {
                place.start = place.line;
            }
            token.push_back(static_cast<char>(c));
        }
    }
    if (token.empty()) {
        place.start = place.afterFeed && place.line > 1 ? place.line - 1 : place.line;
    }
    return token;
}

}  // namespace

std::string ReadToken(std::FILE* file) {
    TokenPlace place;
    return ReadTokenAt(file, place);
}

namespace {

constexpr size_t kNoComma = 0;

// The comma positions of a text, counted from 1 as GetField counts them, so that every search of
// GetField is one lookup: a delay line is searched once per picture, up to 32768 times.
class CommaIndex {
  public:
    explicit CommaIndex(std::string_view text) : length_(text.size()), next_(text.size() + 2) {
        size_t next = kNoComma;
        for (size_t pos = text.size(); pos >= 1; --pos) {
            if (text[pos - 1] == ',') {
                next = pos;
            }
            next_[pos] = next;
        }
    }

    // The position of the first comma at or after `from`, or 0 if there is none.
    size_t FirstCommaFrom(size_t from) const { return from <= length_ ? next_[from] : kNoComma; }

    // One step of GetField's skipping: the search starts two characters after the last comma.
    bool Skip(size_t& pos, int32_t& count, int32_t n) const {
        if (count >= n || pos >= length_) {
            return false;
        }
        pos = FirstCommaFrom(pos + 2);
        ++count;
        return true;
    }

    // The field that starts right after position `pos`, as [start, length) of the text.
    std::pair<size_t, size_t> FieldAfter(size_t pos) const {
        const size_t comma = FirstCommaFrom(pos + 1);
        const size_t end = comma == kNoComma ? length_ + 1 : comma;
        return {pos, end - pos - 1};
    }

  private:
    size_t length_;
    std::vector<size_t> next_;  // index 1..length: first comma at or after that position
};

// A message quotes a text found in the file; an absurdly long one is cut so the line stays short.
std::string Quoted(std::string_view text) {
    constexpr size_t kMaxQuoted = 40;
    if (text.size() <= kMaxQuoted) {
        return "\"" + std::string(text) + "\"";
    }
    return "\"" + std::string(text.substr(0, kMaxQuoted)) + "...\"";
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string GetField(int16_t n, std::string_view text) {
    const CommaIndex commas(text);
    size_t pos = 0;
    int32_t count = 0;
    while (commas.Skip(pos, count, n)) {
    }
    const auto [start, length] = commas.FieldAfter(pos);
    return std::string(text.substr(start, length));
}

int16_t ParseNumber(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const size_t digitsStart = i;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    const std::string_view digits = text.substr(digitsStart, i - digitsStart);
    std::string_view fraction;
    if (i < text.size() && text[i] == '.') {
        const size_t fractionStart = ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
        }
        fraction = text.substr(fractionStart, i - fractionStart);
        if (fraction.empty()) {
            Fail(Quoted(text) + " is not a number");
        }
    }
    if (digits.empty() || i != text.size()) {
        Fail(Quoted(text) + " is not a number");
    }

    const size_t firstSignificant = digits.find_first_not_of('0');
    const std::string_view significant = firstSignificant == std::string_view::npos
                                             ? std::string_view()
                                             : digits.substr(firstSignificant);
    if (significant.size() > 5) {
        Fail(Quoted(text) + " is outside -32768..32767");
    }
    int32_t whole = 0;
    for (const char c : significant) {
        whole = whole * 10 + (c - '0');
    }

    // Rounding only asks whether the fraction is below, at or above one half; standing in for
    // it with 0.25, 0.5 or 0.75 keeps long fractions exact where a double would blur them.
    double part = 0.0;
    const size_t fractionDigit = fraction.find_first_not_of('0');
    if (fractionDigit != std::string_view::npos) {
        if (fraction[0] < '5') {
            part = 0.25;
        } else if (fraction[0] > '5' ||
                   fraction.find_first_not_of('0', 1) != std::string_view::npos) {
            part = 0.75;
        } else {
            part = 0.5;
        }
    }
    const double value = (negative ? -1.0 : 1.0) * (whole + part);
    const double rounded = Numeric::RoundHalfEven(value);
    if (rounded < -32768.0 || rounded > 32767.0) {
        Fail(Quoted(text) + " is outside -32768..32767");
    }
    return static_cast<int16_t>(rounded);
}

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Reads the records of one theme data file and hands each problem to `problem` and each
// finished record to `store`. The loader's `problem` throws, so it stops at the first; the
// check's collects and the reading goes on, a bad number reading as 0, so that the records
// after it are still read from their own lines. Only the end of the file (or a read error) stops
// it early.
class RecordReader {
  public:
    using ProblemSink = std::function<void(const FileProblem&)>;
    using RecordSink = std::function<void(int32_t record, ItemInfo&&)>;

    RecordReader(std::FILE* file, ProblemSink problem)
        : file_(file), problem_(std::move(problem)) {}

    void ReadAll(const RecordSink& store) {
        for (record_ = 1; record_ <= kItemsPerTheme; ++record_) {
            ItemInfo read;
            if (!ReadRecord(read)) {
                return;
            }
            store(record_, std::move(read));
        }
    }

  private:
    // The next line; false at the end of the file or on a read error.
    bool Next(std::string& line) {
        line = ReadTokenAt(file_, place_);
        if (std::ferror(file_)) {
            problem_({0, 0, std::string("cannot be read (") + std::strerror(errno) + ")"});
            return false;
        }
        return !line.empty();
    }

    void Problem(const std::string& what) { problem_({record_, place_.start, what}); }

    bool EndsBefore(const char* field) {
        if (!std::ferror(file_)) {
            Problem(std::string("file ends before the ") + field + " line");
        }
        return false;
    }

    bool ReadNumber(const char* field, int16_t& value) {
        std::string line;
        if (!Next(line)) {
            return EndsBefore(field);
        }
        try {
            value = ParseNumber(line);
        } catch (const SystemFailure& failure) {
            Problem(std::string(field) + " " + failure.what());
            value = 0;
        }
        return true;
    }

    bool ReadRecord(ItemInfo& read) {
        if (!Next(read.folder)) {
            // Only the end of the file gives an empty line, and simpleLast could not follow.
            return EndsBefore("folder");
        }
        if (!ReadNumber("simpleLast", read.simpleLast) ||
            !ReadNumber("complexLast", read.complexLast) ||
            !ReadNumber("filmLast", read.filmLast)) {
            return false;
        }
        if (read.filmLast < 0) {
            Problem("filmLast " + std::to_string(read.filmLast) + " is negative");
            read.filmLast = -1;
        }
        std::string delayLine;
        if (!Next(delayLine)) {
            return EndsBefore("delay");
        }
        read.filmDelays = ReadDelays(delayLine, read.filmLast);
        Next(read.remark);
        return !std::ferror(file_);
    }

    // The delays of one film: field d of the delay line for picture d. GetField restarts its
    // skipping from the first field on every call; walking the fields once, and converting each
    // distinct field once, gives the same values in time linear in the number of pictures.
    std::vector<int16_t> ReadDelays(std::string_view line, int16_t filmLast) {
        const CommaIndex commas(line);
        std::unordered_map<size_t, int16_t> valueAfter;
        std::vector<int16_t> delays(static_cast<size_t>(filmLast + 1));
        size_t pos = 0;
        int32_t count = 0;
        for (int32_t d = 0; d <= filmLast; ++d) {
            while (commas.Skip(pos, count, d)) {
            }
            auto known = valueAfter.find(pos);
            if (known == valueAfter.end()) {
                const auto [start, length] = commas.FieldAfter(pos);
                int16_t value = 0;
                try {
                    value = ParseNumber(line.substr(start, length));
                } catch (const SystemFailure& failure) {
                    Problem("delay " + std::to_string(d) + " " + failure.what());
                }
                known = valueAfter.emplace(pos, value).first;
            }
            delays[static_cast<size_t>(d)] = known->second;
        }
        return delays;
    }

    std::FILE* file_;
    ProblemSink problem_;
    TokenPlace place_;
    int32_t record_ = 0;
};

using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr OpenDataFile(const std::string& fileName, std::string& problem) {
    FilePtr file(std::fopen(platform::NativePath(fileName).c_str(), "rb"));
    if (!file) {
        problem = std::string("cannot be opened (") + std::strerror(errno) + ")";
    }
    return file;
}

}  // namespace

std::string FileProblem::Text() const {
    return record == 0 ? what : "record " + std::to_string(record) + ": " + what;
}

void LoadItemFile(const std::string& fileName, int16_t firstSlot) {
    std::string openProblem;
    const FilePtr file = OpenDataFile(fileName, openProblem);
    if (!file) {
        Fail(fileName + ": " + openProblem);
    }
    RecordReader reader(
        file.get(), [&](const FileProblem& problem) { Fail(fileName + ": " + problem.Text()); });
    reader.ReadAll(
        [&](int32_t record, ItemInfo&& read) { Item(firstSlot + record - 1) = std::move(read); });
}

ThemeFileCheck CheckItemFile(const std::string& fileName) {
    ThemeFileCheck check;
    std::string openProblem;
    const FilePtr file = OpenDataFile(fileName, openProblem);
    if (!file) {
        check.problems.push_back({0, 0, openProblem});
        return check;
    }
    RecordReader reader(file.get(),
                        [&](const FileProblem& problem) { check.problems.push_back(problem); });
    reader.ReadAll([&](int32_t, ItemInfo&& read) { check.items.push_back(std::move(read)); });
    return check;
}

}  // namespace DataFileReader
