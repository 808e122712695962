#include "options/form2.h"
#include "table/form1.h"

#include <cmath>

namespace
{
constexpr Int16 kSeam = 180;
} // namespace

void Form1::ShowHumanHand()
{
    for (Int16 j = 1; j <= rules::kSlots; ++j) {
        const Int16 k = static_cast<Int16>(2 * j - 2);
        Image2(k)->setPicture(Image1(hands[1][j][1])->picture());
        Image2(k)->show();
        Image2(k + 1)->setPicture(Image1(hands[1][j][2])->picture());
        Image2(k + 1)->show();
        Picture* divider = Image5.Load();
        divider->Move(Image2(k)->Left(), Image2(k)->Top() + kSeam);
        divider->ZOrder();
        divider->show();
    }
}

void Form1::HideComputerTile()
{
    Int16 k = 0;
    do {
        k = static_cast<Int16>((turnSeat - 2) * rules::kSlots +
                               static_cast<Int16>(std::floor(rules::kSlots * random.Rnd())));
    } while (!Shape1(k)->Visible());
    Shape1(k)->hide();
}
