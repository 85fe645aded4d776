#pragma once
// The rules of PixelOps.h applied to runs of pixels: a SpanWriter writes n
// source pixels over n destination pixels with exactly the results of
// PixelWriter, several pixels at a time with the best vector instructions the
// processor has (AVX2 or SSE2, chosen once at start-up; plain code elsewhere).
// Runs of fully transparent or fully opaque source pixels are skipped or
// copied without blending.
#include <cstdint>
#include <type_traits>

#include "graphics/PixelOps.h"

namespace Lumo::PixelOps {

using SpanFn = void (*)(const Tint& tint, uint32_t* d, const uint32_t* s, int n);
using ConstantFn = void (*)(uint32_t* d, uint32_t s, int n);
using GatherFn = void (*)(const uint32_t* row, const int* columns, uint32_t* out, int n);

template <class Dest, bool Additive, bool Tinted>
constexpr int SpanIndex()
{
    return (std::is_same_v<Dest, DestXrgb> ? 4 : 0) + (Additive ? 2 : 0) + (Tinted ? 1 : 0);
}

struct SpanTable
{
    SpanFn write[8] = {};
    ConstantFn blendConstantXrgb = nullptr; // colour alpha 1..254
    GatherFn gather = nullptr;              // out[i] = row[columns[i]]
};

// The table for this processor (built on first use; any thread).
const SpanTable& ActiveSpanTable();
// The plain (one pixel at a time) table, and every table this processor can
// run, plain first (tests compare them).
const SpanTable& PlainSpanTable();
int AvailableSpanTableCount();
const SpanTable& AvailableSpanTable(int index);

template <class Dest, bool Additive, bool Tinted>
struct SpanWriter
{
    Tint tint;

    void operator()(uint32_t* d, const uint32_t* s, int n) const
    {
        ActiveSpanTable().write[SpanIndex<Dest, Additive, Tinted>()](tint, d, s, n);
    }
};

// Fills n pixels with one colour s of alpha 1..254 (normal mode).
template <class Dest>
void BlendSpanConstant(uint32_t* d, uint32_t s, int n)
{
    if constexpr (std::is_same_v<Dest, DestXrgb>)
    {
        ActiveSpanTable().blendConstantXrgb(d, s, n);
    }
    else
    {
        for (int i = 0; i < n; ++i)
            d[i] = Dest::Blend(d[i], s, s >> 24);
    }
}

} // namespace Lumo::PixelOps
