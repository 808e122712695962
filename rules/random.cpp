#include "rules/random.h"

#include <chrono>

namespace rules
{

void Random::Randomize()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    engine_.seed(static_cast<std::uint32_t>(std::chrono::nanoseconds(now).count()));
}

double Random::Rnd()
{
    if (scripted_.empty())
        return std::uniform_real_distribution<double>(0.0, 1.0)(engine_);
    const double value = scripted_.front();
    scripted_.pop_front();
    return value;
}

} // namespace rules
