#include "support/playerseat.h"
#include "support/tablefixture.h"
#include "table/chainlayout.h"
#include "table/pictures.h"

#include <QTest>
#include <functional>

// Where the chain's tiles go: the worked examples of the table's design, the corners and the
// borders, the longest arm, and what laying a tile does besides drawing it.
class ChainLayoutTest : public QObject
{
    Q_OBJECT
private slots:
    void placeTileDrawsTheWorkedPositions_data();
    void placeTileDrawsTheWorkedPositions();
    void longestArmStaysOnTheClothWhateverItsDoubles_data();
    void longestArmStaysOnTheClothWhateverItsDoubles();
    void soundComesBeforeTheTileShows_data();
    void soundComesBeforeTheTileShows();
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
// The farthest an arm of the whole set may reach, in twips.
constexpr int kReachLeft = 1320, kReachRight = 7440, kReachTop = 960, kReachBottom = 6000;

constexpr Layout I = Layout::InLine, X = Layout::Crosswise, D = Layout::CornerDown,
                 U = Layout::CornerUp;

std::vector<Step> join(std::vector<Step> steps, std::initializer_list<Step> more)
{
    steps.insert(steps.end(), more);
    return steps;
}

// clang-format off
std::vector<Example> workedExamples()
{
    const std::vector<Step> row2 = {
        {false, I, {4560, 3300}, {4920, 3300}, {4740, 3300}, {5280, 3300, 1, 0}},
        {false, I, {5280, 3300}, {5640, 3300}, {5460, 3300}, {6000, 3300, 1, 0}},
        {false, I, {6000, 3300}, {6360, 3300}, {6180, 3300}, {6720, 3300, 1, 0}}};
    const std::vector<Step> row1 = {
        {false, I, {3840, 3300}, {3480, 3300}, {3660, 3300}, {3120, 3300, -1, 0}},
        {false, I, {3120, 3300}, {2760, 3300}, {2940, 3300}, {2400, 3300, -1, 0}},
        {false, I, {2400, 3300}, {2040, 3300}, {2220, 3300}, {1680, 3300, -1, 0}}};
    const Step down{false, D, {6720, 3300}, {6720, 3660}, {6720, 3480}, {6720, 4020, 1, 1}};
    const Step up{false, U, {1680, 3300}, {1680, 2940}, {1680, 3120}, {1680, 2580, -1, 1}};
    const Step back2{false, I, {6720, 4020}, {6360, 4020}, {6540, 4020}, {6000, 4020, -1, 0}};
    const Step back1{false, I, {1680, 2580}, {2040, 2580}, {1860, 2580}, {2400, 2580, 1, 0}};
    auto twice = [](Step step) { step.isDouble = true; return step; };
    return {
        {"end 2 runs right, turns down and comes back", 2, kEnd2Start, join(row2, {down, back2})},
        {"end 1 runs left, turns up and comes back", 1, kEnd1Start, join(row1, {up, back1})},
        {"a double first at end 2 lies crosswise", 2, kEnd2Start,
         {{true, X, {4560, 3120}, {4560, 3480}, {4560, 3300}, {4920, 3300, 1, 0}},
          {false, I, {4920, 3300}, {5280, 3300}, {5100, 3300}, {5640, 3300, 1, 0}}}},
        {"a double first at end 1 lies crosswise", 1, kEnd1Start,
         {{true, X, {3840, 3120}, {3840, 3480}, {3840, 3300}, {3480, 3300, -1, 0}},
          {false, I, {3480, 3300}, {3120, 3300}, {3300, 3300}, {2760, 3300, -1, 0}}}},
        {"a double at end 2's corner stands upright", 2, kEnd2Start, join(row2, {twice(down)})},
        {"a double at end 1's corner stands upright", 1, kEnd1Start, join(row1, {twice(up)})},
        {"a double just after end 2's corner lies in line", 2, kEnd2Start, join(row2, {down, twice(back2)})},
        {"a double just after end 1's corner lies in line", 1, kEnd1Start, join(row1, {up, twice(back1)})},
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

QList<int> stateOf(const chain::EndState& state)
{
    return {state.x, state.y, state.dir, state.corner};
}

// The player has opened with the double six; the hand is then driven by direct calls.
void openedByThePlayer(Table& t)
{
    t.deal(doubleSixAtSeat(1));
    clickUpperHalf(t.form, 3);
    clickMarker(t.form, 0);
    t.form.Timer1->setInterval(0);
}

// Lays a tile from a slot of the seat's hand at an end, as the turn step does.
void lay(Form1& form, int seat, Int16 slot, Int16 end, Int16 matching, Int16 other, Int16 field)
{
    form.hands[seat][slot][field] = matching;
    form.hands[seat][slot][field == 1 ? 2 : 1] = other;
    form.PlaceTile(field, slot, end);
}

// The box an arm of 27 tiles covers, the doubles at the given places.
QRect layArm(Int16 end, const std::vector<bool>& doubles)
{
    QRect box;
    chain::EndState state = end == 1 ? kEnd1Start : kEnd2Start;
    for (bool isDouble : doubles) {
        const chain::Placement p = chain::place(state, end, isDouble, kDesignLimits);
        for (const QPointF& spot : {p.a, p.b, p.divider})
            box |= QRect(spot.toPoint(), QSize(360, 360));
        state = p.next;
    }
    return box;
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

} // namespace

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
    const Example ex = workedExamples().at(std::size_t(example));
    Table t;
    Form1& form = t.form;
    openedByThePlayer(t);
    form.endPos[ex.end][1] = ex.start.x;
    form.endPos[ex.end][2] = ex.start.y;
    form.endDir[ex.end] = ex.start.dir;
    form.endCorner[ex.end] = ex.start.corner;
    form.turnSeat = Int16(seat);
    form.Label2(seat - 1)->setCaption(QStringLiteral("20"));

    Int16 open = form.chainEnds[ex.end];
    for (int n = 1; const Step& step : ex.steps) {
        const Int16 other = step.isDouble ? open : Int16((open + 1 + n % 5) % 7);
        const Int16 images3 = form.Image3.Count();
        const Int16 images5 = form.Image5.Count();
        // Half the tiles are held the other way round: the matching half is then field 2.
        lay(form, seat, 4, ex.end, open, other, n % 2 == 0 ? 2 : 1);

        const bool upright = step.layout != Layout::InLine;
        QCOMPARE(form.Image3.Count(), Int16(images3 + (upright ? 2 : 3)));
        QCOMPARE(form.Image5.Count(), Int16(images5 + (upright ? 1 : 0)));
        const Picture* a = form.Image3(images3);
        const Picture* b = form.Image3(images3 + 1);
        const Picture* divider = upright ? form.Image5(images5) : form.Image3(images3 + 2);
        QVERIFY(a->Visible() && b->Visible() && divider->Visible());
        QCOMPARE(at(a), step.a);
        QCOMPARE(at(b), step.b);
        QCOMPARE(at(divider), step.divider);
        QCOMPARE(a->picture(), pictures::face(open));
        QCOMPARE(b->picture(), pictures::face(other));
        QCOMPARE(divider->picture(),
                 upright ? pictures::kDividerHorizontal : pictures::kDividerVertical);
        // The divider lies over both halves, so its line shows on the seam.
        const auto stack = a->parentWidget()->children();
        QVERIFY(stack.indexOf(b) > stack.indexOf(a) && stack.indexOf(divider) > stack.indexOf(b));
        QCOMPARE(form.chainEnds[ex.end], other);
        QCOMPARE(stateOf({form.endPos[ex.end][1], form.endPos[ex.end][2], form.endDir[ex.end],
                          form.endCorner[ex.end]}),
                 stateOf(step.next));
        form.hands[seat][4][1] = form.hands[seat][4][2] = rules::kEmptySlot;
        open = other;
        ++n;
    }
    // The other end never moved.
    const Int16 still = ex.end == 1 ? Int16(2) : Int16(1);
    QCOMPARE(form.chainEnds[still], Int16(6));
    QCOMPARE(QPoint(form.endPos[still][1], form.endPos[still][2]),
             QPoint(still == 1 ? 3840 : 4560, 3300));
}

void ChainLayoutTest::longestArmStaysOnTheClothWhateverItsDoubles_data()
{
    QTest::addColumn<int>("end");
    QTest::newRow("end 1") << 1;
    QTest::newRow("end 2") << 2;
}

void ChainLayoutTest::longestArmStaysOnTheClothWhateverItsDoubles()
{
    QFETCH(int, end);
    const QRect reach(QPoint(kReachLeft, end == 1 ? kReachTop : 0),
                      QPoint(kReachRight - 1, end == 1 ? 9999 : kReachBottom - 1));
    int orders = 0;
    QRect widest;
    QString problem;
    forEachPlacementOfSixDoubles([&](const std::vector<bool>& doubles) {
        ++orders;
        const QRect box = layArm(Int16(end), doubles);
        widest |= box;
        if (!reach.contains(box) && problem.isEmpty()) {
            for (std::size_t i = 0; i < doubles.size(); ++i)
                problem += doubles[i] ? QStringLiteral("%1 ").arg(i + 1) : QString();
            problem += QStringLiteral("reach out to %1,%2 %3x%4")
                           .arg(box.x())
                           .arg(box.y())
                           .arg(box.width())
                           .arg(box.height());
        }
    });
    QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("doubles at ") + problem));
    QCOMPARE(orders, 38760);
    // Some orders touch every one of those limits: they are the arm's true reach.
    QCOMPARE(widest.left(), kReachLeft);
    QCOMPARE(widest.right() + 1, kReachRight);
    QCOMPARE(end == 1 ? widest.top() : widest.bottom() + 1, end == 1 ? kReachTop : kReachBottom);
}

void ChainLayoutTest::soundComesBeforeTheTileShows_data()
{
    QTest::addColumn<bool>("soundOn");
    QTest::addColumn<int>("other");
    QTest::newRow("sound on, a tile in line") << true << 2;
    QTest::newRow("sound on, a double crosswise") << true << 6;
    QTest::newRow("sound off") << false << 2;
}

void ChainLayoutTest::soundComesBeforeTheTileShows()
{
    QFETCH(bool, soundOn);
    QFETCH(int, other);
    Table t;
    Form1& form = t.form;
    // The pictures of the table (tiles and their dividers) made and shown as each sound came.
    auto tableShown = [&form] {
        int shown = 0;
        for (int i = 1; i < form.Image3.Count(); ++i)
            shown += form.Image3(i)->Visible() ? 1 : 0;
        for (int i = rules::kSlots + 1; i < form.Image5.Count(); ++i)
            shown += form.Image5(i)->Visible() ? 1 : 0;
        return shown;
    };
    QList<int> shownAtCall;
    QList<int> madeAtCall;
    t.sound.onCall = [&] {
        shownAtCall << tableShown();
        madeAtCall << form.Image3.Count() + form.Image5.Count();
    };
    // Seat 3 opens with its double six, which comes with its own sound before it shows.
    t.deal(doubleSixAtSeat(3));
    QCOMPARE(shownAtCall, QList<int>{0});
    QCOMPARE(madeAtCall, QList<int>{1 + 1 + rules::kSlots});
    QCOMPARE(tableShown(), 3);
    form.Timer1->setInterval(0);
    form.MnuSound->setChecked(soundOn);
    form.turnSeat = 2;
    const int shownBefore = tableShown();
    const int madeBefore = form.Image3.Count() + form.Image5.Count();

    lay(form, 2, 2, 1, 6, Int16(other), 1);

    QCOMPARE(tableShown(), shownBefore + 3);
    QCOMPARE(t.sound.calls.size(), soundOn ? 2 : 1);
    if (soundOn) {
        // Nothing of the new tile existed yet, let alone showed.
        QCOMPARE(shownAtCall.last(), shownBefore);
        QCOMPARE(madeAtCall.last(), madeBefore);
    }
}

QTEST_MAIN(ChainLayoutTest)
#include "test_chainlayout.moc"
