#include "graphics/rgb565_row.h"

#include "display/display_device.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QUILLOWBEE_SHUFFLES 1
#endif

namespace GameUtil {

namespace {

void ConvertPlain(const uint8_t* __restrict from, uint16_t* __restrict to, int32_t width,
                  int32_t x) {
    for (; x < width; ++x) {
        const uint8_t* p = from + static_cast<size_t>(x) * 3;
        to[x] = PackRgb565(p[0], p[1], p[2]);
    }
}

#ifdef QUILLOWBEE_SHUFFLES
// Four pixels from the first 12 of 16 bytes, as four 16-bit values in the low 8 bytes.
__attribute__((target("ssse3"))) inline __m128i FourPixels(__m128i bytes) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i lowHalves =
        _mm_setr_epi8(0, 1, 4, 5, 8, 9, 12, 13, -1, -1, -1, -1, -1, -1, -1, -1);
    const __m128i p = _mm_shuffle_epi8(bytes, spread);  // R | G << 8 | B << 16 a pixel
    const __m128i r = _mm_slli_epi32(_mm_and_si128(p, _mm_set1_epi32(0xF8)), 8);
    const __m128i g = _mm_and_si128(_mm_srli_epi32(p, 5), _mm_set1_epi32(0x7E0));
    const __m128i b = _mm_and_si128(_mm_srli_epi32(p, 19), _mm_set1_epi32(0x1F));
    return _mm_shuffle_epi8(_mm_or_si128(_mm_or_si128(r, g), b), lowHalves);
}

__attribute__((target("ssse3"))) void ConvertShuffled(const uint8_t* __restrict from,
                                                      uint16_t* __restrict to, int32_t width) {
    int32_t x = 0;
    // Eight pixels a step; the second 16-byte read ends 4 bytes past them, so it stops while
    // those bytes are still in the row.
    for (; x + 10 <= width; x += 8) {
        const uint8_t* at = from + static_cast<size_t>(x) * 3;
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 12));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x),
                         _mm_unpacklo_epi64(FourPixels(first), FourPixels(second)));
    }
    ConvertPlain(from, to, width, x);
}
#endif

}  // namespace

void ConvertRgbRow(const uint8_t* from, uint16_t* to, int32_t width) {
#ifdef QUILLOWBEE_SHUFFLES
    static const bool shuffles = __builtin_cpu_supports("ssse3") != 0;
    if (shuffles) {
        ConvertShuffled(from, to, width);
        return;
    }
#endif
    ConvertPlain(from, to, width, 0);
}

}  // namespace GameUtil
