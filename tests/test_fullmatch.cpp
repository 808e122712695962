#include "options/form2.h"
#include "support/playerseat.h"
#include "support/tablefixture.h"

#include <QTest>
#include <algorithm>

// A whole match as a player sees it: every move a click, every pause a real tick of the
// timer, every message box answered as it comes up.
class FullMatchTest : public QObject
{
    Q_OBJECT
private slots:
    void playsAMatchFromStartToEnd();
};

void FullMatchTest::playsAMatchFromStartToEnd()
{
    // Every pause is a real one, so the seed picks a match of two hands.
    constexpr int kTarget = 2;
    Table table(MatchSettings::kPartidas, kTarget);
    Form1& form = table.form;
    // What the options dialog leaves behind when it is accepted.
    options::resetScores(form);
    form.Label5->setCaption(options::matchDescription(MatchSettings::kPartidas, kTarget));
    form.random.seed(8);

    int hands = 0;
    int events = 0;
    int playerTiles = 0;
    auto check = [&](const char* after) {
        const QString problem = invariantViolation(form);
        QVERIFY2(
            problem.isEmpty(),
            qPrintable(
                QStringLiteral("after %1 (event %2): %3").arg(after).arg(events).arg(problem)));
        for (int seat = 1; seat <= rules::kSeats; ++seat)
            QCOMPARE(form.Label3(seat - 1)->Caption(),
                     QString::number(form.settings.scores[std::size_t(seat)]));
    };

    while (form.matchActive) {
        QVERIFY2(++events < 3000, "the match does not end");
        if (form.Command1->Visible()) {
            QCOMPARE(form.Command1->Caption(),
                     hands == 0 ? QString("Comenzar la partida") : QString("Siguiente mano"));
            Table::click(form.Command1);
            ++hands;
            check("the deal");
        } else if (form.humanTurn) {
            const auto moves = legalMoves(form);
            if (moves.empty()) {
                Table::click(form.Command3);
                check("the player's pass");
                continue;
            }
            // Vary the tile, the end and the part of the tile clicked from move to move.
            const PlayerMove move = moves[std::size_t(events) % moves.size()];
            select(form, move.slot, QStringList{"upper", "lower", "divider"}.at(events % 3));
            QVERIFY(form.Shape3->Visible());
            clickMarker(form, move.marker);
            QCOMPARE(tileAt(form, 1, move.slot), QString("99"));
            ++playerTiles;
            check("the player's tile");
        } else {
            QVERIFY2(form.Timer1->isArmed(), "nobody is to move");
            QVERIFY(waitForTick(form));
            check("a tick");
        }
    }

    // The match is over: announced once, at the very end, with the seat that won its hands.
    const QStringList texts = textsOf(table.watch.messages);
    QVERIFY(hands >= 2);
    QVERIFY(playerTiles > 0);
    QCOMPARE(texts.filter(QStringLiteral("Ganador de la mano")).size() +
                 texts.filter(QStringLiteral("Han pasado todos.")).size(),
             hands);
    int winner = 0;
    for (int seat = 1; seat <= rules::kSeats; ++seat) {
        const QString won = QStringLiteral("Ganador de la mano: Jugador %1.").arg(seat);
        QCOMPARE(int(texts.count(won)), int(form.settings.scores[std::size_t(seat)]));
        if (form.settings.scores[std::size_t(seat)] >= kTarget)
            winner = seat;
    }
    QVERIFY(winner != 0);
    QCOMPARE(texts.filter(QStringLiteral("Fin de partida")),
             QStringList{QStringLiteral("Fin de partida. Ha ganado el jugador %1").arg(winner)});
    QCOMPARE(texts.last(), QStringLiteral("Fin de partida. Ha ganado el jugador %1").arg(winner));
    QCOMPARE(form.Label5->Caption(), QString());
    QVERIFY(!form.Command1->Visible());
    QVERIFY(!form.Timer1->isArmed());
    qInfo("%d hands, %d tiles of the player, %d events", hands, playerTiles, events);
}

QTEST_MAIN(FullMatchTest)
#include "test_fullmatch.moc"
