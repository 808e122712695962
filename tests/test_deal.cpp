#include "gamesetup.h"
#include "rules/tiles.h"

#include <QPointer>
#include <QTest>
#include <memory>

// The deal: tile numbers, the shuffle into four hands, who opens, and the table made ready.
class DealTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void tileNumbersGiveTheirPips_data();
    void tileNumbersGiveTheirPips();
    void drawnValueDropsItsFraction_data();
    void drawnValueDropsItsFraction();
    void tileAlreadyDealtIsDrawnAgain();
    void everyDealHandsOutTheWholeSet_data();
    void everyDealHandsOutTheWholeSet();
    void dealStartsTheHandAfresh_data();
    void dealStartsTheHandAfresh();
    void laterDealClearsTheTable();
    void playersHandIsShownFaceUp();
    void computerSeatHidesAVisibleTile_data();
    void computerSeatHidesAVisibleTile();

private:
    std::unique_ptr<Table> table;
};

void DealTest::init()
{
    table = std::make_unique<Table>();
    QVERIFY(QTest::qWaitForWindowExposed(&table->form));
    game::placeAnchorAsAtStartUp(table->form);
}

void DealTest::cleanup()
{
    table.reset();
}

void DealTest::tileNumbersGiveTheirPips_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("tile");
    const char* tiles[] = {"00", "10", "11", "20", "21", "22", "30", "31", "32", "33",
                           "40", "41", "42", "43", "44", "50", "51", "52", "53", "54",
                           "55", "60", "61", "62", "63", "64", "65", "66"};
    for (int number = 1; number <= 28; ++number)
        QTest::addRow("%d", number) << number << QString::fromLatin1(tiles[number - 1]);
}

void DealTest::tileNumbersGiveTheirPips()
{
    QFETCH(int, number);
    QFETCH(QString, tile);
    const rules::Pips pips = rules::pipsOfTile(Int16(number));
    QCOMPARE(game::tileText(pips.high, pips.low), tile);
}

void DealTest::drawnValueDropsItsFraction_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("tile");
    // The value draws Int(value * 28) + 1: rounding instead would give the next tile.
    QTest::newRow("zero") << 0.0 << "00";
    QTest::newRow("just below 1/28") << (1 - 0.01) / 28 << "00";
    QTest::newRow("just above 1/28") << (1 + 0.01) / 28 << "10";
    QTest::newRow("late in tile 9") << (9 - 0.01) / 28 << "32";
    QTest::newRow("just below 27/28") << (27 - 0.01) / 28 << "65";
    QTest::newRow("just above 27/28") << (27 + 0.01) / 28 << "66";
    QTest::newRow("nearly one") << 0.999999 << "66";
}

void DealTest::drawnValueDropsItsFraction()
{
    QFETCH(double, value);
    QFETCH(QString, tile);
    // Seat 1 holds the drawn tile first and the double six, so nothing leaves the hands.
    QStringList deal = {tile};
    if (tile != QLatin1String("66"))
        deal << QStringLiteral("66");
    for (const QString& other : allTilesInOrder()) {
        if (!deal.contains(other))
            deal << other;
    }
    // The value itself first; the tile's own value after it is then a repeat and drawn again.
    table->form.random.script({value});
    table->scriptDeal(deal);
    table->clickStart();
    QCOMPARE(game::tileAt(table->form, 1, 1), tile);
    QCOMPARE(game::handOf(table->form, 1), deal.mid(0, 7));
    QCOMPARE(game::handOf(table->form, 4), deal.mid(21, 7));
}

void DealTest::tileAlreadyDealtIsDrawnAgain()
{
    Form1& form = table->form;
    const QStringList deal = game::playerOpensDeal();
    QVERIFY(!deal.isEmpty());
    // Seat 3's fourth slot draws seat 1's tiles three times before its own.
    QStringList draws = deal.mid(0, 17);
    draws << QStringLiteral("66") << QStringLiteral("43") << deal.at(2);
    draws << deal.mid(17);
    game::scriptTiles(form, draws);
    table->clickStart();
    for (int seat = 1; seat <= rules::kSeats; ++seat)
        QCOMPARE(game::handOf(form, seat), deal.mid((seat - 1) * 7, 7));
}

void DealTest::everyDealHandsOutTheWholeSet_data()
{
    QTest::addColumn<unsigned>("seed");
    for (unsigned seed = 1; seed <= 24; ++seed)
        QTest::addRow("seed %u", seed) << seed;
}

void DealTest::everyDealHandsOutTheWholeSet()
{
    QFETCH(unsigned, seed);
    Form1& form = table->form;
    form.random.seed(seed);
    table->clickStart();

    // The opener may already have laid the double six: it then lies alone on the table.
    const int opener = form.turnSeat;
    QStringList everything;
    for (int seat = 1; seat <= rules::kSeats; ++seat) {
        const QStringList hand = game::handOf(form, seat);
        const int empty = int(hand.count(QStringLiteral("99")));
        QCOMPARE(empty, seat == opener && opener != 1 ? 1 : 0);
        QCOMPARE(form.Label2(seat - 1)->Caption(), QString::number(rules::kSlots - empty));
        for (const QString& tile : hand) {
            if (tile == QLatin1String("99"))
                continue;
            QVERIFY2(tile.at(0) >= tile.at(1), qPrintable(tile + " has its higher pip second"));
            everything << tile;
        }
    }
    const auto onTable = tilesOnTable(form);
    QCOMPARE(int(onTable.size()), opener == 1 ? 0 : 1);
    for (const TableTile& tile : onTable)
        everything << game::tileText(tile.a, tile.b);
    everything.sort();
    QCOMPARE(everything, allTilesInOrder());
    if (opener == 1)
        QVERIFY(game::handOf(form, 1).contains(QStringLiteral("66")));
    QCOMPARE(invariantViolation(form), QString());
}

void DealTest::dealStartsTheHandAfresh_data()
{
    QTest::addColumn<int>("holder");
    QTest::addColumn<QString>("counters");
    QTest::newRow("the player opens") << 1 << "7 7 7 7";
    QTest::newRow("seat 2 opens") << 2 << "7 6 7 7";
    QTest::newRow("seat 3 opens") << 3 << "7 7 6 7";
    QTest::newRow("seat 4 opens") << 4 << "7 7 7 6";
}

void DealTest::dealStartsTheHandAfresh()
{
    QFETCH(int, holder);
    QFETCH(QString, counters);
    Form1& form = table->form;
    // Whatever the last hand left behind; the scores stay.
    const QStringList shown = {"3", "0", "5", "1"};
    form.settings.scores = {0, 3, 0, 5, 1};
    for (int i = 0; i < rules::kSeats; ++i)
        form.Label3(i)->setCaption(shown.at(i));
    form.chainEnds[1] = 2;
    form.chainEnds[2] = 5;
    form.endCorner[1] = 1;
    form.endCorner[2] = 1;
    form.passCount = 5;
    form.firstMove = kFalse;
    form.humanTurn = kTrue;
    for (int i = 0; i < rules::kSeats; ++i)
        form.Label2(i)->setCaption(QStringLiteral("3"));
    for (int i = 0; i < form.Shape1.Count(); i += 2)
        form.Shape1(i)->hide();
    form.Shape3->show();
    form.Image4(0)->show();
    form.Image4(1)->show();

    table->scriptDeal(game::doubleSixAtSeat(holder));
    table->clickStart();

    QVERIFY(!form.Command1->Visible());
    QCOMPARE(form.chainEnds[1], Int16(6));
    QCOMPARE(form.chainEnds[2], Int16(6));
    QCOMPARE(form.endCorner[1], Int16(0));
    QCOMPARE(form.endCorner[2], Int16(0));
    QCOMPARE(form.passCount, Int16(0));
    QVERIFY(!form.Shape3->Visible());
    for (int seat = 2; seat <= 4; ++seat)
        QCOMPARE(game::visibleFaceDown(form, seat), holder == seat ? 6 : 7);
    for (int i = 0; i < rules::kSeats; ++i) {
        QVERIFY(form.Label3(i)->Visible());
        QCOMPARE(form.Label3(i)->Caption(), shown.at(i));
        QVERIFY(form.Label4(i)->Visible());
    }
    QCOMPARE(form.settings.scores, (std::array<Int16, 5>{0, 3, 0, 5, 1}));
    // The holder of the double six moves first; the player is offered the opening.
    QCOMPARE(form.turnSeat, Int16(holder));
    QCOMPARE(game::counters(form), counters);
    QCOMPARE(game::tileAt(form, holder, 3), holder == 1 ? QString("66") : QString("99"));
    QCOMPARE(int(tilesOnTable(form).size()), holder == 1 ? 0 : 1);
    QCOMPARE(form.firstMove, holder == 1 ? kTrue : kFalse);
    QCOMPARE(form.humanTurn, holder == 1 ? kTrue : kFalse);
    QCOMPARE(form.Timer1->isArmed(), holder != 1);
    QCOMPARE(form.Image4(0)->Visible() && form.Image4(1)->Visible(), holder == 1);
    QCOMPARE(invariantViolation(form), QString());
}

void DealTest::laterDealClearsTheTable()
{
    Form1& form = table->form;
    QCOMPARE(form.Image3.Count(), Int16(1));
    QCOMPARE(form.Image5.Count(), Int16(1));
    const QPointer<Picture> lyingTemplate = form.Image3(0);
    const QPointer<Picture> uprightTemplate = form.Image5(0);
    table->scriptDeal(game::playerOpensDeal());
    table->clickStart();
    // The first deal removes nothing.
    QCOMPARE(form.Image3.Count(), Int16(1));
    QCOMPARE(form.Image5.Count(), Int16(1 + rules::kSlots));
    game::playHandToEnd(form);
    QVERIFY(form.Command1->Visible());
    QCOMPARE(form.Command1->Caption(), QString("Siguiente mano"));
    // The hand must have left tiles and table dividers behind for this to mean anything.
    QVERIFY(form.Image3.Count() > 4);
    QVERIFY(form.Image5.Count() > 1 + rules::kSlots);

    QList<QPointer<Picture>> previous;
    for (int i = 1; i < form.Image3.Count(); ++i)
        previous << form.Image3(i);
    for (int i = 1; i < form.Image5.Count(); ++i)
        previous << form.Image5(i);

    table->scriptDeal(game::doubleSixAtSeat(1));
    table->clickStart();

    QCOMPARE(form.Image3.Count(), Int16(1));
    QCOMPARE(form.Image5.Count(), Int16(1 + rules::kSlots));
    for (const auto& picture : previous)
        QVERIFY2(picture.isNull(), "a picture of the last hand is still there");
    for (int slot = 1; slot <= rules::kSlots; ++slot) {
        QVERIFY(form.Image5(slot)->Visible());
        QCOMPARE(form.Image5(slot)->Top(), Int16(6420));
    }
    QVERIFY(lyingTemplate && form.Image3(0) == lyingTemplate);
    QVERIFY(uprightTemplate && form.Image5(0) == uprightTemplate);
    QVERIFY(!form.Image3(0)->Visible());
    QVERIFY(!form.Image5(0)->Visible());
}

void DealTest::playersHandIsShownFaceUp()
{
    Form1& form = table->form;
    const QStringList hand = {"54", "32", "66", "10", "44", "61", "00"};
    QStringList deal = hand;
    for (const QString& tile : allTilesInOrder()) {
        if (!hand.contains(tile))
            deal << tile;
    }
    table->scriptDeal(deal);
    table->clickStart();

    for (int slot = 1; slot <= rules::kSlots; ++slot) {
        const Picture* upper = form.Image2(2 * slot - 2);
        const Picture* lower = form.Image2(2 * slot - 1);
        const Picture* divider = form.Image5(slot);
        const QString tile = hand.at(slot - 1);
        QVERIFY(upper->Visible());
        QVERIFY(lower->Visible());
        QCOMPARE(upper->picture(), pictures::face(tile.at(0).digitValue()));
        QCOMPARE(lower->picture(), pictures::face(tile.at(1).digitValue()));
        QCOMPARE(upper->Left(), Int16(3000 + 480 * (slot - 1)));
        QCOMPARE(upper->Top(), Int16(6240));
        QCOMPARE(lower->Top(), Int16(6600));
        QVERIFY(divider->Visible());
        QCOMPARE(divider->picture(), pictures::kDividerHorizontal);
        QCOMPARE(divider->Left(), upper->Left());
        QCOMPARE(divider->Top(), Int16(upper->Top() + 180));
        // In front of both halves, so its line shows on the seam.
        const auto stack = form.Image2(0)->parentWidget()->children();
        QVERIFY(stack.indexOf(divider) > stack.indexOf(upper));
        QVERIFY(stack.indexOf(divider) > stack.indexOf(lower));
    }
}

void DealTest::computerSeatHidesAVisibleTile_data()
{
    QTest::addColumn<int>("seat");
    QTest::newRow("seat 2") << 2;
    QTest::newRow("seat 3") << 3;
    QTest::newRow("seat 4") << 4;
}

void DealTest::computerSeatHidesAVisibleTile()
{
    QFETCH(int, seat);
    Form1& form = table->form;
    table->scriptDeal(game::doubleSixAtSeat(1));
    table->clickStart();
    const int first = (seat - 2) * rules::kSlots;
    form.Shape1(first + 2)->hide();

    // The first draw finds the third rectangle already gone, the second takes the sixth.
    form.random.script({2.5 / 7, 5.5 / 7});
    form.turnSeat = Int16(seat);
    form.HideComputerTile();

    for (int k = 0; k < rules::kSlots; ++k)
        QCOMPARE(form.Shape1(first + k)->Visible(), k != 2 && k != 5);
    for (int other = 2; other <= 4; ++other) {
        if (other != seat)
            QCOMPARE(game::visibleFaceDown(form, other), 7);
    }
    for (int i = 0; i < 2 * rules::kSlots; ++i)
        QVERIFY(form.Image2(i)->Visible());
}

QTEST_MAIN(DealTest)
#include "test_deal.moc"
