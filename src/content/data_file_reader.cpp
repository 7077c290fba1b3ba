#include "content/data_file_reader.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/portable/path_resolution.h"
#include "base/numeric.h"
#include "base/system_failure.h"

namespace DataFileReader {

std::array<ItemInfo, kItemCount> itemTable;

ItemInfo& Item(int32_t index) {
    if (index < 0 || index >= kItemCount) {
        Fail("item " + std::to_string(index) + " is outside 0..31");
    }
    return itemTable[static_cast<size_t>(index)];
}

std::string ReadToken(std::FILE* file) {
    std::string token;
    for (int c = std::getc(file); c != EOF; c = std::getc(file)) {
        if (c == '\n' && !token.empty()) {
            break;
        }
        if (c >= 33) {
            token.push_back(static_cast<char>(c));
        }
    }
    return token;
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

// Where in a data file a record is read, for the failure message.
struct RecordPlace {
    const std::string& fileName;
    int32_t record;  // 1..8

    [[noreturn]] void Fail(const std::string& what) const {
        ::Fail(fileName + ": record " + std::to_string(record) + ": " + what);
    }
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The next line; a read error is a failure rather than an early end of the file.
std::string ReadLine(std::FILE* file, const std::string& fileName) {
    std::string line = ReadToken(file);
    if (std::ferror(file)) {
        Fail(fileName + ": cannot be read (" + std::strerror(errno) + ")");
    }
    return line;
}

int16_t ReadNumberLine(std::FILE* file, const RecordPlace& place, const char* field) {
    const std::string line = ReadLine(file, place.fileName);
    if (line.empty()) {
        place.Fail(std::string("file ends before the ") + field + " line");
    }
    try {
        return ParseNumber(line);
    } catch (const SystemFailure& failure) {
        place.Fail(std::string(field) + " " + failure.what());
    }
}

// The delays of one film: field d of the delay line for picture d. GetField restarts its
// skipping from the first field on every call; walking the fields once, and converting each
// distinct field once, gives the same values in time linear in the number of pictures.
std::vector<int16_t> ReadDelays(std::string_view line, int16_t filmLast, const RecordPlace& place) {
    const CommaIndex commas(line);
    std::unordered_map<size_t, int16_t> valueAfter;
    std::vector<int16_t> delays(static_cast<size_t>(filmLast) + 1);
    size_t pos = 0;
    int32_t count = 0;
    for (int32_t d = 0; d <= filmLast; ++d) {
        while (commas.Skip(pos, count, d)) {
        }
        auto known = valueAfter.find(pos);
        if (known == valueAfter.end()) {
            const auto [start, length] = commas.FieldAfter(pos);
            try {
                known = valueAfter.emplace(pos, ParseNumber(line.substr(start, length))).first;
            } catch (const SystemFailure& failure) {
                place.Fail("delay " + std::to_string(d) + " " + failure.what());
            }
        }
        delays[static_cast<size_t>(d)] = known->second;
    }
    return delays;
}

}  // namespace

void LoadItemFile(const std::string& fileName, int16_t firstSlot) {
    const std::unique_ptr<std::FILE, FileCloser> file(
        std::fopen(platform::NativePath(fileName).c_str(), "rb"));
    if (!file) {
        Fail(fileName + ": cannot be opened (" + std::strerror(errno) + ")");
    }
    for (int32_t record = 1; record <= kItemsPerTheme; ++record) {
        ItemInfo& item = Item(firstSlot + record - 1);
        const RecordPlace place{fileName, record};
        ItemInfo read;
        read.folder = ReadLine(file.get(), fileName);
        if (read.folder.empty()) {
            // Only the end of the file gives an empty line, and simpleLast could not follow.
            place.Fail("file ends before the folder line");
        }
        read.simpleLast = ReadNumberLine(file.get(), place, "simpleLast");
        read.complexLast = ReadNumberLine(file.get(), place, "complexLast");
        read.filmLast = ReadNumberLine(file.get(), place, "filmLast");
        if (read.filmLast < 0) {
            place.Fail("filmLast " + std::to_string(read.filmLast) + " is negative");
        }
        const std::string delayLine = ReadLine(file.get(), fileName);
        if (delayLine.empty()) {
            place.Fail("file ends before the delay line");
        }
        read.filmDelays = ReadDelays(delayLine, read.filmLast, place);
        read.remark = ReadLine(file.get(), fileName);
        item = std::move(read);
    }
}

}  // namespace DataFileReader
