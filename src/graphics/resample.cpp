#include "graphics/resample.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "graphics/rgb565_row.h"

namespace GameUtil {

namespace {

// The source pixels and weights that make up each destination pixel along one axis.
struct Taps {
    std::vector<int32_t> first;
    std::vector<int32_t> count;
    std::vector<float> weights;  // `count` weights from offset first-index * maxTaps
    int32_t maxTaps = 0;
};

Taps MakeTaps(int32_t source, int32_t dest) {
    Taps taps;
    const double scale = static_cast<double>(source) / dest;
    taps.maxTaps = scale > 1.0 ? static_cast<int32_t>(std::ceil(scale)) + 1 : 2;
    taps.first.resize(dest);
    taps.count.resize(dest);
    taps.weights.assign(static_cast<size_t>(dest) * taps.maxTaps, 0.0f);
    for (int32_t d = 0; d < dest; ++d) {
        float* w = &taps.weights[static_cast<size_t>(d) * taps.maxTaps];
        if (scale > 1.0) {
            const double from = d * scale;
            const double to = std::min((d + 1) * scale, static_cast<double>(source));
            const auto first = static_cast<int32_t>(std::floor(from));
            int32_t n = 0;
            for (int32_t s = first; s < to && n < taps.maxTaps; ++s, ++n) {
                const double overlap = std::min<double>(s + 1, to) - std::max<double>(s, from);
                w[n] = static_cast<float>(overlap / scale);
            }
            taps.first[d] = first;
            taps.count[d] = n;
        } else {
            const double centre = (d + 0.5) * scale - 0.5;
            const double clamped = std::clamp(centre, 0.0, static_cast<double>(source - 1));
            const auto first = static_cast<int32_t>(std::floor(clamped));
            const auto frac = static_cast<float>(clamped - first);
            taps.first[d] = first;
            if (first + 1 < source && frac > 0.0f) {
                w[0] = 1.0f - frac;
                w[1] = frac;
                taps.count[d] = 2;
            } else {
                w[0] = 1.0f;
                taps.count[d] = 1;
            }
        }
    }
    return taps;
}

// `rowAt(y)` gives the destination's row y.
template <typename RowAt>
void Stretch(const platform::DecodedPicture& picture, int32_t dw, int32_t dh, RowAt rowAt) {
    if (picture.width == dw && picture.height == dh) {
        for (int32_t y = 0; y < dh; ++y) {
            ConvertRgbRow(picture.pixels.data() + static_cast<size_t>(y) * picture.width * 3,
                          rowAt(y), dw);
        }
        return;
    }
    const Taps columns = MakeTaps(picture.width, dw);
    const Taps rows = MakeTaps(picture.height, dh);

    // Horizontal pass into floats, one row of the source at a time.
    std::vector<float> wide(static_cast<size_t>(dw) * picture.height * 3);
    for (int32_t y = 0; y < picture.height; ++y) {
        const uint8_t* from = picture.pixels.data() + static_cast<size_t>(y) * picture.width * 3;
        float* to = wide.data() + static_cast<size_t>(y) * dw * 3;
        for (int32_t x = 0; x < dw; ++x) {
            const float* w = &columns.weights[static_cast<size_t>(x) * columns.maxTaps];
            float r = 0, g = 0, b = 0;
            for (int32_t t = 0; t < columns.count[x]; ++t) {
                const uint8_t* p = from + static_cast<size_t>(columns.first[x] + t) * 3;
                r += w[t] * p[0];
                g += w[t] * p[1];
                b += w[t] * p[2];
            }
            to[3 * x] = r;
            to[3 * x + 1] = g;
            to[3 * x + 2] = b;
        }
    }
    // Vertical pass into the surface.
    for (int32_t y = 0; y < dh; ++y) {
        const float* w = &rows.weights[static_cast<size_t>(y) * rows.maxTaps];
        uint16_t* to = rowAt(y);
        for (int32_t x = 0; x < dw; ++x) {
            float r = 0, g = 0, b = 0;
            for (int32_t t = 0; t < rows.count[y]; ++t) {
                const float* p =
                    wide.data() + (static_cast<size_t>(rows.first[y] + t) * dw + x) * 3;
                r += w[t] * p[0];
                g += w[t] * p[1];
                b += w[t] * p[2];
            }
            auto channel = [](float v) {
                return static_cast<uint32_t>(std::clamp(v + 0.5f, 0.0f, 255.0f));
            };
            to[x] = PackRgb565(channel(r), channel(g), channel(b));
        }
    }
}

}  // namespace

void StretchPicture(const platform::DecodedPicture& picture, Surface& surface) {
    Stretch(picture, surface.Width(), surface.Height(), [&](int32_t y) { return surface.Row(y); });
}

void StretchPicture(const platform::DecodedPicture& picture, uint16_t* pixels, int32_t width,
                    int32_t height) {
    Stretch(picture, width, height,
            [&](int32_t y) { return pixels + static_cast<size_t>(y) * width; });
}

}  // namespace GameUtil
