#include "rules/computerchoice.h"
#include "support/playerseat.h"
#include "support/tablefixture.h"
#include "table/pictures.h"

#include <QSignalSpy>
#include <QTest>

// The turn step and the player's move: who moves when, how the computer seats choose, selecting
// and laying a tile of the hand, every refusal, pass, block, the last tile, and the pacing timer.
class TurnsTest : public QObject
{
    Q_OBJECT
private slots:
    void computerChoosesInItsOrder_data();
    void computerChoosesInItsOrder();
    void turnsRunFromTheDoubleSix_data();
    void turnsRunFromTheDoubleSix();
    void openingLiesUprightAtTheAnchor_data();
    void openingLiesUprightAtTheAnchor();
    void clickFramesTheWholeTile_data();
    void clickFramesTheWholeTile();
    void refusedMoveChangesNothing_data();
    void refusedMoveChangesNothing();
    void legalMoveLaysTheTile_data();
    void legalMoveLaysTheTile();
    void computerLaysItsChoiceAfterThePass_data();
    void computerLaysItsChoiceAfterThePass();
    void onlyDividersSelectDuringAComputerTurn();
    void tableDividersSelectNothing();
    void blockCompletedByThePlayersPass();
    void fourthPassByAComputerSeatEndsTheHand();
    void lastTileEndsTheHandAtOnce_data();
    void lastTileEndsTheHandAtOnce();
    void passButtonIsInertAfterTheMove();
};

namespace
{

// Everything a move could touch, as text, so that a difference shows what changed.
QStringList everything(const Table& t)
{
    return tableState(t.form) << QStringLiteral("sounds %1").arg(t.sound.calls.size());
}

// The player has opened, the computer seats have answered: 3 is open at end 1 and 4 at end 2,
// and the player holds 4/3, 3/3, 4/1, 2/0, 1/1 and 0/0 in slots 2 to 7.
void bringToPlayersSecondTurn(Table& t)
{
    t.deal(playerOpensDeal());
    clickUpperHalf(t.form, 1);
    clickMarker(t.form, 0);
    runComputerTurns(t.form);
    QVERIFY(t.form.humanTurn);
    QCOMPARE(handOf(t.form, 1), (QStringList{"99", "43", "33", "41", "20", "11", "00"}));
    QCOMPARE(QPoint(t.form.chainEnds[1], t.form.chainEnds[2]), QPoint(3, 4));
}

// Leaves a seat with only the given tile, in its second slot.
void leaveOneTile(Form1& form, int seat, const QString& tile)
{
    setHand(form.hands[seat], {"99", tile, "99", "99", "99", "99", "99"});
    form.Label2(seat - 1)->setCaption(QStringLiteral("1"));
    for (int k = 0; seat > 1 && k < rules::kSlots; ++k)
        form.Shape1((seat - 2) * rules::kSlots + k)->setVisible(k == 0);
}

} // namespace

void TurnsTest::computerChoosesInItsOrder_data()
{
    QTest::addColumn<QStringList>("hand");
    QTest::addColumn<QPoint>("ends");
    QTest::addColumn<QString>("choice");
    QTest::newRow("slots 2 and 5 fit end 1")
        << QStringList{"00", "61", "11", "22", "63", "33", "44"} << QPoint(6, 6)
        << "slot 2 end 1 field 1";
    QTest::newRow("slot 2 fits end 2 only, slot 5 end 1")
        << QStringList{"00", "51", "22", "44", "53", "99", "99"} << QPoint(3, 1)
        << "slot 2 end 2 field 2";
    QTest::newRow("a tile for both ends goes to end 1")
        << QStringList{"00", "11", "52", "44", "99", "99", "99"} << QPoint(5, 2)
        << "slot 3 end 1 field 1";
    QTest::newRow("both ends, matching by its second pip")
        << QStringList{"00", "11", "52", "44", "99", "99", "99"} << QPoint(2, 5)
        << "slot 3 end 1 field 2";
    QTest::newRow("second pip at end 1 before first pip at end 2")
        << QStringList{"53", "11", "99", "99", "99", "99", "99"} << QPoint(3, 5)
        << "slot 1 end 1 field 2";
    QTest::newRow("empty slots are skipped")
        << QStringList{"99", "99", "99", "31", "99", "99", "10"} << QPoint(1, 0)
        << "slot 4 end 1 field 2";
    QTest::newRow("the last slot") << QStringList{"22", "21", "11", "20", "10", "00", "64"}
                                   << QPoint(3, 4) << "slot 7 end 2 field 2";
    QTest::newRow("nothing fits") << QStringList{"00", "10", "11", "20", "21", "22", "99"}
                                  << QPoint(5, 6) << "pass";
}

void TurnsTest::computerChoosesInItsOrder()
{
    QFETCH(QStringList, hand);
    QFETCH(QPoint, ends);
    QFETCH(QString, choice);
    rules::Hand tiles{};
    setHand(tiles, hand);
    const Int16 chainEnds[3] = {0, Int16(ends.x()), Int16(ends.y())};
    const auto chosen = rules::chooseComputerTile(tiles, chainEnds);
    QCOMPARE(chosen ? QStringLiteral("slot %1 end %2 field %3")
                          .arg(chosen->slot)
                          .arg(chosen->end)
                          .arg(chosen->field)
                    : QStringLiteral("pass"),
             choice);
}

void TurnsTest::turnsRunFromTheDoubleSix_data()
{
    QTest::addColumn<int>("holder");
    QTest::addColumn<QList<int>>("seats");
    QTest::addColumn<QList<int>>("pauses");
    // The seat to move and Timer1's interval after the deal and after each of the next five
    // events: the player's own move is followed by a longer pause, the player's turn by none.
    QTest::newRow("seat 1") << 1 << QList<int>{1, 1, 4, 3, 2, 1}
                            << QList<int>{0, 500, 100, 100, 100, 0};
    QTest::newRow("seat 2") << 2 << QList<int>{2, 1, 4, 3, 2, 1}
                            << QList<int>{100, 0, 100, 100, 100, 0};
    QTest::newRow("seat 3") << 3 << QList<int>{3, 2, 1, 4, 3, 2}
                            << QList<int>{100, 100, 0, 100, 100, 100};
    QTest::newRow("seat 4") << 4 << QList<int>{4, 3, 2, 1, 4, 3}
                            << QList<int>{100, 100, 100, 0, 100, 100};
}

void TurnsTest::turnsRunFromTheDoubleSix()
{
    QFETCH(int, holder);
    QFETCH(QList<int>, seats);
    QFETCH(QList<int>, pauses);
    Table t;
    Form1& form = t.form;
    t.deal(doubleSixAtSeat(holder));
    QList<int> seen;
    QList<int> seenPauses;
    auto look = [&] {
        seen << form.turnSeat;
        seenPauses << form.Timer1->Interval();
        QCOMPARE(form.Timer1->isArmed(), form.Timer1->Interval() != 0);
    };
    look();
    while (seen.size() < seats.size()) {
        if (form.humanTurn && form.firstMove) {
            clickUpperHalf(form, 3);
            clickMarker(form, 0);
        } else if (form.humanTurn) {
            Table::click(form.Command3);
        } else {
            form.Timer1_Timer();
        }
        look();
    }
    QCOMPARE(seen, seats);
    QCOMPARE(seenPauses, pauses);
    QVERIFY(t.watch.messages.empty());
}

void TurnsTest::openingLiesUprightAtTheAnchor_data()
{
    QTest::addColumn<int>("holder");
    QTest::addColumn<QString>("how"); // how the player picks the double six
    QTest::addColumn<int>("marker");
    QTest::newRow("the player: upper half, green") << 1 << "upper" << 0;
    QTest::newRow("the player: lower half, cyan") << 1 << "lower" << 1;
    QTest::newRow("the player: divider, cyan") << 1 << "divider" << 1;
    QTest::newRow("seat 2") << 2 << "" << 0;
    QTest::newRow("seat 3") << 3 << "" << 0;
    QTest::newRow("seat 4") << 4 << "" << 0;
}

void TurnsTest::openingLiesUprightAtTheAnchor()
{
    QFETCH(int, holder);
    QFETCH(QString, how);
    QFETCH(int, marker);
    Table t;
    Form1& form = t.form;
    t.deal(doubleSixAtSeat(holder));
    if (holder == 1) {
        // The player is offered the opening beside the anchor, and nothing moves meanwhile.
        QVERIFY(form.humanTurn && form.firstMove);
        QCOMPARE(at(form.Image4(0)), QPoint(4020, 3300));
        QCOMPARE(at(form.Image4(1)), QPoint(4380, 3300));
        QVERIFY(form.Image4(0)->Visible() && form.Image4(1)->Visible());
        QVERIFY(!form.Command3->Visible());
        QVERIFY(!form.Timer1->isArmed());
        QVERIFY(t.sound.calls.isEmpty());
        select(form, 3, how);
        clickMarker(form, marker);
    }

    // The double six upright at the anchor, its divider across, and both ends waiting on either
    // side.
    QCOMPARE(laidHalves(form, 1), QString("4200,3120:6 4200,3480:6"));
    const Picture* divider = form.Image3(3);
    QCOMPARE(at(divider), QPoint(4200, 3300));
    QCOMPARE(divider->picture(), pictures::kDividerHorizontal);
    QVERIFY(form.Image3(1)->Visible() && form.Image3(2)->Visible() && divider->Visible());
    QCOMPARE(QPoint(form.Image3.Count(), form.Image5.Count()), QPoint(4, 8));
    for (int end = 1; end <= 2; ++end)
        QCOMPARE((QList<int>{form.endPos[end][1], form.endPos[end][2], form.endDir[end],
                             form.chainEnds[end]}),
                 (QList<int>{end == 1 ? 3840 : 4560, 3300, end == 1 ? -1 : 1, 6}));
    QCOMPARE(tileAt(form, holder, 3), QString("99"));
    QCOMPARE(form.firstMove, kFalse);
    QCOMPARE(form.humanTurn, kFalse);
    QVERIFY(!form.Command3->Visible());
    QCOMPARE(t.sound.calls.size(), 1);
    QVERIFY(form.Timer1->isArmed());
    QVERIFY(t.watch.messages.empty());
}

void TurnsTest::clickFramesTheWholeTile_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("image");
    for (int slot : {1, 4, 7}) {
        QTest::addRow("slot %d, upper half", slot) << slot << "upper" << 2 * slot - 2;
        QTest::addRow("slot %d, lower half", slot) << slot << "lower" << 2 * slot - 1;
        QTest::addRow("slot %d, divider", slot) << slot << "divider" << 2 * slot - 2;
    }
}

void TurnsTest::clickFramesTheWholeTile()
{
    QFETCH(int, slot);
    QFETCH(QString, how);
    QFETCH(int, image);
    Table t;
    Form1& form = t.form;
    t.deal(playerOpensDeal());
    // A selection elsewhere first, so that the click must move it.
    clickUpperHalf(form, slot == 7 ? 1 : 7);
    QVERIFY(form.Shape3->Visible());

    select(form, slot, how);

    QVERIFY(form.Shape3->Visible());
    QCOMPARE(
        QRect(form.Shape3->Left(), form.Shape3->Top(), form.Shape3->Width(), form.Shape3->Height()),
        QRect(3000 + 480 * (slot - 1), 6240, 360, 720));
    QCOMPARE(form.selectedHandImage, Int16(image));
    const auto stack = form.Shape3->parentWidget()->children();
    QVERIFY(stack.indexOf(form.Shape3) > stack.indexOf(form.Image5(slot)));
    QVERIFY(t.watch.messages.empty());
}

void TurnsTest::refusedMoveChangesNothing_data()
{
    QTest::addColumn<bool>("opening");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("marker");
    QTest::addColumn<QString>("message");
    const QString noSelection = QStringLiteral("Señala una ficha primero.");
    const QString doubleSix = QStringLiteral("Tienes que empezar con el 6/6.");
    const QString wrong = QStringLiteral("Esa ficha no es correcta.");
    QTest::newRow("nothing selected at the opening") << true << 0 << "" << 1 << noSelection;
    QTest::newRow("nothing selected later") << false << 0 << "" << 0 << noSelection;
    QTest::newRow("opening with 4/3") << true << 2 << "upper" << 0 << doubleSix;
    QTest::newRow("4/1 at end 1, where 3 is open") << false << 4 << "upper" << 0 << wrong;
    QTest::newRow("3/3 at end 2, where 4 is open") << false << 3 << "divider" << 1 << wrong;
    QTest::newRow("2/0 at end 1") << false << 5 << "lower" << 0 << wrong;
}

void TurnsTest::refusedMoveChangesNothing()
{
    QFETCH(bool, opening);
    QFETCH(int, slot);
    QFETCH(QString, how);
    QFETCH(int, marker);
    QFETCH(QString, message);
    Table t;
    Form1& form = t.form;
    if (opening)
        t.deal(playerOpensDeal());
    else
        bringToPlayersSecondTurn(t);
    if (slot > 0)
        select(form, slot, how);
    const QStringList before = everything(t);

    clickMarker(form, marker);

    QCOMPARE(textsOf(t.watch.messages), QStringList{message});
    QCOMPARE(t.watch.messages.front().icon, QMessageBox::Warning);
    QCOMPARE(t.watch.messages.front().title, QString("Lozetta"));
    QCOMPARE(everything(t), before);

    // The turn is still the player's: the right tile is taken afterwards.
    clickUpperHalf(form, opening ? 1 : 2);
    clickMarker(form, 0);
    QCOMPARE(t.watch.messages.size(), std::size_t(1));
    QCOMPARE(form.humanTurn, kFalse);
}

void TurnsTest::legalMoveLaysTheTile_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("marker");
    QTest::addColumn<QString>("halves");
    QTest::addColumn<QPoint>("ends");
    QTest::newRow("4/3 at end 1 turns round: its second pip matches")
        << 2 << "upper" << 0 << "2400,3300:3 2040,3300:4" << QPoint(4, 4);
    QTest::newRow("4/3 at end 2 by its first pip")
        << 2 << "lower" << 1 << "5280,3300:4 5640,3300:3" << QPoint(3, 3);
    QTest::newRow("3/3 at end 1 crosswise")
        << 3 << "divider" << 0 << "2400,3120:3 2400,3480:3" << QPoint(3, 4);
}

void TurnsTest::legalMoveLaysTheTile()
{
    QFETCH(int, slot);
    QFETCH(QString, how);
    QFETCH(int, marker);
    QFETCH(QString, halves);
    QFETCH(QPoint, ends);
    Table t;
    Form1& form = t.form;
    bringToPlayersSecondTurn(t);
    const Int16 first = form.Image3.Count();
    const auto sounds = t.sound.calls.size();
    select(form, slot, how);

    clickMarker(form, marker);

    QVERIFY(t.watch.messages.empty());
    QCOMPARE(laidHalves(form, first), halves);
    QCOMPARE(QPoint(form.chainEnds[1], form.chainEnds[2]), ends);
    QCOMPARE(t.sound.calls.size(), sounds + 1);
    QCOMPARE(tileAt(form, 1, slot), QString("99"));
    QVERIFY(!form.Image2(2 * slot - 2)->Visible() && !form.Image2(2 * slot - 1)->Visible());
    QVERIFY(!form.Image5(slot)->Visible());
    // The gap stays: the other tiles neither move nor hide.
    for (int other = 2; other <= rules::kSlots; ++other) {
        if (other != slot) {
            QVERIFY(form.Image2(2 * other - 2)->Visible() && form.Image5(other)->Visible());
            QCOMPARE(at(form.Image2(2 * other - 2)), QPoint(3000 + 480 * (other - 1), 6240));
        }
    }
    QVERIFY(!form.Image4(0)->Visible() && !form.Image4(1)->Visible());
    QVERIFY(!form.Shape3->Visible());
    QCOMPARE(form.humanTurn, kFalse);
    QCOMPARE(form.Timer1->Interval(), Int16(500));
    QVERIFY(form.Timer1->isArmed());
}

void TurnsTest::computerLaysItsChoiceAfterThePass_data()
{
    QTest::addColumn<QStringList>("hand");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("halves");
    QTest::addColumn<QPoint>("ends");
    // Seat 4 moves right after the player's pass, with 3 open at end 1 and 4 at end 2.
    QTest::newRow("slots 2 and 5 fit: slot 2")
        << QStringList{"99", "32", "21", "22", "31", "00", "11"} << 2 << "2400,3300:3 2040,3300:2"
        << QPoint(2, 4);
    QTest::newRow("second pip at end 2") << QStringList{"99", "10", "11", "54", "20", "21", "00"}
                                         << 4 << "5280,3300:4 5640,3300:5" << QPoint(3, 5);
}

void TurnsTest::computerLaysItsChoiceAfterThePass()
{
    QFETCH(QStringList, hand);
    QFETCH(int, slot);
    QFETCH(QString, halves);
    QFETCH(QPoint, ends);
    Table t;
    Form1& form = t.form;
    bringToPlayersSecondTurn(t);
    setHand(form.hands[4], hand);
    const Int16 first = form.Image3.Count();
    clickUpperHalf(form, 2);
    QSignalSpy ticks(form.Timer1, &VbTimer::Timer);

    // The pass moves on at once, without waiting for the timer.
    Table::click(form.Command3);

    QCOMPARE(ticks.count(), 0);
    QVERIFY(!form.Image4(0)->Visible() && !form.Image4(1)->Visible());
    QVERIFY(!form.Shape3->Visible());
    QVERIFY(!form.Command3->Visible());
    QCOMPARE(form.turnSeat, Int16(4));
    QCOMPARE(laidHalves(form, first), halves);
    hand[slot - 1] = QStringLiteral("99");
    QCOMPARE(handOf(form, 4), hand);
    QCOMPARE(QPoint(form.chainEnds[1], form.chainEnds[2]), ends);
    QCOMPARE(form.passCount, Int16(0));
    QCOMPARE(form.Timer1->Interval(), Int16(100));
    QVERIFY(form.Timer1->isArmed());
}

void TurnsTest::onlyDividersSelectDuringAComputerTurn()
{
    Table t;
    Form1& form = t.form;
    t.deal(playerOpensDeal());
    clickUpperHalf(form, 1);
    clickMarker(form, 0);
    QVERIFY(form.Timer1->isArmed());

    clickUpperHalf(form, 4);
    clickLowerHalf(form, 4);
    QVERIFY(!form.Shape3->Visible());
    clickDivider(form, 4);
    QVERIFY(form.Shape3->Visible());
    QCOMPARE(form.selectedHandImage, Int16(6));

    // The selection stands when the turn comes: the cyan marker lays 4/1 at once.
    runComputerTurns(form);
    QVERIFY(form.humanTurn);
    QVERIFY(form.Shape3->Visible());
    clickMarker(form, 1);
    QVERIFY(t.watch.messages.empty());
    QCOMPARE(tileAt(form, 1, 4), QString("99"));
    QCOMPARE(form.chainEnds[2], Int16(1));
}

void TurnsTest::tableDividersSelectNothing()
{
    Table t;
    Form1& form = t.form;
    bringToPlayersSecondTurn(t);
    // The player's 3/3 at end 1 lies crosswise: its divider is the first of the table's.
    clickDivider(form, 3);
    clickMarker(form, 0);
    QCOMPARE(form.Image5.Count(), Int16(2 + rules::kSlots));
    QCOMPARE(at(form.Image5(8)), QPoint(2400, 3300));
    QVERIFY(form.Image5(8)->Visible());

    // The 3/3's divider lies on the table, over its two halves, and takes the click.
    const QPoint middle = form.Image5(8)->mapTo(&form, form.Image5(8)->rect().center());
    QCOMPARE(form.childAt(middle), form.Image5(8));
    clickDivider(form, 8);
    QVERIFY(!form.Shape3->Visible());
    clickDivider(form, 2);
    QVERIFY(form.Shape3->Visible());
}

void TurnsTest::blockCompletedByThePlayersPass()
{
    Table t(MatchSettings::kPuntos, 500);
    Form1& form = t.form;
    t.deal(allSixesToThePlayerDeal());
    clickUpperHalf(form, 1);
    clickMarker(form, 0);
    runComputerTurns(form);
    // Three computer passes give the turn back; the pass is offered although 6/5 fits.
    QCOMPARE(form.passCount, Int16(3));
    QVERIFY(form.humanTurn);
    QVERIFY(form.Command3->Visible());
    QVERIFY(t.watch.messages.empty());

    Table::click(form.Command3);

    // Seat 4 could not answer either, and its pass ended the hand there.
    QCOMPARE(form.turnSeat, Int16(4));
    QCOMPARE(form.passCount, Int16(5));
    QCOMPARE(textsOf(t.watch.messages), QStringList{"Han pasado todos."});
    QCOMPARE(t.watch.messages.front().icon, QMessageBox::Information);
    QVERIFY(form.Command1->Visible());
    QCOMPARE(form.Command1->Caption(), QString("Siguiente mano"));
    QVERIFY(!form.Command3->Visible());
    QVERIFY(!form.Timer1->isArmed());
    // Every seat is credited the pips it still holds: the player 6/5 down to 6/0, seat 2 from
    // 5/5 down to 4/4, seat 3 from 4/3 down to 3/1, seat 4 from 3/0 down to the blank.
    QStringList shown;
    for (int i = 0; i < rules::kSeats; ++i)
        shown << form.Label3(i)->Caption();
    QCOMPARE(shown, (QStringList{"51", "53", "37", "15"}));
    QCOMPARE(invariantViolation(form), QString());
}

void TurnsTest::fourthPassByAComputerSeatEndsTheHand()
{
    Table t;
    Form1& form = t.form;
    bringToPlayersSecondTurn(t);
    // No computer seat holds a 3 or a 4 any more; the player still holds 4/3, which fits.
    setHand(form.hands[4], {"99", "10", "21", "22", "50", "51", "52"});
    setHand(form.hands[3], {"99", "55", "60", "61", "62", "65", "21"});
    setHand(form.hands[2], {"99", "66", "22", "11", "00", "20", "50"});

    Table::click(form.Command3);
    QVERIFY(waitForTick(form));
    QCOMPARE(form.passCount, Int16(3));
    QVERIFY(t.watch.messages.empty());
    QVERIFY(waitForTick(form));

    // Seat 2's pass is the fourth in a row: the hand ends there, before the player's turn.
    QCOMPARE(form.turnSeat, Int16(2));
    QCOMPARE(form.passCount, Int16(4));
    QCOMPARE(textsOf(t.watch.messages), QStringList{"Han pasado todos."});
    QCOMPARE(form.humanTurn, kFalse);
    QVERIFY(!form.Image4(0)->Visible());
    QVERIFY(!form.Timer1->isArmed());
    QVERIFY(form.Command1->Visible());
}

void TurnsTest::lastTileEndsTheHandAtOnce_data()
{
    QTest::addColumn<int>("seat");
    QTest::addColumn<int>("target");
    QTest::newRow("the player's last tile") << 1 << 7;
    QTest::newRow("the player's last tile wins the match") << 1 << 1;
    QTest::newRow("seat 4's last tile, after the player's pass") << 4 << 7;
    QTest::newRow("seat 4's last tile wins the match") << 4 << 1;
}

void TurnsTest::lastTileEndsTheHandAtOnce()
{
    QFETCH(int, seat);
    QFETCH(int, target);
    Table t(MatchSettings::kPartidas, Int16(target));
    Form1& form = t.form;
    form.Label5->setCaption(QStringLiteral("Juego a %1 partidas.").arg(target));
    bringToPlayersSecondTurn(t);
    QSignalSpy ticks(form.Timer1, &VbTimer::Timer);
    leaveOneTile(form, seat, seat == 1 ? QStringLiteral("43") : QStringLiteral("30"));
    if (seat == 1) {
        clickLowerHalf(form, 2);
        clickMarker(form, 0);
    } else {
        Table::click(form.Command3);
    }

    const bool matchOver = target == 1;
    QStringList messages{QStringLiteral("Ganador de la mano: Jugador %1.").arg(seat)};
    if (matchOver)
        messages << QStringLiteral("Fin de partida. Ha ganado el jugador %1").arg(seat);
    QCOMPARE(textsOf(t.watch.messages), messages);
    QCOMPARE(t.watch.messages.front().icon, QMessageBox::NoIcon);
    QCOMPARE(t.watch.messages.back().icon,
             matchOver ? QMessageBox::Information : QMessageBox::NoIcon);
    QCOMPARE(form.turnSeat, Int16(seat));
    QCOMPARE(form.Label2(seat - 1)->Caption(), QString("0"));
    QCOMPARE(form.Label3(seat - 1)->Caption(), QString("1"));
    QCOMPARE(ticks.count(), 0);
    QVERIFY(!form.Timer1->isArmed());
    QCOMPARE(form.humanTurn, kFalse);
    QCOMPARE(form.matchActive, matchOver ? kFalse : kTrue);
    QCOMPARE(form.Label5->Caption(),
             matchOver ? QString() : QStringLiteral("Juego a %1 partidas.").arg(target));
    QCOMPARE(form.Command1->Visible(), !matchOver);
    if (!matchOver)
        return;
    // After the match the hand and the pass button, which still shows, take no clicks.
    QCOMPARE(form.Command3->Visible(), seat == 1);
    const QStringList before = everything(t);
    for (int slot = 2; slot <= rules::kSlots; ++slot) {
        clickUpperHalf(form, slot);
        clickLowerHalf(form, slot);
        clickDivider(form, slot);
    }
    Table::click(form.Command3);
    QCOMPARE(everything(t), before);
    QCOMPARE(t.watch.messages.size(), std::size_t(2));
}

void TurnsTest::passButtonIsInertAfterTheMove()
{
    Table t;
    Form1& form = t.form;
    bringToPlayersSecondTurn(t);
    clickUpperHalf(form, 2);
    clickMarker(form, 0);
    // The move leaves the button showing; only the next turn step hides it.
    QVERIFY(form.Command3->Visible());
    const Int16 passes = form.passCount;

    Table::click(form.Command3);

    QCOMPARE(form.passCount, passes);
    QCOMPARE(form.turnSeat, Int16(1));
    QCOMPARE(form.Timer1->Interval(), Int16(500));
    QVERIFY(waitForTick(form));
    QVERIFY(!form.Command3->Visible());
}

QTEST_MAIN(TurnsTest)
#include "test_turns.moc"
