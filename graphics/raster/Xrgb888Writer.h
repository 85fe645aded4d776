#pragma once
// Pixel writes into 32-bit XRGB destinations: alpha is always written 0xFF.
#include <cstddef>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "graphics/raster/FixedPoint.h"

namespace Lumo {

struct Xrgb888Writer
{
    using Pixel = uint32_t;

    static size_t RowBytes(int pitch) { return (static_cast<uint32_t>(pitch) >> 2) * 4u; }

    static void Opaque(Pixel* pixel, uint32_t rgb) { *pixel = rgb | 0xFF000000u; }

    // Each channel: ((d * (255 - a)) >> 8) + term; the sum stays within 8 bits.
    static void Blend(Pixel* pixel, uint32_t term, uint32_t a)
    {
        *pixel = (ScaleChannels(*pixel, 255 - a) + (term & 0x00FFFFFFu)) | 0xFF000000u;
    }

#if defined(__SSE2__)
    static constexpr bool kBlendsFourAtOnce = true;

    // Four pixels at once: each channel ((d * (255 - a)) >> 8) + ((s * a) >> 8)
    // for an unpremultiplied source s, alpha 0xFF. alpha: a per 32-bit lane,
    // 0..255. Every product fits 16 bits, so the lanes give the exact values.
    static __m128i BlendUnpremultiplied4(__m128i d, __m128i s, __m128i alpha)
    {
        const __m128i zero = _mm_setzero_si128();
        __m128i a16 = _mm_packs_epi32(alpha, alpha);
        a16 = _mm_unpacklo_epi16(a16, a16);
        const __m128i aLow = _mm_unpacklo_epi32(a16, a16);
        const __m128i aHigh = _mm_unpackhi_epi32(a16, a16);
        const __m128i full = _mm_set1_epi16(255);
        const auto mix = [](__m128i dest, __m128i src, __m128i a, __m128i inv) {
            return _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(dest, inv), 8),
                                 _mm_srli_epi16(_mm_mullo_epi16(src, a), 8));
        };
        const __m128i low = mix(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(s, zero), aLow,
                                _mm_sub_epi16(full, aLow));
        const __m128i high = mix(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero), aHigh,
                                 _mm_sub_epi16(full, aHigh));
        return _mm_or_si128(_mm_packus_epi16(low, high), _mm_set1_epi32(static_cast<int>(0xFF000000u)));
    }
#endif
};

} // namespace Lumo
