#pragma once

#include "rules/tiles.h"
#include "support/modalwatch.h"
#include "support/recorders.h"
#include "table/form1.h"

#include <QString>
#include <vector>

// A table on the screen with a match set up and the anchor where start-up puts it, skipping
// the start-up splash and dialog.
struct Table {
    explicit Table(Int16 matchKind = MatchSettings::kPartidas, Int16 matchTarget = 7);

    // Makes the next draws give exactly these tiles, as "hl" pairs; a deal is seat 1's seven
    // first.
    void scriptDeal(const QStringList& tiles);
    // Scripts the deal and clicks the start button.
    void deal(const QStringList& tiles);
    // Clicks a control in the middle, as the player would.
    static void click(QWidget* widget);

    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form{sound, documents};
    ModalWatch watch;
};

// Deals, as "hl" pairs seat 1 first. The whole set in order: seat 4 holds every six.
QStringList allTilesInOrder();
// The set in order, with the double six moved to the third slot of the given seat.
QStringList doubleSixAtSeat(int seat);
// The player opens; the computer seats answer with 6/5 and 5/3 at end 1 and 6/4 at end 2,
// leaving 3 and 4 open for the player's 4/3, 3/3, 4/1 and 2/0.
QStringList playerOpensDeal();
// Every six is the player's, so no computer seat can answer the opening.
QStringList allSixesToThePlayerDeal();

// A slot as "hl", or "99" once its tile has been laid.
QString tileAt(const Form1& form, int seat, int slot);
QStringList handOf(const Form1& form, int seat);
// Fills a hand straight from "hl" pairs; "99" leaves a slot empty.
void setHand(rules::Hand& hand, const QStringList& tiles);
int visibleFaceDown(const Form1& form, int seat);
// The tile counters, seat 1 first, as one text.
QString counters(const Form1& form);

// The tiles on the table, in the order they were laid, each as {high field, other field} read
// from the pictures; the first is the opening double six.
struct TableTile {
    Int16 a;
    Int16 b;
    int end; // 0 for the opening, 1 or 2
};
std::vector<TableTile> tilesOnTable(const Form1& form);
// Where a control stands on the table, in twips.
QPoint at(const Twipped<QWidget>* control);
// Two halves laid on the table, from Image3(first), as "left,top:pips left,top:pips".
QString laidHalves(const Form1& form, int first);
// The pips a face picture shows, or -1 for another picture.
int pipsOf(const QString& picture);

// Everything that must hold between any two events of a hand; empty when it all does.
QString invariantViolation(const Form1& form);

// What a control says or shows: a label's or a button's text, a picture's name.
QString shownText(const QWidget* control);
// One line per control and per piece of game state; two pictures compare equal exactly when a
// player could not tell the two tables apart and the game would carry on the same way.
QStringList tableState(const Form1& form);
