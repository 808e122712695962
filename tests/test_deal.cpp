#include "support/playerseat.h"
#include "support/tablefixture.h"
#include "table/pictures.h"

#include <QPointer>
#include <QTest>

// The deal: tile numbers, the shuffle into four hands, who opens, and the table made ready.
class DealTest : public QObject
{
    Q_OBJECT
private slots:
    void drawnValueDropsItsFraction_data();
    void drawnValueDropsItsFraction();
    void tileAlreadyDealtIsDrawnAgain();
    void dealStartsTheHandAfresh_data();
    void dealStartsTheHandAfresh();
    void laterDealClearsTheTable();
    void computerSeatHidesAVisibleTile_data();
    void computerSeatHidesAVisibleTile();
};

void DealTest::drawnValueDropsItsFraction_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("tile");
    // The value draws Int(value * 28) + 1: rounding instead would give the next tile.
    QTest::newRow("zero") << 0.0 << "00";
    QTest::newRow("just below 1/28") << (1 - 0.01) / 28 << "00";
    QTest::newRow("just above 1/28") << (1 + 0.01) / 28 << "10";
    QTest::newRow("nearly one") << 0.999999 << "66";
}

void DealTest::drawnValueDropsItsFraction()
{
    QFETCH(double, value);
    QFETCH(QString, tile);
    Table t;
    // Seat 1 holds the drawn tile first and the double six, so nothing leaves the hands.
    QStringList deal = allTilesInOrder();
    deal.move(deal.indexOf(QStringLiteral("66")), 0);
    deal.move(deal.indexOf(tile), 0);
    // The value itself first; the tile's own value after it is then a repeat and drawn again.
    t.form.random.script({value});
    t.deal(deal);
    QCOMPARE(handOf(t.form, 1), deal.mid(0, 7));
    QCOMPARE(handOf(t.form, 4), deal.mid(21, 7));
}

void DealTest::tileAlreadyDealtIsDrawnAgain()
{
    Table t;
    const QStringList deal = playerOpensDeal();
    // Seat 3's fourth slot draws seat 1's tiles three times before its own.
    t.scriptDeal(deal.mid(0, 17) << "66"
                                 << "43" << deal.at(2));
    t.deal(deal.mid(17));
    for (int seat = 1; seat <= rules::kSeats; ++seat)
        QCOMPARE(handOf(t.form, seat), deal.mid((seat - 1) * 7, 7));
}

void DealTest::dealStartsTheHandAfresh_data()
{
    QTest::addColumn<int>("holder");
    QTest::newRow("the player opens") << 1;
    QTest::newRow("seat 4 opens") << 4;
}

void DealTest::dealStartsTheHandAfresh()
{
    QFETCH(int, holder);
    Table t;
    Form1& form = t.form;
    // Whatever the last hand left behind; the scores stay.
    form.settings.scores = {0, 3, 0, 5, 1};
    form.chainEnds[1] = 2;
    form.chainEnds[2] = 5;
    form.endCorner[1] = form.endCorner[2] = 1;
    form.passCount = 5;
    form.humanTurn = kTrue;
    for (int i = 0; i < form.Shape1.Count(); i += 2)
        form.Shape1(i)->hide();
    form.Shape3->show();
    form.Image4(0)->show();

    t.deal(doubleSixAtSeat(holder));

    QVERIFY(!form.Command1->Visible());
    QCOMPARE(QPoint(form.chainEnds[1], form.chainEnds[2]), QPoint(6, 6));
    QCOMPARE(QPoint(form.endCorner[1], form.endCorner[2]), QPoint(0, 0));
    QCOMPARE(form.passCount, Int16(0));
    QVERIFY(!form.Shape3->Visible());
    QCOMPARE(form.settings.scores, (std::array<Int16, 5>{0, 3, 0, 5, 1}));
    for (int i = 0; i < rules::kSeats; ++i)
        QVERIFY(form.Label3(i)->Visible() && form.Label4(i)->Visible());
    // The holder of the double six moves first; the player is offered the opening.
    QCOMPARE(form.turnSeat, Int16(holder));
    QCOMPARE(form.humanTurn, holder == 1 ? kTrue : kFalse);
    QCOMPARE(form.Image4(0)->Visible(), holder == 1);
    QCOMPARE(form.Timer1->isArmed(), holder != 1);
    QCOMPARE(invariantViolation(form), QString());
    // The player's hand shows face up, each divider in front of both its halves.
    const QStringList deal = doubleSixAtSeat(holder);
    const auto stack = form.Image2(0)->parentWidget()->children();
    for (int slot = 1; slot <= rules::kSlots; ++slot) {
        const Picture* upper = form.Image2(2 * slot - 2);
        const Picture* lower = form.Image2(2 * slot - 1);
        QCOMPARE(upper->picture(), pictures::face(deal.at(slot - 1).at(0).digitValue()));
        QCOMPARE(lower->picture(), pictures::face(deal.at(slot - 1).at(1).digitValue()));
        QVERIFY(upper->Visible() && lower->Visible() && form.Image5(slot)->Visible());
        QVERIFY(stack.indexOf(form.Image5(slot)) > stack.indexOf(lower));
    }
}

void DealTest::laterDealClearsTheTable()
{
    Table t;
    Form1& form = t.form;
    const QPointer<Picture> lyingTemplate = form.Image3(0);
    const QPointer<Picture> uprightTemplate = form.Image5(0);
    t.deal(playerOpensDeal());
    std::mt19937 dice(1);
    QVERIFY(playHandToItsEnd(form, dice, 1000));
    QVERIFY(form.Command1->Visible());
    // The hand must have left tiles and table dividers behind for this to mean anything.
    QVERIFY(form.Image3.Count() > 4);
    QList<QPointer<Picture>> previous;
    for (const auto* array : {&form.Image3, &form.Image5}) {
        for (int i = 1; i < array->Count(); ++i)
            previous << (*array)(i);
    }

    t.deal(doubleSixAtSeat(1));

    QCOMPARE(form.Image3.Count(), Int16(1));
    QCOMPARE(form.Image5.Count(), Int16(1 + rules::kSlots));
    for (const auto& picture : previous)
        QVERIFY2(picture.isNull(), "a picture of the last hand is still there");
    QVERIFY(lyingTemplate && form.Image3(0) == lyingTemplate && !lyingTemplate->Visible());
    QVERIFY(uprightTemplate && form.Image5(0) == uprightTemplate && !uprightTemplate->Visible());
}

void DealTest::computerSeatHidesAVisibleTile_data()
{
    QTest::addColumn<int>("seat");
    QTest::newRow("seat 2") << 2;
    QTest::newRow("seat 4") << 4;
}

void DealTest::computerSeatHidesAVisibleTile()
{
    QFETCH(int, seat);
    Table t;
    Form1& form = t.form;
    t.deal(doubleSixAtSeat(1));
    const int first = (seat - 2) * rules::kSlots;
    form.Shape1(first + 2)->hide();

    // The first draw finds the third rectangle already gone, the second takes the sixth.
    form.random.script({2.5 / 7, 5.5 / 7});
    form.turnSeat = Int16(seat);
    form.HideComputerTile();

    for (int k = 0; k < rules::kSlots; ++k)
        QCOMPARE(form.Shape1(first + k)->Visible(), k != 2 && k != 5);
    QCOMPARE(visibleFaceDown(form, seat == 2 ? 4 : 2), 7);
    QCOMPARE(visibleFaceDown(form, 3), 7);
}

QTEST_MAIN(DealTest)
#include "test_deal.moc"
