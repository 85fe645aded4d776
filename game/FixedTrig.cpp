#include "game/FixedTrig.h"

namespace Lumo {

namespace {

// Folds the angle into -180..180 the way the game always has (in 64 bits so
// that ever-growing angle counters cannot overflow here).
int32_t FoldDegrees(int degrees)
{
    int64_t a = degrees;
    if (a > 180)
        a -= 360 * (1 + (a - 181) / 360);
    if (a < -180)
        a += 360 * (1 + (-181 - a) / 360);
    return static_cast<int32_t>(a);
}

} // namespace

SinCos FixedSinCos(int degrees)
{
    const int32_t a = FoldDegrees(degrees);
    const int32_t r = (a * 143) >> 3; // radians * 1024; 143/8 ~ 1024 * pi / 180
    const int32_t t2 = ((r * r) / 2) >> 10;
    const int32_t t3 = ((t2 * r) / 3) >> 10;
    const int32_t t4 = ((t3 * r) / 4) >> 10;
    const int32_t t5 = ((t4 * r) / 5) >> 10;
    const int32_t t6 = ((t5 * r) / 6) >> 10;
    const int32_t t7 = ((t6 * r) / 7) >> 10;
    const int32_t t8 = ((t7 * r) / 8) >> 10;
    const int32_t t9 = ((t8 * r) / 9) >> 10;
    return SinCos{r - t3 + t5 - t7 + t9, 1024 - t2 + t4 - t6 + t8};
}

} // namespace Lumo
