// A whole match as a player plays it, on the real sound and desktop, for the sealed check to watch.
#include "about/formbrimvale.h"
#include "options/form2.h"
#include "support/table.h"

#include <QApplication>
#include <QTest>

int main(int argc, char* argv[])
{
    constexpr int kHandsToWin = 2, kMostStepsInAHand = 1000;
    QApplication app(argc, argv);
    shell::SystemSound sound;
    shell::DesktopShell documents;
    Form1 form(sound, documents);
    ModalWatch watch;
    auto about = [](QWidget* dialog) {
        Table::click(qobject_cast<FormBrimvale*>(dialog)->lblURL);
        Table::click(qobject_cast<FormBrimvale*>(dialog)->lblMail);
        dialog->close();
    };
    watch.then(about);
    watch.then([](QWidget* dialog) {
        qobject_cast<Form2*>(dialog)->Option1(0)->click();
        qobject_cast<Form2*>(dialog)->Combo1(0)->setEditText(QString::number(kHandsToWin));
        qobject_cast<Form2*>(dialog)->Command1->click();
    });
    watch.then(about);
    form.Load();
    bool playing = QTest::qWaitFor([&] { return form.Command1->isVisible(); });
    for (std::mt19937 dice(1); playing && form.matchActive;) {
        Table::click(form.Command1);
        playing = playHandToItsEnd(form, dice, kMostStepsInAHand);
    }
    if (!playing) {
        qCritical("sealed_match: the match never started, or a hand did not come to its end");
        return 1;
    }
    form.MnuHow->trigger();
    form.MnuAbout->trigger();
}
