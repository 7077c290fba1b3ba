#include "kit/theme_record.h"

#include <cstdio>
#include <memory>

#include "base/system_failure.h"
#include "content/data_file_reader.h"
#include "kit/kit_error.h"

namespace kit {
namespace {

struct Token {
    size_t firstKept;
    size_t end;  // just after the line feed that ended it, or the end of the file
};

// The file's lines as the program's reader finds them, up to `count`.
std::vector<Token> Tokens(std::string_view file, size_t count) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (tokens.size() < count && i < file.size()) {
        size_t first = std::string_view::npos;
        for (; i < file.size(); ++i) {
            const auto c = static_cast<unsigned char>(file[i]);
            if (c == '\n' && first != std::string_view::npos) {
                ++i;
                break;
            }
            if (c >= 33 && first == std::string_view::npos) {
                first = i;
            }
        }
        if (first == std::string_view::npos) {
            break;
        }
        tokens.push_back({first, i});
    }
    return tokens;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

RecordSpan FindRecord(std::string_view file, int slot) {
    const size_t firstToken = static_cast<size_t>(slot) * 6;
    const std::vector<Token> tokens = Tokens(file, firstToken + 6);
    // The last record's remark may be missing; its other five lines may not.
    if (tokens.size() < firstToken + 5) {
        Fail("the theme file holds only " + std::to_string(tokens.size() / 6) +
             " whole records; it needs eight");
    }
    const size_t lineStart = file.rfind('\n', tokens[firstToken].firstKept);
    RecordSpan span;
    span.begin = lineStart == std::string_view::npos ? 0 : lineStart + 1;
    span.end = tokens.back().end;
    if (tokens.size() < firstToken + 6) {
        span.end = file.size();
    }
    return span;
}

std::string LineEndOf(std::string_view file) {
    const size_t lf = file.find('\n');
    return lf != std::string_view::npos && lf > 0 && file[lf - 1] == '\r' ? "\r\n" : "\n";
}

std::string RecordText(const ItemRecord& record, std::string_view lineEnd) {
    std::string delays;
    for (const int16_t d : record.filmDelays) {
        if (!delays.empty()) delays += ",";
        delays += std::to_string(d);
    }
    std::string text;
    for (const std::string& line :
         {record.folder, std::to_string(record.simpleLast), std::to_string(record.complexLast),
          std::to_string(record.filmLast), delays, record.remark}) {
        text += line;
        text += lineEnd;
    }
    return text;
}

std::string ReplaceRecord(std::string_view file, int slot, std::string_view recordBytes) {
    const RecordSpan span = FindRecord(file, slot);
    std::string replacement(recordBytes);
    if (span.end == file.size() && !file.empty() && file.back() != '\n') {
        while (!replacement.empty() && (replacement.back() == '\n' || replacement.back() == '\r')) {
            replacement.pop_back();
        }
    }
    std::string out(file.substr(0, span.begin));
    out += replacement;
    out += file.substr(span.end);
    return out;
}

std::vector<ItemRecord> ReadRecords(std::string_view file) {
    std::string bytes(file);
    const std::unique_ptr<std::FILE, FileCloser> stream(
        fmemopen(bytes.empty() ? nullptr : bytes.data(), bytes.size(), "rb"));
    if (!stream) {
        Fail("cannot read the theme file in memory");
    }
    std::vector<ItemRecord> records;
    try {
        for (int slot = 0; slot < 8; ++slot) {
            ItemRecord record;
            record.folder = DataFileReader::ReadToken(stream.get());
            if (record.folder.empty()) {
                Fail("the theme file ends before record " + std::to_string(slot + 1));
            }
            record.simpleLast =
                DataFileReader::ParseNumber(DataFileReader::ReadToken(stream.get()));
            record.complexLast =
                DataFileReader::ParseNumber(DataFileReader::ReadToken(stream.get()));
            record.filmLast = DataFileReader::ParseNumber(DataFileReader::ReadToken(stream.get()));
            if (record.filmLast < 0) {
                Fail("record " + std::to_string(slot + 1) + " has a negative picture count");
            }
            const std::string delays = DataFileReader::ReadToken(stream.get());
            for (int16_t d = 0; d <= record.filmLast; ++d) {
                record.filmDelays.push_back(
                    DataFileReader::ParseNumber(DataFileReader::GetField(d, delays)));
            }
            record.remark = DataFileReader::ReadToken(stream.get());
            records.push_back(std::move(record));
        }
    } catch (const SystemFailure& failure) {
        Fail(std::string("the theme file cannot be read: ") + failure.what());
    }
    return records;
}

}  // namespace kit
