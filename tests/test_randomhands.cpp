#include "rules/scoring.h"
#include "support/playerseat.h"
#include "support/tablefixture.h"

#include <QTest>
#include <random>

// Plays many hands of every kind of match with random choices for the player's seat and checks
// after every single event that the table still tells the truth.
class RandomHands : public QObject
{
    Q_OBJECT
private slots:
    void thousandHandsKeepTheInvariants();
};

void RandomHands::thousandHandsKeepTheInvariants()
{
    constexpr int kHands = 1000;
    constexpr int kHandsPerKind = 250;
    Table table;
    Form1& form = table.form;
    std::mt19937 dice(2024);
    rules::Scores lastScores{};
    QString problem;
    int events = 0;
    for (int hand = 0; hand < kHands && problem.isEmpty(); ++hand) {
        if (hand % kHandsPerKind == 0 || !form.matchActive) {
            form.settings.matchKind = Int16(1 + (hand / kHandsPerKind) % 3);
            form.settings.matchTarget = 999;
            form.settings.scores = {};
            form.matchActive = kTrue;
            lastScores = {};
        }
        form.random.seed(std::uint32_t(hand));
        form.Command1_Click();
        // One event at a time, the player's seat moving as in the soak, checked before and
        // after every event.
        while (problem.isEmpty() && form.matchActive && !form.Command1->Visible()) {
            problem = invariantViolation(form);
            for (int seat = 1; seat <= rules::kSeats; ++seat) {
                if (form.settings.scores[seat] < lastScores[seat])
                    problem = QStringLiteral("the score of seat %1 went down").arg(seat);
            }
            lastScores = form.settings.scores;
            if (!form.Timer1->isArmed() && !form.humanTurn)
                problem = QStringLiteral("the game stopped with nobody to move");
            else if (problem.isEmpty())
                playHandToItsEnd(form, dice, 1);
            // The player's seat lays a tile in one step, selection and marker.
            if (form.Shape3->Visible())
                problem = QStringLiteral("a tile stayed selected after the player's move");
            ++events;
        }
        if (problem.isEmpty())
            problem = invariantViolation(form);
        if (!problem.isEmpty())
            problem = QStringLiteral("hand %1, event %2: %3").arg(hand).arg(events).arg(problem);
    }
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QVERIFY(table.watch.messages.size() >= std::size_t(kHands));
}

QTEST_MAIN(RandomHands)
#include "test_randomhands.moc"
