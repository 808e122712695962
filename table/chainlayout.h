#pragma once

#include "table/vbtypes.h"

#include <QPointF>

// Where a tile laid at one end of the chain goes, and where that end goes next. Pure
// arithmetic in twips, kept apart from the pictures that show it.
namespace chain
{

enum class Layout { InLine, Crosswise, CornerUp, CornerDown };

// One end's state: the next tile's matching half goes at (x, y).
struct EndState {
    Int16 x;
    Int16 y;
    Int16 dir;    // -1 to the left, +1 to the right
    Int16 corner; // 1 right after a corner tile
};

struct Limits {
    Int16 left;
    Int16 right;
    double halfWidth;
};

// The chain turns this far inside the cloth's left and right edges.
Limits limitsOf(Int16 clothLeft, Int16 clothWidth, double halfWidth);

struct Placement {
    Layout layout;
    QPointF a;       // the half that matches the open end
    QPointF b;       // the other half
    QPointF divider; // over the seam
    EndState next;
};

// Where an end starts, beside the opening double six standing upright at the anchor's corner.
EndState openingEnd(Int16 endIndex, Int16 anchorLeft, Int16 anchorTop);

// End 1 turns upwards at its corners, end 2 downwards.
Placement place(const EndState& end, Int16 endIndex, bool isDouble, const Limits& limits);

constexpr bool dividerIsUpright(Layout layout)
{
    return layout != Layout::InLine;
}

} // namespace chain
