#include "options/form2.h"
#include "shell/documents.h"
#include "shell/tilesound.h"
#include "table/form1.h"

#include <QAction>

void Form1::PlayTileSound()
{
    if (MnuSound->isChecked())
        sound_.sndPlaySound(QStringLiteral("ficha.wav"), shell::SND_ASYNC);
}

void Form1::MnuSound_Click()
{
    MnuSound->setChecked(!MnuSound->isChecked());
}

void Form1::MnuHow_Click()
{
    documents_.ShellExecute(this, QStringLiteral("Open"), QStringLiteral("Instrucciones.htm"),
                            QString(), shell::applicationPath(), shell::SW_SHOWNORMAL);
}
