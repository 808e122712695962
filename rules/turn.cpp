#include "options/form2.h"
#include "rules/computerchoice.h"
#include "rules/pacing.h"
#include "table/chainlayout.h"
#include "table/form1.h"

#include <QCoreApplication>

namespace
{
constexpr Int16 kOpeningOffset = 180;
constexpr Int16 kHalf = 360;
} // namespace

void Form1::NextTurn()
{
    turnSeat = turnSeat == rules::kHumanSeat ? Int16(4) : Int16(turnSeat - 1);
    if (turnSeat == rules::kHumanSeat) {
        offerHumanTurn();
        return;
    }
    Command3->hide();
    humanTurn = kFalse;
    if (firstMove)
        openWithDoubleSix();
    else
        ComputerMove();
    firstMove = kFalse;
    if (passCount > 3) {
        EndHand();
        return;
    }
    for (Int16 i = 1; i <= 3; ++i) {
        if (Label2(i)->Caption() == QStringLiteral("0")) {
            EndHand();
            return;
        }
    }
    letTableCatchUp();
    Timer1->setInterval(rules::kComputerPace);
}

void Form1::offerHumanTurn()
{
    Image4(0)->show();
    Image4(1)->show();
    Command3->setVisible(!firstMove);
    letTableCatchUp();
    humanTurn = kTrue;
    Image4(0)->Move(endPos[1][1], endPos[1][2]);
    Image4(1)->Move(endPos[2][1], endPos[2][2]);
    if (firstMove) {
        Image4(0)->Move(Shape2->Left() - kOpeningOffset, Shape2->Top() + kOpeningOffset);
        Image4(1)->Move(Shape2->Left() + kOpeningOffset, Shape2->Top() + kOpeningOffset);
        setOpeningEnds();
    }
}

void Form1::ComputerMove()
{
    auto choice = rules::chooseComputerTile(hands[turnSeat], chainEnds);
    if (!choice) {
        ++passCount;
        return;
    }
    PlaceTile(choice->field, choice->slot, choice->end);
    removeFromHand(turnSeat, choice->slot);
}

void Form1::openWithDoubleSix()
{
    PlayTileSound();
    chainEnds[1] = chainEnds[2] = 6;
    setOpeningEnds();
    drawOpeningDoubleSix();
    for (Int16 slot = 1; slot <= rules::kSlots; ++slot) {
        if (hands[turnSeat][slot][1] == 6 && hands[turnSeat][slot][2] == 6)
            removeFromHand(turnSeat, slot);
    }
    lowerTileCount(turnSeat);
    HideComputerTile();
}

void Form1::setOpeningEnds()
{
    for (Int16 end = 1; end <= 2; ++end) {
        const chain::EndState start = chain::openingEnd(end, Shape2->Left(), Shape2->Top());
        endPos[end][1] = start.x;
        endPos[end][2] = start.y;
        endDir[end] = start.dir;
    }
}

void Form1::drawOpeningDoubleSix()
{
    Picture* upper = Image3.Load();
    Picture* lower = Image3.Load();
    Picture* divider = Image3.Load();
    upper->setPicture(Image1(6)->picture());
    upper->Move(Shape2->Left(), Shape2->Top());
    upper->ZOrder();
    upper->show();
    lower->setPicture(Image1(6)->picture());
    lower->Move(Shape2->Left(), Shape2->Top() + kHalf);
    lower->ZOrder();
    lower->show();
    divider->setPicture(Image5(0)->picture());
    divider->Move(upper->Left(), Shape2->Top() + kOpeningOffset);
    divider->ZOrder();
    divider->show();
}

void Form1::letTableCatchUp()
{
    // The table repaints and the timers run, but a click or a key waits until the turn has
    // settled: taken here, it would land between showing the markers and opening the turn.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Form1::removeFromHand(Int16 seat, Int16 slot)
{
    hands[seat][slot][1] = rules::kEmptySlot;
    hands[seat][slot][2] = rules::kEmptySlot;
}
