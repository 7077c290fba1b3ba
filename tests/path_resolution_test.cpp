// System path texts (backslashes, Windows-1252, any case) turned into paths on the disk.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/portable/path_resolution.h"
#include "support/test_files.h"

namespace {

using platform::NativePath;
using platform::Windows1252ToUtf8;

TEST(Windows1252ToUtf8Test, ConvertsEveryByte) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"Grafik\\Meny", "Grafik\\Meny"},
        {"H\xF6na", "H\xC3\xB6na"},                                            // ö
        {"\xC5\xC4\xD6", "\xC3\x85\xC3\x84\xC3\x96"},                          // ÅÄÖ
        {"\x80", "\xE2\x82\xAC"},                                              // €
        {"\x8A\x9A", "\xC5\xA0\xC5\xA1"},                                      // Š š
        {"\x9F", "\xC5\xB8"},                                                  // Ÿ
        {"\x99", "\xE2\x84\xA2"},                                              // ™
        {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},  // undefined: C1
        {"\xA0", "\xC2\xA0"},
        {"\xFF", "\xC3\xBF"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Windows1252ToUtf8(c.in), c.out) << c.in;
    }
}

TEST(Windows1252ToUtf8Test, GivesEachByteItsOwnWellFormedCharacter) {
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

// The tree the paths are resolved in, names in UTF-8 as they lie on a Linux disk.
void MakeTree(const testing_support::TempDir& root, const std::string& below = "") {
    for (const char* file : {"Grafik/Meny/StartMeny.jpg", "Grafik/Meny/Val/Sida1.jpg",
                             "Djur/H\xC3\xB6na/Enkel/Film/01.jpg", "Data/Yrke.dat", "Ljud/A.wav",
                             "Ljud/a.WAV", "Musik/\xC3\x85RA/x.jpg"}) {
        root.Write(below + file, "x");
    }
}

TEST(NativePathTest, MatchesEachPartExactlyElseIgnoringCase) {
    testing_support::TempDir scratch;
    MakeTree(scratch);
    testing_support::ScopedCurrentDir entered(scratch.Path());
    struct Case {
        std::string system;
        std::string native;
    };
    const Case cases[] = {
        {"Grafik\\Meny\\StartMeny.jpg", "Grafik/Meny/StartMeny.jpg"},
        {"grafik\\meny\\startmeny.jpg", "Grafik/Meny/StartMeny.jpg"},
        {"GRAFIK\\MENY\\VAL\\SIDA1.JPG", "Grafik/Meny/Val/Sida1.jpg"},
        {"Djur\\H\xF6na\\Enkel\\Film\\01.jpg", "Djur/H\xC3\xB6na/Enkel/Film/01.jpg"},
        {"djur\\H\xD6NA\\enkel\\film\\01.jpg", "Djur/H\xC3\xB6na/Enkel/Film/01.jpg"},  // Ö
        {"Djur\\H\xF6na\\", "Djur/H\xC3\xB6na/"},
        {"Musik\\\xE5ra\\X.JPG", "Musik/\xC3\x85RA/x.jpg"},  // å finds ÅRA
        {"Ljud\\A.wav", "Ljud/A.wav"},
        {"Ljud\\a.WAV", "Ljud/a.WAV"},  // the exact name first
        {"Ljud\\a.wav", "Ljud/A.wav"},  // of two names that differ in case, the first in byte order
        // A missing part is kept as written, and so is everything below it.
        {"Grafik\\Meny\\Saknas.jpg", "Grafik/Meny/Saknas.jpg"},
        {"grafik\\saknas\\meny\\x.jpg", "Grafik/saknas/meny/x.jpg"},
        {"Djur\\Hona\\Enkel\\", "Djur/Hona/Enkel/"},  // o is not ö
        {"Djur\\H\xF6na\\Enkel\\Film\\02.jpg", "Djur/H\xC3\xB6na/Enkel/Film/02.jpg"},
        {"data\\.\\yrke.dat", "Data/./Yrke.dat"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NativePath(c.system), c.native) << c.system;
    }
}

TEST(NativePathTest, FoldsEveryLatin1Letter) {
    testing_support::TempDir scratch;
    for (int upper = 0xC0; upper <= 0xDE; ++upper) {
        scratch.Write("Ljud/" + Windows1252ToUtf8(std::string(1, static_cast<char>(upper))), "x");
    }
    scratch.Write("Ljud/\xC5\xA0\xC5\x92\xC5\xBD\xC5\xB8", "x");  // ŠŒŽŸ
    testing_support::ScopedCurrentDir entered(scratch.Path());
    for (int upper = 0xC0; upper <= 0xDE; ++upper) {
        const std::string lower(1, static_cast<char>(upper + 0x20));
        // × and ÷ are no letters: each finds only itself.
        const int found = upper == 0xD7 ? upper + 0x20 : upper;
        EXPECT_EQ(NativePath("ljud\\" + lower),
                  "Ljud/" + Windows1252ToUtf8(std::string(1, static_cast<char>(found))))
            << "byte " << upper + 0x20;
    }
    EXPECT_EQ(NativePath("Ljud\\\x9A\x9C\x9E\xFF"), "Ljud/\xC5\xA0\xC5\x92\xC5\xBD\xC5\xB8");
    EXPECT_EQ(NativePath("Ljud\\\xDF"), "Ljud/\xC3\x9F");  // ß has no capital to find
}

TEST(NativePathTest, HardDiskPrefixStandsForTheUserDataFolder) {
    testing_support::TempDir scratch;
    MakeTree(scratch, "xdg/Quillowbee/");
    MakeTree(scratch, "home/.local/share/Quillowbee/");
    const std::string xdg = (scratch / "xdg").string();
    const std::string home = (scratch / "home").string();
    const std::string empty = (scratch / "empty").string();
    struct Case {
        std::optional<std::string> xdgDataHome;
        std::string system;
        std::string native;
    };
    const Case cases[] = {
        {xdg, "C:\\Quillowbee\\djur\\h\xF6na\\enkel\\film\\01.jpg",
         xdg + "/Quillowbee/Djur/H\xC3\xB6na/Enkel/Film/01.jpg"},
        {xdg, "c:\\QUILLOWBEE\\Grafik\\Meny\\", xdg + "/Quillowbee/Grafik/Meny/"},
        {xdg + "/", "C:\\Quillowbee\\Data\\Yrke.dat", xdg + "/Quillowbee/Data/Yrke.dat"},
        {xdg, "C:\\Quillowbee\\Saknas\\01.jpg", xdg + "/Quillowbee/Saknas/01.jpg"},
        {empty, "C:\\QUILLOWBEE\\data\\yrke.dat", empty + "/Quillowbee/data/yrke.dat"},
        // Only an absolute XDG_DATA_HOME counts.
        {std::nullopt, "C:\\Quillowbee\\Data\\Yrke.dat",
         home + "/.local/share/Quillowbee/Data/Yrke.dat"},
        {"", "C:\\Quillowbee\\Data\\Yrke.dat", home + "/.local/share/Quillowbee/Data/Yrke.dat"},
        {"xdg", "C:\\Quillowbee\\Data\\Yrke.dat", home + "/.local/share/Quillowbee/Data/Yrke.dat"},
        // Any other drive is an ordinary, relative text.
        {xdg, "D:\\Quillowbee\\Data\\Yrke.dat", "D:/Quillowbee/Data/Yrke.dat"},
        {xdg, "C:\\QuillowbeeX\\Data", "C:/QuillowbeeX/Data"},
    };
    testing_support::ScopedEnv homeVariable("HOME", home);
    for (const Case& c : cases) {
        testing_support::ScopedEnv dataHome("XDG_DATA_HOME", c.xdgDataHome);
        EXPECT_EQ(NativePath(c.system), c.native)
            << c.system << " with XDG_DATA_HOME " << c.xdgDataHome.value_or("unset");
    }
}

}  // namespace
