#include "support/tablefixture.h"

#include "table/pictures.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QSet>
#include <QTest>

Table::Table(Int16 matchKind, Int16 matchTarget)
{
    form.centreAnchor();
    form.show();
    form.settings.matchKind = matchKind;
    form.settings.matchTarget = matchTarget;
    form.matchActive = kTrue;
    form.Command1->show();
    form.random.seed(1);
}

void Table::scriptDeal(const QStringList& tiles)
{
    for (const QString& tile : tiles) {
        const int high = tile.at(0).digitValue();
        const int low = tile.at(1).digitValue();
        const int number = high * (high + 1) / 2 + low + 1;
        // The middle of the tile's slice of [0, 1) draws exactly that tile.
        form.random.script({(number - 0.5) / rules::kTiles});
    }
}

void Table::deal(const QStringList& tiles)
{
    scriptDeal(tiles);
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

QStringList doubleSixAtSeat(int seat)
{
    QStringList deal = allTilesInOrder();
    deal.swapItemsAt(rules::kTiles - 1, (seat - 1) * rules::kSlots + 2);
    return deal;
}

QStringList playerOpensDeal()
{
    return QStringLiteral("66 43 33 41 20 11 00 64 54 55 60 61 62 63 "
                          "53 40 42 44 50 51 52 65 10 21 22 30 31 32")
        .split(QLatin1Char(' '));
}

QStringList allSixesToThePlayerDeal()
{
    QStringList deal = allTilesInOrder();
    std::reverse(deal.begin(), deal.end());
    return deal;
}

QString tileAt(const Form1& form, int seat, int slot)
{
    return QStringLiteral("%1%2").arg(form.hands[seat][slot][1]).arg(form.hands[seat][slot][2]);
}

QStringList handOf(const Form1& form, int seat)
{
    QStringList hand;
    for (int slot = 1; slot <= rules::kSlots; ++slot)
        hand << tileAt(form, seat, slot);
    return hand;
}

void setHand(rules::Hand& hand, const QStringList& tiles)
{
    for (int slot = 1; slot <= rules::kSlots; ++slot) {
        hand[slot][1] = Int16(tiles.at(slot - 1).at(0).digitValue());
        hand[slot][2] = Int16(tiles.at(slot - 1).at(1).digitValue());
    }
}

int visibleFaceDown(const Form1& form, int seat)
{
    int shown = 0;
    for (int k = 0; k < rules::kSlots; ++k)
        shown += form.Shape1((seat - 2) * rules::kSlots + k)->Visible() ? 1 : 0;
    return shown;
}

QString counters(const Form1& form)
{
    QStringList texts;
    for (int i = 0; i < rules::kSeats; ++i)
        texts << form.Label2(i)->Caption();
    return texts.join(QLatin1Char(' '));
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
        int end = 0;
        if (i > 0) {
            // End 1 climbs above the anchor and starts to its left; end 2 the other way.
            const bool firstRow = a->Top() <= form.Shape2->Top() + 180;
            end = a->Top() < form.Shape2->Top() || (firstRow && a->Left() < form.Shape2->Left())
                      ? 1
                      : 2;
        }
        tiles.push_back(
            {Int16(pipsOf(a->picture())), Int16(pipsOf(halves[i + 1]->picture())), end});
    }
    return tiles;
}

QPoint at(const Twipped<QWidget>* control)
{
    return {control->Left(), control->Top()};
}

QString laidHalves(const Form1& form, int first)
{
    QStringList halves;
    for (int i = first; i < first + 2 && i < form.Image3.Count(); ++i)
        halves << QStringLiteral("%1,%2:%3")
                      .arg(form.Image3(i)->Left())
                      .arg(form.Image3(i)->Top())
                      .arg(pipsOf(form.Image3(i)->picture()));
    return halves.join(QLatin1Char(' '));
}

namespace
{

QString checkTiles(const Form1& form)
{
    QSet<QString> seen;
    int count = 0;
    auto note = [&](int x, int y) {
        ++count;
        seen.insert(QStringLiteral("%1/%2").arg(qMax(x, y)).arg(qMin(x, y)));
    };
    for (Int16 seat = 1; seat <= rules::kSeats; ++seat) {
        int held = 0;
        for (Int16 slot = 1; slot <= rules::kSlots; ++slot) {
            const auto& tile = form.hands[seat][slot];
            if (tile[1] != rules::kEmptySlot) {
                ++held;
                note(tile[1], tile[2]);
            }
        }
        if (form.Label2(seat - 1)->Caption() != QString::number(held))
            return QStringLiteral("seat %1 holds %2 tiles, its counter reads %3")
                .arg(seat)
                .arg(held)
                .arg(form.Label2(seat - 1)->Caption());
        if (seat > 1 && visibleFaceDown(form, seat) != held)
            return QStringLiteral("seat %1 shows %2 face-down tiles for %3 held")
                .arg(seat)
                .arg(visibleFaceDown(form, seat))
                .arg(held);
    }
    for (const TableTile& tile : tilesOnTable(form))
        note(tile.a, tile.b);
    if (count != rules::kTiles || seen.size() != rules::kTiles)
        return QStringLiteral("%1 tiles in play, %2 different").arg(count).arg(seen.size());
    return {};
}

QString checkOpenEnds(const Form1& form)
{
    const auto tiles = tilesOnTable(form);
    for (int end = 1; end <= 2 && !tiles.empty(); ++end) {
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
    auto off = [&cloth](const Picture* p) {
        return !cloth.contains(QRect(p->Left(), p->Top(), p->Width(), p->Height()));
    };
    for (int i = 1; i < form.Image3.Count(); ++i) {
        if (off(form.Image3(i)))
            return QStringLiteral("Image3(%1) lies off the cloth").arg(i);
    }
    for (int i = rules::kSlots + 1; i < form.Image5.Count(); ++i) {
        if (off(form.Image5(i)))
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
    if (form.passCount > 3 || counters(form).split(QLatin1Char(' ')).contains(QStringLiteral("0")))
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

namespace
{

QString numbers(std::initializer_list<int> values)
{
    QStringList texts;
    for (int value : values)
        texts << QString::number(value);
    return texts.join(QLatin1Char(' '));
}

} // namespace

QString shownText(const QWidget* control)
{
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (const auto* picture = qobject_cast<const Picture*>(control))
        return picture->picture();
    return {};
}

QStringList tableState(const Form1& form)
{
    QStringList lines;
    // Every control of the table as the player sees it: where, whether hidden, and what it says
    // or shows.
    for (const QWidget* w : form.centralWidget()->findChildren<QWidget*>()) {
        const QRect r = w->geometry();
        lines << QStringLiteral("%1 %2 \"%3\"")
                     .arg(QLatin1String(w->metaObject()->className()),
                          numbers({r.x(), r.y(), r.width(), r.height(), w->isHidden()}),
                          shownText(w));
    }
    for (const VbTimer* timer : {form.Timer1, form.Timer2})
        lines << QStringLiteral("timer ") +
                     numbers({timer->Enabled(), timer->Interval(), timer->isArmed()});
    lines << QStringLiteral("sound ") + numbers({form.MnuSound->isChecked()});
    QStringList hands;
    for (int seat = 1; seat <= rules::kSeats; ++seat)
        hands << handOf(form, seat);
    lines << QStringLiteral("hands ") + hands.join(QLatin1Char(' '));
    lines << QStringLiteral("turn ") +
                 numbers({form.turnSeat, form.humanTurn, form.firstMove, form.passCount,
                          form.matchActive, form.selectedHandImage});
    for (int end = 1; end <= 2; ++end)
        lines << QStringLiteral("end ") +
                     numbers({form.chainEnds[end], form.endPos[end][1], form.endPos[end][2],
                              form.endDir[end], form.endCorner[end]});
    const auto& scores = form.settings.scores;
    lines << QStringLiteral("match ") + numbers({form.settings.matchKind, form.settings.matchTarget,
                                                 scores[1], scores[2], scores[3], scores[4]});
    return lines;
}
