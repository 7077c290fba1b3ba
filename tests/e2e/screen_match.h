#pragma once

#include <string>
#include <vector>

#include "image.h"

namespace e2e {

// The program shows its 800 x 600 picture on the whole 1024 x 768 test screen: 1.28 times as
// large both ways, with no bars.
constexpr int kPictureWidth = 800;
constexpr int kPictureHeight = 600;
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// The screen pixel whose middle lies on picture pixel `p`: the program reads it back as `p`.
Point ScreenFromPicture(Point p);
// The picture pixel under the middle of screen pixel `p`.
Point PictureFromScreen(Point p);

// How a screen differs from a picture, seen through the mean colours of small square patches of
// picture pixels. Means even out what lies between the files and the screen (JPEG decoding,
// 16-bit colour, scaling), while a different picture changes whole patches.
struct Difference {
    int patches = 0;  // patches whose mean colour differs by more than the tolerance
    int largest = 0;  // the largest difference of a colour channel in a patch mean
    std::string Describe() const;
};

// Compares two pictures of any sizes that show the same 800 x 600 picture.
Difference Compare(const Image& shown, const Image& expected);

// Whether `shown` is `expected`, as far as the patches tell.
bool Same(const Difference& difference);

// Whether two pictures differ by so much that a screen showing one can never pass for the
// other: a check that waits for `after` where `before` was shown can then fail.
bool Distinct(const Image& before, const Image& after);

}  // namespace e2e
