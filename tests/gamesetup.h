#pragma once

#include "support/tablefixture.h"
#include "table/pictures.h"

#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <initializer_list>
#include <optional>

// Small helpers shared by the game's tests: laying out deals, reading hands and clicking the
// table where the player would.
namespace game
{

// Where start-up centres the anchor on the design's cloth; the fixture skips start-up.
constexpr int kAnchorLeft = 4200;
constexpr int kAnchorTop = 3120;

inline void placeAnchorAsAtStartUp(Form1& form)
{
    form.Shape2->Move(kAnchorLeft, kAnchorTop);
}

template <class Control> QPoint at(const Control* control)
{
    return {control->Left(), control->Top()};
}

// Two halves laid on the table, from Image3(first), as "left,top:pips left,top:pips".
inline QString laidHalves(const Form1& form, int first)
{
    QStringList halves;
    for (int i = first; i < first + 2 && i < form.Image3.Count(); ++i)
        halves << QStringLiteral("%1,%2:%3")
                      .arg(form.Image3(i)->Left())
                      .arg(form.Image3(i)->Top())
                      .arg(pipsOf(form.Image3(i)->picture()));
    return halves.join(QLatin1Char(' '));
}

// The opening as the table shows it: the double six upright at the anchor, its divider across,
// and both ends waiting on either side.
inline QString openingShown(const Form1& form)
{
    const Picture* divider = form.Image3(3);
    QString shown = QStringLiteral("%1 divider %2,%3 across %4 pictures %5 %6")
                        .arg(laidHalves(form, 1))
                        .arg(divider->Left())
                        .arg(divider->Top())
                        .arg(divider->picture() == pictures::kDividerHorizontal)
                        .arg(form.Image3.Count())
                        .arg(form.Image5.Count());
    for (int i = 1; i <= 3; ++i)
        shown += form.Image3(i)->Visible() ? QStringLiteral(" shown") : QStringLiteral(" hidden");
    for (int end = 1; end <= 2; ++end)
        shown += QStringLiteral(" end %1 at %2,%3 dir %4 open %5")
                     .arg(end)
                     .arg(form.endPos[end][1])
                     .arg(form.endPos[end][2])
                     .arg(form.endDir[end])
                     .arg(form.chainEnds[end]);
    return shown;
}
inline const QString kOpeningShown = QStringLiteral(
    "4200,3120:6 4200,3480:6 divider 4200,3300 across 1 pictures 4 8 shown shown shown "
    "end 1 at 3840,3300 dir -1 open 6 end 2 at 4560,3300 dir 1 open 6");

inline QString tileText(Int16 high, Int16 low)
{
    return QStringLiteral("%1%2").arg(high).arg(low);
}

// The four hands of a deal, seat 1 first; empty when they are not the whole set once each.
inline QStringList dealOf(std::initializer_list<QStringList> seats)
{
    QStringList deal;
    for (const QStringList& seat : seats) {
        if (seat.size() != rules::kSlots)
            return {};
        deal << seat;
    }
    const QStringList all = allTilesInOrder();
    if (deal.size() != rules::kTiles ||
        QSet<QString>(deal.begin(), deal.end()) != QSet<QString>(all.begin(), all.end()))
        return {};
    return deal;
}

// The player holds the double six; the computer seats answer with one tile each: 6/5 at end 1
// (seat 4), 5/3 at end 1 (seat 3), 6/4 at end 2 (seat 2), leaving 3 and 4 open for the
// player's 4/3, 3/3, 4/1 and 2/0.
inline QStringList playerOpensDeal()
{
    return dealOf({{"66", "43", "33", "41", "20", "11", "00"},
                   {"64", "54", "55", "60", "61", "62", "63"},
                   {"53", "40", "42", "44", "50", "51", "52"},
                   {"65", "10", "21", "22", "30", "31", "32"}});
}

// Every six is the player's, so no computer seat can answer the opening.
inline QStringList allSixesToThePlayerDeal()
{
    return dealOf({{"66", "65", "64", "63", "62", "61", "60"},
                   {"00", "10", "11", "20", "21", "22", "30"},
                   {"31", "32", "33", "40", "41", "42", "43"},
                   {"44", "50", "51", "52", "53", "54", "55"}});
}

// The set in order, with the double six moved to the third slot of the given seat.
inline QStringList doubleSixAtSeat(int seat)
{
    QStringList deal = allTilesInOrder();
    deal.swapItemsAt(rules::kTiles - 1, (seat - 1) * rules::kSlots + 2);
    return deal;
}

// A slot as "hl", or "99" once its tile has been laid.
inline QString tileAt(const Form1& form, int seat, int slot)
{
    return tileText(form.hands[seat][slot][1], form.hands[seat][slot][2]);
}

inline QStringList handOf(const Form1& form, int seat)
{
    QStringList hand;
    for (int slot = 1; slot <= rules::kSlots; ++slot)
        hand << tileAt(form, seat, slot);
    return hand;
}

// Puts a hand straight into the game; "99" leaves a slot empty.
inline void setHand(Form1& form, int seat, const QStringList& tiles)
{
    for (int slot = 1; slot <= rules::kSlots; ++slot) {
        form.hands[seat][slot][1] = Int16(tiles.at(slot - 1).at(0).digitValue());
        form.hands[seat][slot][2] = Int16(tiles.at(slot - 1).at(1).digitValue());
    }
}

inline int visibleFaceDown(const Form1& form, int seat)
{
    int shown = 0;
    for (int k = 0; k < rules::kSlots; ++k)
        shown += form.Shape1((seat - 2) * rules::kSlots + k)->Visible() ? 1 : 0;
    return shown;
}

inline QString counters(const Form1& form)
{
    QStringList texts;
    for (int i = 0; i < rules::kSeats; ++i)
        texts << form.Label2(i)->Caption();
    return texts.join(QLatin1Char(' '));
}

// A real click through the window at a point of the widget (in pixels): whatever lies on top
// there gets it, and nothing does if the widget is hidden.
inline void clickAt(QWidget* widget, QPoint local)
{
    QWidget* window = widget->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      widget->mapTo(window, local));
}

// The hand's halves are half covered by the divider over their seam: these spots are not.
inline void clickUpperHalf(Form1& form, int slot)
{
    Picture* half = form.Image2(2 * slot - 2);
    clickAt(half, QPoint(half->width() / 2, 3));
}

inline void clickLowerHalf(Form1& form, int slot)
{
    Picture* half = form.Image2(2 * slot - 1);
    clickAt(half, QPoint(half->width() / 2, half->height() - 4));
}

inline void clickDivider(Form1& form, int index)
{
    Picture* divider = form.Image5(index);
    clickAt(divider, divider->rect().center());
}

inline void clickMarker(Form1& form, int index)
{
    Picture* marker = form.Image4(index);
    clickAt(marker, marker->rect().center());
}

// Queues the random values that make the next draws give exactly these tiles, as "hl" pairs.
inline void scriptTiles(Form1& form, const QStringList& tiles)
{
    for (const QString& tile : tiles) {
        const int high = tile.at(0).digitValue();
        const int low = tile.at(1).digitValue();
        const int number = high * (high + 1) / 2 + low + 1;
        form.random.script({(number - 0.5) / rules::kTiles});
    }
}

// Pictures of the table (tiles and their dividers) that are showing.
inline int tablePicturesShown(const Form1& form)
{
    int shown = 0;
    for (int i = 1; i < form.Image3.Count(); ++i)
        shown += form.Image3(i)->Visible() ? 1 : 0;
    for (int i = rules::kSlots + 1; i < form.Image5.Count(); ++i)
        shown += form.Image5(i)->Visible() ? 1 : 0;
    return shown;
}

// A sound service that also notes how much of the table was showing when each sound came.
struct WatchingSound : SoundRecorder {
    const Form1* form = nullptr;
    QList<int> picturesShownAtCall;
    QList<int> picturesMadeAtCall;
    void sndPlaySound(const QString& file, Int16 flags) override
    {
        SoundRecorder::sndPlaySound(file, flags);
        picturesShownAtCall << tablePicturesShown(*form);
        picturesMadeAtCall << form->Image3.Count() + form->Image5.Count();
    }
};

// The fixture's table, with the watching sound service.
struct WatchedTable {
    WatchedTable(Int16 matchKind = MatchSettings::kPartidas, Int16 matchTarget = 7)
    {
        sound.form = &form;
        form.show();
        form.settings.matchKind = matchKind;
        form.settings.matchTarget = matchTarget;
        form.matchActive = kTrue;
        form.Command1->show();
        form.random.seed(1);
        placeAnchorAsAtStartUp(form);
    }

    WatchingSound sound;
    DocumentRecorder documents;
    Form1 form{sound, documents};
    ModalWatch watch;
};

struct PlayerMove {
    int slot;
    int marker;
};

// The player's first legal move in hand order, end 1 before end 2; none when only a pass is
// left.
inline std::optional<PlayerMove> firstFittingMove(const Form1& form)
{
    for (int slot = 1; slot <= rules::kSlots; ++slot) {
        const auto& tile = form.hands[1][slot];
        if (tile[1] == rules::kEmptySlot)
            continue;
        if (form.firstMove) {
            if (tile[1] == 6 && tile[2] == 6)
                return PlayerMove{slot, 0};
            continue;
        }
        for (int end = 1; end <= 2; ++end) {
            if (tile[1] == form.chainEnds[end] || tile[2] == form.chainEnds[end])
                return PlayerMove{slot, end - 1};
        }
    }
    return std::nullopt;
}

// The computer seats' turns one after another, without waiting for the timer, until the
// player is to move or the hand is over.
inline void runComputerTurns(Form1& form)
{
    while (form.Timer1->isArmed())
        form.Timer1_Timer();
}

// Lets Timer1 tick for real; true once its handler has run.
inline bool waitForTick(Form1& form)
{
    if (!form.Timer1->isArmed())
        return false;
    QSignalSpy ticks(form.Timer1, &VbTimer::Timer);
    return ticks.wait(5000);
}

// Plays the hand out: the computer seats without waiting, the player by clicks with the first
// legal move or a pass. Stops when the hand is over or nobody is left to move.
inline void playHandToEnd(Form1& form)
{
    while (form.matchActive && !form.Command1->Visible()) {
        if (form.Timer1->isArmed()) {
            form.Timer1_Timer();
            continue;
        }
        if (!form.humanTurn)
            return;
        if (const auto move = firstFittingMove(form)) {
            clickUpperHalf(form, move->slot);
            clickMarker(form, move->marker);
        } else {
            Table::click(form.Command3);
        }
    }
}

} // namespace game
