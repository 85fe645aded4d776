#pragma once
// Scaling of image-font values by a layer's factor: truncated toward zero and
// limited to +-kMaxScaledValue, so absurd sizes and scales stay finite.
#include <algorithm>
#include <cmath>

namespace Lumo::FontScale {

constexpr double kMaxScaledValue = 65536.0;

inline int Scaled(long long value, double factor)
{
    const double scaled = static_cast<double>(value) * factor;
    if (std::isnan(scaled))
        return 0;
    return static_cast<int>(std::clamp(scaled, -kMaxScaledValue, kMaxScaledValue));
}

} // namespace Lumo::FontScale
