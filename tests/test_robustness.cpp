#include "options/form2.h"
#include "rules/scoring.h"
#include "support/table.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QStyleHints>
#include <malloc.h>
#include <qpa/qwindowsysteminterface.h>

#if defined(__SANITIZE_ADDRESS__)
#define LOZETTA_UNDER_ASAN
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LOZETTA_UNDER_ASAN
#endif
#endif
#ifdef LOZETTA_UNDER_ASAN
extern "C" std::size_t __sanitizer_get_current_allocated_bytes(); // GCC ships no header for it
#endif

// The monkey (LOZETTA_MONKEY_EVENTS, LOZETTA_MONKEY_SEED) and the soak (LOZETTA_SOAK_HANDS).
namespace
{

using Ws = QWindowSystemInterface;
using Queued = QWindowSystemInterface::AsynchronousDelivery;

const QStringList kTexts = QStringLiteral("|7|+7|-7|7.5|.5|1e3|2e+|0x10|1,5|32768|99999999999999|"
                                          "nan|\t 12|12abc|½|٣|５|🀄|\u00a07|\u200b3")
                               .split('|');
const int kKeys[] = {Qt::Key_A,      Qt::Key_7,    Qt::Key_Space, Qt::Key_Return, Qt::Key_Tab,
                     Qt::Key_Escape, Qt::Key_Left, Qt::Key_Down,  Qt::Key_F1,     Qt::Key_F2,
                     Qt::Key_F4,     Qt::Key_Alt,  Qt::Key_Menu,  Qt::Key_Delete, Qt::Key_S};

int setting(const char* name, int fallback)
{
    return qEnvironmentVariableIntValue(name) > 0 ? qEnvironmentVariableIntValue(name) : fallback;
}

// Random input through the window system's queue on whichever window is up.
struct Monkey {
    explicit Monkey(std::uint32_t seed) : dice(seed) {}
    std::mt19937 dice;
    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form{sound, documents};
    QString problem;
    rules::Scores scores{};
    int events = 0, deals = 0, ends = 0, armed = 0, chain = 0;

    int below(qsizetype n) { return int(dice() % unsigned(n)); }
    void click(QWidget* w)
    {
        QWindow* window = w->window()->windowHandle();
        if (!window)
            return;
        const QPoint at =
            w->mapTo(w->window(), QPoint(below(qMax(1, w->width())), below(qMax(1, w->height()))));
        for (Qt::MouseButton down : {Qt::LeftButton, Qt::NoButton})
            Ws::handleMouseEvent<Queued>(window, at, window->mapToGlobal(at), down, Qt::LeftButton,
                                         down ? QEvent::MouseButtonPress
                                              : QEvent::MouseButtonRelease);
    }
    void key(QWidget* w, int key, Qt::KeyboardModifiers mods, const QString& text = {})
    {
        for (auto type : {QEvent::KeyPress, QEvent::KeyRelease})
            Ws::handleKeyEvent<Queued>(w->window()->windowHandle(), type, key, mods, text);
    }
    void act()
    {
        if (form.Timer2->Enabled())
            return form.Timer2_Timer();
        armed = form.Timer1->isArmed() ? armed + 1 : 0;
        if (armed > 3 || (armed > 0 && below(3) == 0)) // as the real tick would come
            return form.Timer1_Timer();
        QWidget* top = QApplication::activePopupWidget();
        top = top ? top : QApplication::activeModalWidget();
        top = top ? top : &form;
        auto* box = qobject_cast<QMessageBox*>(top);
        auto* options = qobject_cast<Form2*>(top);
        ends += box && box->text().startsWith("Fin de partida");
        const Qt::KeyboardModifiers mods[] = {{}, {}, Qt::ShiftModifier, Qt::ControlModifier};
        const int dial = below(top == &form ? 10 : 4);
        if (dial == 0)
            return key(top, kKeys[below(std::size(kKeys))], mods[below(4)]);
        // What moves the game on; now and then a player who knows the rules, so that hands and
        // matches come to their end.
        if (dial == 1 && box)
            return click(box->buttons()[below(box->buttons().size())]);
        if (dial == 1 && options)
            return click(options->Command1);
        if (dial == 2 && options) {
            click(options->Combo1(below(3))->lineEdit());
            key(options, Qt::Key_A, Qt::ControlModifier);
            for (QChar c : kTexts[below(kTexts.size())])
                key(options, Qt::Key_unknown, {}, c);
            return;
        }
        if (dial == 1 && top == &form && form.humanTurn)
            return (void)playHandToItsEnd(form, dice, 1);
        if (dial == 1 && top == &form)
            return click(form.Command1->isVisible() ? static_cast<QWidget*>(form.Command1)
                                                    : form.Image4(below(2)));
        auto children = top->findChildren<QWidget*>();
        children.removeIf([](QWidget* c) { return !c->isVisible(); });
        click(children.isEmpty() ? top : children[below(children.size())]);
    }
    // The invariants, and scores that never go down within a match; what has been played.
    void watch()
    {
        problem = problem.isEmpty() ? invariantViolation(form) : problem;
        for (int seat = 1; seat <= rules::kSeats; ++seat)
            if (problem.isEmpty() && form.matchActive && form.settings.scores != rules::Scores{} &&
                form.settings.scores[seat] < scores[seat])
                problem = QStringLiteral("the score of seat %1 went down").arg(seat);
        scores = form.settings.scores;
        deals += form.Image3.Count() < chain;
        chain = form.Image3.Count();
    }
    // From start-up until the events run out, a problem is seen or the table is closed.
    void run(std::uint32_t seed, int most)
    {
        bool finished = false;
        std::function<void()> step = [&] {
            if (finished)
                return;
            QTimer::singleShot(0, &form, step); // one step waiting, in whichever loop runs
            if (Ws::windowSystemEventsQueued() > 0)
                return;
            watch();
            QWidget* modal = QApplication::activeModalWidget();
            const bool over = !problem.isEmpty() || events >= most;
            if (over && modal)
                return (void)modal->close(); // every event loop must return
            if (over || (!modal && !form.isVisible()))
                return (void)(finished = true);
            if (++events == 1)
                form.random.seed(seed); // start-up seeded from the clock
            act();
        };
        QTimer::singleShot(0, &form, step);
        form.Load();
        while (!finished)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
};

} // namespace

class RobustnessTest : public QObject
{
    Q_OBJECT
private slots:
    void monkey();
    void soak();
};

void RobustnessTest::monkey()
{
    QApplication::setQuitOnLastWindowClosed(false);
    // A replay must see the same clicks: no double clicks made of two quick ones.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
    const int events = setting("LOZETTA_MONKEY_EVENTS", 100'000);
    const bool replay = qEnvironmentVariableIsSet("LOZETTA_MONKEY_SEED");
    int done = 0, deals = 0, ends = 0;
    for (auto seed = replay ? qEnvironmentVariable("LOZETTA_MONKEY_SEED").toUInt() : 1u;
         done < events; ++seed) {
        qInfo("monkey seed %u", seed); // the last one named is the one a crash came from
        Monkey m(seed);
        m.run(seed, qMin(1000, events - done));
        QVERIFY2(m.problem.isEmpty(),
                 qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(m.problem)));
        done += qMax(1, m.events), deals += m.deals, ends += m.ends;
        if (replay)
            break;
    }
    // Only a monkey that really played proves anything.
    qInfo("%d events: %d deals, %d ends of a match", done, deals, ends);
    QVERIFY(deals > 0 && (replay || ends > 0));
}

// Hands in one process: the same widgets and objects at every deal, and the heap within a
// mebibyte of what it was after a hundred hands.
void RobustnessTest::soak()
{
    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form(sound, documents);
    form.MnuSound->setChecked(false); // the recorder would grow
    std::mt19937 dice(2024);
    int matches = 0;
    QTimer answers; // OK to every box, and a new match of another kind each time
    connect(&answers, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            box->button(QMessageBox::Ok)->click();
        else if (auto* options = qobject_cast<Form2*>(modal)) {
            const int kind = matches++ % 3;
            options->Option1(kind)->click();
            options->Combo1(kind)->setEditText(QString::number(QList{3, 15, 50}[kind]));
            options->Command1->click();
        } else if (modal)
            modal->close();
    });
    answers.start(0);
    form.Load();
    QTRY_VERIFY(form.Command1->isVisible());
    form.random.seed(2024);
    const int hands = setting("LOZETTA_SOAK_HANDS", 10'000);
    std::pair<qsizetype, qsizetype> first;
    long settled = 0;
    for (int hand = 0; hand < hands; ++hand) {
        if (!form.matchActive)
            form.MnuNew->trigger();
        Table::click(form.Command1);
        const qsizetype loaded = form.Image3.Count() + form.Image5.Count();
        const auto census = std::pair(QApplication::allWidgets().size() - loaded,
                                      form.findChildren<QObject*>().size() - loaded);
        first = hand == 0 ? census : first;
        QCOMPARE(census, first); // widgets, objects
        QVERIFY2(playHandToItsEnd(form, dice, 1000), qPrintable(QString::number(hand)));
#ifdef LOZETTA_UNDER_ASAN
        const long held = long(__sanitizer_get_current_allocated_bytes()); // not glibc's heap
#else
        const long held = long(mallinfo2().uordblks + mallinfo2().hblkhd);
#endif
        settled = hand == qMin(100, hands / 2) ? held : settled;
        QVERIFY2(settled == 0 || held - settled < 1024 * 1024,
                 qPrintable(QString::asprintf("the heap grew by %ld bytes by hand %d",
                                              held - settled, hand)));
    }
    QVERIFY(matches > 3);
}

QTEST_MAIN(RobustnessTest)
#include "test_robustness.moc"
