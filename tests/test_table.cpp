#include "options/form2.h"
#include "rules/scoring.h"
#include "support/table.h"
#include "table/pictures.h"

#include <QTest>

// A hand on the real table: whose turn it is and when, the opening, the player's selection and
// move with every refusal, pass and block, the end of a hand with its scoring, the new-game
// command, and many random hands checked after every event.
class TableTest : public QObject
{
    Q_OBJECT
private slots:
    void turnsRunFromTheDoubleSix_data();
    void turnsRunFromTheDoubleSix();
    void openingStandsAtTheAnchor_data();
    void openingStandsAtTheAnchor();
    void clickFramesTheWholeTile_data();
    void clickFramesTheWholeTile();
    void refusedMoveChangesNothing_data();
    void refusedMoveChangesNothing();
    void legalMoveLaysTheTile_data();
    void legalMoveLaysTheTile();
    void onlyHandDividersSelectOutOfTurn();
    void passesAndBlocks_data();
    void passesAndBlocks();
    void lastTileEndsTheHand_data();
    void lastTileEndsTheHand();
    void endOfHandScores_data();
    void endOfHandScores();
    void newGameCommand_data();
    void newGameCommand();
    void randomHandsKeepTheInvariants();
};

namespace
{

QString joined(std::initializer_list<int> values)
{
    QStringList texts;
    for (int v : values)
        texts << QString::number(v);
    return texts.join(' ');
}

QString scoresShown(const Form1& form)
{
    QStringList texts;
    for (int i = 0; i < rules::kSeats; ++i)
        texts << form.Label3(i)->Caption();
    return texts.join(' ');
}

// The halves of the last tile laid on the table, as "left,top:pips left,top:pips".
QString lastHalves(const Form1& form, int first)
{
    QStringList halves;
    for (int i = first; i < first + 2; ++i)
        halves << QStringLiteral("%1,%2:%3")
                      .arg(form.Image3(i)->Left())
                      .arg(form.Image3(i)->Top())
                      .arg(pipsOf(form.Image3(i)->picture()));
    return halves.join(' ');
}

// The player has opened and the computer seats have answered: 3 is open at end 1 and 4 at
// end 2, and the player holds 4/3, 3/3, 4/1, 2/0, 1/1 and 0/0 in slots 2 to 7.
void toPlayersSecondTurn(Table& t)
{
    t.deal(playerOpensDeal());
    clickUpperHalf(t.form, 1);
    clickMarker(t.form, 0);
    runComputerTurns(t.form);
    QVERIFY(t.form.humanTurn);
    QCOMPARE(joined({t.form.chainEnds[1], t.form.chainEnds[2]}), QString("3 4"));
}

// Leaves a seat with one tile, in its second slot.
void leaveOneTile(Form1& form, int seat, const QString& tile)
{
    setHand(form.hands[seat], {"99", tile, "99", "99", "99", "99", "99"});
    form.Label2(seat - 1)->setCaption("1");
    for (int k = 0; seat > 1 && k < rules::kSlots; ++k)
        form.Shape1((seat - 2) * rules::kSlots + k)->setVisible(k == 0);
}

} // namespace

void TableTest::turnsRunFromTheDoubleSix_data()
{
    QTest::addColumn<int>("holder");
    QTest::addColumn<QString>("seats");  // after the deal and each of the next five events
    QTest::addColumn<QString>("pauses"); // Timer1's interval at the same moments
    QTest::newRow("seat 1") << 1 << "1 1 4 3 2 1"
                            << "0 500 100 100 100 0";
    QTest::newRow("seat 2") << 2 << "2 1 4 3 2 1"
                            << "100 0 100 100 100 0";
    QTest::newRow("seat 3") << 3 << "3 2 1 4 3 2"
                            << "100 100 0 100 100 100";
    QTest::newRow("seat 4") << 4 << "4 3 2 1 4 3"
                            << "100 100 100 0 100 100";
}

void TableTest::turnsRunFromTheDoubleSix()
{
    Table t;
    Form1& form = t.form;
    t.deal(doubleSixAtSeat(row<int>("holder")));
    QStringList seats{QString::number(form.turnSeat)};
    QStringList pauses{QString::number(form.Timer1->Interval())};
    while (seats.size() < 6) {
        // The counters and the face-down tiles always agree with the hands.
        QCOMPARE(invariantViolation(form), QString());
        if (form.humanTurn && form.firstMove) {
            QVERIFY(form.Command3->isHidden());
            clickUpperHalf(form, 3);
            clickMarker(form, 0);
        } else if (form.humanTurn) {
            Table::click(form.Command3);
        } else {
            form.Timer1_Timer();
        }
        seats << QString::number(form.turnSeat);
        pauses << QString::number(form.Timer1->isArmed() ? form.Timer1->Interval() : 0);
    }
    QCOMPARE(seats.join(' '), row<QString>("seats"));
    QCOMPARE(pauses.join(' '), row<QString>("pauses"));
    QVERIFY(t.watch.messages.empty());
}

void TableTest::openingStandsAtTheAnchor_data()
{
    QTest::addColumn<int>("holder");
    QTest::addColumn<QString>("how"); // how the player picks the double six
    QTest::addColumn<int>("marker");
    QTest::newRow("the player: upper half, green") << 1 << "upper" << 0;
    QTest::newRow("the player: lower half, cyan") << 1 << "lower" << 1;
    QTest::newRow("the player: divider, cyan") << 1 << "divider" << 1;
    QTest::newRow("seat 3") << 3 << "" << 0;
}

void TableTest::openingStandsAtTheAnchor()
{
    QFETCH(int, holder);
    Table t;
    Form1& form = t.form;
    t.deal(doubleSixAtSeat(holder));
    if (holder == 1) {
        // Offered beside the anchor, without a pass, and nothing moves meanwhile.
        QCOMPARE(joined({form.Image4(0)->Left(), form.Image4(0)->Top(), form.Image4(1)->Left(),
                         form.Image4(1)->Top()}),
                 QString("4020 3300 4380 3300"));
        QVERIFY(form.Image4(0)->Visible() && form.Image4(1)->Visible());
        QVERIFY(!form.Command3->Visible() && !form.Timer1->isArmed() && t.sound.files.isEmpty());
        select(form, 3, row<QString>("how"));
        clickMarker(form, row<int>("marker"));
    }
    QCOMPARE(lastHalves(form, 1), QString("4200,3120:6 4200,3480:6"));
    QCOMPARE(joined({form.Image3(3)->Left(), form.Image3(3)->Top()}), QString("4200 3300"));
    QCOMPARE(form.Image3(3)->picture(), pictures::kDividerHorizontal);
    QVERIFY(form.Image3(1)->Visible() && form.Image3(2)->Visible() && form.Image3(3)->Visible());
    QCOMPARE(joined({form.endPos[1][1], form.endPos[1][2], form.endDir[1], form.chainEnds[1],
                     form.endPos[2][1], form.endPos[2][2], form.endDir[2], form.chainEnds[2]}),
             QString("3840 3300 -1 6 4560 3300 1 6"));
    QCOMPARE(form.Label2(holder - 1)->Caption(), QString("6"));
    QCOMPARE(invariantViolation(form), QString());
    QCOMPARE(joined({form.firstMove, form.humanTurn, form.Timer1->Interval()}),
             QString(holder == 1 ? "0 0 500" : "0 0 100"));
    QCOMPARE(t.sound.files, QStringList{"ficha.wav"});
    QVERIFY(form.Image4(0)->isHidden() && form.Image4(1)->isHidden() && t.watch.messages.empty());
}

void TableTest::clickFramesTheWholeTile_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("how");
    for (int slot : {1, 7}) {
        for (const char* how : {"upper", "lower", "divider"})
            QTest::addRow("slot %d, %s", slot, how) << slot << QString(how);
    }
}

void TableTest::clickFramesTheWholeTile()
{
    QFETCH(int, slot);
    Table t;
    Form1& form = t.form;
    t.deal(playerOpensDeal());
    clickUpperHalf(form, 8 - slot); // a selection elsewhere first, which the click must move
    select(form, slot, row<QString>("how"));
    QVERIFY(form.Shape3->Visible());
    QCOMPARE(
        QRect(form.Shape3->Left(), form.Shape3->Top(), form.Shape3->Width(), form.Shape3->Height()),
        QRect(3000 + 480 * (slot - 1), 6240, 360, 720));
    QCOMPARE(form.selectedHandImage, Int16(2 * slot - 2 + (row<QString>("how") == "lower")));
    const auto stack = form.Shape3->parentWidget()->children();
    QVERIFY(stack.indexOf(form.Shape3) > stack.indexOf(form.Image5(slot)));
}

void TableTest::refusedMoveChangesNothing_data()
{
    QTest::addColumn<bool>("opening");
    QTest::addColumn<int>("slot"); // 0: nothing selected
    QTest::addColumn<int>("marker");
    QTest::addColumn<QString>("message");
    const QString none = "Señala una ficha primero.", wrong = "Esa ficha no es correcta.";
    QTest::newRow("nothing selected at the opening") << true << 0 << 1 << none;
    QTest::newRow("nothing selected later") << false << 0 << 0 << none;
    QTest::newRow("opening with 4/3") << true << 2 << 0 << "Tienes que empezar con el 6/6.";
    QTest::newRow("4/1 at end 1, where 3 is open") << false << 4 << 0 << wrong;
    QTest::newRow("3/3 at end 2, where 4 is open") << false << 3 << 1 << wrong;
}

void TableTest::refusedMoveChangesNothing()
{
    QFETCH(bool, opening);
    QFETCH(int, slot);
    Table t;
    Form1& form = t.form;
    if (opening)
        t.deal(playerOpensDeal());
    else
        toPlayersSecondTurn(t);
    if (slot > 0)
        clickLowerHalf(form, slot);
    const QStringList before = tableState(form) << t.sound.files;

    clickMarker(form, row<int>("marker"));

    QCOMPARE(t.watch.texts(), QStringList{row<QString>("message")});
    QCOMPARE(t.watch.messages.front().icon, QMessageBox::Warning);
    QCOMPARE(t.watch.messages.front().title, QString("Lozetta"));
    QCOMPARE(tableState(form) << t.sound.files, before);
    // The turn is still the player's.
    clickUpperHalf(form, opening ? 1 : 2);
    clickMarker(form, 0);
    QCOMPARE(joined({int(t.watch.messages.size()), form.humanTurn}), QString("1 0"));
}

void TableTest::legalMoveLaysTheTile_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("marker");
    QTest::addColumn<QString>("halves");
    QTest::addColumn<QString>("ends");
    QTest::newRow("4/3 by its second pip turns round") << 2 << 0 << "2400,3300:3 2040,3300:4"
                                                       << "4 4";
    QTest::newRow("4/3 at end 2 by its first pip") << 2 << 1 << "5280,3300:4 5640,3300:3"
                                                   << "3 3";
    QTest::newRow("3/3 at end 1 crosswise") << 3 << 0 << "2400,3120:3 2400,3480:3"
                                            << "3 4";
}

void TableTest::legalMoveLaysTheTile()
{
    QFETCH(int, slot);
    Table t;
    Form1& form = t.form;
    toPlayersSecondTurn(t);
    const Int16 first = form.Image3.Count();
    const auto sounds = t.sound.files.size();
    clickDivider(form, slot);
    clickMarker(form, row<int>("marker"));
    QCOMPARE(lastHalves(form, first), row<QString>("halves"));
    QCOMPARE(joined({form.chainEnds[1], form.chainEnds[2]}), row<QString>("ends"));
    QCOMPARE(t.sound.files.size(), sounds + 1);
    QCOMPARE(t.sound.flags.last(), Int16(1));
    QCOMPARE(tileAt(form, 1, slot), QString("99"));
    // The tile leaves its gap; the others neither move nor hide.
    for (int other = 2; other <= rules::kSlots; ++other) {
        const bool shown = other != slot;
        QCOMPARE(form.Image2(2 * other - 2)->Visible(), shown);
        QCOMPARE(form.Image2(2 * other - 1)->Visible(), shown);
        QCOMPARE(form.Image5(other)->Visible(), shown);
        QCOMPARE(form.Image2(2 * other - 2)->Left(), Int16(3000 + 480 * (other - 1)));
    }
    QVERIFY(form.Image4(0)->isHidden() && form.Image4(1)->isHidden() && form.Shape3->isHidden());
    QCOMPARE(joined({form.humanTurn, form.Timer1->Interval(), form.passCount}), QString("0 500 0"));
    QVERIFY(form.Timer1->isArmed() && t.watch.messages.empty());
}

void TableTest::onlyHandDividersSelectOutOfTurn()
{
    Table t;
    Form1& form = t.form;
    t.deal(playerOpensDeal());
    clickUpperHalf(form, 1);
    clickMarker(form, 0);
    clickUpperHalf(form, 4);
    clickLowerHalf(form, 4);
    QVERIFY(form.Shape3->isHidden());
    clickDivider(form, 4);
    QCOMPARE(form.selectedHandImage, Int16(6));
    // The selection stands when the turn comes: the cyan marker lays 4/1 at once.
    runComputerTurns(form);
    QVERIFY(form.humanTurn && form.Shape3->Visible());
    clickMarker(form, 1);
    QCOMPARE(tileAt(form, 1, 4), QString("99"));

    // The first divider on the table, over the 3/3 laid crosswise, takes a click and selects
    // nothing.
    Table u;
    toPlayersSecondTurn(u);
    clickDivider(u.form, 3);
    clickMarker(u.form, 0);
    const Picture* divider = u.form.Image5(8);
    QCOMPARE(joined({divider->Left(), divider->Top(), divider->Visible()}), QString("2400 3300 1"));
    QCOMPARE(u.form.childAt(divider->mapTo(&u.form, divider->rect().center())), divider);
    clickDivider(u.form, 8);
    QVERIFY(u.form.Shape3->isHidden());
}

void TableTest::passesAndBlocks_data()
{
    QTest::addColumn<bool>("byThePlayer");
    QTest::newRow("a block completed by the player's pass") << true;
    QTest::newRow("a fourth pass by a computer seat") << false;
}

void TableTest::passesAndBlocks()
{
    QFETCH(bool, byThePlayer);
    Table t(MatchSettings::kPuntos, 500);
    Form1& form = t.form;
    if (byThePlayer) {
        t.deal(allSixesToThePlayerDeal()); // no computer seat can answer the opening
        clickUpperHalf(form, 1);
        clickMarker(form, 0);
        runComputerTurns(form);
        // The pass is offered although 6/5 fits.
        QCOMPARE(form.passCount, Int16(3));
        QVERIFY(form.humanTurn && form.Command3->Visible() && t.watch.messages.empty());
    } else {
        toPlayersSecondTurn(t);
        // No computer seat holds a 3 or a 4 any more; the player still holds 4/3, which fits.
        setHand(form.hands[4], {"99", "10", "21", "22", "50", "51", "52"});
        setHand(form.hands[3], {"99", "55", "60", "61", "62", "65", "21"});
        setHand(form.hands[2], {"99", "66", "22", "11", "00", "20", "50"});
    }
    Table::click(form.Command3);
    // The pass moves on at once; the rest waits for Timer1's real ticks.
    QCOMPARE(form.turnSeat, Int16(4));
    QVERIFY(QTest::qWaitFor([&] { return !t.watch.messages.empty(); }, 5000));
    QCOMPARE(joined({form.turnSeat, form.passCount}), QString(byThePlayer ? "4 5" : "2 4"));
    QCOMPARE(t.watch.texts(), QStringList{"Han pasado todos."});
    QCOMPARE(t.watch.messages.front().icon, QMessageBox::Information);
    QCOMPARE(form.Command1->Caption(), QString("Siguiente mano"));
    QVERIFY(form.Command1->Visible() && form.Command3->isHidden() && form.Image4(0)->isHidden());
    QVERIFY(!form.Timer1->isArmed() && !form.humanTurn);
    // Every seat is credited the pips it holds.
    QCOMPARE(scoresShown(form), QString(byThePlayer ? "51 53 37 15" : "22 25 45 26"));
}

void TableTest::lastTileEndsTheHand_data()
{
    QTest::addColumn<int>("seat");
    QTest::addColumn<int>("target");
    QTest::newRow("the player's last tile") << 1 << 7;
    QTest::newRow("the player's last tile wins the match") << 1 << 1;
    QTest::newRow("seat 4's last tile, after the player's pass") << 4 << 7;
    QTest::newRow("seat 4's last tile wins the match") << 4 << 1;
}

void TableTest::lastTileEndsTheHand()
{
    QFETCH(int, seat);
    QFETCH(int, target);
    Table t(MatchSettings::kPartidas, Int16(target));
    Form1& form = t.form;
    form.Label5->setCaption("Juego a 1 partidas.");
    toPlayersSecondTurn(t);
    leaveOneTile(form, seat, seat == 1 ? "43" : "30");
    if (seat == 1) {
        clickLowerHalf(form, 2);
        clickMarker(form, 0);
    } else {
        Table::click(form.Command3);
    }
    const bool over = target == 1;
    QStringList messages{QStringLiteral("Ganador de la mano: Jugador %1.").arg(seat)};
    if (over)
        messages << QStringLiteral("Fin de partida. Ha ganado el jugador %1").arg(seat);
    QCOMPARE(t.watch.texts(), messages);
    QCOMPARE(t.watch.messages.front().icon, QMessageBox::NoIcon);
    QCOMPARE(t.watch.messages.back().icon, over ? QMessageBox::Information : QMessageBox::NoIcon);
    QCOMPARE(joined({form.turnSeat, form.Label2(seat - 1)->Caption().toInt(),
                     form.Timer1->isArmed(), form.humanTurn, form.matchActive}),
             joined({seat, 0, 0, 0, over ? 0 : -1}));
    QCOMPARE(scoresShown(form), seat == 1 ? QString("1 0 0 0") : QString("0 0 0 1"));
    QCOMPARE(form.Label5->Caption(), over ? QString() : QString("Juego a 1 partidas."));
    QCOMPARE(form.Command1->Visible(), !over);
    if (!over)
        return;
    // After the match the hand and the pass button, still showing, take no clicks.
    QCOMPARE(form.Command3->Visible(), seat == 1);
    const QStringList before = tableState(form);
    for (int slot = 3; slot <= rules::kSlots; ++slot) {
        clickUpperHalf(form, slot);
        clickDivider(form, slot);
    }
    Table::click(form.Command3);
    QCOMPARE(tableState(form), before);
    QCOMPARE(t.watch.messages.size(), std::size_t(2));
}

void TableTest::endOfHandScores_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("before");    // scores, seat 1 first
    QTest::addColumn<QString>("tilesLeft"); // the counters
    QTest::addColumn<int>("passes");
    QTest::addColumn<QString>("messages");
    QTest::addColumn<QString>("after");
    QTest::newRow("Partidas: a blocked hand scores nothing")
        << 1 << 1 << "0 0 0 0"
        << "3 5 1 2" << 5 << "Han pasado todos."
        << "0 0 0 0";
    QTest::newRow("Fichas: a shared lowest at the target")
        << 2 << 15 << "12 5 2 4"
        << "3 0 3 2" << 0 << "Ganador de la mano: Jugador 2.|Ronda de desempate."
        << "15 5 5 6";
    QTest::newRow("Fichas: the seat at the target is not the winner")
        << 2 << 15 << "12 5 2 4"
        << "3 0 4 2" << 0 << "Ganador de la mano: Jugador 2.|Fin de partida. Ha ganado el jugador 2"
        << "15 5 6 6";
    QTest::newRow("Fichas: a block credits every seat") << 2 << 50 << "1 2 3 4"
                                                        << "2 3 1 4" << 4 << "Han pasado todos."
                                                        << "3 5 4 8";
    // The pips held: 0/0 alone adds nothing, 6/6 and 5/4 add 21, 3/1 adds 4.
    QTest::newRow("Puntos: the unique lowest wins")
        << 3 << 21 << "3 0 0 0"
        << "1 0 2 1" << 0 << "Ganador de la mano: Jugador 2.|Fin de partida. Ha ganado el jugador 2"
        << "3 0 21 4";
}

void TableTest::endOfHandScores()
{
    QFETCH(QString, before);
    QFETCH(QString, tilesLeft);
    Table t{Int16(row<int>("kind")), Int16(row<int>("target"))};
    Form1& form = t.form;
    form.Label5->setCaption("Juego a ...");
    t.deal(doubleSixAtSeat(2));
    form.Timer1->setInterval(0);
    const QStringList pips{"00 99 99 99 99 99 99", "99 99 99 99 99 99 99", "99 66 99 54 99 99 99",
                           "99 99 99 99 99 99 31"};
    for (int seat = 1; seat <= rules::kSeats; ++seat) {
        form.settings.scores[seat] = before.section(' ', seat - 1, seat - 1).toShort();
        form.Label2(seat - 1)->setCaption(tilesLeft.section(' ', seat - 1, seat - 1));
        setHand(form.hands[seat], pips.at(seat - 1).split(' '));
    }
    form.passCount = Int16(row<int>("passes"));
    form.Command3->show();

    form.EndHand();

    QCOMPARE(t.watch.texts().join('|'), row<QString>("messages"));
    for (const auto& m : t.watch.messages)
        QCOMPARE(m.icon,
                 m.text.startsWith("Ganador") ? QMessageBox::NoIcon : QMessageBox::Information);
    QCOMPARE(scoresShown(form), row<QString>("after"));
    QCOMPARE(joined({form.settings.scores[1], form.settings.scores[2], form.settings.scores[3],
                     form.settings.scores[4]}),
             row<QString>("after"));
    const bool over = row<QString>("messages").contains("Fin de partida");
    QCOMPARE(form.matchActive, over ? kFalse : kTrue);
    QCOMPARE(form.Label5->Caption().isEmpty(), over);
    QCOMPARE(form.Command1->Visible(), !over);
    QCOMPARE(form.Command3->Visible(), over); // at the match's end it keeps what it showed
    QCOMPARE(form.Command1->Caption(), QString(over ? "Comenzar la partida" : "Siguiente mano"));
}

void TableTest::newGameCommand_data()
{
    QTest::addColumn<bool>("active");
    QTest::addColumn<QString>("answer"); // to the question: ok, cancel or escape
    QTest::addColumn<bool>("accept");    // the options dialog
    QTest::newRow("during a match: cancelled") << true << "cancel" << false;
    QTest::newRow("during a match: escaped") << true << "escape" << false;
    QTest::newRow("during a match: dialog closed") << true << "ok" << false;
    QTest::newRow("during a match: accepted") << true << "ok" << true;
    QTest::newRow("after the match: accepted") << false << "" << true;
}

void TableTest::newGameCommand()
{
    QFETCH(bool, active);
    QFETCH(QString, answer);
    QFETCH(bool, accept);
    Table t(MatchSettings::kFichas, 25);
    Form1& form = t.form;
    toPlayersSecondTurn(t);
    form.matchActive = active ? kTrue : kFalse;
    const QStringList before = tableState(form);
    if (answer == "escape")
        t.watch.escapeNext();
    t.watch.queueAnswer(answer == "cancel" ? QMessageBox::Cancel : QMessageBox::Ok);
    bool askedFirst = false;
    t.watch.then([&](QWidget* d) {
        askedFirst = t.watch.messages.size() == std::size_t(active);
        auto* options = qobject_cast<Form2*>(d);
        options->Option1(2)->click();
        if (accept)
            Table::click(options->Command1);
        else
            d->close();
    });

    QVERIFY(pressShortcut(form, Qt::Key_F2));

    const bool asked = active;
    QCOMPARE(t.watch.texts(), asked ? QStringList{"Quieres empezar otra partida?"} : QStringList{});
    if (asked)
        QCOMPARE(joined({t.watch.messages[0].icon, t.watch.messages[0].hasCancel}),
                 joined({QMessageBox::Question, 1}));
    const bool goesOn = answer == "ok" || !active;
    QCOMPARE(t.watch.shown, goesOn ? QStringList{"Form2"} : QStringList{});
    QVERIFY(!goesOn || askedFirst);
    if (!accept) {
        QCOMPARE(tableState(form), before); // the hand in progress is untouched
        return;
    }
    QCOMPARE(joined({form.matchActive, form.settings.matchKind, form.settings.matchTarget}),
             QString("-1 3 50"));
    QCOMPARE(form.Label5->Caption(), QString("Juego a 50 puntos."));
    QCOMPARE(form.Command1->Caption(), QString("Comenzar la partida"));
    QVERIFY(form.Command1->isVisible() && form.Command3->isHidden());
    QCOMPARE(scoresShown(form), QString("0 0 0 0"));
    // Otherwise the hand stays as it was until the next deal: only the two buttons, the four
    // scores, the description, the settings and whether a match is on have changed.
    const QStringList after = tableState(form);
    int changed = 0;
    for (qsizetype i = 0; i < after.size(); ++i)
        changed += after[i] != before[i];
    QCOMPARE(changed, active ? 8 : 9);
}

void TableTest::randomHandsKeepTheInvariants()
{
    constexpr int kHands = 300;
    Table table;
    Form1& form = table.form;
    std::mt19937 dice(2024);
    rules::Scores last{};
    QString problem;
    for (int hand = 0; hand < kHands && problem.isEmpty(); ++hand) {
        if (!form.matchActive || hand % 100 == 0) {
            form.settings = {Int16(1 + hand / 100), 999, {}};
            form.matchActive = kTrue;
            last = {};
        }
        form.random.seed(std::uint32_t(hand));
        form.Command1_Click();
        if (form.Image5.Count() != rules::kSlots + 1)
            problem = "the last hand's dividers are still there";
        while (problem.isEmpty() && form.matchActive && !form.Command1->Visible()) {
            problem = invariantViolation(form);
            for (int seat = 1; seat <= rules::kSeats; ++seat) {
                if (form.settings.scores[seat] < last[seat])
                    problem = QStringLiteral("the score of seat %1 went down").arg(seat);
            }
            last = form.settings.scores;
            if (!form.Timer1->isArmed() && !form.humanTurn)
                problem = "the game stopped with nobody to move";
            else if (problem.isEmpty())
                playHandToItsEnd(form, dice, 1);
        }
        if (problem.isEmpty())
            problem = invariantViolation(form);
        if (!problem.isEmpty())
            problem = QStringLiteral("hand %1: %2").arg(hand).arg(problem);
    }
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

QTEST_MAIN(TableTest)
#include "test_table.moc"
