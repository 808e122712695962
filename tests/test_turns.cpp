#include "gamesetup.h"
#include "rules/computerchoice.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

// The turn step: who moves when, how the computer seats choose, pass, block, and the pacing
// timer.
class TurnsTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void computerChoosesInItsOrder_data();
    void computerChoosesInItsOrder();
    void computerLaysItsChoiceOnTheTable_data();
    void computerLaysItsChoiceOnTheTable();
    void computerWithoutAFitPassesSilently();
    void turnsRunFromTheDoubleSix_data();
    void turnsRunFromTheDoubleSix();
    void computerOpensUprightAtTheAnchor_data();
    void computerOpensUprightAtTheAnchor();
    void playerIsOfferedTheOpeningAtTheCentre();
    void blockCompletedByThePlayersPass_data();
    void blockCompletedByThePlayersPass();
    void fourthPassByAComputerSeatEndsTheHand();
    void computerLayingItsLastTileEndsTheHand();
    void timerPacesTheTurns();
    void passButtonIsInertAfterTheMove();

private:
    // Deals the hand where the player opens and the three computer seats answer, and brings
    // it to the player's second turn: 3 open at end 1, 4 at end 2.
    void bringToPlayersSecondTurn();

    std::unique_ptr<Table> table;
};

namespace
{

QString choiceText(const std::optional<rules::TileChoice>& choice)
{
    if (!choice)
        return QStringLiteral("pass");
    return QStringLiteral("slot %1 end %2 field %3")
        .arg(choice->slot)
        .arg(choice->end)
        .arg(choice->field);
}

} // namespace

void TurnsTest::init()
{
    table = std::make_unique<Table>();
    QVERIFY(QTest::qWaitForWindowExposed(&table->form));
    game::placeAnchorAsAtStartUp(table->form);
}

void TurnsTest::cleanup()
{
    table.reset();
}

void TurnsTest::bringToPlayersSecondTurn()
{
    Form1& form = table->form;
    table->scriptDeal(game::playerOpensDeal());
    table->clickStart();
    game::clickUpperHalf(form, 1);
    game::clickMarker(form, 0);
    game::runComputerTurns(form);
    QVERIFY(form.humanTurn);
    QCOMPARE(form.chainEnds[1], Int16(3));
    QCOMPARE(form.chainEnds[2], Int16(4));
}

void TurnsTest::computerChoosesInItsOrder_data()
{
    QTest::addColumn<QStringList>("hand");
    QTest::addColumn<int>("end1");
    QTest::addColumn<int>("end2");
    QTest::addColumn<QString>("choice");
    QTest::newRow("slots 2 and 5 fit end 1")
        << QStringList{"00", "61", "11", "22", "63", "33", "44"} << 6 << 6
        << "slot 2 end 1 field 1";
    QTest::newRow("slot 2 fits end 2 only, slot 5 end 1")
        << QStringList{"00", "51", "22", "44", "53", "99", "99"} << 3 << 1
        << "slot 2 end 2 field 2";
    QTest::newRow("a tile for both ends goes to end 1")
        << QStringList{"00", "11", "52", "44", "99", "99", "99"} << 5 << 2
        << "slot 3 end 1 field 1";
    QTest::newRow("both ends, matching by its second pip")
        << QStringList{"00", "11", "52", "44", "99", "99", "99"} << 2 << 5
        << "slot 3 end 1 field 2";
    QTest::newRow("a matching double by field 1")
        << QStringList{"21", "44", "10", "99", "99", "99", "99"} << 3 << 4
        << "slot 2 end 2 field 1";
    QTest::newRow("second pip at end 1 before first pip at end 2")
        << QStringList{"53", "11", "99", "99", "99", "99", "99"} << 3 << 5
        << "slot 1 end 1 field 2";
    QTest::newRow("empty slots are skipped")
        << QStringList{"99", "99", "99", "31", "99", "99", "10"} << 1 << 0
        << "slot 4 end 1 field 2";
    QTest::newRow("the last slot") << QStringList{"22", "21", "11", "20", "10", "00", "64"} << 3
                                   << 4 << "slot 7 end 2 field 2";
    QTest::newRow("nothing fits") << QStringList{"00", "10", "11", "20", "21", "22", "99"} << 5 << 6
                                  << "pass";
    QTest::newRow("an empty hand")
        << QStringList{"99", "99", "99", "99", "99", "99", "99"} << 0 << 0 << "pass";
}

void TurnsTest::computerChoosesInItsOrder()
{
    QFETCH(QStringList, hand);
    QFETCH(int, end1);
    QFETCH(int, end2);
    QFETCH(QString, choice);
    rules::Hand tiles{};
    for (int slot = 1; slot <= rules::kSlots; ++slot) {
        tiles[slot][1] = Int16(hand.at(slot - 1).at(0).digitValue());
        tiles[slot][2] = Int16(hand.at(slot - 1).at(1).digitValue());
    }
    const Int16 ends[3] = {0, Int16(end1), Int16(end2)};
    QCOMPARE(choiceText(rules::chooseComputerTile(tiles, ends)), choice);
}

void TurnsTest::computerLaysItsChoiceOnTheTable_data()
{
    QTest::addColumn<QStringList>("hand");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("halves");
    QTest::addColumn<int>("end1");
    QTest::addColumn<int>("end2");
    // Seat 4 moves right after the player's pass, with 3 open at end 1 and 4 at end 2.
    QTest::newRow("slots 2 and 5 fit: slot 2")
        << QStringList{"99", "32", "21", "22", "31", "00", "11"} << 2 << "2400,3300:3 2040,3300:2"
        << 2 << 4;
    QTest::newRow("second pip at end 2") << QStringList{"99", "10", "11", "54", "20", "21", "00"}
                                         << 4 << "5280,3300:4 5640,3300:5" << 3 << 5;
    QTest::newRow("a double crosswise at end 2")
        << QStringList{"99", "10", "11", "44", "20", "21", "00"} << 4 << "5280,3120:4 5280,3480:4"
        << 3 << 4;
}

void TurnsTest::computerLaysItsChoiceOnTheTable()
{
    QFETCH(QStringList, hand);
    QFETCH(int, slot);
    QFETCH(QString, halves);
    QFETCH(int, end1);
    QFETCH(int, end2);
    Form1& form = table->form;
    bringToPlayersSecondTurn();
    game::setHand(form, 4, hand);
    const Int16 first = form.Image3.Count();
    game::clickUpperHalf(form, 2);
    QVERIFY(form.Shape3->Visible());
    QSignalSpy ticks(form.Timer1, &VbTimer::Timer);

    // The pass moves on at once, without waiting for the timer.
    Table::click(form.Command3);

    QCOMPARE(ticks.count(), 0);
    QVERIFY(!form.Image4(0)->Visible());
    QVERIFY(!form.Image4(1)->Visible());
    QVERIFY(!form.Shape3->Visible());
    QVERIFY(!form.Command3->Visible());
    QCOMPARE(form.humanTurn, kFalse);
    QCOMPARE(form.turnSeat, Int16(4));
    QCOMPARE(game::laidHalves(form, first), halves);
    QCOMPARE(game::tileAt(form, 4, slot), QString("99"));
    QStringList rest = hand;
    rest[slot - 1] = QStringLiteral("99");
    QCOMPARE(game::handOf(form, 4), rest);
    QCOMPARE(form.chainEnds[1], Int16(end1));
    QCOMPARE(form.chainEnds[2], Int16(end2));
    QCOMPARE(form.Label2(3)->Caption(), QString("5"));
    QCOMPARE(game::visibleFaceDown(form, 4), 5);
    QCOMPARE(form.passCount, Int16(0));
    QCOMPARE(form.Timer1->Interval(), Int16(100));
    QVERIFY(form.Timer1->isArmed());
}

void TurnsTest::computerWithoutAFitPassesSilently()
{
    Form1& form = table->form;
    table->scriptDeal(game::allSixesToThePlayerDeal());
    table->clickStart();
    game::clickUpperHalf(form, 1);
    game::clickMarker(form, 1);
    const QStringList hand = game::handOf(form, 4);
    const Int16 images3 = form.Image3.Count();
    const Int16 images5 = form.Image5.Count();
    const int sounds = int(table->sound.calls.size());
    const QPoint end1(form.endPos[1][1], form.endPos[1][2]);
    const QPoint end2(form.endPos[2][1], form.endPos[2][2]);

    QVERIFY(game::waitForTick(form));

    QCOMPARE(form.turnSeat, Int16(4));
    QCOMPARE(form.passCount, Int16(1));
    QCOMPARE(game::handOf(form, 4), hand);
    QCOMPARE(form.Label2(3)->Caption(), QString("7"));
    QCOMPARE(game::visibleFaceDown(form, 4), 7);
    QCOMPARE(form.Image3.Count(), images3);
    QCOMPARE(form.Image5.Count(), images5);
    QCOMPARE(form.chainEnds[1], Int16(6));
    QCOMPARE(form.chainEnds[2], Int16(6));
    QCOMPARE(QPoint(form.endPos[1][1], form.endPos[1][2]), end1);
    QCOMPARE(QPoint(form.endPos[2][1], form.endPos[2][2]), end2);
    QCOMPARE(int(table->sound.calls.size()), sounds);
    QVERIFY(table->watch.messages.empty());
    QCOMPARE(form.Timer1->Interval(), Int16(100));
    QVERIFY(form.Timer1->isArmed());
}

void TurnsTest::turnsRunFromTheDoubleSix_data()
{
    QTest::addColumn<int>("holder");
    QTest::addColumn<QList<int>>("seats");
    // The seat to move after the deal and after each of the next five events.
    QTest::newRow("seat 1") << 1 << QList<int>{1, 1, 4, 3, 2, 1};
    QTest::newRow("seat 2") << 2 << QList<int>{2, 1, 4, 3, 2, 1};
    QTest::newRow("seat 3") << 3 << QList<int>{3, 2, 1, 4, 3, 2};
    QTest::newRow("seat 4") << 4 << QList<int>{4, 3, 2, 1, 4, 3};
}

void TurnsTest::turnsRunFromTheDoubleSix()
{
    QFETCH(int, holder);
    QFETCH(QList<int>, seats);
    Form1& form = table->form;
    table->scriptDeal(game::doubleSixAtSeat(holder));
    table->clickStart();
    QList<int> seen{form.turnSeat};
    while (seen.size() < seats.size()) {
        if (form.humanTurn && form.firstMove) {
            game::clickUpperHalf(form, 3);
            game::clickMarker(form, 0);
        } else if (form.humanTurn) {
            Table::click(form.Command3);
        } else {
            QVERIFY(form.Timer1->isArmed());
            form.Timer1_Timer();
        }
        seen << form.turnSeat;
    }
    QCOMPARE(seen, seats);
    QVERIFY(table->watch.messages.empty());
}

void TurnsTest::computerOpensUprightAtTheAnchor_data()
{
    QTest::addColumn<int>("holder");
    QTest::newRow("seat 2") << 2;
    QTest::newRow("seat 3") << 3;
    QTest::newRow("seat 4") << 4;
}

void TurnsTest::computerOpensUprightAtTheAnchor()
{
    QFETCH(int, holder);
    Form1& form = table->form;
    const QStringList deal = game::doubleSixAtSeat(holder);
    table->scriptDeal(deal);
    table->clickStart();

    QCOMPARE(game::openingShown(form), game::kOpeningShown);
    QCOMPARE(form.Label2(holder - 1)->Caption(), QString("6"));
    QStringList hand = deal.mid((holder - 1) * 7, 7);
    hand[2] = QStringLiteral("99");
    QCOMPARE(game::handOf(form, holder), hand);
    for (int seat = 2; seat <= 4; ++seat)
        QCOMPARE(game::visibleFaceDown(form, seat), seat == holder ? 6 : 7);
    QCOMPARE(form.passCount, Int16(0));
    QCOMPARE(form.firstMove, kFalse);
    QCOMPARE(form.humanTurn, kFalse);
    QVERIFY(!form.Command3->Visible());
    QCOMPARE(table->sound.calls.size(), 1);
    QCOMPARE(form.Timer1->Interval(), Int16(100));
    QVERIFY(form.Timer1->isArmed());
    QCOMPARE(invariantViolation(form), QString());
}

void TurnsTest::playerIsOfferedTheOpeningAtTheCentre()
{
    Form1& form = table->form;
    table->scriptDeal(game::doubleSixAtSeat(1));
    table->clickStart();

    QCOMPARE(form.turnSeat, Int16(1));
    QCOMPARE(form.humanTurn, kTrue);
    QCOMPARE(form.firstMove, kTrue);
    QVERIFY(form.Image4(0)->Visible());
    QVERIFY(form.Image4(1)->Visible());
    QCOMPARE(game::at(form.Image4(0)), QPoint(4020, 3300));
    QCOMPARE(game::at(form.Image4(1)), QPoint(4380, 3300));
    QCOMPARE(QPoint(form.endPos[1][1], form.endPos[1][2]), QPoint(3840, 3300));
    QCOMPARE(QPoint(form.endPos[2][1], form.endPos[2][2]), QPoint(4560, 3300));
    QCOMPARE(form.endDir[1], Int16(-1));
    QCOMPARE(form.endDir[2], Int16(1));
    QVERIFY(!form.Command3->Visible());
    QVERIFY(!form.Timer1->isArmed());
    QCOMPARE(form.Timer1->Interval(), Int16(0));
    QCOMPARE(form.Image3.Count(), Int16(1));
    QVERIFY(table->sound.calls.isEmpty());
}

void TurnsTest::blockCompletedByThePlayersPass_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("scores");
    // Left in hand: the player 6/5 to 6/0, seat 2 the blanks to 3/0, seat 3 from 3/1 to 4/3,
    // seat 4 from 4/4 to 5/5.
    QTest::newRow("Partidas") << int(MatchSettings::kPartidas) << QStringList{"0", "0", "0", "0"};
    QTest::newRow("Fichas") << int(MatchSettings::kFichas) << QStringList{"6", "7", "7", "7"};
    QTest::newRow("Puntos") << int(MatchSettings::kPuntos) << QStringList{"51", "15", "37", "53"};
}

void TurnsTest::blockCompletedByThePlayersPass()
{
    QFETCH(int, kind);
    QFETCH(QStringList, scores);
    Form1& form = table->form;
    form.settings.matchKind = Int16(kind);
    form.settings.matchTarget = 500;
    table->scriptDeal(game::allSixesToThePlayerDeal());
    table->clickStart();
    game::clickUpperHalf(form, 1);
    game::clickMarker(form, 0);
    game::runComputerTurns(form);
    // Three computer passes give the turn back; the pass is offered although 6/5 fits.
    QCOMPARE(form.passCount, Int16(3));
    QCOMPARE(form.turnSeat, Int16(1));
    QVERIFY(form.humanTurn);
    QVERIFY(!form.Timer1->isArmed());
    QVERIFY(table->watch.messages.empty());
    QCOMPARE(game::tileAt(form, 1, 2), QString("65"));
    QVERIFY(form.Command3->Visible());
    QCOMPARE(game::at(form.Image4(0)), QPoint(3840, 3300));
    QCOMPARE(game::at(form.Image4(1)), QPoint(4560, 3300));

    Table::click(form.Command3);

    // Seat 4 could not answer either, and its pass ended the hand there.
    QCOMPARE(form.turnSeat, Int16(4));
    QCOMPARE(form.passCount, Int16(5));
    QCOMPARE(textsOf(table->watch.messages), QStringList{"Han pasado todos."});
    QCOMPARE(table->watch.messages.front().icon, QMessageBox::Information);
    QCOMPARE(table->watch.messages.front().title, QString("Lozetta"));
    QVERIFY(form.Command1->Visible());
    QCOMPARE(form.Command1->Caption(), QString("Siguiente mano"));
    QVERIFY(!form.Command3->Visible());
    QVERIFY(!form.Timer1->isArmed());
    QCOMPARE(form.matchActive, kTrue);
    QStringList shown;
    for (int i = 0; i < rules::kSeats; ++i)
        shown << form.Label3(i)->Caption();
    QCOMPARE(shown, scores);
    QCOMPARE(invariantViolation(form), QString());
}

void TurnsTest::fourthPassByAComputerSeatEndsTheHand()
{
    Form1& form = table->form;
    bringToPlayersSecondTurn();
    // No computer seat holds a 3 or a 4 any more; the player still holds 4/3, which fits.
    game::setHand(form, 4, {"99", "10", "21", "22", "50", "51", "52"});
    game::setHand(form, 3, {"99", "55", "60", "61", "62", "65", "21"});
    game::setHand(form, 2, {"99", "66", "22", "11", "00", "20", "50"});

    Table::click(form.Command3);
    QCOMPARE(form.passCount, Int16(2));
    QVERIFY(game::waitForTick(form));
    QCOMPARE(form.turnSeat, Int16(3));
    QCOMPARE(form.passCount, Int16(3));
    QVERIFY(table->watch.messages.empty());
    QVERIFY(game::waitForTick(form));

    // Seat 2's pass is the fourth in a row: the hand ends there, before the player's turn.
    QCOMPARE(form.turnSeat, Int16(2));
    QCOMPARE(form.passCount, Int16(4));
    QCOMPARE(textsOf(table->watch.messages), QStringList{"Han pasado todos."});
    QCOMPARE(form.humanTurn, kFalse);
    QVERIFY(!form.Image4(0)->Visible());
    QVERIFY(!form.Timer1->isArmed());
    QVERIFY(form.Command1->Visible());
}

void TurnsTest::computerLayingItsLastTileEndsTheHand()
{
    Form1& form = table->form;
    bringToPlayersSecondTurn();
    game::setHand(form, 4, {"99", "99", "99", "99", "30", "99", "99"});
    form.Label2(3)->setCaption(QStringLiteral("1"));
    for (int k = 1; k < rules::kSlots; ++k)
        form.Shape1(14 + k)->hide();
    form.Shape1(14)->show();
    const QStringList seat3 = game::handOf(form, 3);
    const QStringList seat2 = game::handOf(form, 2);
    const QString counters = game::counters(form);
    QSignalSpy ticks(form.Timer1, &VbTimer::Timer);

    Table::click(form.Command3);

    QCOMPARE(textsOf(table->watch.messages), QStringList{"Ganador de la mano: Jugador 4."});
    QCOMPARE(table->watch.messages.front().icon, QMessageBox::NoIcon);
    QCOMPARE(form.turnSeat, Int16(4));
    QCOMPARE(form.Label2(3)->Caption(), QString("0"));
    QCOMPARE(game::counters(form), counters.left(counters.size() - 1) + QStringLiteral("0"));
    QCOMPARE(game::handOf(form, 3), seat3);
    QCOMPARE(game::handOf(form, 2), seat2);
    QCOMPARE(game::visibleFaceDown(form, 4), 0);
    QCOMPARE(ticks.count(), 0);
    QVERIFY(!form.Timer1->isArmed());
    QCOMPARE(form.humanTurn, kFalse);
    QVERIFY(form.Command1->Visible());
    QCOMPARE(form.Label3(3)->Caption(), QString("1"));
}

void TurnsTest::timerPacesTheTurns()
{
    Form1& form = table->form;
    table->scriptDeal(game::playerOpensDeal());
    table->clickStart();
    QList<int> intervals{form.Timer1->Interval()};
    auto check = [&] {
        intervals << form.Timer1->Interval();
        QCOMPARE(invariantViolation(form), QString());
        QCOMPARE(form.Timer1->isArmed(), form.Timer1->Interval() != 0);
    };
    QVERIFY(form.humanTurn);
    QVERIFY(!form.Timer1->isArmed());
    game::clickUpperHalf(form, 1);
    game::clickMarker(form, 0);
    check();
    for (int seat : {4, 3, 2}) {
        QVERIFY(game::waitForTick(form));
        QCOMPARE(form.turnSeat, Int16(seat));
        check();
    }
    QVERIFY(game::waitForTick(form));
    QVERIFY(form.humanTurn);
    check();
    Table::click(form.Command3);
    check();
    QCOMPARE(intervals, (QList<int>{0, 500, 100, 100, 100, 0, 100}));
}

void TurnsTest::passButtonIsInertAfterTheMove()
{
    Form1& form = table->form;
    bringToPlayersSecondTurn();
    game::clickUpperHalf(form, 2);
    game::clickMarker(form, 0);
    // The move leaves the button showing; only the next turn step hides it.
    QVERIFY(form.Command3->Visible());
    const Int16 passes = form.passCount;

    Table::click(form.Command3);

    QCOMPARE(form.passCount, passes);
    QCOMPARE(form.turnSeat, Int16(1));
    QCOMPARE(form.Timer1->Interval(), Int16(500));
    QVERIFY(form.Timer1->isArmed());
    QVERIFY(game::waitForTick(form));
    QVERIFY(!form.Command3->Visible());
}

QTEST_MAIN(TurnsTest)
#include "test_turns.moc"
