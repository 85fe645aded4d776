// The span loops of PixelSpanBody.inc on SSE2: four pixels at a time.
#include "graphics/PixelSpans.h"
#include "graphics/PixelSpanTables.h"

#if defined(__SSE2__)
#include <emmintrin.h>

namespace Lumo::PixelOps::Sse2 {

struct Vec
{
    using Reg = __m128i;
    static constexpr int kPixels = 4;

    static Reg Load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static void Store(uint32_t* p, Reg r) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), r); }
    static Reg Zero() { return _mm_setzero_si128(); }
    static Reg Set32(uint32_t v) { return _mm_set1_epi32(static_cast<int>(v)); }
    static Reg Set16(uint16_t v) { return _mm_set1_epi16(static_cast<short>(v)); }
    static Reg SetChannels16(uint32_t b, uint32_t g, uint32_t r, uint32_t a)
    {
        auto s = [](uint32_t v) { return static_cast<short>(v); };
        return _mm_setr_epi16(s(b), s(g), s(r), s(a), s(b), s(g), s(r), s(a));
    }
    static Reg UnpackLo8(Reg a, Reg zero) { return _mm_unpacklo_epi8(a, zero); }
    static Reg UnpackHi8(Reg a, Reg zero) { return _mm_unpackhi_epi8(a, zero); }
    static Reg Pack16(Reg lo, Reg hi) { return _mm_packus_epi16(lo, hi); }
    static Reg Mul16(Reg a, Reg b) { return _mm_mullo_epi16(a, b); }
    static Reg Add16(Reg a, Reg b) { return _mm_add_epi16(a, b); }
    static Reg Sub16(Reg a, Reg b) { return _mm_sub_epi16(a, b); }
    static Reg Shr16(Reg a) { return _mm_srli_epi16(a, 8); }
    // (x * f + 255) >> 8 per lane, x and f in 0..255.
    static Reg Scale16(Reg x, Reg f) { return Shr16(Add16(Mul16(x, f), Set16(255))); }
    static Reg And(Reg a, Reg b) { return _mm_and_si128(a, b); }
    static Reg Or(Reg a, Reg b) { return _mm_or_si128(a, b); }
    static Reg Select(Reg mask, Reg a, Reg b) { return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b)); }
    static Reg CmpEq32(Reg a, Reg b) { return _mm_cmpeq_epi32(a, b); }
    static bool AllSet(Reg mask) { return _mm_movemask_epi8(mask) == 0xFFFF; }
    static Reg BroadcastAlpha16(Reg r) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(r, 0xFF), 0xFF); }
    static Reg AddSat8(Reg a, Reg b) { return _mm_adds_epu8(a, b); }
    static Reg Gather(const uint32_t* row, const int* columns)
    {
        return _mm_setr_epi32(static_cast<int>(row[columns[0]]), static_cast<int>(row[columns[1]]),
                              static_cast<int>(row[columns[2]]), static_cast<int>(row[columns[3]]));
    }
};

#include "graphics/PixelSpanBody.inc"

} // namespace Lumo::PixelOps::Sse2

namespace Lumo::PixelOps {

const SpanTable* Sse2SpanTable()
{
    static const SpanTable table = Sse2::MakeSpanTable();
    return &table;
}

} // namespace Lumo::PixelOps

#else

namespace Lumo::PixelOps {

const SpanTable* Sse2SpanTable()
{
    return nullptr;
}

} // namespace Lumo::PixelOps

#endif
