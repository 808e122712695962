#include "options/form2.h"
#include "support/table.h"
#include "table/pictures.h"

// A hand on the real table: whose turn it is and when, the opening, the player's selection and
// move with every refusal, pass and block, the end of a hand and the new-game command.
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
    void movesAndRefusals_data();
    void movesAndRefusals();
    void onlyHandDividersSelectOutOfTurn();
    void blocks_data();
    void blocks();
    void lastTileEndsTheHand_data();
    void lastTileEndsTheHand();
    void endOfHandScores_data();
    void endOfHandScores();
    void newGameCommand_data();
    void newGameCommand();
    void wholeHandsKeepTheInvariants();
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

QString scoresShown(const Form1& f)
{
    QStringList shown;
    for (int i = 0; i < rules::kSeats; ++i)
        shown << f.Label3(i)->Caption();
    return shown.join(' ');
}

// The pictures laid from Image3(first) on, as "left,top:pips" ("d" for a divider).
QString laid(const Form1& form, int first, int count = 2)
{
    QStringList pictures;
    for (int i = first; i < first + count; ++i) {
        const int pips = pipsOf(form.Image3(i)->picture());
        pictures << QStringLiteral("%1,%2:%3")
                        .arg(form.Image3(i)->Left())
                        .arg(form.Image3(i)->Top())
                        .arg(pips < 0 ? QString("d") : QString::number(pips));
    }
    return pictures.join(' ');
}

int changedLines(const QStringList& before, const QStringList& after)
{
    int changed = 0;
    for (qsizetype i = 0; i < after.size(); ++i)
        changed += after[i] != before.value(i);
    return changed;
}

// The player has opened and the computer seats have answered: 3 is open at end 1 and 4 at
// end 2, and the player holds 4/3, 3/3, 4/1, 2/0, 1/1 and 0/0 in slots 2 to 7.
void toPlayersSecondTurn(Table& t)
{
    t.deal(playerOpensDeal());
    clickTile(t.form, 1);
    clickMarker(t.form, 0);
    runComputerTurns(t.form);
    QVERIFY(t.form.humanTurn);
    QCOMPARE(joined({t.form.chainEnds[1], t.form.chainEnds[2]}), QString("3 4"));
}

} // namespace

void TableTest::turnsRunFromTheDoubleSix_data()
{
    // The seat to move and Timer1's pause after the deal and each of the next five events.
    addRows({"seats", "pauses"},
            {"seat 1|1 1 4 3 2 1|0 500 100 100 100 0", "seat 2|2 1 4 3 2 1|100 0 100 100 100 0",
             "seat 3|3 2 1 4 3 2|100 100 0 100 100 100",
             "seat 4|4 3 2 1 4 3|100 100 100 0 100 100"});
}

void TableTest::turnsRunFromTheDoubleSix()
{
    Table t;
    Form1& form = t.form;
    t.deal(doubleSixAtSeat(QString(QTest::currentDataTag()).back().digitValue()));
    QStringList seats, pauses;
    while (seats.size() < 6) {
        seats << QString::number(form.turnSeat);
        pauses << QString::number(form.Timer1->isArmed() ? form.Timer1->Interval() : 0);
        QCOMPARE(invariantViolation(form), QString());
        if (form.humanTurn && form.firstMove) {
            QVERIFY(form.Command3->isHidden());
            clickTile(form, 3);
            clickMarker(form, 0);
        } else if (form.humanTurn) {
            Table::click(form.Command3);
        } else {
            form.Timer1_Timer();
        }
    }
    QCOMPARE(seats.join(' '), cell("seats"));
    QCOMPARE(pauses.join(' '), cell("pauses"));
    QVERIFY(t.watch.messages.empty());
}

void TableTest::openingStandsAtTheAnchor_data()
{
    addRows({"holder", "how", "marker"},
            {"the player: upper half, green|1|upper|0", "the player: lower half, cyan|1|lower|1",
             "the player: divider, cyan|1|divider|1", "seat 3|3||"});
}

void TableTest::openingStandsAtTheAnchor()
{
    const int holder = number("holder");
    Table t;
    Form1& form = t.form;
    t.deal(doubleSixAtSeat(holder));
    if (holder == 1) {
        // Offered beside the anchor, without a pass, and nothing moves meanwhile.
        QCOMPARE(
            joined({form.Image4(0)->Left(), form.Image4(0)->Top(), form.Image4(1)->Left(),
                    form.Image4(1)->Top(), form.Image4(0)->Visible(), form.Image4(1)->Visible(),
                    form.Command3->Visible(), form.Timer1->isArmed(), int(t.sound.files.size())}),
            QString("4020 3300 4380 3300 1 1 0 0 0"));
        clickTile(form, 3, cell("how"));
        clickMarker(form, number("marker"));
    }
    QCOMPARE(laid(form, 1, 3), QString("4200,3120:6 4200,3480:6 4200,3300:d"));
    QCOMPARE(form.Image3(3)->picture(), pictures::kDividerHorizontal);
    QVERIFY(form.Image3(1)->Visible() && form.Image3(2)->Visible() && form.Image3(3)->Visible());
    QCOMPARE(tableState(form).at(tableState(form).size() - 2),
             QString("6 3840 3300 -1 0 6 4560 3300 1 0 "));
    QCOMPARE(form.Label2(holder - 1)->Caption(), QString("6"));
    QCOMPARE(invariantViolation(form), QString());
    QCOMPARE(joined({form.firstMove, form.humanTurn, form.Timer1->Interval()}),
             QString(holder == 1 ? "0 0 500" : "0 0 100"));
    QCOMPARE(t.sound.files, QStringList{"ficha.wav"});
    QVERIFY(form.Image4(0)->isHidden() && form.Image4(1)->isHidden() && t.watch.messages.empty());
}

void TableTest::clickFramesTheWholeTile_data()
{
    addRows({"slot", "how", "image"}, {"slot 1, upper|1|upper|0", "slot 1, lower|1|lower|1",
                                       "slot 1, divider|1|divider|0", "slot 7, upper|7|upper|12",
                                       "slot 7, lower|7|lower|13", "slot 7, divider|7|divider|12"});
}

void TableTest::clickFramesTheWholeTile()
{
    const int slot = number("slot");
    Table t;
    Form1& form = t.form;
    t.deal(playerOpensDeal());
    clickTile(form, 8 - slot); // a selection elsewhere first, which the click must move
    clickTile(form, slot, cell("how"));
    QCOMPARE(joined({form.Shape3->Visible(), form.Shape3->Left(), form.Shape3->Top(),
                     form.Shape3->Width(), form.Shape3->Height(), form.selectedHandImage}),
             joined({1, 3000 + 480 * (slot - 1), 6240, 360, 720, number("image")}));
    const auto stack = form.Shape3->parentWidget()->children();
    QVERIFY(stack.indexOf(form.Shape3) > stack.indexOf(form.Image5(slot)));
}

void TableTest::movesAndRefusals_data()
{
    // A slot of the player's hand (0: none) laid at a marker at the opening or at the second
    // turn: the message, or the halves and the divider laid and the open ends afterwards.
    const QString none = "Señala una ficha primero.", wrong = "Esa ficha no es correcta.";
    addRows({"opening", "slot", "marker", "outcome"},
            {"nothing selected at the opening|1|0|1|" + none,
             "nothing selected later|0|0|0|" + none,
             "opening with 4/3|1|2|0|Tienes que empezar con el 6/6.",
             "4/1 at end 1, where 3 is open|0|4|0|" + wrong,
             "3/3 at end 2, where 4 is open|0|3|1|" + wrong,
             "4/3 by its second pip turns round|0|2|0|2400,3300:3 2040,3300:4 2220,3300:d ends 4 4",
             "4/3 at end 2 by its first pip|0|2|1|5280,3300:4 5640,3300:3 5460,3300:d ends 3 3",
             "3/3 at end 1 crosswise|0|3|0|2400,3120:3 2400,3480:3 ends 3 4"});
}

void TableTest::movesAndRefusals()
{
    const int slot = number("slot");
    Table t;
    Form1& form = t.form;
    if (number("opening"))
        t.deal(playerOpensDeal());
    else
        toPlayersSecondTurn(t);
    if (slot > 0)
        clickTile(form, slot, "lower");
    const QStringList before = tableState(form) << t.sound.files;
    const Int16 first = form.Image3.Count();
    const auto sounds = t.sound.files.size();

    clickMarker(form, number("marker"));

    if (!cell("outcome").contains("ends")) {
        QCOMPARE(t.watch.texts(), QStringList{cell("outcome")});
        QCOMPARE(joined({t.watch.messages[0].icon, t.watch.messages[0].title == "Lozetta"}),
                 joined({QMessageBox::Warning, 1}));
        QCOMPARE(tableState(form) << t.sound.files, before);
        clickTile(form, number("opening") ? 1 : 2); // the turn stays
        clickMarker(form, 0);
        QCOMPARE(joined({int(t.watch.messages.size()), form.humanTurn}), QString("1 0"));
        return;
    }
    const bool crosswise = slot == 3;
    QCOMPARE(laid(form, first, crosswise ? 2 : 3) + " ends " +
                 joined({form.chainEnds[1], form.chainEnds[2]}),
             cell("outcome"));
    QCOMPARE(t.sound.files.size(), sounds + 1);
    QCOMPARE(t.sound.flags.last(), Int16(1));
    QCOMPARE(tileAt(form, 1, slot), QString("99"));
    for (int other = 2; other <= rules::kSlots; ++other) { // the gap stays; nothing else moves
        const bool shown = other != slot;
        QCOMPARE(
            joined({form.Image2(2 * other - 2)->Visible(), form.Image2(2 * other - 1)->Visible(),
                    form.Image5(other)->Visible(), form.Image2(2 * other - 2)->Left()}),
            joined({shown, shown, shown, 3000 + 480 * (other - 1)}));
    }
    QVERIFY(form.Image4(0)->isHidden() && form.Image4(1)->isHidden() && form.Shape3->isHidden());
    QCOMPARE(
        joined({form.humanTurn, form.Timer1->isArmed(), form.Timer1->Interval(), form.passCount}),
        QString("0 1 500 0"));
    QVERIFY(t.watch.messages.empty());
}

void TableTest::onlyHandDividersSelectOutOfTurn()
{
    Table t;
    Form1& form = t.form;
    t.deal(playerOpensDeal());
    clickTile(form, 1);
    clickMarker(form, 0);
    clickTile(form, 4);
    clickTile(form, 4, "lower");
    QVERIFY(form.Shape3->isHidden());
    clickDivider(form, 4);
    QCOMPARE(form.selectedHandImage, Int16(6));
    runComputerTurns(form); // the selection stands when the turn comes
    QVERIFY(form.humanTurn && form.Shape3->Visible());
    clickMarker(form, 1);
    QCOMPARE(tileAt(form, 1, 4), QString("99"));

    // The first divider on the table, over the 3/3 laid crosswise, selects nothing.
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

void TableTest::blocks_data()
{
    addRows({"end", "scores"}, {"completed by the player's pass|4 5|51 53 37 15",
                                "a fourth pass by a computer seat|2 4|22 25 45 26"});
}

void TableTest::blocks()
{
    const bool byThePlayer = cell("end") == "4 5";
    Table t(MatchSettings::kPuntos, 500);
    Form1& form = t.form;
    if (byThePlayer) {
        t.deal(allSixesToThePlayerDeal()); // no computer seat can answer the opening
        clickTile(form, 1);
        clickMarker(form, 0);
        runComputerTurns(form);
        // Three passes; the pass is offered although 6/5 fits.
        QCOMPARE(joined({form.passCount, form.humanTurn, form.Command3->Visible()}),
                 QString("3 -1 1"));
    } else {
        toPlayersSecondTurn(t);
        // No computer seat holds a 3 or a 4 any more; the player's 4/3 still fits.
        setHand(form.hands[4], {"99", "10", "21", "22", "50", "51", "52"});
        setHand(form.hands[3], {"99", "55", "60", "61", "62", "65", "21"});
        setHand(form.hands[2], {"99", "66", "22", "11", "00", "20", "50"});
    }
    QVERIFY(t.watch.messages.empty());
    Table::click(form.Command3);
    QCOMPARE(form.turnSeat, Int16(4)); // at once; the rest waits for Timer1's real ticks
    QVERIFY(QTest::qWaitFor([&] { return !t.watch.messages.empty(); }, 5000));
    QCOMPARE(joined({form.turnSeat, form.passCount}), cell("end"));
    QCOMPARE(t.watch.texts(), QStringList{"Han pasado todos."});
    QCOMPARE(t.watch.messages.front().icon, QMessageBox::Information);
    QCOMPARE(form.Command1->Caption(), QString("Siguiente mano"));
    QVERIFY(form.Command1->Visible() && form.Command3->isHidden() && form.Image4(0)->isHidden());
    QVERIFY(!form.Timer1->isArmed() && !form.humanTurn);
    QCOMPARE(scoresShown(form), cell("scores")); // every seat is credited the pips it holds
    t.deal(doubleSixAtSeat(2));                  // the next hand starts afresh
    QCOMPARE(joined({int(t.watch.messages.size()), form.passCount, form.Timer1->isArmed(),
                     form.Image3.Count(), form.Image5.Count()}),
             QString("1 0 1 4 8"));
}

void TableTest::lastTileEndsTheHand_data()
{
    addRows({"seat", "target"},
            {"the player's last tile|1|7", "the player's last tile wins the match|1|1",
             "seat 4's last tile, after the player's pass|4|7", "seat 4's last tile wins|4|1"});
}

void TableTest::lastTileEndsTheHand()
{
    const int seat = number("seat");
    const bool over = number("target") == 1;
    Table t(MatchSettings::kPartidas, Int16(number("target")));
    Form1& form = t.form;
    form.Label5->setCaption("Juego a 1 partidas.");
    toPlayersSecondTurn(t);
    // The seat keeps one tile, in its second slot.
    setHand(form.hands[seat], {"99", seat == 1 ? "43" : "30", "99", "99", "99", "99", "99"});
    form.Label2(seat - 1)->setCaption("1");
    for (int k = 0; seat > 1 && k < rules::kSlots; ++k)
        form.Shape1((seat - 2) * rules::kSlots + k)->setVisible(k == 0);
    if (seat == 1) {
        clickTile(form, 2, "lower");
        clickMarker(form, 0);
    } else {
        Table::click(form.Command3);
    }
    QStringList messages{QStringLiteral("Ganador de la mano: Jugador %1.").arg(seat)};
    if (over)
        messages << QStringLiteral("Fin de partida. Ha ganado el jugador %1").arg(seat);
    QCOMPARE(t.watch.texts(), messages);
    QCOMPARE(joined({t.watch.messages.front().icon, t.watch.messages.back().icon}),
             joined({QMessageBox::NoIcon, over ? QMessageBox::Information : QMessageBox::NoIcon}));
    QCOMPARE(
        joined({form.turnSeat, form.Label2(seat - 1)->Caption().toInt(), form.Timer1->isArmed(),
                form.humanTurn, form.matchActive, form.Command1->Visible()}),
        joined({seat, 0, 0, 0, over ? 0 : -1, !over}));
    QCOMPARE(scoresShown(form), seat == 1 ? QString("1 0 0 0") : QString("0 0 0 1"));
    QCOMPARE(form.Label5->Caption(), over ? QString() : QString("Juego a 1 partidas."));
    if (!over)
        return;
    // After the match the hand and the pass button, still showing, take no clicks.
    QCOMPARE(form.Command3->Visible(), seat == 1);
    const QStringList before = tableState(form);
    for (int slot = 3; slot <= rules::kSlots; ++slot)
        clickTile(form, slot), clickDivider(form, slot);
    Table::click(form.Command3);
    QCOMPARE(tableState(form), before);
    QCOMPARE(t.watch.messages.size(), std::size_t(2));
}

void TableTest::endOfHandScores_data()
{
    // Seat 1 holds 0/0 alone (no pips), seat 3 6/6 and 5/4 (21), seat 4 3/1 (4).
    const QString won = "Ganador de la mano: Jugador 2.;Fin de partida. Ha ganado el jugador 2";
    addRows({"kind", "target", "before", "tilesLeft", "passes", "after", "messages"},
            {"Partidas: a block scores nothing|1|1|0 0 0 0|3 5 1 2|5|0 0 0 0|Han pasado todos.",
             "Fichas: a shared lowest at the target|2|15|12 5 2 4|3 0 3 2|0|15 5 5 6|"
             "Ganador de la mano: Jugador 2.;Ronda de desempate.",
             "Puntos: the unique lowest wins|3|21|3 0 0 0|1 0 2 1|0|3 0 21 4|" + won});
}

void TableTest::endOfHandScores()
{
    Table t{Int16(number("kind")), Int16(number("target"))};
    Form1& form = t.form;
    form.Label5->setCaption("Juego a ...");
    t.deal(doubleSixAtSeat(2));
    form.Timer1->setInterval(0);
    const QStringList pips{"00 99 99 99 99 99 99", "99 99 99 99 99 99 99", "99 66 99 54 99 99 99",
                           "99 99 99 99 99 99 31"};
    for (int seat = 1; seat <= rules::kSeats; ++seat) {
        form.settings.scores[seat] = cell("before").section(' ', seat - 1, seat - 1).toShort();
        form.Label2(seat - 1)->setCaption(cell("tilesLeft").section(' ', seat - 1, seat - 1));
        setHand(form.hands[seat], pips.at(seat - 1).split(' '));
    }
    form.passCount = Int16(number("passes"));
    form.Command3->show();

    form.EndHand();

    const QString messages = t.watch.texts().join(';');
    QCOMPARE(messages, cell("messages"));
    for (const auto& m : t.watch.messages)
        QCOMPARE(m.icon,
                 m.text.startsWith("Ganador") ? QMessageBox::NoIcon : QMessageBox::Information);
    QCOMPARE(scoresShown(form), cell("after"));
    const auto& s = form.settings.scores;
    QCOMPARE(joined({s[1], s[2], s[3], s[4]}), cell("after"));
    const bool over = messages.contains("Fin de partida");
    QCOMPARE(joined({form.matchActive, form.Label5->Caption().isEmpty(), form.Command1->Visible(),
                     form.Command3->Visible()}), // at the match's end it keeps what it showed
             joined({over ? 0 : -1, over, !over, over}));
    QCOMPARE(form.Command1->Caption(), QString(over ? "Comenzar la partida" : "Siguiente mano"));
}

void TableTest::newGameCommand_data()
{
    addRows({"active", "answer", "accept"},
            {"during a match: cancelled|1|cancel|0", "during a match: escaped|1|escape|0",
             "during a match: dialog closed|1|ok|0", "during a match: accepted|1|ok|1",
             "after the match: accepted|0||1"});
}

void TableTest::newGameCommand()
{
    const bool active = number("active"), accept = number("accept");
    Table t(MatchSettings::kFichas, 25);
    Form1& form = t.form;
    toPlayersSecondTurn(t);
    form.matchActive = active ? kTrue : kFalse;
    const QStringList before = tableState(form);
    if (cell("answer") == "escape")
        t.watch.queueAnswer(QMessageBox::NoButton);
    t.watch.queueAnswer(cell("answer") == "cancel" ? QMessageBox::Cancel : QMessageBox::Ok);
    bool askedFirst = false;
    t.watch.then([&](QWidget* d) {
        askedFirst = t.watch.messages.size() == std::size_t(active);
        qobject_cast<Form2*>(d)->Option1(2)->click();
        if (accept)
            Table::click(qobject_cast<Form2*>(d)->Command1);
        else
            d->close();
    });

    QVERIFY(pressShortcut(form, Qt::Key_F2));

    QCOMPARE(t.watch.texts(),
             active ? QStringList{"Quieres empezar otra partida?"} : QStringList{});
    if (active)
        QCOMPARE(joined({t.watch.messages[0].icon, t.watch.messages[0].hasCancel}),
                 joined({QMessageBox::Question, 1}));
    const bool shown = cell("answer") == "ok" || !active;
    QCOMPARE(t.watch.shown, shown ? QStringList{"Form2"} : QStringList{});
    QVERIFY(!shown || askedFirst);
    if (!accept) {
        QCOMPARE(tableState(form), before); // the hand in progress is untouched
        return;
    }
    QCOMPARE(joined({form.matchActive, form.settings.matchKind, form.settings.matchTarget,
                     form.Command1->isVisible(), form.Command3->isVisible()}),
             QString("-1 3 50 1 0"));
    QCOMPARE(form.Label5->Caption() + form.Command1->Caption(),
             QString("Juego a 50 puntos.Comenzar la partida"));
    QCOMPARE(scoresShown(form), QString("0 0 0 0"));
    // Otherwise the hand stays until the next deal: only the two buttons, the four scores, the
    // description, the settings and whether a match is on have changed.
    QCOMPARE(changedLines(before, tableState(form)), active ? 8 : 9);
}

void TableTest::wholeHandsKeepTheInvariants()
{
    Table t;
    std::mt19937 dice(2024);
    for (int hand = 0; hand < 40; ++hand) {
        t.form.settings = {MatchSettings::kPuntos, 999, {}};
        t.form.random.seed(std::uint32_t(hand));
        t.form.Command1_Click();
        while (!t.form.Command1->Visible()) { // one event at a time, checked after each
            QVERIFY2(invariantViolation(t.form).isEmpty(), qPrintable(invariantViolation(t.form)));
            QVERIFY(t.form.Timer1->isArmed() || t.form.humanTurn);
            playHandToItsEnd(t.form, dice, 1);
        }
    }
}

QTEST_MAIN(TableTest)
#include "test_table.moc"
