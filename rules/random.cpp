#include "rules/random.h"

#include <chrono>

namespace rules
{

namespace
{

// One 32-bit draw scaled by 2^-32: exact in a double, and at most (2^32 - 1) / 2^32, below 1.
constexpr double kDrawScale = 0x1p-32;
static_assert(std::mt19937::min() == 0 && std::mt19937::max() == 0xFFFF'FFFFU);
static_assert(std::mt19937::max() * kDrawScale < 1.0);

} // namespace

void Random::Randomize()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    engine_.seed(static_cast<std::uint32_t>(std::chrono::nanoseconds(now).count()));
}

double Random::Rnd()
{
    if (scripted_.empty())
        return static_cast<double>(engine_()) * kDrawScale;
    const double value = scripted_.front();
    scripted_.pop_front();
    return value;
}

} // namespace rules
