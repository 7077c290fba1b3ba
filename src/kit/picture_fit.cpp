#include "kit/picture_fit.h"

#include <algorithm>

#include "kit/photo.h"
#include "make_demo/menu_art.h"

namespace kit {

using make_demo::Canvas;

bool Letterboxed(double w, double h) {
    const double aspect = (w / h) / (static_cast<double>(kWorkWidth) / kWorkHeight);
    return std::min(aspect, 1.0 / aspect) < kLeastKeptShare;
}

double FitScale(double w, double h) {
    const double across = kWorkWidth / w;
    const double down = kWorkHeight / h;
    return Letterboxed(w, h) ? std::min(across, down) : std::max(across, down);
}

Canvas FitPhoto(const UprightPhoto& photo, make_demo::Rgb bars) {
    Canvas work(kWorkWidth, kWorkHeight);
    cairo_t* cr = work.Cr();
    const double w = photo.Width(), h = photo.Height();
    const double scale = FitScale(w, h);
    const double left = (kWorkWidth - w * scale) / 2.0;
    const double top = (kWorkHeight - h * scale) / 2.0;
    if (Letterboxed(w, h)) {
        cairo_rectangle(cr, 0, 0, kWorkWidth, kWorkHeight);
        make_demo::Fill(cr, bars);
        make_demo::Confetti(cr, 0, 0, kWorkWidth, kWorkHeight, 70, 7, 0.5);
    }
    // Work picture -> upright photo -> stored pixels.
    cairo_matrix_t toUpright;
    cairo_matrix_init(&toUpright, 1 / scale, 0, 0, 1 / scale, -left / scale, -top / scale);
    const cairo_matrix_t uprightToStored = photo.UprightToStored();
    cairo_matrix_t toStored;
    cairo_matrix_multiply(&toStored, &toUpright, &uprightToStored);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(photo.stored->Surface());
    cairo_pattern_set_matrix(pattern, &toStored);
    cairo_pattern_set_filter(pattern, scale < 0.75 ? CAIRO_FILTER_GOOD : CAIRO_FILTER_BILINEAR);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_rectangle(cr, std::max(0.0, left), std::max(0.0, top),
                    std::min(w * scale, 1.0 * kWorkWidth), std::min(h * scale, 1.0 * kWorkHeight));
    cairo_set_source(cr, pattern);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
    return work;
}

}  // namespace kit
