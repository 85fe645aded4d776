// The span loops of PixelSpanBody.inc on AVX2: eight pixels at a time. Only
// this file's own functions are compiled for AVX2, and they run only on
// processors that have it (PixelSpans.cpp checks).
#include "graphics/PixelSpans.h"
#include "graphics/PixelSpanTables.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

namespace Lumo::PixelOps::Avx2 {

struct Vec
{
    using Reg = __m256i;
    static constexpr int kPixels = 8;

    static Reg Load(const uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static void Store(uint32_t* p, Reg r) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), r); }
    static Reg Zero() { return _mm256_setzero_si256(); }
    static Reg Set32(uint32_t v) { return _mm256_set1_epi32(static_cast<int>(v)); }
    static Reg Set16(uint16_t v) { return _mm256_set1_epi16(static_cast<short>(v)); }
    static Reg SetChannels16(uint32_t b, uint32_t g, uint32_t r, uint32_t a)
    {
        const short sb = static_cast<short>(b), sg = static_cast<short>(g), sr = static_cast<short>(r),
                    sa = static_cast<short>(a);
        return _mm256_setr_epi16(sb, sg, sr, sa, sb, sg, sr, sa, sb, sg, sr, sa, sb, sg, sr, sa);
    }
    static Reg UnpackLo8(Reg a, Reg zero) { return _mm256_unpacklo_epi8(a, zero); }
    static Reg UnpackHi8(Reg a, Reg zero) { return _mm256_unpackhi_epi8(a, zero); }
    static Reg Pack16(Reg lo, Reg hi) { return _mm256_packus_epi16(lo, hi); }
    static Reg Mul16(Reg a, Reg b) { return _mm256_mullo_epi16(a, b); }
    static Reg Add16(Reg a, Reg b) { return _mm256_add_epi16(a, b); }
    static Reg Sub16(Reg a, Reg b) { return _mm256_sub_epi16(a, b); }
    static Reg Shr16(Reg a) { return _mm256_srli_epi16(a, 8); }
    static Reg Scale16(Reg x, Reg f) { return Shr16(Add16(Mul16(x, f), Set16(255))); }
    static Reg And(Reg a, Reg b) { return _mm256_and_si256(a, b); }
    static Reg Or(Reg a, Reg b) { return _mm256_or_si256(a, b); }
    static Reg Select(Reg mask, Reg a, Reg b) { return _mm256_blendv_epi8(b, a, mask); }
    static Reg CmpEq32(Reg a, Reg b) { return _mm256_cmpeq_epi32(a, b); }
    static bool AllSet(Reg mask) { return _mm256_movemask_epi8(mask) == -1; }
    static Reg BroadcastAlpha16(Reg r) { return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(r, 0xFF), 0xFF); }
    static Reg AddSat8(Reg a, Reg b) { return _mm256_adds_epu8(a, b); }
    static Reg Gather(const uint32_t* row, const int* columns)
    {
        const __m256i index = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns));
        return _mm256_i32gather_epi32(reinterpret_cast<const int*>(row), index, 4);
    }
};

#include "graphics/PixelSpanBody.inc"

const SpanTable* BuildTable()
{
    static const SpanTable table = MakeSpanTable();
    return &table;
}

} // namespace Lumo::PixelOps::Avx2

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

namespace Lumo::PixelOps {

const SpanTable* Avx2SpanTable()
{
    if (!__builtin_cpu_supports("avx2"))
        return nullptr;
    return Avx2::BuildTable();
}

} // namespace Lumo::PixelOps

#else

namespace Lumo::PixelOps {

const SpanTable* Avx2SpanTable()
{
    return nullptr;
}

} // namespace Lumo::PixelOps

#endif
