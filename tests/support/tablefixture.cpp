#include "support/tablefixture.h"

#include "options/form2.h"
#include "table/pictures.h"

#include <QSet>
#include <QTest>

Table::Table(Int16 matchKind, Int16 matchTarget)
{
    form.show();
    form.settings.matchKind = matchKind;
    form.settings.matchTarget = matchTarget;
    form.matchActive = kTrue;
    form.Command1->show();
    form.random.seed(1);
}

void Table::scriptDeal(const QStringList& tiles)
{
    Q_ASSERT(tiles.size() == rules::kTiles);
    for (const QString& tile : tiles) {
        const int high = tile.at(0).digitValue();
        const int low = tile.at(1).digitValue();
        const int number = high * (high + 1) / 2 + low + 1;
        // The middle of the tile's slice of [0, 1) draws exactly that tile.
        form.random.script({(number - 0.5) / rules::kTiles});
    }
}

void Table::clickStart()
{
    click(form.Command1);
}

void Table::click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

QStringList allTilesInOrder()
{
    QStringList tiles;
    for (int high = 0; high <= 6; ++high) {
        for (int low = 0; low <= high; ++low)
            tiles << QStringLiteral("%1%2").arg(high).arg(low);
    }
    return tiles;
}

int pipsOf(const QString& picture)
{
    for (int pips = 0; pips <= 6; ++pips) {
        if (picture == pictures::face(pips))
            return pips;
    }
    return -1;
}

std::vector<TableTile> tilesOnTable(const Form1& form)
{
    std::vector<TableTile> tiles;
    std::vector<const Picture*> halves;
    for (int i = 1; i < form.Image3.Count(); ++i) {
        if (pipsOf(form.Image3(i)->picture()) >= 0)
            halves.push_back(form.Image3(i));
    }
    for (std::size_t i = 0; i + 1 < halves.size(); i += 2) {
        const Picture* a = halves[i];
        const QRect rect(a->Left(), a->Top(), a->Width(), a->Height());
        int end = 0;
        if (i > 0) {
            // End 1 climbs above the anchor and starts to its left; end 2 the other way.
            const bool firstRow = rect.top() <= form.Shape2->Top() + 180;
            end = rect.top() < form.Shape2->Top() || (firstRow && rect.left() < form.Shape2->Left())
                      ? 1
                      : 2;
        }
        tiles.push_back(
            {Int16(pipsOf(a->picture())), Int16(pipsOf(halves[i + 1]->picture())), rect, end});
    }
    return tiles;
}

namespace
{

QString tileKey(int x, int y)
{
    return QStringLiteral("%1/%2").arg(qMax(x, y)).arg(qMin(x, y));
}

QString checkTiles(const Form1& form)
{
    QSet<QString> seen;
    int count = 0;
    for (Int16 seat = 1; seat <= rules::kSeats; ++seat) {
        int held = 0;
        for (Int16 slot = 1; slot <= rules::kSlots; ++slot) {
            const auto& tile = form.hands[seat][slot];
            if (tile[1] == rules::kEmptySlot)
                continue;
            ++held;
            ++count;
            seen.insert(tileKey(tile[1], tile[2]));
        }
        if (form.Label2(seat - 1)->Caption() != QString::number(held))
            return QStringLiteral("seat %1 holds %2 tiles, its counter reads %3")
                .arg(seat)
                .arg(held)
                .arg(form.Label2(seat - 1)->Caption());
        if (seat > 1) {
            int faceDown = 0;
            for (int k = 0; k < rules::kSlots; ++k)
                faceDown += form.Shape1((seat - 2) * rules::kSlots + k)->Visible() ? 1 : 0;
            if (faceDown != held)
                return QStringLiteral("seat %1 shows %2 face-down tiles for %3 held")
                    .arg(seat)
                    .arg(faceDown)
                    .arg(held);
        }
    }
    for (const TableTile& tile : tilesOnTable(form)) {
        ++count;
        seen.insert(tileKey(tile.a, tile.b));
    }
    if (count != rules::kTiles || seen.size() != rules::kTiles)
        return QStringLiteral("%1 tiles in play, %2 different").arg(count).arg(seen.size());
    return {};
}

QString checkOpenEnds(const Form1& form)
{
    const auto tiles = tilesOnTable(form);
    if (tiles.empty())
        return {};
    for (int end = 1; end <= 2; ++end) {
        Int16 open = 6;
        for (const TableTile& tile : tiles) {
            if (tile.end == end)
                open = tile.b;
        }
        if (form.chainEnds[end] != open)
            return QStringLiteral("end %1 is open at %2, the chain shows %3")
                .arg(end)
                .arg(form.chainEnds[end])
                .arg(open);
    }
    return {};
}

QString checkPicturesOnCloth(const Form1& form)
{
    const QRect cloth(form.Label1->Left(), form.Label1->Top(), form.Label1->Width(),
                      form.Label1->Height());
    auto inside = [&cloth](const Picture* p) {
        return cloth.contains(QRect(p->Left(), p->Top(), p->Width(), p->Height()));
    };
    for (int i = 1; i < form.Image3.Count(); ++i) {
        if (!inside(form.Image3(i)))
            return QStringLiteral("Image3(%1) lies off the cloth").arg(i);
    }
    for (int i = 8; i < form.Image5.Count(); ++i) {
        if (!inside(form.Image5(i)))
            return QStringLiteral("Image5(%1) lies off the cloth").arg(i);
    }
    return {};
}

QString checkTimer(const Form1& form)
{
    if (!form.Timer1->isArmed())
        return {};
    if (form.humanTurn)
        return QStringLiteral("Timer1 armed during the player's turn");
    bool handOver = form.passCount > 3;
    for (int i = 0; i < rules::kSeats; ++i)
        handOver = handOver || form.Label2(i)->Caption() == QStringLiteral("0");
    if (handOver)
        return QStringLiteral("Timer1 armed after the hand ended");
    return {};
}

} // namespace

QString invariantViolation(const Form1& form)
{
    if (form.Image5.Count() <= rules::kSlots)
        return {}; // nothing dealt yet
    for (const auto& check : {checkTiles, checkOpenEnds, checkPicturesOnCloth, checkTimer}) {
        const QString problem = check(form);
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}
