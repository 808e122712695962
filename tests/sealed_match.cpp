// A whole match as a player plays it, on the real sound and desktop, for the sealed check to watch.
#include "about/formbrimvale.h"
#include "options/form2.h"
#include "support/table.h"

#include <QApplication>
#include <QTest>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    shell::SystemSound sound;
    shell::DesktopShell documents;
    Form1 form(sound, documents);
    ModalWatch watch;
    watch.then([](QWidget* dialog) {
        Table::click(qobject_cast<FormBrimvale*>(dialog)->lblURL);
        Table::click(qobject_cast<FormBrimvale*>(dialog)->lblMail);
        dialog->close();
    });
    watch.then([](QWidget* dialog) {
        auto* options = qobject_cast<Form2*>(dialog);
        options->Option1(0)->click();
        options->Combo1(0)->setEditText(QStringLiteral("2")); // hands to win
        options->Command1->click();
    });
    form.Load();
    bool playing = QTest::qWaitFor([&] { return form.Command1->isVisible(); });
    for (std::mt19937 dice(1); playing && form.matchActive;) {
        Table::click(form.Command1);
        playing = playHandToItsEnd(form, dice, 1000);
    }
    if (!playing)
        qCritical("sealed_match: the match never started, or a hand did not come to its end");
    form.MnuHow->trigger();
    return playing ? 0 : 1;
}
