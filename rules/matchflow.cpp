#include "options/form2.h"
#include "table/form1.h"
#include "table/messagebox.h"

void Form1::Timer1_Timer()
{
    Timer1->setInterval(0);
    NextTurn();
}

void Form1::Command3_Click()
{
    if (!humanTurn)
        return;
    Image4(0)->hide();
    Image4(1)->hide();
    Shape3->hide();
    firstMove = kFalse;
    humanTurn = kFalse;
    ++passCount;
    NextTurn();
}

void Form1::MnuNew_Click()
{
    if (matchActive && msgbox::MsgBox(this, QStringLiteral("Quieres empezar otra partida?"),
                                      msgbox::vbQuestionOKCancel) == msgbox::vbCancel)
        return;
    if (!ShowOptions())
        return;
    matchActive = kTrue;
    Command1->setCaption(QStringLiteral("Comenzar la partida"));
    Command1->show();
    Command3->hide();
}
