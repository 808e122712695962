#include "rules/scoring.h"

#include "options/matchsettings.h"

#include <algorithm>
#include <limits>

namespace rules
{

namespace
{
// The search for the lowest score starts here, well above any target.
constexpr Int16 kLowestSearchStart = 1000;
} // namespace

Int16 handCredit(Int16 matchKind, Int16 tilesLeft, const Hand& hand)
{
    if (tilesLeft == 0)
        return matchKind == MatchSettings::kPartidas ? 1 : 0;
    if (matchKind == MatchSettings::kFichas)
        return tilesLeft;
    if (matchKind != MatchSettings::kPuntos)
        return 0;
    Int16 pips = 0;
    for (Int16 slot = 1; slot <= kSlots; ++slot) {
        for (Int16 field = 1; field <= 2; ++field) {
            if (hand[slot][field] != kEmptySlot)
                pips = static_cast<Int16>(pips + hand[slot][field]);
        }
    }
    return pips;
}

Lowest findLowest(const Scores& scores, Int16 startAt)
{
    Lowest result{0, startAt};
    for (Int16 seat = 1; seat <= kSeats; ++seat) {
        if (scores[seat] < result.lowest)
            result = {seat, scores[seat]};
    }
    return result;
}

MatchDecision decideMatch(Int16 matchKind, Int16 matchTarget, const Scores& scores)
{
    const auto* first = std::find_if(scores.begin() + 1, scores.end(),
                                     [matchTarget](Int16 score) { return score >= matchTarget; });
    if (first == scores.end())
        return {MatchDecision::GoesOn, 0};
    if (matchKind == MatchSettings::kPartidas)
        return {MatchDecision::Won, static_cast<Int16>(first - scores.begin())};

    Lowest lowest = findLowest(scores, kLowestSearchStart);
    // After very many tie-break hands every seat may stand at 1000 or more; the lowest
    // score still decides, as a player would expect.
    if (lowest.winner == 0)
        lowest = findLowest(scores, std::numeric_limits<Int16>::max());
    const auto sharing = std::count(scores.begin() + 1, scores.end(), lowest.lowest);
    if (sharing == 1)
        return {MatchDecision::Won, lowest.winner};
    return {MatchDecision::TieBreak, 0};
}

} // namespace rules
