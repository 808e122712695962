#include "rules/computerchoice.h"
#include "support/table.h"
#include "table/chainlayout.h"

// What needs no window: the computer's choice and the chain's next places. The reading of the
// target is fuzzed against a second reading (checks/35-fuzz.sh).
class RulesTest : public QObject
{
    Q_OBJECT
private slots:
    void computerChoice_data()
    {
        // The hand, the open ends, and the slot, end and field chosen.
        addRows({"hand", "ends", "choice"},
                {"slot 2 at end 2 before slot 5 at end 1|00 51 22 44 53 99 99|3 1|222",
                 "end 1's field 2 before end 2's field 1|53 11 99 99 99 99 99|3 5|112",
                 "empty slots never fit|99 99 99 31 99 99 10|1 0|412",
                 "nothing fits|00 10 11 20 21 22 99|5 6|pass"});
    }

    void computerChoice()
    {
        const Int16 ends[3] = {0, cell("ends").section(' ', 0, 0).toShort(),
                               cell("ends").section(' ', 1).toShort()};
        rules::Hand hand{};
        setHand(hand, cell("hand").split(' '));
        const auto c = rules::chooseComputerTile(hand, ends);
        QCOMPARE(c ? QStringLiteral("%1%2%3").arg(c->slot).arg(c->end).arg(c->field) : "pass",
                 cell("choice"));
    }

    void chainRuns_data()
    {
        const QString row2 = "4560,3300 4920,3300 4740,3300 ; 5280,3300 5640,3300 5460,3300 ; "
                             "6000,3300 6360,3300 6180,3300 ; ";
        const QString row1 = "3840,3300 3480,3300 3660,3300 ; 3120,3300 2760,3300 2940,3300 ; "
                             "2400,3300 2040,3300 2220,3300 ; ";
        const QString down = "6720,3300 6720,3660 U6720,3480 ; ";
        const QString up = "1680,3300 1680,2940 U1680,3120 ; 1680,2580 2040,2580 1860,2580 ; ";
        addRows(
            {"start", "tiles", "laid"},
            {"end 2 turns down and back|2 4560 1|-----|" + row2 + down +
                 "6720,4020 6360,4020 6540,4020 ; 6000,4020 -1 0",
             "end 1 turns up and back|1 3840 -1|-----|" + row1 + up + "2400,2580 1 0",
             "a double at the corner stands upright|2 4560 1|---d|" + row2 + down + "6720,4020 1 1",
             "a double after the corner lies in line|1 3840 -1|----d|" + row1 + up +
                 "2400,2580 1 0",
             "a first double lies crosswise|2 4560 1|d-|4560,3120 4560,3480 U4560,3300 ; "
             "4920,3300 5280,3300 5100,3300 ; 5640,3300 1 0",
             "on the right limit is inside|2 6695 1|d|6695,3120 6695,3480 U6695,3300 ; "
             "7055,3300 1 0",
             "on the left limit is inside|1 1685 -1|-|1685,3300 1325,3300 1505,3300 ; "
             "965,3300 -1 0",
             "one past the right limit turns|2 6696 1|-|6696,3300 6696,3660 U6696,3480 ; "
             "6696,4020 1 1",
             "end 1's longest arm stays on the cloth|1 3840 -1|longest|1320 7440 960",
             "end 2's longest arm stays on the cloth|2 4560 1|longest|1320 7440 6000"});
    }

    void chainRuns()
    {
        // Tiles ("d" a double) laid at one end: each one's halves and divider (U: upright), then
        // the end; "longest": how far 27 tiles reach, six doubles none paired, first or last.
        const QStringList start = cell("start").split(' ');
        const Int16 end = start[0].toShort();
        const QString tiles = cell("tiles");
        const bool longest = tiles == "longest";
        const auto cloth = chain::limitsOf(120, 8655, 360); // as the design lays it
        const auto at = [](QPointF p) { return QStringLiteral("%1,%2").arg(p.x()).arg(p.y()); };
        QString out;
        QRect reach;
        for (int mask = 0; mask < (longest ? 1 << 25 : 1); ++mask) {
            if (longest && (__builtin_popcount(unsigned(mask)) != 6 || (mask & (mask << 1))))
                continue;
            chain::EndState s{start[1].toShort(), 3300, start[2].toShort(), 0};
            for (int i = 0; i < (longest ? 27 : tiles.size()); ++i) {
                const bool isDouble =
                    longest ? i >= 1 && i <= 25 && (mask >> (i - 1) & 1) : tiles[i] == 'd';
                const auto p = chain::place(s, end, isDouble, cloth);
                for (QPointF spot : {p.a, p.b, p.divider})
                    reach |= QRect(spot.toPoint(), QSize(360, 360));
                if (!longest) // strings for a million tiles would take seconds
                    out += at(p.a) + " " + at(p.b) +
                           (chain::dividerIsUpright(p.layout) ? " U" : " ") + at(p.divider) + " ; ";
                s = p.next;
            }
            out += at(QPointF(s.x, s.y)) + QStringLiteral(" %1 %2").arg(s.dir).arg(s.corner);
        }
        QCOMPARE(longest ? QStringLiteral("%1 %2 %3")
                               .arg(reach.left())
                               .arg(reach.right() + 1)
                               .arg(end == 1 ? reach.top() : reach.bottom() + 1)
                         : out,
                 cell("laid"));
    }
};

QTEST_MAIN(RulesTest)
#include "test_rules.moc"
