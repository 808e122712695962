#include "gamesetup.h"
#include "table/chainlayout.h"

#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

// Where the chain's tiles go: the worked examples of the table's design, the corners and the
// borders, the longest arm, and what laying a tile does besides drawing it.
class ChainLayoutTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void limitsFollowTheCloth_data();
    void limitsFollowTheCloth();
    void placeTileDrawsTheWorkedPositions_data();
    void placeTileDrawsTheWorkedPositions();
    void tableDividersComeAfterTheHands();
    void longestArmStaysOnTheClothWhateverItsDoubles_data();
    void longestArmStaysOnTheClothWhateverItsDoubles();
    void realLongestArmsStayOnTheCloth_data();
    void realLongestArmsStayOnTheCloth();
    void placeTileKeepsTheBooks_data();
    void placeTileKeepsTheBooks();
    void soundComesBeforeTheTileShows_data();
    void soundComesBeforeTheTileShows();

private:
    std::unique_ptr<Table> table;
};

namespace
{

using chain::Layout;

// One tile of a worked example: what it is and where its three pictures must go.
struct Step {
    bool isDouble;
    Layout layout;
    QPoint a;
    QPoint b;
    QPoint divider;
    chain::EndState next;
};

struct Example {
    const char* name;
    Int16 end;
    chain::EndState start;
    std::vector<Step> steps;
};

constexpr chain::EndState kEnd1Start{3840, 3300, -1, 0};
constexpr chain::EndState kEnd2Start{4560, 3300, 1, 0};

// The design's cloth: Left 120, Width 8655, halves 360 wide.
const chain::Limits kDesignLimits{1685, 6695, 360};

constexpr Layout I = Layout::InLine, X = Layout::Crosswise, D = Layout::CornerDown,
                 U = Layout::CornerUp;

// clang-format off
const std::vector<Step> kEnd2Row1 = {
    {false, I, {4560, 3300}, {4920, 3300}, {4740, 3300}, {5280, 3300, 1, 0}},
    {false, I, {5280, 3300}, {5640, 3300}, {5460, 3300}, {6000, 3300, 1, 0}},
    {false, I, {6000, 3300}, {6360, 3300}, {6180, 3300}, {6720, 3300, 1, 0}},
};
const std::vector<Step> kEnd1Row1 = {
    {false, I, {3840, 3300}, {3480, 3300}, {3660, 3300}, {3120, 3300, -1, 0}},
    {false, I, {3120, 3300}, {2760, 3300}, {2940, 3300}, {2400, 3300, -1, 0}},
    {false, I, {2400, 3300}, {2040, 3300}, {2220, 3300}, {1680, 3300, -1, 0}},
};

std::vector<Step> join(std::vector<Step> steps, std::initializer_list<Step> more)
{
    steps.insert(steps.end(), more);
    return steps;
}

std::vector<Example> workedExamples()
{
    const Step down{false, D, {6720, 3300}, {6720, 3660}, {6720, 3480}, {6720, 4020, 1, 1}};
    const Step up{false, U, {1680, 3300}, {1680, 2940}, {1680, 3120}, {1680, 2580, -1, 1}};
    const Step back2{false, I, {6720, 4020}, {6360, 4020}, {6540, 4020}, {6000, 4020, -1, 0}};
    const Step back1{false, I, {1680, 2580}, {2040, 2580}, {1860, 2580}, {2400, 2580, 1, 0}};
    auto twice = [](Step step) { step.isDouble = true; return step; };
    return {
        {"end 2 runs right, turns down and comes back", 2, kEnd2Start, join(kEnd2Row1, {down, back2})},
        {"end 1 runs left, turns up and comes back", 1, kEnd1Start, join(kEnd1Row1, {up, back1})},
        {"a double first at end 2 lies crosswise", 2, kEnd2Start,
         {{true, X, {4560, 3120}, {4560, 3480}, {4560, 3300}, {4920, 3300, 1, 0}},
          {false, I, {4920, 3300}, {5280, 3300}, {5100, 3300}, {5640, 3300, 1, 0}}}},
        {"a double first at end 1 lies crosswise", 1, kEnd1Start,
         {{true, X, {3840, 3120}, {3840, 3480}, {3840, 3300}, {3480, 3300, -1, 0}},
          {false, I, {3480, 3300}, {3120, 3300}, {3300, 3300}, {2760, 3300, -1, 0}}}},
        {"a double at end 2's corner stands upright", 2, kEnd2Start, join(kEnd2Row1, {twice(down)})},
        {"a double at end 1's corner stands upright", 1, kEnd1Start, join(kEnd1Row1, {twice(up)})},
        {"a double just after end 2's corner lies in line", 2, kEnd2Start,
         join(kEnd2Row1, {down, twice(back2)})},
        {"a double just after end 1's corner lies in line", 1, kEnd1Start,
         join(kEnd1Row1, {up, twice(back1)})},
        {"exactly on the right limit is inside", 2, {6695, 3300, 1, 0},
         {{false, I, {6695, 3300}, {7055, 3300}, {6875, 3300}, {7415, 3300, 1, 0}}}},
        {"a double exactly on the right limit lies crosswise", 2, {6695, 3300, 1, 0},
         {{true, X, {6695, 3120}, {6695, 3480}, {6695, 3300}, {7055, 3300, 1, 0}}}},
        {"one past the right limit turns", 2, {6696, 3300, 1, 0},
         {{false, D, {6696, 3300}, {6696, 3660}, {6696, 3480}, {6696, 4020, 1, 1}}}},
        {"exactly on the left limit is inside", 1, {1685, 3300, -1, 0},
         {{false, I, {1685, 3300}, {1325, 3300}, {1505, 3300}, {965, 3300, -1, 0}}}},
        {"one past the left limit turns", 1, {1684, 3300, -1, 0},
         {{false, U, {1684, 3300}, {1684, 2940}, {1684, 3120}, {1684, 2580, -1, 1}}}},
        {"end 2's second row turns down again at the left", 2, {2400, 4020, -1, 0},
         {{false, I, {2400, 4020}, {2040, 4020}, {2220, 4020}, {1680, 4020, -1, 0}},
          {false, D, {1680, 4020}, {1680, 4380}, {1680, 4200}, {1680, 4740, -1, 1}},
          {false, I, {1680, 4740}, {2040, 4740}, {1860, 4740}, {2400, 4740, 1, 0}}}},
        {"end 1's second row turns up again at the right", 1, {6000, 2580, 1, 0},
         {{false, I, {6000, 2580}, {6360, 2580}, {6180, 2580}, {6720, 2580, 1, 0}},
          {false, U, {6720, 2580}, {6720, 2220}, {6720, 2400}, {6720, 1860, 1, 1}},
          {false, I, {6720, 1860}, {6360, 1860}, {6540, 1860}, {6000, 1860, -1, 0}}}},
    };
}
// clang-format on

QString describe(const chain::EndState& state)
{
    return QStringLiteral("(%1, %2) dir %3 corner %4")
        .arg(state.x)
        .arg(state.y)
        .arg(state.dir)
        .arg(state.corner);
}

// Every tile of an arm of 27, the doubles at the given places (1 to 27).
struct ArmBounds {
    int left = 1 << 30;
    int right = -(1 << 30);
    int top = 1 << 30;
    int bottom = -(1 << 30);
    int farthestRowTop = 0;
};

ArmBounds layArm(Int16 end, const std::vector<bool>& doubles)
{
    ArmBounds bounds;
    bounds.farthestRowTop = end == 1 ? (1 << 30) : -(1 << 30);
    chain::EndState state = end == 1 ? kEnd1Start : kEnd2Start;
    for (bool isDouble : doubles) {
        const chain::Placement p = chain::place(state, end, isDouble, kDesignLimits);
        for (const QPointF& spot : {p.a, p.b, p.divider}) {
            bounds.left = std::min(bounds.left, int(spot.x()));
            bounds.right = std::max(bounds.right, int(spot.x()) + 360);
            bounds.top = std::min(bounds.top, int(spot.y()));
            bounds.bottom = std::max(bounds.bottom, int(spot.y()) + 360);
        }
        if (p.layout == Layout::InLine) {
            const int rowTop = int(p.a.y());
            bounds.farthestRowTop = end == 1 ? std::min(bounds.farthestRowTop, rowTop)
                                             : std::max(bounds.farthestRowTop, rowTop);
        }
        state = p.next;
    }
    return bounds;
}

// Every way of placing six doubles among the places an arm can hold them: never first or last
// (both carry a six, and the double six is the opening), never two in a row.
void forEachPlacementOfSixDoubles(const std::function<void(const std::vector<bool>&)>& visit)
{
    std::vector<bool> doubles(27, false);
    std::function<void(int, int)> choose = [&](int from, int left) {
        if (left == 0) {
            visit(doubles);
            return;
        }
        for (int place = from; place <= 25; ++place) {
            doubles[std::size_t(place)] = true;
            choose(place + 2, left - 1);
            doubles[std::size_t(place)] = false;
        }
    };
    choose(1, 6);
}

// The 27 tiles after the opening as one line from the double six, found depth first; the
// order in which the pips are tried picks one of the many possible lines.
QStringList armFromDoubleSix(const std::vector<int>& pipOrder)
{
    bool used[7][7]{};
    used[6][6] = true;
    QStringList line;
    std::function<bool(int)> extend = [&](int open) {
        if (line.size() == 27)
            return true;
        for (int other : pipOrder) {
            if (used[open][other])
                continue;
            used[open][other] = used[other][open] = true;
            line << game::tileText(Int16(std::max(open, other)), Int16(std::min(open, other)));
            // Remember which way round it was laid: the open pip first.
            line.last() += QString::number(open);
            if (extend(other))
                return true;
            line.removeLast();
            used[open][other] = used[other][open] = false;
        }
        return false;
    };
    return extend(6) ? line : QStringList();
}

} // namespace

void ChainLayoutTest::init()
{
    table = std::make_unique<Table>();
    QVERIFY(QTest::qWaitForWindowExposed(&table->form));
    game::placeAnchorAsAtStartUp(table->form);
}

void ChainLayoutTest::cleanup()
{
    table.reset();
}

void ChainLayoutTest::limitsFollowTheCloth_data()
{
    QTest::addColumn<int>("clothLeft");
    QTest::addColumn<int>("clothWidth");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    QTest::newRow("the design's cloth") << 120 << 8655 << 1685 << 6695;
    QTest::newRow("a cloth at the edge") << 0 << 9000 << 1565 << 6920;
    QTest::newRow("a narrow cloth") << 300 << 6000 << 1865 << 4220;
}

void ChainLayoutTest::limitsFollowTheCloth()
{
    QFETCH(int, clothLeft);
    QFETCH(int, clothWidth);
    QFETCH(int, left);
    QFETCH(int, right);
    const chain::Limits limits = chain::limitsOf(Int16(clothLeft), Int16(clothWidth), 360);
    QCOMPARE(int(limits.left), left);
    QCOMPARE(int(limits.right), right);
    QCOMPARE(limits.halfWidth, 360.0);
}

void ChainLayoutTest::placeTileDrawsTheWorkedPositions_data()
{
    QTest::addColumn<int>("example");
    QTest::addColumn<int>("seat");
    const auto examples = workedExamples();
    for (std::size_t i = 0; i < examples.size(); ++i) {
        // The player's tiles and a computer seat's are drawn alike.
        const int seat = i % 2 == 0 ? 1 : 3;
        QTest::addRow("%s, seat %d", examples[i].name, seat) << int(i) << seat;
    }
}

void ChainLayoutTest::placeTileDrawsTheWorkedPositions()
{
    QFETCH(int, example);
    QFETCH(int, seat);
    Form1& form = table->form;
    const Example ex = workedExamples().at(std::size_t(example));

    // A hand opened by the player, then the example's end set to its start.
    table->scriptDeal(game::doubleSixAtSeat(1));
    table->clickStart();
    game::clickUpperHalf(form, 3);
    game::clickMarker(form, 0);
    QCOMPARE(form.Image3.Count(), Int16(4));
    form.Timer1->setInterval(0);
    form.endPos[ex.end][1] = ex.start.x;
    form.endPos[ex.end][2] = ex.start.y;
    form.endDir[ex.end] = ex.start.dir;
    form.endCorner[ex.end] = ex.start.corner;
    form.turnSeat = Int16(seat);
    form.Label2(seat - 1)->setCaption(QStringLiteral("20"));

    Int16 open = form.chainEnds[ex.end];
    int n = 0;
    for (const Step& step : ex.steps) {
        ++n;
        const QByteArray where = QByteArray("tile ") + QByteArray::number(n);
        const Int16 other = step.isDouble ? open : Int16((open + 1 + n % 5) % 7);
        // Half the tiles are held the other way round: the matching half is then field 2.
        Int16 field = n % 2 == 0 ? Int16(2) : Int16(1);
        Int16 slot = 4;
        Int16 end = ex.end;
        form.hands[seat][slot][field] = open;
        form.hands[seat][slot][field == 1 ? 2 : 1] = other;
        const Int16 images3 = form.Image3.Count();
        const Int16 images5 = form.Image5.Count();

        form.PlaceTile(field, slot, end);

        const bool upright = step.layout != Layout::InLine;
        QCOMPARE(form.Image3.Count(), Int16(images3 + (upright ? 2 : 3)));
        QCOMPARE(form.Image5.Count(), Int16(images5 + (upright ? 1 : 0)));
        const Picture* a = form.Image3(images3);
        const Picture* b = form.Image3(images3 + 1);
        const Picture* divider = upright ? form.Image5(images5) : form.Image3(images3 + 2);
        QVERIFY2(a->Visible() && b->Visible() && divider->Visible(), where.constData());
        QCOMPARE(game::at(a), step.a);
        QCOMPARE(game::at(b), step.b);
        QCOMPARE(game::at(divider), step.divider);
        QCOMPARE(a->picture(), pictures::face(open));
        QCOMPARE(b->picture(), pictures::face(other));
        QCOMPARE(divider->picture(),
                 upright ? pictures::kDividerHorizontal : pictures::kDividerVertical);
        QCOMPARE(a->Width(), Int16(360));
        QCOMPARE(divider->Height(), Int16(360));
        const auto stack = a->parentWidget()->children();
        QVERIFY2(stack.indexOf(b) > stack.indexOf(a), where.constData());
        QVERIFY2(stack.indexOf(divider) > stack.indexOf(b), where.constData());
        QCOMPARE(form.chainEnds[ex.end], other);
        const chain::EndState now{form.endPos[ex.end][1], form.endPos[ex.end][2],
                                  form.endDir[ex.end], form.endCorner[ex.end]};
        QCOMPARE(describe(now), describe(step.next));
        // The caller empties the slot; the call itself leaves it alone.
        QCOMPARE(form.hands[seat][slot][field], open);
        form.hands[seat][slot][1] = form.hands[seat][slot][2] = rules::kEmptySlot;
        open = other;
    }
    // The other end never moved.
    const Int16 still = ex.end == 1 ? Int16(2) : Int16(1);
    QCOMPARE(form.chainEnds[still], Int16(6));
    QCOMPARE(form.endPos[still][1], Int16(still == 1 ? 3840 : 4560));
    QCOMPARE(form.endPos[still][2], Int16(3300));
}

void ChainLayoutTest::tableDividersComeAfterTheHands()
{
    Form1& form = table->form;
    table->scriptDeal(game::playerOpensDeal());
    table->clickStart();
    game::clickUpperHalf(form, 1);
    game::clickMarker(form, 0);
    game::runComputerTurns(form);
    QVERIFY(form.humanTurn);
    QCOMPARE(form.Image5.Count(), Int16(8));
    // The player's 3/3 at end 1 lies crosswise: its divider is the first of the table's.
    game::clickDivider(form, 3);
    game::clickMarker(form, 0);
    QCOMPARE(form.Image5.Count(), Int16(9));
    QCOMPARE(game::at(form.Image5(8)), QPoint(2400, 3300));
    for (int slot = 1; slot <= rules::kSlots; ++slot) {
        QCOMPARE(game::at(form.Image5(slot)), QPoint(3000 + 480 * (slot - 1), 6420));
        QCOMPARE(form.Image5(slot)->Visible(), slot != 1 && slot != 3);
    }
}

void ChainLayoutTest::longestArmStaysOnTheClothWhateverItsDoubles_data()
{
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("farthestRowTop"); // of an arm without doubles
    QTest::newRow("end 1") << 1 << 1140;
    QTest::newRow("end 2") << 2 << 5460;
}

void ChainLayoutTest::longestArmStaysOnTheClothWhateverItsDoubles()
{
    QFETCH(int, end);
    QFETCH(int, farthestRowTop);
    QCOMPARE(layArm(Int16(end), std::vector<bool>(27, false)).farthestRowTop, farthestRowTop);
    int orders = 0;
    QString problem;
    ArmBounds widest;
    forEachPlacementOfSixDoubles([&](const std::vector<bool>& doubles) {
        ++orders;
        const ArmBounds bounds = layArm(Int16(end), doubles);
        widest.left = std::min(widest.left, bounds.left);
        widest.right = std::max(widest.right, bounds.right);
        widest.top = std::min(widest.top, bounds.top);
        widest.bottom = std::max(widest.bottom, bounds.bottom);
        const bool inside = bounds.left >= 1320 && bounds.right <= 7440 &&
                            (end == 1 ? bounds.top >= 960 : bounds.bottom <= 6000);
        if (!inside && problem.isEmpty()) {
            QStringList places;
            for (std::size_t i = 0; i < doubles.size(); ++i) {
                if (doubles[i])
                    places << QString::number(i + 1);
            }
            problem = QStringLiteral("doubles at %1: left %2 right %3 top %4 bottom %5")
                          .arg(places.join(QLatin1Char(',')))
                          .arg(bounds.left)
                          .arg(bounds.right)
                          .arg(bounds.top)
                          .arg(bounds.bottom);
        }
    });
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(orders, 38760);
    // Some orders touch every one of those limits: they are the arm's true reach.
    QCOMPARE(widest.left, 1320);
    QCOMPARE(widest.right, 7440);
    QCOMPARE(end == 1 ? widest.top : widest.bottom, end == 1 ? 960 : 6000);
}

void ChainLayoutTest::realLongestArmsStayOnTheCloth_data()
{
    QTest::addColumn<int>("end");
    QTest::addColumn<QList<int>>("pipOrder");
    const QList<QList<int>> orders = {
        {0, 1, 2, 3, 4, 5, 6}, {6, 5, 4, 3, 2, 1, 0}, {3, 0, 5, 1, 6, 2, 4}, {1, 3, 5, 0, 2, 4, 6}};
    for (int end = 1; end <= 2; ++end) {
        for (const auto& order : orders) {
            QStringList digits;
            for (int pip : order)
                digits << QString::number(pip);
            QTest::addRow("end %d, pips tried %s", end, qPrintable(digits.join(QString())))
                << end << order;
        }
    }
}

void ChainLayoutTest::realLongestArmsStayOnTheCloth()
{
    QFETCH(int, end);
    QFETCH(QList<int>, pipOrder);
    Form1& form = table->form;
    const QStringList line = armFromDoubleSix(std::vector<int>(pipOrder.begin(), pipOrder.end()));
    QCOMPARE(line.size(), 27);

    table->scriptDeal(game::doubleSixAtSeat(1));
    table->clickStart();
    game::clickUpperHalf(form, 3);
    game::clickMarker(form, 0);
    form.Timer1->setInterval(0);
    form.turnSeat = 1;
    form.Label2(0)->setCaption(QStringLiteral("27"));

    const QRect cloth(form.Label1->Left(), form.Label1->Top(), form.Label1->Width(),
                      form.Label1->Height());
    for (const QString& laid : line) {
        // "hlo": the tile, then the pip it is laid against.
        const Int16 high = Int16(laid.at(0).digitValue());
        const Int16 low = Int16(laid.at(1).digitValue());
        const Int16 open = Int16(laid.at(2).digitValue());
        QCOMPARE(form.chainEnds[end], open);
        form.hands[1][2][1] = high;
        form.hands[1][2][2] = low;
        Int16 field = high == open ? Int16(1) : Int16(2);
        Int16 slot = 2;
        Int16 atEnd = Int16(end);
        form.PlaceTile(field, slot, atEnd);
    }
    QCOMPARE(form.Label2(0)->Caption(), QString("0"));
    QCOMPARE(int(tilesOnTable(form).size()), 28);
    auto check = [&](const Picture* p) {
        const QRect r(p->Left(), p->Top(), p->Width(), p->Height());
        const QByteArray what = QByteArray::number(r.left()) + "," + QByteArray::number(r.top());
        QVERIFY2(cloth.contains(r), what.constData());
        QVERIFY2(r.left() >= 1320 && r.left() + r.width() <= 7440, what.constData());
        QVERIFY2(end == 1 ? r.top() >= 960 : r.top() + r.height() <= 6000, what.constData());
    };
    for (int i = 4; i < form.Image3.Count(); ++i)
        check(form.Image3(i));
    for (int i = 8; i < form.Image5.Count(); ++i)
        check(form.Image5(i));
}

void ChainLayoutTest::placeTileKeepsTheBooks_data()
{
    QTest::addColumn<int>("seat");
    QTest::addColumn<int>("passesBefore");
    QTest::addColumn<QString>("counterBefore");
    QTest::addColumn<QString>("counterAfter");
    QTest::newRow("the player, no passes") << 1 << 0 << "6"
                                           << "5";
    QTest::newRow("the player after three passes") << 1 << 3 << "2"
                                                   << "1";
    QTest::newRow("seat 2 after two passes") << 2 << 2 << "7"
                                             << "6";
    QTest::newRow("seat 3 lays its last tile") << 3 << 0 << "1"
                                               << "0";
    QTest::newRow("seat 4 after five passes") << 4 << 5 << "4"
                                              << "3";
}

void ChainLayoutTest::placeTileKeepsTheBooks()
{
    QFETCH(int, seat);
    QFETCH(int, passesBefore);
    QFETCH(QString, counterBefore);
    QFETCH(QString, counterAfter);
    Form1& form = table->form;
    table->scriptDeal(game::doubleSixAtSeat(1));
    table->clickStart();
    game::clickUpperHalf(form, 3);
    game::clickMarker(form, 1);
    form.Timer1->setInterval(0);

    // Leave the seat as many face-down tiles as its counter says.
    const int held = counterBefore.toInt();
    if (seat > 1) {
        for (int k = held; k < rules::kSlots; ++k)
            form.Shape1((seat - 2) * rules::kSlots + k)->hide();
    }
    form.Label2(seat - 1)->setCaption(counterBefore);
    form.passCount = Int16(passesBefore);
    form.turnSeat = Int16(seat);
    form.hands[seat][5][1] = 6;
    form.hands[seat][5][2] = 2;
    const int soundsBefore = int(table->sound.calls.size());
    auto faceDown = [&] {
        QList<int> shown;
        for (int s = 2; s <= 4; ++s)
            shown << game::visibleFaceDown(form, s);
        return shown;
    };
    QList<int> faceDownAfter = faceDown();
    if (seat > 1)
        --faceDownAfter[seat - 2];
    QStringList countersAfter = game::counters(form).split(QLatin1Char(' '));
    countersAfter[seat - 1] = counterAfter;

    Int16 field = 1;
    Int16 slot = 5;
    Int16 end = 2;
    form.PlaceTile(field, slot, end);

    QCOMPARE(game::counters(form), countersAfter.join(QLatin1Char(' ')));
    QCOMPARE(faceDown(), faceDownAfter);
    QCOMPARE(form.passCount, Int16(0));
    QCOMPARE(form.chainEnds[2], Int16(2));
    QCOMPARE(form.chainEnds[1], Int16(6));
    QCOMPARE(int(table->sound.calls.size()), soundsBefore + 1);
    QCOMPARE(table->sound.calls.last().file, QString("ficha.wav"));
    QCOMPARE(game::tileAt(form, seat, 5), QString("62"));
    QVERIFY(!form.Timer1->isArmed());
}

void ChainLayoutTest::soundComesBeforeTheTileShows_data()
{
    QTest::addColumn<bool>("soundOn");
    QTest::addColumn<QString>("tile");
    QTest::newRow("sound on, a tile in line") << true << "62";
    QTest::newRow("sound on, a double crosswise") << true << "66";
    QTest::newRow("sound off") << false << "62";
}

void ChainLayoutTest::soundComesBeforeTheTileShows()
{
    QFETCH(bool, soundOn);
    QFETCH(QString, tile);
    table.reset();
    game::WatchedTable watched;
    Form1& form = watched.form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // Seat 3 opens with its double six, which comes with its own sound before it shows.
    game::scriptTiles(form, game::doubleSixAtSeat(3));
    Table::click(form.Command1);
    QCOMPARE(watched.sound.picturesShownAtCall, QList<int>{0});
    QCOMPARE(watched.sound.picturesMadeAtCall, QList<int>{1 + 1 + rules::kSlots});
    QCOMPARE(game::tablePicturesShown(form), 3);
    form.Timer1->setInterval(0);

    if (!soundOn)
        form.MnuSound->setChecked(false);
    form.turnSeat = 2;
    game::setHand(form, 2, {"99", tile, "99", "99", "99", "99", "99"});
    const int shownBefore = game::tablePicturesShown(form);
    const int madeBefore = form.Image3.Count() + form.Image5.Count();
    Int16 field = 1;
    Int16 slot = 2;
    Int16 end = 1;
    form.PlaceTile(field, slot, end);

    QCOMPARE(game::tablePicturesShown(form), shownBefore + 3);
    if (soundOn) {
        QCOMPARE(watched.sound.calls.size(), 2);
        QCOMPARE(watched.sound.calls.last().file, QString("ficha.wav"));
        // Nothing of the new tile existed yet, let alone showed.
        QCOMPARE(watched.sound.picturesShownAtCall.last(), shownBefore);
        QCOMPARE(watched.sound.picturesMadeAtCall.last(), madeBefore);
    } else {
        QCOMPARE(watched.sound.calls.size(), 1);
    }
}

QTEST_MAIN(ChainLayoutTest)
#include "test_chainlayout.moc"
