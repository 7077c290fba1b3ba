#include <algorithm>
#include <cmath>

#include "kit/picture_fit.h"
#include "kit/series.h"

namespace kit {
namespace {

using make_demo::Canvas;

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

struct Point {
    double x, y;
};

// One edge of a piece from a to b; a knob of depth `knob` bulges along the normal (nx, ny)
// (flat edge: 0). The knob depends only on the edge, so both neighbours trace the same curve.
void EdgeTo(cairo_t* cr, Point a, Point b, double nx, double ny, double knob) {
    if (knob == 0) {
        cairo_line_to(cr, b.x, b.y);
        return;
    }
    auto at = [&](double t, double out) {
        return Point{a.x + (b.x - a.x) * t + nx * out, a.y + (b.y - a.y) * t + ny * out};
    };
    // The same shape whichever way the edge is walked.
    const Point p1 = at(0.38, 0), c1 = at(0.18, knob * 1.35), c2 = at(0.82, knob * 1.35),
                p2 = at(0.62, 0);
    cairo_line_to(cr, p1.x, p1.y);
    cairo_curve_to(cr, c1.x, c1.y, c2.x, c2.y, p2.x, p2.y);
    cairo_line_to(cr, b.x, b.y);
}

class Puzzle {
  public:
    Puzzle(int columns, int rows) : columns_(columns), rows_(rows) {}

    // The outline of piece (c, r) as the current path.
    void PiecePath(cairo_t* cr, int c, int r) const {
        const double w = 1.0 * kScreenWidth / columns_, h = 1.0 * kScreenHeight / rows_;
        const double depth = 0.22 * std::min(w, h);
        const Point tl{c * w, r * h}, tr{(c + 1) * w, r * h}, br{(c + 1) * w, (r + 1) * h},
            bl{c * w, (r + 1) * h};
        cairo_new_path(cr);
        cairo_move_to(cr, tl.x, tl.y);
        EdgeTo(cr, tl, tr, 0, 1, r > 0 ? depth * Knob(c, r, true) : 0);
        EdgeTo(cr, tr, br, 1, 0, c + 1 < columns_ ? depth * Knob(c + 1, r, false) : 0);
        EdgeTo(cr, br, bl, 0, 1, r + 1 < rows_ ? depth * Knob(c, r + 1, true) : 0);
        EdgeTo(cr, bl, tl, 1, 0, c > 0 ? depth * Knob(c, r, false) : 0);
        cairo_close_path(cr);
    }

    // The order the pieces land in: the corners first, then the edges, the middle last.
    std::vector<int> LandingOrder() const {
        std::vector<int> order(static_cast<size_t>(columns_ * rows_));
        for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
        auto rank = [&](int piece) {
            const int c = piece % columns_, r = piece / columns_;
            const int outer = (c == 0 || c == columns_ - 1) + (r == 0 || r == rows_ - 1);
            return 2 - outer;
        };
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return rank(a) < rank(b); });
        return order;
    }

  private:
    // +1 or -1: whether the knob of the edge above (horizontal) or left of (vertical) piece
    // (c, r) bulges down/right or up/left. A fixed pattern that looks irregular.
    static double Knob(int c, int r, bool horizontal) {
        const int v = (c * 7 + r * 13 + (horizontal ? 5 : 0)) % 4;
        return v < 2 ? 1.0 : -1.0;
    }
    int columns_;
    int rows_;
};

void PaintPhoto(cairo_t* cr, const Canvas& work, double alpha) {
    cairo_save(cr);
    cairo_scale(cr, 1.0 * kScreenWidth / kWorkWidth, 1.0 * kScreenHeight / kWorkHeight);
    cairo_set_source_surface(cr, work.Surface(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
}

}  // namespace

int WritePuzzleSeries(const Canvas& work, int columns, int rows, make_demo::Rgb board,
                      const PictureSink& sink) {
    const Puzzle puzzle(columns, rows);
    Canvas photo(kScreenWidth, kScreenHeight);
    PaintPhoto(photo.Cr(), work, 1.0);

    // The board: the theme's colour with the photo faint on it and every piece outlined.
    Canvas built(kScreenWidth, kScreenHeight);
    cairo_t* cr = built.Cr();
    cairo_rectangle(cr, 0, 0, kScreenWidth, kScreenHeight);
    make_demo::Fill(cr, board);
    cairo_set_source_surface(cr, photo.Surface(), 0, 0);
    cairo_paint_with_alpha(cr, 0.22);
    const double dash[] = {10, 8};
    cairo_set_dash(cr, dash, 2, 0);
    for (int piece = 0; piece < columns * rows; ++piece) {
        puzzle.PiecePath(cr, piece % columns, piece / columns);
        make_demo::Stroke(cr, make_demo::kWhite, 3);
    }
    cairo_set_dash(cr, nullptr, 0, 0);
    sink(0, built);

    int number = 0;
    for (const int piece : puzzle.LandingOrder()) {
        const int c = piece % columns, r = piece / columns;
        // A soft shadow, then the piece of the photo with a thin light edge.
        cairo_save(cr);
        cairo_translate(cr, 5, 6);
        puzzle.PiecePath(cr, c, r);
        make_demo::Fill(cr, make_demo::kInk, 0.25);
        cairo_restore(cr);
        puzzle.PiecePath(cr, c, r);
        cairo_save(cr);
        cairo_clip_preserve(cr);
        cairo_set_source_surface(cr, photo.Surface(), 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
        make_demo::Stroke(cr, make_demo::Lighter(board, 0.5), 2);

        // The newest piece glows golden in its own picture only.
        Canvas shown = built.Crop(0, 0, kScreenWidth, kScreenHeight);
        puzzle.PiecePath(shown.Cr(), c, r);
        make_demo::Stroke(shown.Cr(), make_demo::Hex(0xFFD60A), 7);
        const double w = 1.0 * kScreenWidth / columns, h = 1.0 * kScreenHeight / rows;
        make_demo::Sparkle(shown.Cr(), (c + 0.8) * w, (r + 0.2) * h, 18, make_demo::Hex(0xFFF59D));
        sink(++number, shown);
    }

    // The whole photo, with sparkles in its corners: done!
    cairo_t* done = photo.Cr();
    for (const Point p : {Point{40, 40}, Point{760, 40}, Point{40, 560}, Point{760, 560}}) {
        make_demo::Sparkle(done, p.x, p.y, 24, make_demo::Hex(0xFFF59D));
    }
    sink(++number, photo);
    return number;
}

}  // namespace kit
