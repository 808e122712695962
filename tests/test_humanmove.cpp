#include "gamesetup.h"
#include "playerhand.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

// The player's move: selecting a tile of the hand, laying it at an end, and every refusal.
class HumanMoveTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void refusedMoveChangesNothing_data();
    void refusedMoveChangesNothing();
    void legalMoveLaysTheTile_data();
    void legalMoveLaysTheTile();
    void playerOpensWithTheDoubleSix_data();
    void playerOpensWithTheDoubleSix();
    void clickFramesTheWholeTile_data();
    void clickFramesTheWholeTile();
    void onlyDividersSelectDuringAComputerTurn();
    void tableDividersSelectNothing();
    void lastTileEndsTheHandAtOnce();
    void handIgnoresClicksAfterTheMatch();

private:
    // The player has opened, the computer seats have answered: 3 is open at end 1 and 4 at
    // end 2, and the player holds 4/3, 3/3, 4/1, 2/0, 1/1 and 0/0 in slots 2 to 7.
    void bringToPlayersSecondTurn();
    void select(int slot, const QString& how);

    std::unique_ptr<Table> table;
};

namespace
{

// Everything a move could touch, as text, so that a difference shows what changed.
QStringList everything(const Form1& form, const SoundRecorder& sound)
{
    return tableState(form) << QStringLiteral("sounds %1").arg(sound.calls.size());
}

} // namespace

void HumanMoveTest::init()
{
    table = std::make_unique<Table>();
    QVERIFY(QTest::qWaitForWindowExposed(&table->form));
    game::placeAnchorAsAtStartUp(table->form);
    table->scriptDeal(game::playerOpensDeal());
    table->clickStart();
    QVERIFY(table->form.humanTurn);
    QVERIFY(table->form.firstMove);
}

void HumanMoveTest::cleanup()
{
    table.reset();
}

void HumanMoveTest::bringToPlayersSecondTurn()
{
    Form1& form = table->form;
    game::clickUpperHalf(form, 1);
    game::clickMarker(form, 0);
    game::runComputerTurns(form);
    QVERIFY(form.humanTurn);
    QCOMPARE(form.chainEnds[1], Int16(3));
    QCOMPARE(form.chainEnds[2], Int16(4));
    QCOMPARE(game::handOf(form, 1), (QStringList{"99", "43", "33", "41", "20", "11", "00"}));
}

void HumanMoveTest::select(int slot, const QString& how)
{
    if (how == QLatin1String("upper"))
        game::clickUpperHalf(table->form, slot);
    else if (how == QLatin1String("lower"))
        game::clickLowerHalf(table->form, slot);
    else if (how == QLatin1String("divider"))
        game::clickDivider(table->form, slot);
}

void HumanMoveTest::refusedMoveChangesNothing_data()
{
    QTest::addColumn<bool>("opening");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("marker");
    QTest::addColumn<QString>("message");
    const QString noSelection = QStringLiteral("Señala una ficha primero.");
    const QString doubleSix = QStringLiteral("Tienes que empezar con el 6/6.");
    const QString wrong = QStringLiteral("Esa ficha no es correcta.");
    QTest::newRow("nothing selected at the opening, green") << true << 0 << "" << 0 << noSelection;
    QTest::newRow("nothing selected at the opening, cyan") << true << 0 << "" << 1 << noSelection;
    QTest::newRow("nothing selected later") << false << 0 << "" << 1 << noSelection;
    QTest::newRow("opening with 4/3") << true << 2 << "upper" << 0 << doubleSix;
    QTest::newRow("opening with 2/0, which fits nowhere") << true << 5 << "lower" << 1 << doubleSix;
    QTest::newRow("4/1 at end 1, where 3 is open") << false << 4 << "upper" << 0 << wrong;
    QTest::newRow("3/3 at end 2, where 4 is open") << false << 3 << "divider" << 1 << wrong;
    QTest::newRow("2/0 at end 1") << false << 5 << "lower" << 0 << wrong;
    QTest::newRow("1/1 at end 2") << false << 6 << "upper" << 1 << wrong;
}

void HumanMoveTest::refusedMoveChangesNothing()
{
    QFETCH(bool, opening);
    QFETCH(int, slot);
    QFETCH(QString, how);
    QFETCH(int, marker);
    QFETCH(QString, message);
    Form1& form = table->form;
    if (!opening)
        bringToPlayersSecondTurn();
    if (slot > 0) {
        select(slot, how);
        QVERIFY(form.Shape3->Visible());
    }
    const QStringList before = everything(form, table->sound);
    QVERIFY(form.Image4(marker)->Visible());

    game::clickMarker(form, marker);

    QCOMPARE(table->watch.messages.size(), std::size_t(1));
    const ModalWatch::Message& shown = table->watch.messages.front();
    QCOMPARE(shown.text, message);
    QCOMPARE(shown.icon, QMessageBox::Warning);
    QCOMPARE(shown.title, QString("Lozetta"));
    QVERIFY(!shown.hasCancel);
    QCOMPARE(everything(form, table->sound), before);

    // The turn is still the player's: the right tile is taken afterwards.
    select(opening ? 1 : 2, QStringLiteral("upper"));
    game::clickMarker(form, 0);
    QCOMPARE(table->watch.messages.size(), std::size_t(1));
    QCOMPARE(form.humanTurn, kFalse);
    QCOMPARE(form.Timer1->Interval(), Int16(500));
}

void HumanMoveTest::legalMoveLaysTheTile_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("marker");
    QTest::addColumn<QString>("halves");
    QTest::addColumn<bool>("upright");
    QTest::addColumn<int>("end1");
    QTest::addColumn<int>("end2");
    QTest::newRow("4/3 at end 1 turns round: its second pip matches")
        << 2 << "upper" << 0 << "2400,3300:3 2040,3300:4" << false << 4 << 4;
    QTest::newRow("4/3 at end 2 by its first pip")
        << 2 << "lower" << 1 << "5280,3300:4 5640,3300:3" << false << 3 << 3;
    QTest::newRow("3/3 at end 1 crosswise")
        << 3 << "divider" << 0 << "2400,3120:3 2400,3480:3" << true << 3 << 4;
    QTest::newRow("4/1 at end 2") << 4 << "lower" << 1 << "5280,3300:4 5640,3300:1" << false << 3
                                  << 1;
}

void HumanMoveTest::legalMoveLaysTheTile()
{
    QFETCH(int, slot);
    QFETCH(QString, how);
    QFETCH(int, marker);
    QFETCH(QString, halves);
    QFETCH(bool, upright);
    QFETCH(int, end1);
    QFETCH(int, end2);
    Form1& form = table->form;
    bringToPlayersSecondTurn();
    const Int16 first = form.Image3.Count();
    const Int16 firstUpright = form.Image5.Count();
    const int sounds = int(table->sound.calls.size());
    select(slot, how);

    game::clickMarker(form, marker);

    QVERIFY(table->watch.messages.empty());
    QCOMPARE(game::laidHalves(form, first), halves);
    QCOMPARE(form.Image3.Count(), Int16(first + (upright ? 2 : 3)));
    QCOMPARE(form.Image5.Count(), Int16(firstUpright + (upright ? 1 : 0)));
    QCOMPARE(form.chainEnds[1], Int16(end1));
    QCOMPARE(form.chainEnds[2], Int16(end2));
    QCOMPARE(int(table->sound.calls.size()), sounds + 1);

    QCOMPARE(game::tileAt(form, 1, slot), QString("99"));
    QCOMPARE(form.Label2(0)->Caption(), QString("5"));
    QVERIFY(!form.Image2(2 * slot - 2)->Visible());
    QVERIFY(!form.Image2(2 * slot - 1)->Visible());
    QVERIFY(!form.Image5(slot)->Visible());
    // The gap stays: the other tiles neither move nor hide.
    for (int other = 2; other <= rules::kSlots; ++other) {
        if (other == slot)
            continue;
        QVERIFY(form.Image2(2 * other - 2)->Visible());
        QVERIFY(form.Image5(other)->Visible());
        QCOMPARE(game::at(form.Image2(2 * other - 2)), QPoint(3000 + 480 * (other - 1), 6240));
    }
    QVERIFY(!form.Image4(0)->Visible());
    QVERIFY(!form.Image4(1)->Visible());
    QVERIFY(!form.Shape3->Visible());
    QCOMPARE(form.humanTurn, kFalse);
    QCOMPARE(form.firstMove, kFalse);
    QCOMPARE(form.passCount, Int16(0));
    QCOMPARE(form.turnSeat, Int16(1));
    QCOMPARE(form.Timer1->Interval(), Int16(500));
    QVERIFY(form.Timer1->isArmed());
    QCOMPARE(invariantViolation(form), QString());
}

void HumanMoveTest::playerOpensWithTheDoubleSix_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("marker");
    QTest::newRow("upper half, green") << "upper" << 0;
    QTest::newRow("lower half, cyan") << "lower" << 1;
    QTest::newRow("divider, cyan") << "divider" << 1;
}

void HumanMoveTest::playerOpensWithTheDoubleSix()
{
    QFETCH(QString, how);
    QFETCH(int, marker);
    Form1& form = table->form;
    select(1, how);

    game::clickMarker(form, marker);

    QVERIFY(table->watch.messages.empty());
    QCOMPARE(game::openingShown(form), game::kOpeningShown);
    QCOMPARE(form.Label2(0)->Caption(), QString("6"));
    QCOMPARE(game::tileAt(form, 1, 1), QString("99"));
    QVERIFY(!form.Image2(0)->Visible());
    QVERIFY(!form.Image2(1)->Visible());
    QVERIFY(!form.Image5(1)->Visible());
    QCOMPARE(form.firstMove, kFalse);
    QCOMPARE(form.humanTurn, kFalse);
    QCOMPARE(table->sound.calls.size(), 1);
    QCOMPARE(form.Timer1->Interval(), Int16(500));
    QVERIFY(form.Timer1->isArmed());
    QCOMPARE(invariantViolation(form), QString());
}

void HumanMoveTest::clickFramesTheWholeTile_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("image");
    for (int slot = 1; slot <= rules::kSlots; ++slot) {
        QTest::addRow("slot %d, upper half", slot) << slot << "upper" << 2 * slot - 2;
        QTest::addRow("slot %d, lower half", slot) << slot << "lower" << 2 * slot - 1;
        QTest::addRow("slot %d, divider", slot) << slot << "divider" << 2 * slot - 2;
    }
}

void HumanMoveTest::clickFramesTheWholeTile()
{
    QFETCH(int, slot);
    QFETCH(QString, how);
    QFETCH(int, image);
    Form1& form = table->form;
    // A selection elsewhere first, so that the click must move it.
    select(slot == 7 ? 1 : 7, QStringLiteral("upper"));
    QVERIFY(form.Shape3->Visible());

    select(slot, how);

    QVERIFY(form.Shape3->Visible());
    QCOMPARE(game::at(form.Shape3), QPoint(3000 + 480 * (slot - 1), 6240));
    QCOMPARE(form.Shape3->Width(), Int16(360));
    QCOMPARE(form.Shape3->Height(), Int16(720));
    QCOMPARE(form.selectedHandImage, Int16(image));
    const auto stack = form.Shape3->parentWidget()->children();
    QVERIFY(stack.indexOf(form.Shape3) > stack.indexOf(form.Image5(slot)));
    QVERIFY(table->watch.messages.empty());
}

void HumanMoveTest::onlyDividersSelectDuringAComputerTurn()
{
    Form1& form = table->form;
    game::clickUpperHalf(form, 1);
    game::clickMarker(form, 0);
    QCOMPARE(form.humanTurn, kFalse);
    QVERIFY(form.Timer1->isArmed());

    game::clickUpperHalf(form, 4);
    QVERIFY(!form.Shape3->Visible());
    game::clickLowerHalf(form, 4);
    QVERIFY(!form.Shape3->Visible());
    game::clickDivider(form, 4);
    QVERIFY(form.Shape3->Visible());
    QCOMPARE(game::at(form.Shape3), QPoint(3000 + 480 * 3, 6240));
    QCOMPARE(form.selectedHandImage, Int16(6));

    // The selection stands when the turn comes: the cyan marker lays 4/1 at once.
    game::runComputerTurns(form);
    QVERIFY(form.humanTurn);
    QVERIFY(form.Shape3->Visible());
    game::clickMarker(form, 1);
    QVERIFY(table->watch.messages.empty());
    QCOMPARE(game::tileAt(form, 1, 4), QString("99"));
    QCOMPARE(form.chainEnds[2], Int16(1));
}

void HumanMoveTest::tableDividersSelectNothing()
{
    Form1& form = table->form;
    bringToPlayersSecondTurn();
    game::clickDivider(form, 3);
    game::clickMarker(form, 0);
    QCOMPARE(form.Image5.Count(), Int16(9));
    QVERIFY(form.Image5(8)->Visible());
    QVERIFY(!form.Shape3->Visible());

    // The 3/3's divider lies on the table, over its two halves, and takes the click.
    const QPoint middle = form.Image5(8)->mapTo(&form, form.Image5(8)->rect().center());
    QCOMPARE(form.childAt(middle), form.Image5(8));
    game::clickDivider(form, 8);

    QVERIFY(!form.Shape3->Visible());
    game::clickDivider(form, 2);
    QVERIFY(form.Shape3->Visible());
}

void HumanMoveTest::lastTileEndsTheHandAtOnce()
{
    Form1& form = table->form;
    bringToPlayersSecondTurn();
    // Only 4/3 is left in the player's hand.
    game::setHand(form, 1, {"99", "43", "99", "99", "99", "99", "99"});
    form.Label2(0)->setCaption(QStringLiteral("1"));
    for (int slot = 3; slot <= rules::kSlots; ++slot) {
        form.Image2(2 * slot - 2)->hide();
        form.Image2(2 * slot - 1)->hide();
        form.Image5(slot)->hide();
    }
    QSignalSpy ticks(form.Timer1, &VbTimer::Timer);
    game::clickLowerHalf(form, 2);

    game::clickMarker(form, 0);

    QCOMPARE(textsOf(table->watch.messages), QStringList{"Ganador de la mano: Jugador 1."});
    QCOMPARE(table->watch.messages.front().icon, QMessageBox::NoIcon);
    QCOMPARE(form.Label2(0)->Caption(), QString("0"));
    QCOMPARE(ticks.count(), 0);
    QVERIFY(!form.Timer1->isArmed());
    QCOMPARE(form.Timer1->Interval(), Int16(0));
    QVERIFY(form.Command1->Visible());
    QCOMPARE(form.Command1->Caption(), QString("Siguiente mano"));
    QVERIFY(!form.Command3->Visible());
    QCOMPARE(form.settings.scores[1], Int16(1));
    QCOMPARE(form.Label3(0)->Caption(), QString("1"));
}

void HumanMoveTest::handIgnoresClicksAfterTheMatch()
{
    Form1& form = table->form;
    form.settings.matchTarget = 1;
    bringToPlayersSecondTurn();
    // Seat 4 holds only 3/0 and lays it as soon as the player passes: the match is over.
    game::setHand(form, 4, {"99", "99", "99", "99", "30", "99", "99"});
    form.Label2(3)->setCaption(QStringLiteral("1"));
    for (int k = 1; k < rules::kSlots; ++k)
        form.Shape1(14 + k)->hide();
    form.Shape1(14)->show();
    Table::click(form.Command3);
    QCOMPARE(
        textsOf(table->watch.messages),
        (QStringList{"Ganador de la mano: Jugador 4.", "Fin de partida. Ha ganado el jugador 4"}));
    QCOMPARE(form.matchActive, kFalse);
    const QStringList before = everything(form, table->sound);

    for (int slot = 2; slot <= rules::kSlots; ++slot) {
        game::clickUpperHalf(form, slot);
        game::clickLowerHalf(form, slot);
        game::clickDivider(form, slot);
    }

    QVERIFY(!form.Shape3->Visible());
    QCOMPARE(everything(form, table->sound), before);
    QCOMPARE(table->watch.messages.size(), std::size_t(2));
}

QTEST_MAIN(HumanMoveTest)
#include "test_humanmove.moc"
