// The pieces a theme data file is read with: lines, fields, numbers, item indices.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "content/data_file_reader.h"
#include "base/system_failure.h"

namespace {

using DataFileReader::GetField;
using DataFileReader::ParseNumber;
using DataFileReader::ReadToken;

// Every line ReadToken gives before the end of the file.
std::vector<std::string> AllTokens(const std::string& bytes) {
    std::FILE* file = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    std::vector<std::string> tokens;
    for (std::string token = ReadToken(file); !token.empty(); token = ReadToken(file)) {
        tokens.push_back(token);
    }
    EXPECT_EQ(ReadToken(file), "") << "the end of the file stays the end";
    std::fclose(file);
    return tokens;
}

TEST(ReadTokenTest, DropsCharactersBelow33AndSkipsEmptyLines) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> tokens;
    };
    const Case cases[] = {
        {"line feeds", "abc\ndef\n", {"abc", "def"}},
        {"carriage return and line feed", "abc\r\ndef\r\n", {"abc", "def"}},
        {"last line without line feed", "abc\ndef", {"abc", "def"}},
        {"spaces inside a line", " 1 0 0 , 2 0\t0 \n", {"100,200"}},
        {"blank lines and spaces first", "\n\n   \n\t\t\nabc\n\n\ndef\n", {"abc", "def"}},
        {"control character lines", "\x01\x02\n\x1f\x1b\n\x7f\n", {"\x7f"}},
        {"control characters inside",
         "a\x01"
         "b\x1f"
         "c\n",
         {"abc"}},
        {"NUL dropped", std::string("a\0b\n", 4), {"ab"}},
        {"a lone carriage return does not end a line", "ab\rcd\n", {"abcd"}},
        {"code 32 dropped, code 33 kept", " ! \n", {"!"}},
        {"Windows-1252 letters kept as bytes",
         "Djur\\H\xF6na\\\n\x80\xA0\xFF\n",
         {"Djur\\H\xF6na\\", "\x80\xA0\xFF"}},
        {"only blanks", " \r\n\t\n", {}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AllTokens(c.bytes), c.tokens) << c.name;
    }
}

TEST(GetFieldTest, CountsFieldsAndWrapsAroundPastTheLastComma) {
    struct Case {
        int16_t n;
        std::string text;
        std::string field;
    };
    const Case cases[] = {
        {0, "5,10,15", "5"},
        {1, "5,10,15", "10"},
        {2, "5,10,15", "15"},
        {3, "5,10,15", "5"},  // wraps around to the first field
        {4, "5,10,15", "10"},
        {5, "5,10,15", "15"},
        {32767, "5,10,15", "10"},  // 32767 = 3 * 10922 + 1
        {-1, "5,10,15", "5"},
        {0, "7", "7"},
        {100, "7", "7"},
        {0, "", ""},
        {3, "", ""},
        {1, "5,10,", "10"},
        {2, "5,10,", ""},  // after a trailing comma
        {3, "5,10,", ""},  // the skipping stops on the trailing comma
        {1, "5,,7", ""},
        // The skipping takes every field before n to be at least one character long: from the
        // empty field's comma it searches past the next comma and wraps around.
        {2, "5,,7", "5"},
        {0, ",5", ""},
        {1, ",5", ""},
        {1, "12345,6", "6"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetField(c.n, c.text), c.field) << "field " << c.n << " of \"" << c.text << "\"";
    }
}

TEST(ParseNumberTest, AcceptsSixteenBitNumbersRoundingHalvesToEven) {
    struct Case {
        const char* text;
        int16_t value;
    };
    const Case cases[] = {
        {"0", 0},
        {"-0", 0},
        {"+5", 5},
        {"007", 7},
        {"32767", 32767},
        {"-32768", -32768},
        {"+32767", 32767},
        {"0000000000000000000032767", 32767},
        {"0.5", 0},
        {"1.5", 2},
        {"2.5", 2},
        {"3.5", 4},
        {"-0.5", 0},
        {"-1.5", -2},
        {"-2.5", -2},
        {"2.4999999999999999999", 2},
        {"2.5000000000000000001", 3},  // beyond a double's precision: still above one half
        {"2.50", 2},
        {"2.51", 3},
        {"2.05", 2},
        {"7.000", 7},
        {"32767.4", 32767},
        {"32766.5", 32766},
        {"-32768.5", -32768},  // rounds to the even -32768, inside the range
        {"-32767.5", -32768},
    };
    for (const Case& c : cases) {
        try {
            EXPECT_EQ(ParseNumber(c.text), c.value) << c.text;
        } catch (const SystemFailure& failure) {
            ADD_FAILURE() << c.text << ": " << failure.what();
        }
    }
}

TEST(ParseNumberTest, RefusesJunkAndValuesOutside16Bits) {
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"", "\"\" is not a number"},
        {"abc", "\"abc\" is not a number"},
        {"+", "\"+\" is not a number"},
        {"-", "\"-\" is not a number"},
        {"1.", "\"1.\" is not a number"},
        {".5", "\".5\" is not a number"},
        {".", "\".\" is not a number"},
        {"1,5", "\"1,5\" is not a number"},
        {"1e3", "\"1e3\" is not a number"},
        {"1.5.2", "\"1.5.2\" is not a number"},
        {"5a", "\"5a\" is not a number"},
        {"0x10", "\"0x10\" is not a number"},
        {"--1", "\"--1\" is not a number"},
        {"+-1", "\"+-1\" is not a number"},
        {" 5", "\" 5\" is not a number"},
        {"1.5 ", "\"1.5 \" is not a number"},
        {"\xB2", "\"\xB2\" is not a number"},  // superscript two is no digit
        {"32768", "\"32768\" is outside -32768..32767"},
        {"-32769", "\"-32769\" is outside -32768..32767"},
        {"40000", "\"40000\" is outside -32768..32767"},
        {"100000", "\"100000\" is outside -32768..32767"},
        {"32767.5", "\"32767.5\" is outside -32768..32767"},
        {"-32768.51", "\"-32768.51\" is outside -32768..32767"},
        {"99999999999999999999999", "\"99999999999999999999999\" is outside -32768..32767"},
        {std::string(60, '7'), "\"" + std::string(40, '7') + "...\" is outside -32768..32767"},
    };
    for (const Case& c : cases) {
        try {
            const int16_t value = ParseNumber(c.text);
            ADD_FAILURE() << "\"" << c.text << "\" gave " << value;
        } catch (const SystemFailure& failure) {
            EXPECT_EQ(failure.what(), c.message);
        }
    }
}

TEST(ItemTest, IndexMustLieIn0To31) {
    EXPECT_EQ(&DataFileReader::Item(0), &DataFileReader::itemTable[0]);
    EXPECT_EQ(&DataFileReader::Item(31), &DataFileReader::itemTable[31]);
    for (const int32_t index : {-1, 32, -32768, 32767}) {
        try {
            DataFileReader::Item(index);
            ADD_FAILURE() << "item " << index << " was given";
        } catch (const SystemFailure& failure) {
            EXPECT_EQ(failure.what(), "item " + std::to_string(index) + " is outside 0..31");
        }
    }
}

}  // namespace
