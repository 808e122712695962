#include "options/targetreading.h"
#include "rules/computerchoice.h"
#include "rules/scoring.h"
#include "support/table.h"
#include "table/chainlayout.h"

#include <QTest>

// What needs no window: tile numbers, the computer's choice, the credit of a hand and the end
// of a match, the chain's next places, and the lenient reading of the target.
class RulesTest : public QObject
{
    Q_OBJECT
private slots:
    void tileNumbers();
    void computerChoice_data();
    void computerChoice();
    void matchDecision_data();
    void matchDecision();
    void chainRuns_data();
    void chainRuns();
    void longestArmStaysOnTheCloth();
    void targetReading_data();
    void targetReading();
};

using namespace rules;

void RulesTest::tileNumbers()
{
    QStringList tiles;
    for (Int16 n = 1; n <= kTiles; ++n)
        tiles << QStringLiteral("%1%2").arg(pipsOfTile(n).high).arg(pipsOfTile(n).low);
    QCOMPARE(tiles.join(' '), QString("00 10 11 20 21 22 30 31 32 33 40 41 42 43 44 50 51 52 53 "
                                      "54 55 60 61 62 63 64 65 66"));
}

void RulesTest::computerChoice_data()
{
    QTest::addColumn<QString>("hand");
    QTest::addColumn<QPoint>("ends");
    QTest::addColumn<QString>("choice"); // slot, end, field
    QTest::newRow("slots 2 and 5 fit") << "00 61 11 22 63 33 44" << QPoint(6, 6) << "211";
    QTest::newRow("slot 2 at end 2 before slot 5")
        << "00 51 22 44 53 99 99" << QPoint(3, 1) << "222";
    QTest::newRow("both ends: end 1") << "00 11 52 44 99 99 99" << QPoint(2, 5) << "312";
    QTest::newRow("end 1's field 2 before end 2's field 1")
        << "53 11 99 99 99 99 99" << QPoint(3, 5) << "112";
    QTest::newRow("a double by field 1") << "99 44 99 99 99 99 99" << QPoint(0, 4) << "221";
    QTest::newRow("empty slots never fit") << "99 99 99 31 99 99 10" << QPoint(1, 0) << "412";
    QTest::newRow("nothing fits") << "00 10 11 20 21 22 99" << QPoint(5, 6) << "pass";
}

void RulesTest::computerChoice()
{
    QFETCH(QString, hand);
    QFETCH(QPoint, ends);
    Hand tiles{};
    setHand(tiles, hand.split(' '));
    const Int16 chainEnds[3] = {0, Int16(ends.x()), Int16(ends.y())};
    const auto c = chooseComputerTile(tiles, chainEnds);
    QCOMPARE(c ? QStringLiteral("%1%2%3").arg(c->slot).arg(c->end).arg(c->field) : "pass",
             row<QString>("choice"));
}

void RulesTest::matchDecision_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("scores");
    QTest::addColumn<QString>("decision"); // "on", "tie" or the winner
    QTest::newRow("Partidas: first seat at the target") << 1 << 2 << "1 2 0 3"
                                                        << "2";
    QTest::newRow("Partidas: nobody there") << 1 << 4 << "1 2 0 3"
                                            << "on";
    QTest::newRow("Fichas: the unique lowest wins") << 2 << 10 << "4 10 3 7"
                                                    << "3";
    QTest::newRow("Fichas: just below the target") << 2 << 10 << "4 9 3 7"
                                                   << "on";
    QTest::newRow("Puntos: a shared lowest") << 3 << 21 << "0 0 21 4"
                                             << "tie";
    QTest::newRow("the seat at the target is lowest") << 3 << 5 << "9 8 6 5"
                                                      << "4";
    QTest::newRow("all at 1000 or more") << 2 << 999 << "1003 1001 1010 1200"
                                         << "2";
    QTest::newRow("all at 1000 or more, shared") << 2 << 999 << "1001 1001 1010 1200"
                                                 << "tie";
}

void RulesTest::matchDecision()
{
    QFETCH(int, kind);
    QFETCH(int, target);
    Scores scores{};
    const QStringList s = row<QString>("scores").split(' ');
    for (int seat = 1; seat <= kSeats; ++seat)
        scores[seat] = s.at(seat - 1).toShort();
    const auto d = decideMatch(Int16(kind), Int16(target), scores);
    const QString names[] = {"on", QString::number(d.winner), "tie"};
    QCOMPARE(names[d.outcome], row<QString>("decision"));
}

namespace
{

const chain::Limits kDesign = chain::limitsOf(120, 8655, 360);

// Lays tiles at one end ("d" a double, "-" any other) and tells where each went, as
// "ax,ay bx,by dx,dy" with U for an upright divider, and where the end stands afterwards.
QString run(Int16 end, chain::EndState state, const QString& tiles)
{
    QStringList out;
    for (QChar tile : tiles) {
        const auto p = chain::place(state, end, tile == 'd', kDesign);
        out << QStringLiteral("%1,%2 %3,%4 %5%6,%7")
                   .arg(p.a.x())
                   .arg(p.a.y())
                   .arg(p.b.x())
                   .arg(p.b.y())
                   .arg(chain::dividerIsUpright(p.layout) ? "U" : "")
                   .arg(p.divider.x())
                   .arg(p.divider.y());
        state = p.next;
    }
    return out.join(" | ") + QStringLiteral(" -> %1,%2 %3 %4")
                                 .arg(state.x)
                                 .arg(state.y)
                                 .arg(state.dir)
                                 .arg(state.corner);
}

} // namespace

void RulesTest::chainRuns_data()
{
    QTest::addColumn<int>("end");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<int>("dir");
    QTest::addColumn<QString>("tiles");
    QTest::addColumn<QString>("laid");
    const QPoint one(3840, 3300), two(4560, 3300);
    const QString row2 = "4560,3300 4920,3300 4740,3300 | 5280,3300 5640,3300 5460,3300 | "
                         "6000,3300 6360,3300 6180,3300 | ";
    const QString row1 = "3840,3300 3480,3300 3660,3300 | 3120,3300 2760,3300 2940,3300 | "
                         "2400,3300 2040,3300 2220,3300 | ";
    QTest::newRow("end 2 turns down and back")
        << 2 << two << 1 << "-----"
        << row2 +
               "6720,3300 6720,3660 U6720,3480 | 6720,4020 6360,4020 6540,4020 -> 6000,4020 -1 0";
    QTest::newRow("end 1 turns up and back")
        << 1 << one << -1 << "-----"
        << row1 + "1680,3300 1680,2940 U1680,3120 | 1680,2580 2040,2580 1860,2580 -> 2400,2580 1 0";
    QTest::newRow("a double at the corner stands upright")
        << 2 << two << 1 << "---d" << row2 + "6720,3300 6720,3660 U6720,3480 -> 6720,4020 1 1";
    QTest::newRow("a double after the corner lies in line")
        << 1 << one << -1 << "----d"
        << row1 + "1680,3300 1680,2940 U1680,3120 | 1680,2580 2040,2580 1860,2580 -> 2400,2580 1 0";
    QTest::newRow("a first double lies crosswise")
        << 2 << two << 1 << "d-"
        << "4560,3120 4560,3480 U4560,3300 | 4920,3300 5280,3300 5100,3300 -> 5640,3300 1 0";
    QTest::newRow("on the right limit is inside")
        << 2 << QPoint(6695, 3300) << 1 << "d"
        << "6695,3120 6695,3480 U6695,3300 -> 7055,3300 1 0";
    QTest::newRow("on the left limit is inside")
        << 1 << QPoint(1685, 3300) << -1 << "-"
        << "1685,3300 1325,3300 1505,3300 -> 965,3300 -1 0";
    QTest::newRow("one past the right limit turns")
        << 2 << QPoint(6696, 3300) << 1 << "-"
        << "6696,3300 6696,3660 U6696,3480 -> 6696,4020 1 1";
    QTest::newRow("end 2's second row turns down at the left")
        << 2 << QPoint(1680, 4020) << -1 << "--"
        << "1680,4020 1680,4380 U1680,4200 | 1680,4740 2040,4740 1860,4740 -> 2400,4740 1 0";
}

void RulesTest::chainRuns()
{
    QFETCH(QPoint, start);
    QFETCH(int, dir);
    const chain::EndState state{Int16(start.x()), Int16(start.y()), Int16(dir), 0};
    QCOMPARE(run(Int16(row<int>("end")), state, row<QString>("tiles")), row<QString>("laid"));
}

void RulesTest::longestArmStaysOnTheCloth()
{
    // Every order of an arm of 27 tiles with its six doubles, never two in a row and never
    // first or last, stays within these bounds, and some order reaches each of them.
    for (Int16 end = 1; end <= 2; ++end) {
        QRect widest;
        for (int mask = 0; mask < (1 << 25); ++mask) {
            if (__builtin_popcount(unsigned(mask)) != 6 || (mask & (mask << 1)))
                continue;
            chain::EndState s{Int16(end == 1 ? 3840 : 4560), 3300, Int16(end == 1 ? -1 : 1), 0};
            for (int i = 0; i < 27; ++i) {
                const bool isDouble = i >= 1 && i <= 25 && (mask >> (i - 1) & 1);
                const auto p = chain::place(s, end, isDouble, kDesign);
                for (QPointF spot : {p.a, p.b, p.divider})
                    widest |= QRect(spot.toPoint(), QSize(360, 360));
                s = p.next;
            }
        }
        QCOMPARE(widest.left(), 1320);
        QCOMPARE(widest.right() + 1, 7440);
        QCOMPARE(end == 1 ? widest.top() : widest.bottom() + 1, end == 1 ? 960 : 6000);
    }
}

void RulesTest::targetReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("target"); // -1: too large for 16 bits
    QTest::newRow("7.5 rounds to the even 8") << "7.5" << 8;
    QTest::newRow("6.5 rounds to the even 6") << "6.5" << 6;
    QTest::newRow("0.6") << "0.6" << 1;
    QTest::newRow("blanks, then letters") << "  12abc" << 12;
    QTest::newRow("a second point stops") << "1.2.3" << 1;
    QTest::newRow("point first") << ".75" << 1;
    QTest::newRow("no number") << "abc" << 0;
    QTest::newRow("sign alone") << "-" << 0;
    QTest::newRow("exponent") << "25E-1" << 2;
    QTest::newRow("exponent without digits") << "5e+" << 5;
    QTest::newRow("-32768.5 to the even -32768") << "-32768.5" << -32768;
    QTest::newRow("32767.5 does not fit") << "32767.5" << -1;
    QTest::newRow("1e400") << "1e400" << -1;
    QTest::newRow("fullwidth digit") << "9\uFF19" << 9;
}

void RulesTest::targetReading()
{
    const auto target = options::roundToInt16(options::readNumber(row<QString>("text")));
    QCOMPARE(target ? int(*target) : -1, row<int>("target"));
}

QTEST_MAIN(RulesTest)
#include "test_rules.moc"
