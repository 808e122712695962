#include "about/formbrimvale.h"
#include "options/form2.h"
#include "table/form1.h"
#include "table/placement.h"

#include <QThreadPool>

void Form1::Load()
{
    // The toolkit paints large areas, a button among them, with helper threads that wake up
    // half a minute later to retire: kept instead, they cost nothing while the game waits.
    QThreadPool::globalInstance()->setExpiryTimeout(-1);
    // Placed first, so that the splash, centred on its owner, is centred on the screen too.
    adjustSize();
    placement::keepCentredOnScreen(*this);
    Form_Load();
    show();
}

void Form1::Form_Load()
{
    random.Randomize();
    centreAnchor();
    matchActive = kFalse;
    FormBrimvale splash(this, documents_);
    splash.exec();
    Timer2->setEnabled(true);
}

void Form1::centreAnchor()
{
    Shape2->Move(Label1->Left() + Label1->Width() / 2.0 - Shape2->Width() / 2.0,
                 Label1->Top() + Label1->Height() / 2.0 - Shape2->Height() / 2.0);
}

void Form1::Timer2_Timer()
{
    Timer2->setEnabled(false);
    if (!ShowOptions() && !options::isPlayable(*this))
        options::setUpDefaultMatch(*this);
    matchActive = kTrue;
    Command1->show();
    for (Int16 i = 0; i <= 3; ++i)
        Label7(i)->show();
}
