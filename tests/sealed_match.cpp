// A whole match of the real program as a player plays it, for the sealed check to watch from
// outside (checks/50-sealed.sh): the real sound and desktop services, the start-up with its
// splash and options dialog, every hand up to the end of the match, then the instructions and
// the about box with a click on each of its two addresses.

#include "about/formbrimvale.h"
#include "options/form2.h"
#include "shell/documents.h"
#include "shell/tilesound.h"
#include "support/table.h"
#include "table/form1.h"

#include <QApplication>
#include <QTest>
#include <cstdio>

namespace
{
constexpr int kHandsToWin = 2;
constexpr int kMostStepsInAHand = 1000;
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    shell::SystemSound sound;
    shell::DesktopShell documents;
    Form1 form(sound, documents);
    ModalWatch watch;
    // The about box, as the splash at start-up and from the menu at the end, with a click on
    // each of its addresses.
    auto about = [](QWidget* dialog) {
        Table::click(qobject_cast<FormBrimvale*>(dialog)->lblURL);
        Table::click(qobject_cast<FormBrimvale*>(dialog)->lblMail);
        dialog->close();
    };
    watch.then(about);
    watch.then([](QWidget* dialog) {
        auto* options = qobject_cast<Form2*>(dialog);
        options->Option1(0)->click();
        options->Combo1(0)->setEditText(QString::number(kHandsToWin));
        options->Command1->click();
    });
    watch.then(about);

    form.Load();
    if (!QTest::qWaitFor([&] { return form.Command1->isVisible(); })) {
        std::fputs("sealed_match: the match never started\n", stderr);
        return 1;
    }
    std::mt19937 dice(1);
    int hands = 0;
    while (form.matchActive) {
        Table::click(form.Command1);
        if (!playHandToItsEnd(form, dice, kMostStepsInAHand)) {
            std::fputs("sealed_match: a hand did not come to its end\n", stderr);
            return 1;
        }
        ++hands;
    }
    form.MnuHow->trigger();
    form.MnuAbout->trigger();
    std::printf("sealed_match: %d hands to the end of the match\n", hands);
    return 0;
}
