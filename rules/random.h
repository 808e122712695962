#pragma once

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <random>

namespace rules
{

// The game's one source of chance: uniform values in [0, 1). Values queued with script() come
// out first, so that a deal can be laid out exactly.
class Random
{
public:
    void Randomize();
    void seed(std::uint32_t value) { engine_.seed(value); }
    void script(std::initializer_list<double> values) { scripted_.insert(scripted_.end(), values); }
    double Rnd();

private:
    std::mt19937 engine_;
    std::deque<double> scripted_;
};

} // namespace rules
