#pragma once

#include "table/form1.h"

#include <QAction>
#include <random>
#include <vector>

// The player's seat played by the rules, through the real controls.

// A move the rules allow: the tile of a hand slot laid at a chain end.
struct PlayerMove {
    int slot;   // 1 to 7
    int marker; // Image4 index: 0 for chain end 1, 1 for chain end 2
};

// Every move open to the player now, in hand order and end 1 before end 2.
std::vector<PlayerMove> legalMoves(const Form1& form);

// Real clicks through the window, on a spot of a tile of the hand that the divider over its
// seam does not cover, on its divider, or on a marker: whatever lies on top there gets them.
void clickUpperHalf(Form1& form, int slot);
void clickLowerHalf(Form1& form, int slot);
void clickDivider(Form1& form, int index);
void clickMarker(Form1& form, int index);
// Selects a slot's tile by "upper", "lower" or "divider".
void select(Form1& form, int slot, const QString& how);

// The computer seats' turns one after another, without waiting for the timer, until the
// player is to move or the hand is over.
void runComputerTurns(Form1& form);
// Lets Timer1 tick for real; true once its handler has run.
bool waitForTick(Form1& form);

// Plays the hand on the table to its end: the computer seats through Timer1's handler, the
// player with clicks on a random legal tile and marker, passing now and then when allowed.
// False if the game stops with nobody to move, or the hand runs past the given number of steps.
bool playHandToItsEnd(Form1& form, std::mt19937& dice, int mostSteps);

// The two ways a player reaches a menu command.
enum class Reach { Shortcut, MenuClicks };
// Runs a menu command of the table the way a player would: its shortcut key on the window, or
// a click on its menu in the menu bar and then on the item. Returns once the command is done.
bool useMenu(Form1& form, QAction* item, Reach reach);
