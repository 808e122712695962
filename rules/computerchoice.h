#pragma once

#include "rules/tiles.h"

#include <optional>

namespace rules
{

struct TileChoice {
    Int16 field;
    Int16 slot;
    Int16 end;
};

// The computer seats' whole strategy: the first slot that fits, end 1 before end 2, field 1
// before field 2.
std::optional<TileChoice> chooseComputerTile(const Hand& hand, const Int16 (&chainEnds)[3]);

} // namespace rules
