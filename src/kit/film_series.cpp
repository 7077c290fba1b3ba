#include <algorithm>
#include <cmath>

#include "kit/picture_fit.h"
#include "kit/series.h"

namespace kit {
namespace {

using make_demo::Canvas;

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

// How long the film's pictures stay, in milliseconds at normal speed.
constexpr int16_t kFirstDelay = 700;   // each photo's first view: a moment to look
constexpr int16_t kMoveDelay = 200;    // the views of a pan or zoom
constexpr int16_t kChangeDelay = 140;  // the blends from one photo to the next
constexpr int kChangePictures = 2;
// However many photos there are, the film stays short enough to load quickly.
constexpr int kMostMovePictures = 40;

// A 4:3 view of the work picture.
struct View {
    double x, y, w;
    double H() const { return w * 3.0 / 4.0; }
};

// The camera's moves, taken in turn by the photos: in towards the middle, across from left to
// right, out from the middle, down from the top.
struct Move {
    View from, to;
};
Move MoveFor(int photo) {
    const double full = kWorkWidth, near = kWorkWidth * 0.72;
    const View whole{0, 0, full};
    const View middle{(full - near) / 2, (kWorkHeight - near * 0.75) / 2, near};
    const View left{0, (kWorkHeight - near * 0.75) / 2, near};
    const View right{full - near, (kWorkHeight - near * 0.75) / 2, near};
    const View top{(full - near) / 2, 0, near};
    const View bottom{(full - near) / 2, kWorkHeight - near * 0.75, near};
    switch (photo % 4) {
        case 0:
            return {whole, middle};
        case 1:
            return {left, right};
        case 2:
            return {middle, whole};
        default:
            return {top, bottom};
    }
}

View Between(const View& a, const View& b, double t) {
    const double s = t * t * (3 - 2 * t);  // eased: starts and stops gently
    return {a.x + (b.x - a.x) * s, a.y + (b.y - a.y) * s, a.w + (b.w - a.w) * s};
}

void PaintView(cairo_t* cr, const Canvas& work, const View& view, double alpha) {
    cairo_save(cr);
    const double scale = kScreenWidth / view.w;
    cairo_scale(cr, scale, scale);
    cairo_translate(cr, -view.x, -view.y);
    cairo_set_source_surface(cr, work.Surface(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
}

}  // namespace

std::vector<int16_t> WriteFilmSeries(const std::vector<const Canvas*>& works,
                                     const PictureSink& sink) {
    const int photos = static_cast<int>(works.size());
    const int moves = std::clamp(kMostMovePictures / photos, 4, 12);
    std::vector<int16_t> delays;
    Canvas frame(kScreenWidth, kScreenHeight);
    int number = 0;
    for (int p = 0; p < photos; ++p) {
        const Move move = MoveFor(p);
        for (int m = 0; m < moves; ++m) {
            PaintView(frame.Cr(), *works[p], Between(move.from, move.to, m / (moves - 1.0)), 1.0);
            sink(number++, frame);
            delays.push_back(m == 0 ? kFirstDelay : kMoveDelay);
        }
        // A soft change into the next photo's first view (the first photo after the last).
        const int next = (p + 1) % photos;
        for (int k = 1; k <= kChangePictures; ++k) {
            PaintView(frame.Cr(), *works[p], move.to, 1.0);
            PaintView(frame.Cr(), *works[next], MoveFor(next).from, k / (kChangePictures + 1.0));
            sink(number++, frame);
            delays.push_back(kChangeDelay);
        }
    }
    return delays;
}

}  // namespace kit
