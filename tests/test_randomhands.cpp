#include "rules/scoring.h"
#include "support/tablefixture.h"

#include <QTest>
#include <random>

// Plays many hands with random choices for the player's seat and checks after every single
// event that the table still tells the truth.
class RandomHands : public QObject
{
    Q_OBJECT
private slots:
    void thousandHandsKeepTheInvariants();
};

namespace
{

constexpr int kHands = 1000;
constexpr int kHandsPerKind = 250;

struct Move {
    Int16 halfIndex;
    Int16 marker;
};

std::vector<Move> legalMoves(const Form1& form)
{
    std::vector<Move> moves;
    for (Int16 slot = 1; slot <= rules::kSlots; ++slot) {
        const auto& tile = form.hands[1][slot];
        if (tile[1] == rules::kEmptySlot)
            continue;
        if (form.firstMove && !(tile[1] == 6 && tile[2] == 6))
            continue;
        for (Int16 end = 1; end <= 2; ++end) {
            if (tile[1] == form.chainEnds[end] || tile[2] == form.chainEnds[end])
                moves.push_back({Int16(2 * slot - 2), Int16(end - 1)});
        }
    }
    return moves;
}

} // namespace

void RandomHands::thousandHandsKeepTheInvariants()
{
    Table table;
    Form1& form = table.form;
    std::mt19937 choices(2024);
    rules::Scores lastScores{};

    auto problemAfter = [&](const char* event) {
        QString problem = invariantViolation(form);
        for (int seat = 1; seat <= rules::kSeats; ++seat) {
            if (form.settings.scores[seat] < lastScores[seat])
                problem = QStringLiteral("the score of seat %1 went down").arg(seat);
        }
        lastScores = form.settings.scores;
        return problem.isEmpty() ? problem : QStringLiteral("after %1: %2").arg(event, problem);
    };
#define CHECK_AFTER(event)                                                                         \
    do {                                                                                           \
        const QString problem = problemAfter(event);                                               \
        QVERIFY2(problem.isEmpty(), qPrintable(problem));                                          \
    } while (false)

    for (int hand = 0; hand < kHands; ++hand) {
        if (hand % kHandsPerKind == 0 || !form.matchActive) {
            form.settings.matchKind = Int16(1 + (hand / kHandsPerKind) % 3);
            form.settings.matchTarget = 999;
            form.settings.scores = {};
            form.matchActive = kTrue;
            lastScores = {};
        }
        form.random.seed(std::uint32_t(hand));
        form.Command1_Click();
        CHECK_AFTER("the deal");

        while (form.matchActive && !form.Command1->Visible()) {
            if (form.Timer1->isArmed()) {
                form.Timer1_Timer();
                CHECK_AFTER("a computer turn");
                continue;
            }
            QVERIFY2(form.humanTurn, "the game stopped with nobody to move");
            const auto moves = legalMoves(form);
            const bool mayPass = !form.firstMove;
            if (moves.empty() || (mayPass && choices() % 10 == 0)) {
                QVERIFY(mayPass);
                Table::click(form.Command3);
                CHECK_AFTER("a pass");
                continue;
            }
            const Move move = moves[choices() % moves.size()];
            Table::click(form.Image2(move.halfIndex));
            QVERIFY(form.Shape3->Visible());
            Table::click(form.Image4(move.marker));
            QVERIFY2(!form.Shape3->Visible(), "a tile stayed selected after the move");
            CHECK_AFTER("the player's tile");
        }
        QVERIFY(table.watch.messages.size() >= 1);
    }
}

QTEST_MAIN(RandomHands)
#include "test_randomhands.moc"
