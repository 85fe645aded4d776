#pragma once
// The game's fixed-point sine and cosine: whole degrees in, 1024 = 1.0 out.
// A short Taylor series in 32-bit integer arithmetic; it is not exact near the
// ends of its range (sin 90 = 1025, cos 180 = -1000), and every caller relies on
// exactly these values, so it must not be replaced by a library function.
#include <cstdint>

namespace Lumo {

struct SinCos
{
    int32_t sine;
    int32_t cosine;
};

// Any int is accepted; it is folded into -180..180 first.
SinCos FixedSinCos(int degrees);

} // namespace Lumo
