#pragma once

#include "rules/tiles.h"

#include <array>

namespace rules
{

using Scores = std::array<Int16, 5>;

// What one seat adds to its score at the end of a hand, holding tilesLeft tiles.
Int16 handCredit(Int16 matchKind, Int16 tilesLeft, const Hand& hand);

struct Lowest {
    Int16 winner; // 0 when no score lies below the start
    Int16 lowest;
};

// The first seat, in order 1 to 4, with the lowest score below startAt.
Lowest findLowest(const Scores& scores, Int16 startAt);

struct MatchDecision {
    enum Outcome { GoesOn, Won, TieBreak } outcome;
    Int16 winner;
};

MatchDecision decideMatch(Int16 matchKind, Int16 matchTarget, const Scores& scores);

} // namespace rules
