#include "platform/Rounding.h"

#include <cmath>
#include <limits>

namespace {

template <typename Int>
std::optional<Int> roundTo(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min())
          && rounded <= static_cast<double>(std::numeric_limits<Int>::max())))
        return std::nullopt;
    return static_cast<Int>(rounded);
}

} // namespace

std::optional<int32_t> RoundToInt32(double value) { return roundTo<int32_t>(value); }
