#include "options/form2.h"
#include "table/form1.h"

#include <cmath>

void Form1::Command1_Click()
{
    Command1->hide();
    // A new match can be dealt while the old hand still runs on; its pending tick must not move
    // the new hand on, least of all past the player's turn.
    Timer1->setInterval(0);
    for (Int16 n = 1; n <= rules::kTiles; ++n)
        tileDealt[n] = 0;
    for (Int16 seat = 1; seat <= rules::kSeats; ++seat) {
        for (Int16 slot = 1; slot <= rules::kSlots; ++slot) {
            Int16 n = 0;
            do {
                n = static_cast<Int16>(std::floor(random.Rnd() * rules::kTiles) + 1);
            } while (tileDealt[n] == 1);
            tileDealt[n] = 1;
            const rules::Pips pips = rules::pipsOfTile(n);
            hands[seat][slot][1] = pips.high;
            hands[seat][slot][2] = pips.low;
            if (n == rules::kDoubleSix)
                turnSeat = static_cast<Int16>(seat + 1);
        }
    }
    Image3.UnloadAbove0();
    Image5.UnloadAbove0();
    ShowHumanHand();
    humanTurn = kFalse;
    firstMove = kTrue;
    Image4(0)->hide();
    Image4(1)->hide();
    Shape3->hide();
    chainEnds[1] = chainEnds[2] = 6;
    endCorner[1] = endCorner[2] = 0;
    for (Int16 i = 0; i < rules::kSeats; ++i)
        Label2(i)->setCaption(QStringLiteral("7"));
    passCount = 0;
    for (Int16 i = 0; i < Shape1.Count(); ++i)
        Shape1(i)->show();
    for (Int16 i = 0; i < rules::kSeats; ++i) {
        Label3(i)->show();
        Label4(i)->show();
    }
    NextTurn();
}
