#pragma once

#include "table/vbtypes.h"

#include <array>

// How a match is counted, up to what, and where every seat stands. Chosen in the options
// dialog for every match; nothing of it outlives the run.
struct MatchSettings {
    static constexpr Int16 kNone = 0;
    static constexpr Int16 kPartidas = 1;
    static constexpr Int16 kFichas = 2;
    static constexpr Int16 kPuntos = 3;

    Int16 matchKind = kNone;
    Int16 matchTarget = 0;
    std::array<Int16, 5> scores{};
};
