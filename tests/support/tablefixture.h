#pragma once

#include "rules/tiles.h"
#include "support/modalwatch.h"
#include "support/recorders.h"
#include "table/form1.h"

#include <QString>
#include <vector>

// A table on the screen with a match set up, skipping the start-up splash and dialog.
struct Table {
    explicit Table(Int16 matchKind = MatchSettings::kPartidas, Int16 matchTarget = 7);

    // Lays out the next deal exactly: 28 tiles as "hl" pairs, seat 1's seven first.
    void scriptDeal(const QStringList& tiles);
    // Clicks the start button.
    void clickStart();
    // Clicks a control in the middle, as the player would.
    static void click(QWidget* widget);

    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form{sound, documents};
    ModalWatch watch;
};

// A deal as the game would shuffle it: every tile once, given as "hl" pairs.
QStringList allTilesInOrder();

// The tiles on the table, in the order they were laid, each as {high field, other field} read
// from the pictures; the first is the opening double six.
struct TableTile {
    Int16 a;
    Int16 b;
    QRect aRect; // in twips
    int end;     // 0 for the opening, 1 or 2
};
std::vector<TableTile> tilesOnTable(const Form1& form);

// Everything that must hold between any two events of a hand; empty when it all does.
QString invariantViolation(const Form1& form);

// The pips a face picture shows, or -1 for another picture.
int pipsOf(const QString& picture);
