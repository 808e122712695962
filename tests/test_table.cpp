#include "options/form2.h"
#include "support/table.h"
#include "table/pictures.h"

#include <QAccessibleActionInterface>

// A hand on the real table: the player's clicks with every refusal, the turns, pass and block,
// the end of a hand and of a match, the menu's commands, and a screen reader's presses.
class TableTest : public QObject
{
    Q_OBJECT
private slots:
    void playersClicks_data();
    void playersClicks();
    void handsRunFromTheDoubleSix();
};

namespace
{

QString listed(std::initializer_list<int> values)
{
    QStringList texts;
    for (int v : values)
        texts << QString::number(v);
    return texts.join(',');
}

// A laid picture as "left,top:" and its pips, or h or v for a lying or upright divider.
QString placed(const Picture* p)
{
    const int pips = pipsOf(p->picture());
    const QString what = p->picture() == pictures::kDividerHorizontal ? "h" : "v";
    return QStringLiteral("%1,%2:").arg(p->Left()).arg(p->Top()) +
           (pips >= 0 ? QString::number(pips) : what);
}

} // namespace

void TableTest::playersClicks_data()
{
    // Steps: a deal (opens: the player opens, then holds 4/3, 3/3, 4/1, 2/0, 1/1, 0/0; all: every
    // six to the player; sixN: the double six in seat N's third slot); tN, lN, dN, mN: a click on
    // slot N's upper or lower half, divider N, marker N; run: the computer seats at once; wait:
    // real ticks until a message; hS: seat S's tiles rigged; kind, target, active, passes, scores,
    // left (the counters) set; still: Timer1 stopped; end: the hand ends; ask: the next answer;
    // f2: the new-game command, the 50-point match chosen (f2-: closed); mute: Ctrl+S; pressN,
    // press-: a screen reader presses marker N, the start button; !: see changed.
    const QString second = "opens t1 m0 run ", none = "W:Señala una ficha primero.",
                  wrong = "W:Esa ficha no es correcta.", block = "I:Han pasado todos.",
                  asked = "Q:Quieres empezar otra partida? (Cancel)",
                  winner = "N:Ganador de la mano: Jugador ", two = winner + "2.",
                  tie = ";I:Ronda de desempate.",
                  won = two + ";I:Fin de partida. Ha ganado el jugador ",
                  opened = "new=4200,3120:6/4200,3480:6/4200,3300:h ends=6,6 markers=-",
                  on = " button=Siguiente_mano active=-1 told=.",
                  over = " button=- active=0 told=-",
                  // 0/0 alone (no pips), nothing, 6/6 and 5/4 (21), 3/1 (4)
        rig = "six2 h1=00.99.99.99.99.99.99 h2=99.99.99.99.99.99.99 "
              "h3=99.66.99.54.99.99.99 h4=99.99.99.99.99.99.31 ";
    addRows(
        {"steps", "messages", "state"},
        {"seat 1: turns 1, 4, 3, 2|six1 t3 m0 run||ticks=1:500,4:100,3:100,2:100",
         "seat 3: turns|six3 run pass run||ticks=3:100,2:100,4:100,3:100,2:100",
         "seat 1 is offered the markers, no pass|six1||markers=4020,3300,4380,3300 pass=0 "
         "turn=1,-1,-1,0,0 sounds=0",
         "seat 1 opens by the upper half, green|six1 t3 m0||turn=1,0,0,0,500 sounds=1 " + opened,
         "the sound switch is read at each tile|six1 mute t3 m0 mute run||sounds=2",
         "by the lower half, cyan|six1 l3 m1||hand=3303333 " + opened,
         "the upper half of slot 1 frames the tile|opens t7 t1||frame=3000,6240,360,720,1 sel=0",
         "the lower half of slot 1|opens t7 l1||frame=3000,6240,360,720,1 sel=1",
         "nothing selected at the opening|opens m1|" + none + "|changed=0",
         "nothing selected later|" + second + "m0|" + none + "|changed=0 turn=1,-1,0,0,0",
         "opening with 4/3|opens l2 m0|W:Tienes que empezar con el 6/6.|changed=0",
         "4/1 at end 1, where 3 is open|" + second + "l4 m0|" + wrong + "|changed=0",
         "3/3 at end 2, where 4 is open|" + second + "l3 m1|" + wrong + "|changed=0",
         "4/3 by its second pip turns round|" + second +
             "l2 m0||new=2400,3300:3/2040,3300:4/2220,3300:v ends=4,4 hand=0033333 "
             "frame=- markers=- turn=1,0,0,0,500 sounds=5",
         "3/3 at end 1 crosswise|" + second + "l3 m0||new=2400,3120:3/2400,3480:3/2400,3300:h",
         "out of turn the halves select nothing|opens t1 m0 t4 l4||frame=-",
         "out of turn a hand divider selects, kept for the turn|opens t1 m0 d4 run m1||"
         "hand=0330333 ends=3,1",
         "the first divider on the table selects nothing|" + second + "l3 m0 d8||frame=-",
         "the pass button is dead out of turn|opens t1 m0 pass||changed=0",
         "a screen reader's press on a hidden marker, a tile framed out of turn|"
         "six4 still d1 ! press0||changed=0",
         "on the hidden start button|opens still ! press-||changed=0",
         "every six to the player: three passes, the pass offered|all t1 m0 run||"
         "turn=1,-1,0,3,0 pass=1",
         "the player's pass completes a block|kind=3 target=500 all t1 m0 run pass wait|" + block +
             "|turn=4,0,0,5,0 scores=51,53,37,15 pass=0 markers=-" + on,
         "then the next deal starts afresh|all t1 m0 run pass wait six2|" + block +
             "|turn=2,0,0,0,100 pieces=4,8",
         "a fourth pass by a computer seat|" + second +
             "kind=3 target=500 h4=99.10.21.22.50.51.52 h3=99.55.60.61.62.65.21 "
             "h2=99.66.22.11.00.20.50 pass wait|" +
             block + "|turn=2,0,0,4,0 scores=22,25,45,26",
         "the player's last tile|" + second + "h1=99.43.99.99.99.99.99 l2 m0|" + winner +
             "1.|turn=1,0,0,0,0 scores=1,0,0,0 pass=0" + on,
         "seat 4's last tile, after the player's pass|" + second + "h4=99.30.99.99.99.99.99 pass|" +
             winner + "4.|turn=4,0,0,0,0 scores=0,0,0,1" + on,
         "the player's last tile wins, then takes no clicks|" + second +
             "target=1 h1=99.43.99.99.99.99.99 l2 m0 ! t3 d4 pass|" + winner +
             "1.;I:Fin de partida. Ha ganado el jugador 1|changed=0 pass=1" + over,
         "Partidas: a block scores nothing|" + rig + "target=1 left=3.5.1.2 passes=5 end|" + block +
             "|scores=0,0,0,0" + on,
         "Partidas: one a hand, at the target wins|" + rig + "target=1 left=3.0.1.2 end|" + won +
             "2|scores=0,1,0,0" + over,
         "Fichas: the tiles left|" + rig + "kind=2 target=50 left=3.0.1.2 end|" + two +
             "|scores=3,0,1,2" + on,
         "Fichas: a shared lowest at the target|" + rig +
             "kind=2 target=15 scores=12.5.4.4 left=3.0.1.2 end|" + two + tie + "|scores=15,5,5,6" +
             on,
         "Puntos: the pips left, empty slots none|" + rig + "kind=3 target=50 left=1.0.2.1 end|" +
             two + "|scores=0,0,21,4" + on,
         "Puntos: the unique lowest wins|" + rig +
             "kind=3 target=21 scores=3.0.0.0 left=1.0.2.1 end|" + won + "2|scores=3,0,21,4" + over,
         "all at 1000 or more, the lowest wins|" + rig +
             "kind=2 target=999 scores=1000.1001.1009.1198 left=3.0.1.2 end|" + won +
             "2|scores=1003,1001,1010,1200" + over,
         "all at 1000 or more, shared|" + rig +
             "kind=2 target=999 scores=1000.1003.1009.1198 left=3.0.1.2 end|" + two + tie +
             "|scores=1003,1003,1010,1200" + on,
         "F2 in a match asks first: cancelled|" + second + "ask=cancel f2|" + asked +
             "|changed=0 trace=",
         "escaped|" + second + "ask=escape f2|" + asked + "|changed=0 trace=",
         "OK, then the options closed|" + second + "f2-|" + asked + "|changed=0 trace=Form2:1",
         "OK, then the options accepted: the hand stays till the deal|" + second + "f2|" + asked +
             "|trace=Form2:1 active=-1 button=Comenzar_la_partida pass=0 "
             "scores=0,0,0,0 told=Juego_a_50_puntos. changed=8",
         "after the match the options come at once|" + second +
             "active=0 f2||trace=Form2:0 active=-1 told=Juego_a_50_puntos. changed=9"});
}

void TableTest::playersClicks()
{
    Table t;
    Form1& f = t.form;
    QStringList before, trace, ticks;
    int pictures = 0, dividers = 0; // before the last step
    bool rigged = false;            // the invariants hold only for the tiles dealt
    for (const QString& step : cell("steps").split(' ')) {
        if (step == "!" || !cell("steps").contains('!'))
            before = tableState(f) << t.sound.files;
        if (step == "!")
            continue;
        pictures = f.Image3.Count(), dividers = f.Image5.Count();
        const int n = step.back().digitValue();
        if (step == "opens" || step == "all" || step.startsWith("six")) {
            QStringList all = doubleSixAtSeat(0);
            std::reverse(all.begin(), all.end());
            t.deal(step == "opens" ? playerOpensDeal() : step == "all" ? all : doubleSixAtSeat(n));
        } else if (step == "run") { // each tick as the seat whose turn it is and its interval
            for (; f.Timer1->isArmed(); f.Timer1_Timer())
                ticks << QString("%1:%2").arg(f.turnSeat).arg(f.Timer1->Interval());
        } else if (step == "pass") {
            Table::click(f.Command3);
        } else if (step == "wait") {
            QVERIFY(QTest::qWaitFor([&] { return !t.watch.messages.empty(); }, 5000));
        } else if (step.startsWith("ask=")) {
            t.watch.queueAnswer(step == "ask=cancel" ? QMessageBox::Cancel : QMessageBox::NoButton);
        } else if (step.startsWith("f2")) {
            t.watch.then([&, accept = step == "f2"](QWidget* d) {
                trace << d->metaObject()->className() + QString(":%1").arg(t.watch.messages.size());
                qobject_cast<Form2*>(d)->Option1(2)->click();
                accept ? Table::click(qobject_cast<Form2*>(d)->Command1) : void(d->close());
            });
            QVERIFY(pressShortcut(f, Qt::Key_F2));
        } else if (step == "mute") {
            QVERIFY(pressShortcut(f, Qt::CTRL | Qt::Key_S));
        } else if (step == "still" || step == "end") {
            f.Timer1->setInterval(0);
            if (step == "end")
                f.EndHand();
        } else if (step.startsWith("press")) { // what a hidden control offers is not asked first
            QWidget* control = n < 0 ? static_cast<QWidget*>(f.Command1) : f.Image4(n);
            QAccessible::queryAccessibleInterface(control)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
            QCoreApplication::processEvents();
        } else if (step.contains('=') && !step.startsWith('h')) { // one value, or one a seat
            const QString what = step.section('=', 0, 0);
            const QStringList values = step.section('=', 1).split('.');
            for (int i = 0; i < values.size(); ++i) {
                if (what == "left")
                    f.Label2(i)->setCaption(values[i]);
                else
                    (what == "kind"     ? f.settings.matchKind
                     : what == "target" ? f.settings.matchTarget
                     : what == "passes" ? f.passCount
                     : what == "scores" ? f.settings.scores[i + 1]
                                        : f.matchActive) = values[i].toShort();
            }
        } else if (step.startsWith('h')) {
            const int seat = step.at(1).digitValue();
            const QStringList tiles = step.mid(3).split('.');
            const int held = rules::kSlots - int(tiles.count("99"));
            setHand(f.hands[seat], tiles);
            f.Label2(seat - 1)->setCaption(QString::number(held));
            for (int k = 0; seat > 1 && k < rules::kSlots; ++k)
                f.Shape1((seat - 2) * rules::kSlots + k)->setVisible(k < held);
            rigged = true;
        } else if (step.startsWith('d')) {
            const Picture* d = f.Image5(n); // the click must land on it, not on what it lies by
            QCOMPARE(f.childAt(d->mapTo(&f, d->rect().center())), d);
            clickCentre(d);
        } else if (step.startsWith('m')) {
            clickCentre(f.Image4(n));
        } else {
            clickTile(f, n, step.startsWith('l'));
        }
        if (!rigged)
            QCOMPARE(invariantViolation(f), QString());
    }
    QCOMPARE(t.watch.messages.join(';'), cell("messages"));
    QCOMPARE(t.sound.flags.count(shell::SND_ASYNC), t.sound.flags.size()); // never waited for

    QStringList laid, hand;
    for (int i = pictures; i < f.Image3.Count(); ++i)
        laid << placed(f.Image3(i));
    for (int i = dividers; i < f.Image5.Count(); ++i)
        laid << placed(f.Image5(i));
    for (int slot = 1; slot <= rules::kSlots; ++slot) // how many of its halves and divider show
        hand << QString::number(f.Image2(2 * slot - 2)->Visible() +
                                f.Image2(2 * slot - 1)->Visible() + f.Image5(slot)->Visible());
    const auto children = f.Shape3->parentWidget()->children(); // the frame over the dividers
    const QString frame =
        listed({f.Shape3->Left(), f.Shape3->Top(), f.Shape3->Width(), f.Shape3->Height(),
                children.indexOf(f.Shape3) > children.indexOf(f.Image5(7))});
    const QStringList after = tableState(f) << t.sound.files;
    int changed = 0;
    for (qsizetype i = 0; i < after.size(); ++i)
        changed += after[i] != before.value(i);
    const QMap<QString, QString> shown{
        {"trace", trace.join(',')},
        {"ticks", ticks.join(',')},
        {"markers", f.Image4(0)->isHidden() ? "-"
                                            : listed({f.Image4(0)->Left(), f.Image4(0)->Top(),
                                                      f.Image4(1)->Left(), f.Image4(1)->Top()})},
        {"pass", QString::number(f.Command3->Visible())},
        {"turn", listed({f.turnSeat, f.humanTurn, f.firstMove, f.passCount,
                         f.Timer1->isArmed() ? f.Timer1->Interval() : 0})},
        {"sounds", QString::number(t.sound.files.size())},
        {"new", laid.join('/')},
        {"ends", listed({f.chainEnds[1], f.chainEnds[2]})},
        {"hand", hand.join("")},
        {"pieces", listed({f.Image3.Count(), f.Image5.Count()})},
        {"frame", f.Shape3->isHidden() ? "-" : frame},
        {"sel", QString::number(f.selectedHandImage)},
        {"scores", listed({f.Label3(0)->Caption().toInt(), f.Label3(1)->Caption().toInt(),
                           f.Label3(2)->Caption().toInt(), f.Label3(3)->Caption().toInt()})},
        {"button", f.Command1->isHidden() ? "-" : f.Command1->Caption().replace(' ', '_')},
        {"active", QString::number(f.matchActive)},
        {"told", f.Label5->Caption().isEmpty() ? "-" : f.Label5->Caption().replace(' ', '_')},
        {"changed", QString::number(changed)}};
    for (const QString& expected : cell("state").split(' ', Qt::SkipEmptyParts)) {
        const QString key = expected.section('=', 0, 0);
        QCOMPARE(key + "=" + shown.value(key, "(no such probe)"), expected);
    }
}

void TableTest::handsRunFromTheDoubleSix()
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
