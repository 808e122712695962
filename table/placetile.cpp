#include "options/form2.h"
#include "table/chainlayout.h"
#include "table/form1.h"

void Form1::PlaceTile(Int16& field, Int16& slot, Int16& end)
{
    PlayTileSound();
    const Int16 other = field == 1 ? Int16(2) : Int16(1);
    Picture* a = Image3.Load();
    Picture* b = Image3.Load();
    const auto& tile = hands[turnSeat][slot];
    a->setPicture(Image1(tile[field])->picture());
    b->setPicture(Image1(tile[other])->picture());
    const bool isDouble = tile[1] == tile[2];

    const auto limits = chain::limitsOf(Label1->Left(), Label1->Width(), Image1(0)->Width());
    const auto spot = chain::place({endPos[end][1], endPos[end][2], endDir[end], endCorner[end]},
                                   end, isDouble, limits);
    a->ZOrder();
    b->ZOrder();
    a->Move(spot.a);
    b->Move(spot.b);
    endPos[end][1] = spot.next.x;
    endPos[end][2] = spot.next.y;
    endDir[end] = spot.next.dir;
    endCorner[end] = spot.next.corner;
    Picture* divider = chain::dividerIsUpright(spot.layout) ? Image5.Load() : Image3.Load();
    divider->Move(spot.divider);
    divider->ZOrder();
    divider->show();

    chainEnds[end] = tile[other];
    a->show();
    b->show();
    lowerTileCount(turnSeat);
    passCount = 0;
    if (turnSeat != rules::kHumanSeat)
        HideComputerTile();
}

void Form1::lowerTileCount(Int16 seat)
{
    Label* counter = Label2(seat - 1);
    counter->setCaption(QString::number(counter->Caption().toShort() - 1));
}
