// The program's start-up and the table a player sees before the first deal.

#include "about/formbrimvale.h"
#include "options/form2.h"
#include "playerhand.h"
#include "support/recorders.h"
#include "table/form1.h"

#include <QAction>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <cmath>

namespace
{

enum class DialogEnd { Ok, CloseCommand, Escape };

// A spot of the background of the about box, clear of its labels and pictures.
const QPoint kSplashBackground(8, 200);

// The names of the table's controls that are shown, leaving out the hand's halves, which are
// shown without a picture from the start and so draw nothing.
QStringList shownControls(const Form1& form)
{
    QStringList names;
    for (const QString& line : tableState(form)) {
        if (line.contains(QLatin1String(" shown")) && !line.endsWith(QLatin1String(" shown ")))
            names << line.section(QLatin1Char(' '), 0, 0);
    }
    names.sort();
    return names;
}

const QStringList kEmptyTable{QStringLiteral("Label1"), QStringLiteral("Label5")};

void closeSplash(QWidget* splash)
{
    QTest::mouseClick(splash, Qt::LeftButton, Qt::NoModifier, kSplashBackground);
}

void endOptions(QWidget* dialog, DialogEnd end)
{
    auto* options = qobject_cast<Form2*>(dialog);
    switch (end) {
    case DialogEnd::Ok:
        QTest::mouseClick(options->Command1, Qt::LeftButton);
        break;
    case DialogEnd::CloseCommand:
        options->close();
        break;
    case DialogEnd::Escape:
        QTest::keyClick(options, Qt::Key_Escape);
        break;
    }
}

// Runs the whole start-up as a player would: the splash closed with a click on its background,
// then the options dialog ended as asked. Returns once the seat names are up.
void startUp(Form1& form, DialogSteps& steps, DialogEnd end = DialogEnd::Ok)
{
    steps.then(closeSplash);
    steps.then([end](QWidget* d) { endOptions(d, end); });
    form.Load();
    QTRY_VERIFY(!form.Label7(3)->isHidden());
}

QPoint pixels(int leftTwips, int topTwips)
{
    return {static_cast<int>(std::lround(leftTwips / 15.0)),
            static_cast<int>(std::lround(topTwips / 15.0))};
}

// A spot of the table in twips, as a point of the window for a real click.
QPoint windowSpot(const Form1& form, int leftTwips, int topTwips)
{
    return form.centralWidget()->mapTo(&form, pixels(leftTwips, topTwips));
}

// A run of the program with a player's hand on its modal windows.
struct Run {
    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form{sound, documents};
    ModalWatch watch;
    DialogSteps steps{watch};
};

} // namespace

class Startup : public QObject
{
    Q_OBJECT

private slots:
    void splashThenWindowThenOptions_data();
    void splashThenWindowThenOptions();
    void shape2IsCentredOnTheClothWhateverItsDesignSpot_data();
    void shape2IsCentredOnTheClothWhateverItsDesignSpot();
    void eachRunDealsDifferently();
    void windowFrame();
    void menus();
    void controlGeometry();
    void stackingOrder();
    void designLook();
    void clicksBeforeAnyDealDoNothing_data();
    void clicksBeforeAnyDealDoNothing();
};

void Startup::splashThenWindowThenOptions_data()
{
    QTest::addColumn<DialogEnd>("end");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("options accepted with OK") << DialogEnd::Ok << true;
    QTest::newRow("options closed with the close command") << DialogEnd::CloseCommand << false;
    QTest::newRow("options closed with Escape") << DialogEnd::Escape << false;
}

void Startup::splashThenWindowThenOptions()
{
    QFETCH(DialogEnd, end);
    QFETCH(bool, accepted);

    Run run;
    Form1& form = run.form;
    // What the table looked like while each modal window was up.
    auto table = [&](QWidget* d) {
        return QStringLiteral("%1 modal %2 window %3 timer2 %4 anchor %5,%6 active %7 shown %8")
            .arg(QString::fromLatin1(d->metaObject()->className()))
            .arg(d->isModal())
            .arg(form.isVisible())
            .arg(form.Timer2->Enabled())
            .arg(form.Shape2->Left())
            .arg(form.Shape2->Top())
            .arg(form.matchActive)
            .arg(shownControls(form).join(QLatin1Char(' ')));
    };
    QString duringSplash;
    QString duringOptions;
    run.steps.then([&](QWidget* d) {
        duringSplash = table(d);
        closeSplash(d);
    });
    run.steps.then([&](QWidget* d) {
        duringOptions = table(d);
        endOptions(d, end);
    });

    form.Load();

    // The splash has come and gone; the window is up with nothing on it yet.
    QCOMPARE(run.steps.shown, QStringList{QStringLiteral("FormBrimvale")});
    QCOMPARE(duringSplash, "FormBrimvale modal 1 window 0 timer2 0 anchor 4200,3120 active 0 "
                           "shown Label1 Label5");
    QVERIFY(form.isVisible());
    QCOMPARE(shownControls(form), kEmptyTable);
    QCOMPARE(form.Label5->Caption(), QStringLiteral("."));
    QCOMPARE(form.matchActive, kFalse);

    QTRY_VERIFY(!form.Label7(3)->isHidden());

    QCOMPARE(run.steps.shown,
             (QStringList{QStringLiteral("FormBrimvale"), QStringLiteral("Form2")}));
    QCOMPARE(run.steps.unexpected, 0);
    QCOMPARE(duringOptions, "Form2 modal 1 window 1 timer2 0 anchor 4200,3120 active 0 "
                            "shown Label1 Label5");

    QStringList ready = kEmptyTable;
    ready << QStringLiteral("Command1") << QStringLiteral("Label7(0)")
          << QStringLiteral("Label7(1)") << QStringLiteral("Label7(2)")
          << QStringLiteral("Label7(3)");
    ready.sort();
    QCOMPARE(shownControls(form), ready);
    QCOMPARE(form.Command1->Caption(), QStringLiteral("Comenzar la partida"));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(form.Label7(i)->Caption(), QStringLiteral("Jugador %1").arg(i + 1));
    QCOMPARE(form.matchActive, kTrue);
    QVERIFY(!form.Timer2->Enabled());
    QVERIFY(run.watch.messages.empty());
    QVERIFY(run.sound.calls.isEmpty());
    QVERIFY(run.documents.calls.isEmpty());
    // Timer2 fires once: anything that would bring the dialog back is closed at once and counted.
    QTest::qWait(100);
    QCOMPARE(run.steps.shown.size(), 2);
    QCOMPARE(run.steps.unexpected, 0);
    QVERIFY(!form.Timer2->isArmed());

    // Whichever way the dialog went, the start button deals a match that can be played: the
    // dialog's own first choice stands in for one that was never made.
    QCOMPARE(form.settings.matchKind, MatchSettings::kPartidas);
    QCOMPARE(form.settings.matchTarget, Int16(7));
    QCOMPARE(form.Label5->Caption(), QStringLiteral("Juego a 7 partidas."));
    QCOMPARE(form.optionsDialog() != nullptr, accepted);
}

void Startup::shape2IsCentredOnTheClothWhateverItsDesignSpot_data()
{
    QTest::addColumn<QPoint>("designSpot");
    QTest::newRow("as designed") << QPoint(5040, 3000);
    QTest::newRow("top left corner") << QPoint(0, 0);
    QTest::newRow("far off the cloth") << QPoint(8000, 7000);
}

void Startup::shape2IsCentredOnTheClothWhateverItsDesignSpot()
{
    QFETCH(QPoint, designSpot);
    Run run;
    Form1& form = run.form;
    QCOMPARE(QPoint(form.Shape2->Left(), form.Shape2->Top()), QPoint(5040, 3000));
    QCOMPARE(QSize(form.Shape2->Width(), form.Shape2->Height()), QSize(495, 975));
    form.Shape2->Move(designSpot.x(), designSpot.y());

    startUp(form, run.steps);

    QCOMPARE(
        QRect(form.Shape2->Left(), form.Shape2->Top(), form.Shape2->Width(), form.Shape2->Height()),
        QRect(4200, 3120, 495, 975));
    QCOMPARE(form.Shape2->geometry(), QRect(280, 208, 33, 65));
    QVERIFY(form.Shape2->isHidden());
}

void Startup::eachRunDealsDifferently()
{
    // Two runs of the program: each seeds its dice from the clock when it loads.
    Run first;
    startUp(first.form, first.steps);
    Run second;
    startUp(second.form, second.steps);

    QList<double> a;
    QList<double> b;
    for (int i = 0; i < 8; ++i) {
        a << first.form.random.Rnd();
        b << second.form.random.Rnd();
    }
    QVERIFY2(a != b, "both runs draw the same numbers");
}

void Startup::windowFrame()
{
    Run run;
    Form1& form = run.form;
    startUp(form, run.steps);

    QCOMPARE(form.windowTitle(), QStringLiteral("Lozetta 1.1"));
    QVERIFY(!form.windowIcon().isNull());
    QCOMPARE(form.centralWidget()->size(), QSize(592, 480));
    QCOMPARE(form.centralWidget()->mapTo(&form, QPoint(0, 0)).x(), 0);
    QCOMPARE(form.menuBar()->geometry().bottom() + 1, form.centralWidget()->geometry().top());
    // Fixed size: the window can be neither stretched nor maximised.
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(form.size(), form.minimumSize());
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(form.windowFlags() & Qt::WindowCloseButtonHint);
    form.resize(800, 700);
    QCOMPARE(form.centralWidget()->size(), QSize(592, 480));
    QCOMPARE(form.size(), form.minimumSize());

    // Placed before the window system has framed it, so centred up to the frame's thickness.
    const QPoint screenCentre = form.screen()->availableGeometry().center();
    const QPoint windowCentre = form.frameGeometry().center();
    const QMargins frame(form.geometry().left() - form.frameGeometry().left(),
                         form.geometry().top() - form.frameGeometry().top(),
                         form.frameGeometry().right() - form.geometry().right(),
                         form.frameGeometry().bottom() - form.geometry().bottom());
    const int slack =
        qMax(qMax(frame.left(), frame.right()), qMax(frame.top(), frame.bottom())) + 1;
    QVERIFY(qAbs(screenCentre.x() - windowCentre.x()) <= slack &&
            qAbs(screenCentre.y() - windowCentre.y()) <= slack);
}

void Startup::menus()
{
    Run run;
    Form1& form = run.form;

    const QList<QAction*> bar = form.menuBar()->actions();
    QCOMPARE(bar.size(), 2);
    QCOMPARE(bar[0]->text(), QStringLiteral("Juego"));
    QCOMPARE(bar[0]->menu(), form.MnuGame);
    QCOMPARE(bar[1]->text(), QStringLiteral("Ayuda"));
    QCOMPARE(bar[1]->menu(), form.MnuHelp);

    struct Item {
        QAction* action;
        QString caption;
        QKeySequence shortcut;
        bool checkable;
    };
    const QList<QAction*> game = form.MnuGame->actions();
    const QList<QAction*> help = form.MnuHelp->actions();
    QCOMPARE(game, (QList<QAction*>{form.MnuNew, form.MnuSound}));
    QCOMPARE(help, (QList<QAction*>{form.MnuHow, form.MnuAbout}));
    const Item items[] = {
        {form.MnuNew, QStringLiteral("Nuevo"), QKeySequence(Qt::Key_F2), false},
        {form.MnuSound, QStringLiteral("Sonido"), QKeySequence(Qt::CTRL | Qt::Key_S), true},
        {form.MnuHow, QStringLiteral("Instrucciones"), QKeySequence(Qt::Key_F1), false},
        {form.MnuAbout, QStringLiteral("Acerca de..."), QKeySequence(), false},
    };
    for (const Item& item : items) {
        QCOMPARE(item.action->text(), item.caption);
        QCOMPARE(item.action->shortcut(), item.shortcut);
        QCOMPARE(item.action->isCheckable(), item.checkable);
        QVERIFY(item.action->isEnabled());
        QVERIFY(item.action->isVisible());
    }
    QVERIFY(form.MnuSound->isChecked());
}

void Startup::controlGeometry()
{
    Run run;
    Form1& form = run.form;
    form.show();
    // Each control where the design puts it, in twips and in pixels at 15 twips a pixel.
    auto row = [&](const auto* c, int l, int t, int w, int h, bool shown) {
        QCOMPARE(QRect(c->Left(), c->Top(), c->Width(), c->Height()), QRect(l, t, w, h));
        const QPoint size = pixels(w, h);
        QCOMPARE(QRect(c->mapTo(form.centralWidget(), QPoint(0, 0)), c->size()),
                 QRect(pixels(l, t), QSize(size.x(), size.y())));
        QCOMPARE(!c->isHidden(), shown);
    };
    row(form.Label1, 120, 120, 8655, 6975, true);
    row(form.Shape3, 3360, 4200, 855, 255, false);
    for (int i = 0; i <= 6; ++i) {
        row(form.Shape1(i), 240, 2040 + 480 * i, 735, 375, false);
        row(form.Shape1(i + 7), 2760 + 480 * i, 240, 375, 735, false);
        row(form.Shape1(i + 14), 7800, 5040 - 480 * i, 735, 375, false);
        row(form.Image1(i), 240 + 360 * (i / 2), i % 2 ? 6240 : 6600, 360, 360, false);
        row(form.Image2(2 * i), 3000 + 480 * i, 6240, 375, 375, true);
        row(form.Image2(2 * i + 1), 3000 + 480 * i, 6600, 375, 375, true);
    }
    row(form.Image5(0), 3960, 3000, 360, 360, false);
    row(form.Image3(0), 3360, 3000, 360, 360, false);
    row(form.Image4(0), 3360, 3480, 360, 360, false);
    row(form.Image4(1), 3960, 3480, 360, 360, false);
    const int seats[4][2] = {{3000, 5880}, {240, 5400}, {2760, 1080}, {7800, 5520}};
    for (int i = 0; i <= 3; ++i) {
        row(form.Label2(i), 6600 + 480 * i, 5880, 375, 375, false);
        row(form.Label3(i), 1080, 240 + 360 * i, 735, 375, false);
        row(form.Label4(i), 240, 360 + 360 * i, 975, 255, false);
        row(form.Label7(i), seats[i][0], seats[i][1], 855, 255, false);
    }
    row(form.Label5, 6600, 6600, 1935, 255, true);
    row(form.Command1, 2880, 6120, 3495, 855, false);
    row(form.Command3, 1920, 6480, 855, 495, false);
}

void Startup::stackingOrder()
{
    Run run;
    Form1& form = run.form;

    // Back to front, as designed; the buttons stand above everything on the table.
    const QList<QList<QWidget*>> backToFront = {
        {form.Label1},
        {form.Image1(0), form.Image1(6)},
        {form.Image2(0), form.Image2(13)},
        {form.Shape2},
        {form.Image3(0)},
        {form.Shape3},
        {form.Label2(0), form.Label2(3)},
        {form.Image4(0), form.Image4(1)},
        {form.Image5(0)},
        {form.Label3(0), form.Label3(3)},
        {form.Shape1(0), form.Shape1(20)},
        {form.Label4(0), form.Label4(3)},
        {form.Label5},
        {form.Label7(0), form.Label7(3)},
    };
    QWidget* table = form.Label1->parentWidget();
    const QObjectList order = table->children();
    int last = -1;
    for (const auto& group : backToFront) {
        for (QWidget* w : group) {
            QCOMPARE(w->parentWidget(), table);
            const int at = static_cast<int>(order.indexOf(w));
            QVERIFY2(at > last, qPrintable(QStringLiteral("%1 is out of order").arg(at)));
        }
        last = static_cast<int>(order.indexOf(group.back()));
    }
    // The buttons sit on the client area above the whole table, Command1 first in the tab order.
    const QObjectList clientOrder = table->parentWidget()->children();
    for (QWidget* button :
         {static_cast<QWidget*>(form.Command1), static_cast<QWidget*>(form.Command3)}) {
        QCOMPARE(button->parentWidget(), table->parentWidget());
        QVERIFY(clientOrder.indexOf(button) > clientOrder.indexOf(table));
    }
    QCOMPARE(form.Command1->nextInFocusChain(), static_cast<QWidget*>(form.Command3));
}

void Startup::designLook()
{
    Run run;
    Form1& form = run.form;

    QCOMPARE(form.Label1->palette().color(QPalette::Window), QColor(0, 128, 0));
    QVERIFY(form.Label1->autoFillBackground());
    QCOMPARE(form.Label1->Caption(), QString());
    QCOMPARE(form.Label1->frameShape(), QFrame::Box);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(form.Label2(i)->Caption(), QStringLiteral("0"));
        QCOMPARE(form.Label3(i)->palette().color(QPalette::Window), QColor(0, 192, 0));
        QCOMPARE(form.Label3(i)->Caption(), QString());
        QVERIFY(form.Label3(i)->font().bold());
        QCOMPARE(form.Label3(i)->font().pointSizeF(), 13.5);
        QCOMPARE(form.Label4(i)->palette().color(QPalette::WindowText), QColor(255, 255, 0));
        QCOMPARE(form.Label4(i)->Caption(), QStringLiteral("Jugador %1").arg(i + 1));
    }
    QCOMPARE(form.Label5->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    QVERIFY(form.Label5->alignment() & Qt::AlignRight);
    QVERIFY(form.Label5->font().bold());
    QCOMPARE(form.Label5->font().pointSizeF(), 8.25);
    QCOMPARE(form.Command3->Caption(), QStringLiteral("Pasar"));
    QCOMPARE(form.Command1->Caption(), QStringLiteral("Comenzar la partida"));
    for (int i = 0; i < form.Image2.Count(); ++i)
        QVERIFY(form.Image2(i)->picture().isEmpty());
    QVERIFY(form.Timer1->Enabled());
    QCOMPARE(form.Timer1->Interval(), Int16(0));
    QVERIFY(!form.Timer2->Enabled());
    QCOMPARE(form.Timer2->Interval(), Int16(1));
    QCOMPARE(form.matchActive, kFalse);
    QCOMPARE(form.settings.matchKind, MatchSettings::kNone);
    QCOMPARE(form.settings.matchTarget, Int16(0));
}

void Startup::clicksBeforeAnyDealDoNothing_data()
{
    QTest::addColumn<QPoint>("spot");
    QTest::newRow("middle of the cloth") << QPoint(4440, 3600);
    QTest::newRow("where the left seat's tiles go") << QPoint(600, 3000);
    QTest::newRow("where the top seat's tiles go") << QPoint(3500, 600);
    QTest::newRow("where the right seat's tiles go") << QPoint(8100, 4000);
    QTest::newRow("the score board") << QPoint(1400, 600);
    QTest::newRow("the match description") << QPoint(8400, 6700);
    QTest::newRow("seat 1's name") << QPoint(3400, 5990);
    QTest::newRow("seat 3's name") << QPoint(3100, 1190);
    QTest::newRow("left of the start button") << QPoint(1000, 6700);
    QTest::newRow("where the markers go") << QPoint(3540, 3660);
    QTest::newRow("off the cloth") << QPoint(60, 60);
    // The start button covers the hand's row: the clicks go straight to the empty halves.
    QTest::newRow("the hand's halves beneath the start button") << QPoint();
}

void Startup::clicksBeforeAnyDealDoNothing()
{
    QFETCH(QPoint, spot);
    Run run;
    Form1& form = run.form;
    startUp(form, run.steps);
    const QStringList before = tableState(form);

    if (spot.isNull()) {
        for (int i = 0; i < form.Image2.Count(); ++i)
            QTest::mouseClick(form.Image2(i), Qt::LeftButton);
    } else {
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          windowSpot(form, spot.x(), spot.y()));
        QTest::mouseDClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                           windowSpot(form, spot.x(), spot.y()));
    }
    QTest::qWait(20);

    const QStringList after = tableState(form);
    QVERIFY2(after == before, qPrintable(firstDifference(before, after)));
    QVERIFY(run.watch.messages.empty());
    QCOMPARE(run.steps.shown.size(), 2);
    QVERIFY(run.sound.calls.isEmpty());
    QVERIFY(run.documents.calls.isEmpty());
}

QTEST_MAIN(Startup)
#include "test_startup.moc"
