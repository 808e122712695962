#include "support/playerseat.h"

#include "support/tablefixture.h"

namespace
{
// One turn in this many the player passes although a tile fits.
constexpr unsigned kPassEvery = 10;
} // namespace

std::vector<PlayerMove> legalMoves(const Form1& form)
{
    std::vector<PlayerMove> moves;
    for (int slot = 1; slot <= rules::kSlots; ++slot) {
        const auto& tile = form.hands[rules::kHumanSeat][slot];
        if (tile[1] == rules::kEmptySlot)
            continue;
        for (int end = 1; end <= 2; ++end) {
            const bool fits =
                form.firstMove ? tile[1] == 6 && tile[2] == 6
                               : tile[1] == form.chainEnds[end] || tile[2] == form.chainEnds[end];
            if (fits)
                moves.push_back({slot, end - 1});
        }
    }
    return moves;
}

bool playHandToItsEnd(Form1& form, std::mt19937& dice, int mostSteps)
{
    for (int step = 0; form.matchActive && !form.Command1->isVisible(); ++step) {
        if (step >= mostSteps)
            return false;
        if (form.Timer1->isArmed()) {
            form.Timer1_Timer();
            continue;
        }
        if (!form.humanTurn)
            return false;
        const auto moves = legalMoves(form);
        if (moves.empty() || (!form.firstMove && dice() % kPassEvery == 0)) {
            Table::click(form.Command3);
            continue;
        }
        const PlayerMove move = moves[dice() % moves.size()];
        // Either half of the tile selects it.
        Table::click(form.Image2(2 * move.slot - 2 + static_cast<int>(dice() % 2)));
        Table::click(form.Image4(move.marker));
    }
    return true;
}
