#pragma once

#include <cstdint>

// The game keeps its numbers in 16 bits and its flags as 0 and -1, as it was designed.
using Int16 = std::int16_t;
using VbBool = std::int16_t;
constexpr VbBool kTrue = -1;
constexpr VbBool kFalse = 0;
