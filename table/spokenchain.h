#pragma once

#include <vector>

class Form1;
class Picture;

// The chain as a player reads it: its tiles from end 1 to end 2, each with its numbers in that
// direction, worked out from the pictures on the table alone.
namespace accessibility
{

struct ChainTile {
    Picture* control; // the half laid first, which stands for the tile
    int first;
    int second;
};

// The number a tile half shows, or -1 when it shows none.
int pipsShown(const Picture& half);

std::vector<ChainTile> chainFromEndToEnd(const Form1& form);

} // namespace accessibility
