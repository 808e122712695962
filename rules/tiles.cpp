#include "rules/tiles.h"

namespace rules
{

Pips pipsOfTile(Int16 number)
{
    // The tiles with higher value h start at number h(h+1)/2 + 1.
    Int16 high = 0;
    while ((high + 1) * (high + 2) / 2 < number)
        ++high;
    return {high, static_cast<Int16>(number - 1 - high * (high + 1) / 2)};
}

} // namespace rules
