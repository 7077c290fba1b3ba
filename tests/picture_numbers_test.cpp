#include "activities/picture_numbers.h"

#include <gtest/gtest.h>

#include "content/data_file_reader.h"
#include "support/form_harness.h"

namespace {

TEST(PictureNumbers, CountFromOneWithTwoDigitsUpToNineThenPlain) {
    const std::pair<int32_t, const char*> cases[] = {
        {0, "01"},  {1, "02"},   {8, "09"},        {9, "10"},        {10, "11"},
        {98, "99"}, {99, "100"}, {32766, "32767"}, {32767, "32768"},
    };
    for (const auto& [n, text] : cases) {
        EXPECT_EQ(ActivityPictures::NumberText(n), text) << n;
    }
}

TEST(PictureNumbers, BuildUpPathHasNoHardDiskPrefix) {
    testing_support::FormHarness harness;
    DataFileReader::Item(13).folder = "Musik\\Trumpet\\";
    harness.form.selectedItem = 13;
    struct Case {
        bool simple;
        bool movieOnHd;
        int16_t n;
        const char* path;
    };
    const Case cases[] = {
        {true, false, 0, "Musik\\Trumpet\\Enkel\\Byggupp\\01.jpg"},
        {false, false, 9, "Musik\\Trumpet\\Komplex\\Byggupp\\10.jpg"},
        {false, true, 11, "Musik\\Trumpet\\Komplex\\Byggupp\\12.jpg"},
    };
    for (const Case& c : cases) {
        harness.form.settings.simpleContent = c.simple;
        harness.form.settings.movieOnHd = c.movieOnHd;
        EXPECT_EQ(harness.form.GetBuildUpPicturePath(c.n), c.path);
    }
    EXPECT_EQ(ActivityPictures::FilmFolder(true), "Enkel\\Film\\");
    EXPECT_EQ(ActivityPictures::FilmFolder(false), "Komplex\\Film\\");
}

}  // namespace
