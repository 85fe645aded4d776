#pragma once
// The compile-time table of the 128 triangle fillers: 70 instantiations of
// FillTriangle plus the empty filler.
#include <array>
#include <type_traits>
#include <utility>

#include "graphics/raster/Argb8888Writer.h"
#include "graphics/raster/FillTriangle.h"
#include "graphics/raster/Rgb16Writer.h"
#include "graphics/raster/TriangleDrawers.h"
#include "graphics/raster/Xrgb888Writer.h"

namespace Lumo {

namespace RasterDetail {

// The filler of one index within the group of Writer.
template <class Writer, unsigned Flags>
constexpr TriangleFiller SelectFiller()
{
    constexpr unsigned kTextured = Flags & TRI_TEXTURED;
    if constexpr (!kTextured && !(Flags & TRI_VERTEX_COLOR))
        return &EmptyFiller;
    else if constexpr (!kTextured)
        // Untextured vertex colours: alpha-blend and bilinear bits play no part.
        return &FillTriangle<Flags & (TRI_VERTEX_COLOR | TRI_MODULATE), Writer>;
    else if constexpr (std::is_same_v<Writer, Xrgb888Writer> && (Flags & ~unsigned{TRI_BILINEAR}) == TRI_TEXTURED)
        // The opaque textured fillers write alpha 0xFF, so XRGB shares the ARGB ones.
        return &FillTriangle<Flags, Argb8888Writer>;
    else
        return &FillTriangle<Flags, Writer>;
}

template <class Writer, unsigned Flags>
constexpr TriangleFiller GroupEntry()
{
    return SelectFiller<Writer, Flags>();
}

template <std::size_t... I>
constexpr std::array<TriangleFiller, kTriangleDrawerCount> MakeTable(std::index_sequence<I...>)
{
    return {{(I < 32   ? GroupEntry<Argb8888Writer, I % 32>()
              : I < 64 ? GroupEntry<Xrgb888Writer, I % 32>()
              : I < 96 ? GroupEntry<Rgb565Writer, I % 32>()
                       : GroupEntry<Rgb555Writer, I % 32>())...}};
}

} // namespace RasterDetail

inline constexpr std::array<TriangleFiller, kTriangleDrawerCount> kTriangleDrawerTable =
    RasterDetail::MakeTable(std::make_index_sequence<kTriangleDrawerCount>{});

} // namespace Lumo
