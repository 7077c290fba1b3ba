// System path texts (backslashes, Windows-1252, any case) turned into paths on the disk.
#include "platform/portable/path_resolution.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

#include "support/test_files.h"

namespace {

using platform::NativePath;
using platform::Windows1252ToUtf8;

TEST(Windows1252ToUtf8, GivesEachByteItsOwnWellFormedCharacter) {
    const std::pair<std::string, std::string> cases[] = {
        {"H\xF6na", "H\xC3\xB6na"},
        {"\x80", "\xE2\x82\xAC"},
        {"\x9F", "\xC5\xB8"},
        {"\x99", "\xE2\x84\xA2"},
        {"\x81\x9D", "\xC2\x81\xC2\x9D"},
        {std::string("a\0b", 3), std::string("a\0b", 3)}};
    for (const auto& [in, out] : cases) EXPECT_EQ(Windows1252ToUtf8(in), out) << in;
    std::set<std::string> seen;
    for (int b = 0; b < 256; ++b) {
        const std::string utf8 = Windows1252ToUtf8(std::string(1, static_cast<char>(b)));
        const auto lead = static_cast<unsigned char>(utf8[0]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        ASSERT_EQ(utf8.size(), length) << "byte " << b;
        for (size_t k = 1; k < length; ++k) {
            EXPECT_EQ(static_cast<unsigned char>(utf8[k]) & 0xC0, 0x80) << "byte " << b;
        }
        EXPECT_TRUE(seen.insert(utf8).second) << "byte " << b << " shares its character";
    }
}

TEST(NativePath, MatchesEachPartExactlyElseIgnoringCaseAndFindsTheUserDataFolder) {
    testing_support::TempDir scratch;
    const std::string xdg = (scratch / "xdg").string();
    const std::string home = (scratch / "home").string();
    for (const std::string below : {"", "xdg/Quillowbee/", "home/.local/share/Quillowbee/"}) {
        for (const char* file : {"Grafik/Meny/Val/Sida1.jpg", "Djur/H\xC3\xB6na/Film/01.jpg",
                                 "Ljud/A.wav", "Ljud/a.WAV", "Musik/\xC3\x85RA/x.jpg"}) {
            scratch.Write(below + file, "x");
        }
    }
    for (int upper = 0xC0; upper <= 0xDE; ++upper) {
        scratch.Write("Latin/" + Windows1252ToUtf8(std::string(1, static_cast<char>(upper))), "x");
    }
    scratch.Write("Latin/\xC5\xA0\xC5\x92\xC5\xBD\xC5\xB8", "x");  // ŠŒŽŸ
    testing_support::ScopedCurrentDir entered(scratch.Path());
    testing_support::ScopedEnv homeVariable("HOME", home);
    const struct {
        std::optional<std::string> xdgDataHome;
        std::string system;
        std::string native;
    } cases[] = {
        {xdg, "GRAFIK\\MENY\\VAL\\SIDA1.JPG", "Grafik/Meny/Val/Sida1.jpg"},
        {xdg, "djur\\H\xD6NA\\film\\01.jpg", "Djur/H\xC3\xB6na/Film/01.jpg"},
        {xdg, "Musik\\\xE5ra\\X.JPG", "Musik/\xC3\x85RA/x.jpg"},  // å finds ÅRA
        {xdg, "Ljud\\a.WAV", "Ljud/a.WAV"},                       // the exact name first
        {xdg, "Ljud\\a.wav", "Ljud/A.wav"},                       // else the first in byte order
        // A missing part is kept as written, and so is everything below it; o is not ö.
        {xdg, "grafik\\saknas\\meny\\x.jpg", "Grafik/saknas/meny/x.jpg"},
        {xdg, "Djur\\Hona\\Film\\", "Djur/Hona/Film/"},
        {xdg, "data\\.\\x", "data/./x"},
        {xdg, "", ""},
        {xdg, "Latin\\\x9A\x9C\x9E\xFF", "Latin/\xC5\xA0\xC5\x92\xC5\xBD\xC5\xB8"},
        {xdg, "Latin\\\xDF", "Latin/\xC3\x9F"},  // ß has no capital to find
        // The hard disk prefix stands for the user data folder, an absolute XDG_DATA_HOME only.
        {xdg, "c:\\QUILLOWBEE\\djur\\h\xF6na\\", xdg + "/Quillowbee/Djur/H\xC3\xB6na/"},
        {xdg + "/", "C:\\Quillowbee\\Saknas\\01.jpg", xdg + "/Quillowbee/Saknas/01.jpg"},
        {std::nullopt, "C:\\Quillowbee\\ljud\\A.wav", home + "/.local/share/Quillowbee/Ljud/A.wav"},
        {"xdg", "C:\\Quillowbee\\Ljud", home + "/.local/share/Quillowbee/Ljud"},
        {xdg, "D:\\Quillowbee\\Ljud", "D:/Quillowbee/Ljud"},
        {xdg, "C:\\QuillowbeeX\\Ljud", "C:/QuillowbeeX/Ljud"}};
    for (const auto& c : cases) {
        testing_support::ScopedEnv dataHome("XDG_DATA_HOME", c.xdgDataHome);
        EXPECT_EQ(NativePath(c.system), c.native) << c.system;
    }
    // Every Latin-1 letter finds its capital; × and ÷ are no letters and find only themselves.
    for (int upper = 0xC0; upper <= 0xDE; ++upper) {
        const int found = upper == 0xD7 ? upper + 0x20 : upper;
        EXPECT_EQ(NativePath("latin\\" + std::string(1, static_cast<char>(upper + 0x20))),
                  "Latin/" + Windows1252ToUtf8(std::string(1, static_cast<char>(found))))
            << "byte " << upper + 0x20;
    }
}

}  // namespace
