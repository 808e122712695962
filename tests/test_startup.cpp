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

struct Seen {
    bool splashFirst = false;
    bool splashModal = false;
    bool windowShownDuringSplash = true;
    bool timer2EnabledDuringSplash = true;
    QPoint shape2DuringSplash;
    VbBool matchActiveDuringSplash = kTrue;
    bool optionsSecond = false;
    bool windowShownDuringOptions = false;
    bool timer2EnabledDuringOptions = true;
    QStringList shownDuringOptions;
    VbBool matchActiveDuringOptions = kTrue;
};

// The names of the table's controls that are shown, leaving out the hand's halves, which are
// shown without a picture from the start and so draw nothing.
QStringList shownControls(const Form1& form)
{
    QStringList names;
    auto add = [&](const QString& name, const QWidget* w) {
        if (!w->isHidden())
            names << name;
    };
    add(QStringLiteral("Label1"), form.Label1);
    add(QStringLiteral("Shape2"), form.Shape2);
    add(QStringLiteral("Shape3"), form.Shape3);
    for (int i = 0; i < form.Shape1.Count(); ++i)
        add(QStringLiteral("Shape1(%1)").arg(i), form.Shape1(i));
    for (int i = 0; i < form.Image1.Count(); ++i)
        add(QStringLiteral("Image1(%1)").arg(i), form.Image1(i));
    for (int i = 0; i < form.Image2.Count(); ++i) {
        if (!form.Image2(i)->picture().isEmpty())
            add(QStringLiteral("Image2(%1)").arg(i), form.Image2(i));
    }
    for (int i = 0; i < form.Image3.Count(); ++i)
        add(QStringLiteral("Image3(%1)").arg(i), form.Image3(i));
    for (int i = 0; i < form.Image4.Count(); ++i)
        add(QStringLiteral("Image4(%1)").arg(i), form.Image4(i));
    for (int i = 0; i < form.Image5.Count(); ++i)
        add(QStringLiteral("Image5(%1)").arg(i), form.Image5(i));
    for (int i = 0; i < 4; ++i) {
        add(QStringLiteral("Label2(%1)").arg(i), form.Label2(i));
        add(QStringLiteral("Label3(%1)").arg(i), form.Label3(i));
        add(QStringLiteral("Label4(%1)").arg(i), form.Label4(i));
        add(QStringLiteral("Label7(%1)").arg(i), form.Label7(i));
    }
    add(QStringLiteral("Label5"), form.Label5);
    add(QStringLiteral("Command1"), form.Command1);
    add(QStringLiteral("Command3"), form.Command3);
    add(QStringLiteral("menu bar"), form.menuBar());
    names.sort();
    return names;
}

const QStringList kEmptyTable = [] {
    QStringList names{QStringLiteral("Label1"), QStringLiteral("Label5"),
                      QStringLiteral("menu bar")};
    names.sort();
    return names;
}();

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

} // namespace

class Startup : public QObject
{
    Q_OBJECT

private slots:
    void splashThenWindowThenOptions_data();
    void splashThenWindowThenOptions();
    void timer2FiresOnlyOnce();
    void shape2IsCentredOnTheClothWhateverItsDesignSpot_data();
    void shape2IsCentredOnTheClothWhateverItsDesignSpot();
    void eachRunDealsDifferently();
    void windowFrame();
    void menus();
    void controlGeometry_data();
    void controlGeometry();
    void stackingOrder();
    void designLook();
    void clicksBeforeAnyDealDoNothing_data();
    void clicksBeforeAnyDealDoNothing();
    void handRowClicksBeforeAnyDealDoNothing();
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

    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form(sound, documents);
    ModalWatch watch;
    DialogSteps steps(watch);
    Seen seen;

    steps.then([&](QWidget* d) {
        seen.splashFirst = qobject_cast<FormBrimvale*>(d) != nullptr;
        seen.splashModal = d->isModal();
        seen.windowShownDuringSplash = form.isVisible();
        seen.timer2EnabledDuringSplash = form.Timer2->Enabled();
        seen.shape2DuringSplash = QPoint(form.Shape2->Left(), form.Shape2->Top());
        seen.matchActiveDuringSplash = form.matchActive;
        closeSplash(d);
    });
    steps.then([&](QWidget* d) {
        seen.optionsSecond = qobject_cast<Form2*>(d) != nullptr;
        seen.windowShownDuringOptions = form.isVisible();
        seen.timer2EnabledDuringOptions = form.Timer2->Enabled();
        seen.shownDuringOptions = shownControls(form);
        seen.matchActiveDuringOptions = form.matchActive;
        endOptions(d, end);
    });

    form.Load();

    // The splash has come and gone; the window is up with nothing on it yet.
    QCOMPARE(steps.shown, QStringList{QStringLiteral("FormBrimvale")});
    QVERIFY(seen.splashFirst);
    QVERIFY(seen.splashModal);
    QVERIFY(!seen.windowShownDuringSplash);
    QVERIFY(!seen.timer2EnabledDuringSplash);
    QCOMPARE(seen.shape2DuringSplash, QPoint(4200, 3120));
    QCOMPARE(seen.matchActiveDuringSplash, kFalse);
    QVERIFY(form.isVisible());
    QCOMPARE(shownControls(form), kEmptyTable);
    QCOMPARE(form.Label5->Caption(), QStringLiteral("."));
    QCOMPARE(form.matchActive, kFalse);

    QTRY_VERIFY(!form.Label7(3)->isHidden());

    QCOMPARE(steps.shown, (QStringList{QStringLiteral("FormBrimvale"), QStringLiteral("Form2")}));
    QCOMPARE(steps.unexpected, 0);
    QVERIFY(seen.optionsSecond);
    QVERIFY(seen.windowShownDuringOptions);
    QVERIFY(!seen.timer2EnabledDuringOptions);
    QCOMPARE(seen.shownDuringOptions, kEmptyTable);
    QCOMPARE(seen.matchActiveDuringOptions, kFalse);

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
    QVERIFY(watch.messages.empty());
    QVERIFY(sound.calls.isEmpty());
    QVERIFY(documents.calls.isEmpty());

    // Whichever way the dialog went, the start button deals a match that can be played: the
    // dialog's own first choice stands in for one that was never made.
    QCOMPARE(form.settings.matchKind, MatchSettings::kPartidas);
    QCOMPARE(form.settings.matchTarget, Int16(7));
    QCOMPARE(form.Label5->Caption(), QStringLiteral("Juego a 7 partidas."));
    QCOMPARE(form.optionsDialog() != nullptr, accepted);
}

void Startup::timer2FiresOnlyOnce()
{
    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form(sound, documents);
    ModalWatch watch;
    DialogSteps steps(watch);
    startUp(form, steps);

    // Anything that would bring the dialog back is closed at once and counted.
    QTest::qWait(100);
    QCOMPARE(steps.shown.size(), 2);
    QCOMPARE(steps.unexpected, 0);
    QVERIFY(!form.Timer2->Enabled());
    QVERIFY(!form.Timer2->isArmed());
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
    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form(sound, documents);
    ModalWatch watch;
    DialogSteps steps(watch);
    QCOMPARE(QPoint(form.Shape2->Left(), form.Shape2->Top()), QPoint(5040, 3000));
    QCOMPARE(QSize(form.Shape2->Width(), form.Shape2->Height()), QSize(495, 975));
    form.Shape2->Move(designSpot.x(), designSpot.y());

    startUp(form, steps);

    QCOMPARE(form.Shape2->Left(), Int16(4200));
    QCOMPARE(form.Shape2->Top(), Int16(3120));
    QCOMPARE(form.Shape2->Width(), Int16(495));
    QCOMPARE(form.Shape2->Height(), Int16(975));
    QCOMPARE(form.Shape2->geometry(), QRect(280, 208, 33, 65));
    QVERIFY(form.Shape2->isHidden());
}

void Startup::eachRunDealsDifferently()
{
    // Two runs of the program: each seeds its dice from the clock when it loads.
    SoundRecorder sound;
    DocumentRecorder documents;
    ModalWatch watch;
    DialogSteps steps(watch);
    Form1 first(sound, documents);
    startUp(first, steps);
    Form1 second(sound, documents);
    startUp(second, steps);

    QList<double> a;
    QList<double> b;
    for (int i = 0; i < 8; ++i) {
        a << first.random.Rnd();
        b << second.random.Rnd();
    }
    QVERIFY2(a != b, "both runs draw the same numbers");
}

void Startup::windowFrame()
{
    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form(sound, documents);
    ModalWatch watch;
    DialogSteps steps(watch);
    startUp(form, steps);

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
    QVERIFY2(qAbs(screenCentre.x() - windowCentre.x()) <= slack &&
                 qAbs(screenCentre.y() - windowCentre.y()) <= slack,
             qPrintable(QStringLiteral("window centred at %1,%2, screen at %3,%4, frame %5")
                            .arg(windowCentre.x())
                            .arg(windowCentre.y())
                            .arg(screenCentre.x())
                            .arg(screenCentre.y())
                            .arg(slack)));
}

void Startup::menus()
{
    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form(sound, documents);

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

void Startup::controlGeometry_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<bool>("shownAtStart");

    auto row = [](const QString& name, int l, int t, int w, int h, bool shown) {
        QTest::newRow(qPrintable(name)) << name << QRect(l, t, w, h) << shown;
    };
    row(QStringLiteral("Label1"), 120, 120, 8655, 6975, true);
    row(QStringLiteral("Shape3"), 3360, 4200, 855, 255, false);
    for (int i = 0; i <= 6; ++i)
        row(QStringLiteral("Shape1(%1)").arg(i), 240, 2040 + 480 * i, 735, 375, false);
    for (int i = 7; i <= 13; ++i)
        row(QStringLiteral("Shape1(%1)").arg(i), 2760 + 480 * (i - 7), 240, 375, 735, false);
    for (int i = 14; i <= 20; ++i)
        row(QStringLiteral("Shape1(%1)").arg(i), 7800, 5040 - 480 * (i - 14), 735, 375, false);
    const int faces[7][2] = {{240, 6600}, {240, 6240}, {600, 6600}, {600, 6240},
                             {960, 6600}, {960, 6240}, {1320, 6600}};
    for (int i = 0; i <= 6; ++i)
        row(QStringLiteral("Image1(%1)").arg(i), faces[i][0], faces[i][1], 360, 360, false);
    for (int k = 1; k <= 7; ++k) {
        row(QStringLiteral("Image2(%1)").arg(2 * k - 2), 3000 + 480 * (k - 1), 6240, 375, 375,
            true);
        row(QStringLiteral("Image2(%1)").arg(2 * k - 1), 3000 + 480 * (k - 1), 6600, 375, 375,
            true);
    }
    row(QStringLiteral("Image5(0)"), 3960, 3000, 360, 360, false);
    row(QStringLiteral("Image3(0)"), 3360, 3000, 360, 360, false);
    row(QStringLiteral("Image4(0)"), 3360, 3480, 360, 360, false);
    row(QStringLiteral("Image4(1)"), 3960, 3480, 360, 360, false);
    for (int i = 0; i <= 3; ++i) {
        row(QStringLiteral("Label2(%1)").arg(i), 6600 + 480 * i, 5880, 375, 375, false);
        row(QStringLiteral("Label3(%1)").arg(i), 1080, 240 + 360 * i, 735, 375, false);
        row(QStringLiteral("Label4(%1)").arg(i), 240, 360 + 360 * i, 975, 255, false);
    }
    row(QStringLiteral("Label5"), 6600, 6600, 1935, 255, true);
    const int seats[4][2] = {{3000, 5880}, {240, 5400}, {2760, 1080}, {7800, 5520}};
    for (int i = 0; i <= 3; ++i)
        row(QStringLiteral("Label7(%1)").arg(i), seats[i][0], seats[i][1], 855, 255, false);
    row(QStringLiteral("Command1"), 2880, 6120, 3495, 855, false);
    row(QStringLiteral("Command3"), 1920, 6480, 855, 495, false);
}

void Startup::controlGeometry()
{
    QFETCH(QString, control);
    QFETCH(QRect, twips);
    QFETCH(bool, shownAtStart);

    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form(sound, documents);
    form.show();

    QWidget* widget = nullptr;
    QRect design;
    auto take = [&](auto* c) {
        widget = c;
        design = QRect(c->Left(), c->Top(), c->Width(), c->Height());
    };
    const QString kind = control.section(QLatin1Char('('), 0, 0);
    const int index = control.section(QLatin1Char('('), 1).chopped(1).toInt();
    if (kind == QLatin1String("Label1"))
        take(form.Label1);
    else if (kind == QLatin1String("Shape3"))
        take(form.Shape3);
    else if (kind == QLatin1String("Shape1"))
        take(form.Shape1(index));
    else if (kind == QLatin1String("Image1"))
        take(form.Image1(index));
    else if (kind == QLatin1String("Image2"))
        take(form.Image2(index));
    else if (kind == QLatin1String("Image3"))
        take(form.Image3(index));
    else if (kind == QLatin1String("Image4"))
        take(form.Image4(index));
    else if (kind == QLatin1String("Image5"))
        take(form.Image5(index));
    else if (kind == QLatin1String("Label2"))
        take(form.Label2(index));
    else if (kind == QLatin1String("Label3"))
        take(form.Label3(index));
    else if (kind == QLatin1String("Label4"))
        take(form.Label4(index));
    else if (kind == QLatin1String("Label5"))
        take(form.Label5);
    else if (kind == QLatin1String("Label7"))
        take(form.Label7(index));
    else if (kind == QLatin1String("Command1"))
        take(form.Command1);
    else if (kind == QLatin1String("Command3"))
        take(form.Command3);
    QVERIFY2(widget, qPrintable(control));

    QCOMPARE(design, twips);
    const QRect onScreen(widget->mapTo(form.centralWidget(), QPoint(0, 0)), widget->size());
    const QRect expected(pixels(twips.left(), twips.top()),
                         QSize(pixels(twips.width(), twips.height()).x(),
                               pixels(twips.width(), twips.height()).y()));
    QCOMPARE(onScreen, expected);
    QCOMPARE(!widget->isHidden(), shownAtStart);
}

void Startup::stackingOrder()
{
    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form(sound, documents);

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
    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form(sound, documents);

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
}

void Startup::clicksBeforeAnyDealDoNothing()
{
    QFETCH(QPoint, spot);
    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form(sound, documents);
    ModalWatch watch;
    DialogSteps steps(watch);
    startUp(form, steps);
    const QStringList before = tableState(form);

    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      windowSpot(form, spot.x(), spot.y()));
    QTest::mouseDClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                       windowSpot(form, spot.x(), spot.y()));
    QTest::qWait(20);

    const QStringList after = tableState(form);
    QVERIFY2(after == before, qPrintable(firstDifference(before, after)));
    QVERIFY(watch.messages.empty());
    QCOMPARE(steps.shown.size(), 2);
    QVERIFY(sound.calls.isEmpty());
    QVERIFY(documents.calls.isEmpty());
}

void Startup::handRowClicksBeforeAnyDealDoNothing()
{
    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form(sound, documents);
    ModalWatch watch;
    DialogSteps steps(watch);
    startUp(form, steps);
    const QStringList before = tableState(form);

    // The start button covers the row; the clicks go to the empty halves beneath it.
    for (int i = 0; i < form.Image2.Count(); ++i)
        QTest::mouseClick(form.Image2(i), Qt::LeftButton);
    QTest::mouseClick(form.Label2(0), Qt::LeftButton);
    QTest::mouseClick(form.Label5, Qt::LeftButton);

    const QStringList after = tableState(form);
    QVERIFY2(after == before, qPrintable(firstDifference(before, after)));
    QVERIFY(form.Shape3->isHidden());
    QVERIFY(watch.messages.empty());
    QVERIFY(sound.calls.isEmpty());
}

QTEST_MAIN(Startup)
#include "test_startup.moc"
