#pragma once

#include "table/vbtypes.h"

namespace rules
{

constexpr Int16 kSeats = 4;
constexpr Int16 kSlots = 7;
constexpr Int16 kTiles = 28;
constexpr Int16 kDoubleSix = 28;
constexpr Int16 kHumanSeat = 1;
// A slot whose tile has been played; no pip value is ever 9.
constexpr Int16 kEmptySlot = 9;

// hands(seat, slot, field), indexed from 0 with index 0 unused, as the game addresses them.
using Hand = Int16[kSlots + 1][3];

struct Pips {
    Int16 high;
    Int16 low;
};

// Tile number 1..28 to its pips: numbers run by higher value, then by lower value.
Pips pipsOfTile(Int16 number);

} // namespace rules
