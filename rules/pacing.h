#pragma once

#include "table/vbtypes.h"

namespace rules
{

// The two pauses a player sees: after a computer seat's turn, and after the player's own tile.
constexpr Int16 kComputerPace = 100;
constexpr Int16 kHumanPace = 500;

} // namespace rules
