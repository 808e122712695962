#include "gamesetup.h"
#include "options/form2.h"

#include <QTest>
#include <algorithm>

// A whole match as a player sees it: every move a click, every pause a real tick of the
// timer, every message box answered as it comes up.
class FullMatchTest : public QObject
{
    Q_OBJECT
private slots:
    void playsAMatchFromStartToEnd_data();
    void playsAMatchFromStartToEnd();
};

namespace
{

// The player's legal moves, in hand order and end 1 before end 2.
std::vector<game::PlayerMove> legalMoves(const Form1& form)
{
    std::vector<game::PlayerMove> moves;
    for (int slot = 1; slot <= rules::kSlots; ++slot) {
        const auto& tile = form.hands[1][slot];
        if (tile[1] == rules::kEmptySlot)
            continue;
        if (form.firstMove) {
            if (tile[1] == 6 && tile[2] == 6)
                moves.push_back({slot, 0});
            continue;
        }
        for (int end = 1; end <= 2; ++end) {
            if (tile[1] == form.chainEnds[end] || tile[2] == form.chainEnds[end])
                moves.push_back({slot, end - 1});
        }
    }
    return moves;
}

} // namespace

void FullMatchTest::playsAMatchFromStartToEnd_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("target");
    QTest::addColumn<unsigned>("seed");
    // Every pause is a real one, so the seed picks a match of two hands.
    QTest::newRow("Partidas to 2") << int(MatchSettings::kPartidas) << 2 << 8u;
}

void FullMatchTest::playsAMatchFromStartToEnd()
{
    QFETCH(int, kind);
    QFETCH(int, target);
    QFETCH(unsigned, seed);
    Table table{Int16(kind), Int16(target)};
    Form1& form = table.form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    game::placeAnchorAsAtStartUp(form);
    // What the options dialog leaves behind when it is accepted.
    options::resetScores(form);
    form.Label5->setCaption(options::matchDescription(Int16(kind), Int16(target)));
    form.random.seed(seed);

    int hands = 0;
    int events = 0;
    int playerTiles = 0;
    int playerPasses = 0;
    auto check = [&](const char* after) {
        const QString problem = invariantViolation(form);
        QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("after %1 (event %2): %3")
                                                   .arg(QLatin1String(after))
                                                   .arg(events)
                                                   .arg(problem)));
        if (form.humanTurn)
            QVERIFY2(!form.Timer1->isArmed(), "Timer1 armed during the player's turn");
        for (int seat = 1; seat <= rules::kSeats; ++seat)
            QCOMPARE(form.Label3(seat - 1)->Caption(),
                     QString::number(form.settings.scores[std::size_t(seat)]));
    };

    QVERIFY(form.Command1->Visible());
    QCOMPARE(form.Command1->Caption(), QString("Comenzar la partida"));
    while (form.matchActive) {
        QVERIFY2(++events < 3000, "the match does not end");
        if (form.Command1->Visible()) {
            QCOMPARE(form.Command1->Caption(),
                     hands == 0 ? QString("Comenzar la partida") : QString("Siguiente mano"));
            Table::click(form.Command1);
            ++hands;
            check("the deal");
            continue;
        }
        if (form.humanTurn) {
            const auto moves = legalMoves(form);
            if (moves.empty()) {
                QVERIFY(form.Command3->Visible());
                Table::click(form.Command3);
                ++playerPasses;
                check("the player's pass");
                continue;
            }
            // Vary the tile, the end and the part of the tile clicked from move to move.
            const game::PlayerMove move = moves[std::size_t(events) % moves.size()];
            switch (events % 3) {
            case 0:
                game::clickUpperHalf(form, move.slot);
                break;
            case 1:
                game::clickLowerHalf(form, move.slot);
                break;
            default:
                game::clickDivider(form, move.slot);
                break;
            }
            QVERIFY(form.Shape3->Visible());
            QVERIFY(form.Image4(move.marker)->Visible());
            game::clickMarker(form, move.marker);
            QCOMPARE(form.humanTurn, kFalse);
            QCOMPARE(game::tileAt(form, 1, move.slot), QString("99"));
            ++playerTiles;
            check("the player's tile");
            continue;
        }
        QVERIFY2(form.Timer1->isArmed(), "nobody is to move");
        QVERIFY(game::waitForTick(form));
        check("a tick");
    }

    // The match is over: announced once, at the very end, with the right winner.
    const QStringList texts = textsOf(table.watch.messages);
    QVERIFY(hands >= 2);
    QVERIFY(playerTiles > 0);
    const QString last = texts.last();
    QCOMPARE(table.watch.messages.back().icon, QMessageBox::Information);
    QCOMPARE(texts.filter(QStringLiteral("Fin de partida")).size(), 1);
    const auto& scores = form.settings.scores;
    const int handEnds = int(texts.filter(QStringLiteral("Ganador de la mano")).size() +
                             texts.filter(QStringLiteral("Han pasado todos.")).size());
    QCOMPARE(handEnds, hands);
    int winner = 0;
    if (kind == MatchSettings::kPartidas) {
        for (int seat = 1; seat <= rules::kSeats; ++seat) {
            const QString won = QStringLiteral("Ganador de la mano: Jugador %1.").arg(seat);
            QCOMPARE(int(texts.count(won)), int(scores[std::size_t(seat)]));
            if (scores[std::size_t(seat)] >= target)
                winner = seat;
        }
    } else {
        const Int16 lowest = *std::min_element(scores.begin() + 1, scores.end());
        QCOMPARE(std::count(scores.begin() + 1, scores.end(), lowest), 1);
        winner = int(std::find(scores.begin() + 1, scores.end(), lowest) - scores.begin());
        QVERIFY(*std::max_element(scores.begin() + 1, scores.end()) >= target);
    }
    QVERIFY(winner != 0);
    QCOMPARE(last, QStringLiteral("Fin de partida. Ha ganado el jugador %1").arg(winner));
    QCOMPARE(form.matchActive, kFalse);
    QCOMPARE(form.Label5->Caption(), QString());
    QVERIFY(!form.Command1->Visible());
    QVERIFY(!form.Timer1->isArmed());
    QCOMPARE(form.humanTurn, kFalse);
    qInfo("%d hands, %d tiles and %d passes by the player, %d events", hands, playerTiles,
          playerPasses, events);
}

QTEST_MAIN(FullMatchTest)
#include "test_fullmatch.moc"
