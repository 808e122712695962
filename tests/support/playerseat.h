#pragma once

#include "table/form1.h"

#include <random>
#include <vector>

// The player's seat played by the rules, through the real controls.

// A move the rules allow: the tile of a hand slot laid at a chain end.
struct PlayerMove {
    int slot;   // 1 to 7
    int marker; // Image4 index: 0 for chain end 1, 1 for chain end 2
};

// Every move open to the player now: each fitting tile at each end it fits.
std::vector<PlayerMove> legalMoves(const Form1& form);

// Plays the hand on the table to its end: the computer seats through Timer1's handler, the
// player with clicks on a random legal tile and marker, passing now and then when allowed.
// False if the game stops with nobody to move, or the hand runs past the given number of steps.
bool playHandToItsEnd(Form1& form, std::mt19937& dice, int mostSteps);
