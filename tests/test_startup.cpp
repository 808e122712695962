// The program's start-up and the table a player sees before the first deal.

#include "options/form2.h"
#include "support/tablefixture.h"

#include <QScreen>
#include <QTest>

namespace
{

enum class DialogEnd { Ok, CloseCommand, Escape };

// A run of the program with a player's hand on its modal windows.
struct Run {
    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form{sound, documents};
    ModalWatch watch;
};

// The splash closes with a click on its background, clear of its labels and pictures.
void closeSplash(QWidget* splash)
{
    QTest::mouseClick(splash, Qt::LeftButton, Qt::NoModifier, QPoint(8, 200));
}

void endOptions(QWidget* dialog, DialogEnd end)
{
    if (end == DialogEnd::Ok)
        QTest::mouseClick(qobject_cast<Form2*>(dialog)->Command1, Qt::LeftButton);
    else if (end == DialogEnd::Escape)
        QTest::keyClick(dialog, Qt::Key_Escape);
    else
        dialog->close();
}

// Runs the whole start-up as a player would; returns once the seat names are up.
void startUp(Run& run)
{
    run.watch.then(closeSplash);
    run.watch.then([](QWidget* d) { endOptions(d, DialogEnd::Ok); });
    run.form.Load();
    QTRY_VERIFY(!run.form.Label7(3)->isHidden());
}

// The table's controls that are shown, leaving out the hand's halves, which are shown from the
// start without a picture and so draw nothing.
int controlsShown(const Form1& form)
{
    const QStringList lines = tableState(form);
    return int(lines.filter(QStringLiteral(" 0 \"")).size() -
               lines.filter(QRegularExpression(QStringLiteral("^Picture .* 0 \"\"$"))).size());
}

} // namespace

class Startup : public QObject
{
    Q_OBJECT

private slots:
    void splashThenWindowThenOptions_data();
    void splashThenWindowThenOptions();
    void eachRunDealsDifferently();
    void clicksBeforeAnyDealDoNothing_data();
    void clicksBeforeAnyDealDoNothing();
};

void Startup::splashThenWindowThenOptions_data()
{
    QTest::addColumn<DialogEnd>("end");
    QTest::newRow("options accepted with OK") << DialogEnd::Ok;
    QTest::newRow("options closed with the close command") << DialogEnd::CloseCommand;
    QTest::newRow("options closed with Escape") << DialogEnd::Escape;
}

void Startup::splashThenWindowThenOptions()
{
    QFETCH(DialogEnd, end);
    Run run;
    Form1& form = run.form;
    // Wherever the design put the anchor, start-up centres it on the cloth.
    form.Shape2->Move(0, 0);
    const int designed = controlsShown(form);
    // What the table looked like while each modal window was up.
    QStringList during;
    auto look = [&](QWidget* d) {
        during << QStringLiteral("%1 window %2 timer2 %3 anchor %4,%5 active %6 controls %7")
                      .arg(QString::fromLatin1(d->metaObject()->className()))
                      .arg(form.isVisible())
                      .arg(form.Timer2->Enabled())
                      .arg(form.Shape2->Left())
                      .arg(form.Shape2->Top())
                      .arg(form.matchActive)
                      .arg(controlsShown(form) - designed);
    };
    run.watch.then([&](QWidget* d) {
        look(d);
        closeSplash(d);
    });
    run.watch.then([&](QWidget* d) {
        look(d);
        endOptions(d, end);
    });

    form.Load();
    QTRY_VERIFY(!form.Label7(3)->isHidden());

    // The splash comes before the window, the options after it; the table shows nothing more
    // than designed meanwhile.
    QCOMPARE(during,
             (QStringList{"FormBrimvale window 0 timer2 0 anchor 4200,3120 active 0 controls 0",
                          "Form2 window 1 timer2 0 anchor 4200,3120 active 0 controls 0"}));
    // Then the start button and the four seat names; Timer2 fired once.
    QCOMPARE(controlsShown(form) - designed, 1 + 4);
    QCOMPARE(form.matchActive, kTrue);
    QTest::qWait(100);
    QCOMPARE(run.watch.shown.size(), 2);
    QCOMPARE(run.watch.unexpected, 0);
    QVERIFY(run.watch.messages.empty());
    QVERIFY(run.sound.calls.isEmpty());
    QVERIFY(run.documents.calls.isEmpty());
    // Whichever way the dialog went, a match that can be played is set up: the dialog's own
    // first choice stands in for one that was never made.
    QCOMPARE(form.settings.matchKind, MatchSettings::kPartidas);
    QCOMPARE(form.settings.matchTarget, Int16(7));
    QCOMPARE(form.Label5->Caption(), QStringLiteral("Juego a 7 partidas."));
    QCOMPARE(form.optionsDialog() != nullptr, end == DialogEnd::Ok);
    // The window keeps its size, and stands centred up to the frame the window system adds.
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    const QSize size = form.size();
    form.resize(size + QSize(200, 200));
    QCOMPARE(form.size(), size);
    const QPoint off = form.screen()->availableGeometry().center() - form.frameGeometry().center();
    const QSize frame = form.frameGeometry().size() - size;
    QVERIFY(qAbs(off.x()) <= frame.width() + 1 && qAbs(off.y()) <= frame.height() + 1);
}

void Startup::eachRunDealsDifferently()
{
    // Two runs of the program: each seeds its dice from the clock when it loads.
    Run first;
    startUp(first);
    Run second;
    startUp(second);
    QList<double> a;
    QList<double> b;
    for (int i = 0; i < 8; ++i) {
        a << first.form.random.Rnd();
        b << second.form.random.Rnd();
    }
    QVERIFY2(a != b, "both runs draw the same numbers");
}

void Startup::clicksBeforeAnyDealDoNothing_data()
{
    QTest::addColumn<QPoint>("spot"); // in twips
    QTest::newRow("middle of the cloth") << QPoint(4440, 3600);
    QTest::newRow("where the left seat's tiles go") << QPoint(600, 3000);
    QTest::newRow("the score board") << QPoint(1400, 600);
    QTest::newRow("seat 1's name") << QPoint(3400, 5990);
    QTest::newRow("where the markers go") << QPoint(3540, 3660);
    // The start button covers the hand's row: the clicks go straight to the empty halves.
    QTest::newRow("the hand's halves beneath the start button") << QPoint();
}

void Startup::clicksBeforeAnyDealDoNothing()
{
    QFETCH(QPoint, spot);
    Run run;
    Form1& form = run.form;
    startUp(run);
    const QStringList before = tableState(form);

    if (spot.isNull()) {
        for (int i = 0; i < form.Image2.Count(); ++i)
            QTest::mouseClick(form.Image2(i), Qt::LeftButton);
    } else {
        const QPoint at = form.centralWidget()->mapTo(&form, spot / 15);
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    }
    QTest::qWait(20);

    QCOMPARE(tableState(form), before);
    QVERIFY(run.watch.messages.empty());
    QCOMPARE(run.watch.shown.size(), 2);
    QVERIFY(run.sound.calls.isEmpty());
}

QTEST_MAIN(Startup)
#include "test_startup.moc"
