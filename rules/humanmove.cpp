#include "options/form2.h"
#include "rules/pacing.h"
#include "table/form1.h"
#include "table/messagebox.h"

namespace
{
constexpr Int16 kHalf = 360;
constexpr Int16 kSeam = 180;
constexpr Int16 kHandDividers = 7;
} // namespace

void Form1::Image2_Click(Int16 Index)
{
    if (!humanTurn || !matchActive)
        return;
    const Int16 top = Index % 2 == 0 ? Image2(Index)->Top() : Int16(Image2(Index)->Top() - kHalf);
    Shape3->Move(Image2(Index)->Left(), top, kHalf, 2 * kHalf);
    Shape3->show();
    Shape3->ZOrder();
    selectedHandImage = Index;
}

void Form1::Image5_Click(Int16 Index)
{
    if (Index > kHandDividers || !matchActive)
        return;
    Shape3->Move(Image5(Index)->Left(), Image5(Index)->Top() - kSeam, kHalf, 2 * kHalf);
    Shape3->show();
    Shape3->ZOrder();
    selectedHandImage = static_cast<Int16>(2 * Index - 2);
}

void Form1::Image4_Click(Int16 Index)
{
    if (!Shape3->Visible()) {
        msgbox::MsgBox(this, QStringLiteral("Señala una ficha primero."), msgbox::vbExclamation);
        return;
    }
    const Int16 upperHalf =
        selectedHandImage % 2 == 1 ? Int16(selectedHandImage - 1) : selectedHandImage;
    Int16 slot = static_cast<Int16>((upperHalf + 2) / 2);
    const Int16 a = hands[turnSeat][slot][1];
    const Int16 b = hands[turnSeat][slot][2];
    if (firstMove && !(a == 6 && b == 6)) {
        msgbox::MsgBox(this, QStringLiteral("Tienes que empezar con el 6/6."),
                       msgbox::vbExclamation);
        return;
    }
    Int16 end = static_cast<Int16>(Index + 1);
    if (b != chainEnds[end] && a != chainEnds[end]) {
        msgbox::MsgBox(this, QStringLiteral("Esa ficha no es correcta."), msgbox::vbExclamation);
        return;
    }

    if (!firstMove) {
        Int16 field = a == chainEnds[end] ? Int16(1) : Int16(2);
        PlaceTile(field, slot, end);
    } else {
        drawOpeningDoubleSix();
        Label2(0)->setCaption(QStringLiteral("6"));
        PlayTileSound();
    }

    removeFromHand(turnSeat, slot);
    Image2(2 * slot - 2)->hide();
    Image2(2 * slot - 1)->hide();
    Image5(slot)->hide();
    Image4(0)->hide();
    Image4(1)->hide();
    Shape3->hide();
    humanTurn = kFalse;
    if (firstMove)
        chainEnds[1] = chainEnds[2] = 6;
    firstMove = kFalse;
    if (Label2(0)->Caption() == QStringLiteral("0"))
        EndHand();
    else
        Timer1->setInterval(rules::kHumanPace);
}
