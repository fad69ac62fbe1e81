#pragma once

#include <cstdint>
#include <optional>

// Half-to-even rounding of a double to an integer type; nullopt when the rounded value does not
// fit (or the input is NaN), which callers treat as an overflow of that one step.
std::optional<int32_t> RoundToInt32(double value);
