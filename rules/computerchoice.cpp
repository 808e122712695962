#include "rules/computerchoice.h"

namespace rules
{

std::optional<TileChoice> chooseComputerTile(const Hand& hand, const Int16 (&chainEnds)[3])
{
    for (Int16 slot = 1; slot <= kSlots; ++slot) {
        for (Int16 end = 1; end <= 2; ++end) {
            for (Int16 field = 1; field <= 2; ++field) {
                if (hand[slot][field] == chainEnds[end])
                    return TileChoice{field, slot, end};
            }
        }
    }
    return std::nullopt;
}

} // namespace rules
