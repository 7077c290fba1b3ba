#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kit {

// One item's record of a theme file, its texts in Windows-1252.
struct ItemRecord {
    std::string folder;  // ends with a backslash, holds no character below '!'
    int16_t simpleLast = 0;
    int16_t complexLast = 0;
    int16_t filmLast = 0;
    std::vector<int16_t> filmDelays;  // filmLast + 1 values
    std::string remark;               // holds no character below '!'
};

// Where record `slot` (0..7) lies in a theme file: from the start of the physical line of its
// folder to just after the line end of its remark (or the end of the file when the last record
// ends there). Lines are what the program's reader takes as lines: characters below '!' dropped,
// empty lines skipped. A file with fewer than slot + 1 records is a failure.
struct RecordSpan {
    size_t begin = 0;
    size_t end = 0;
};
RecordSpan FindRecord(std::string_view file, int slot);

// The record's six lines, each ended with `lineEnd`.
std::string RecordText(const ItemRecord& record, std::string_view lineEnd);

// The line end the file uses: "\r\n" when its first line ends so, else "\n".
std::string LineEndOf(std::string_view file);

// The file with record `slot` replaced by `recordBytes`; every other byte stays as it was. When
// the old record ended the file without a line end, the new one does too.
std::string ReplaceRecord(std::string_view file, int slot, std::string_view recordBytes);

// Reads the file's eight records with the program's own reader; a file the program could not
// start with is a failure naming what is wrong.
std::vector<ItemRecord> ReadRecords(std::string_view file);

}  // namespace kit
