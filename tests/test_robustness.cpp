#include "options/form2.h"
#include "rules/scoring.h"
#include "support/table.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QStyleHints>
#include <qpa/qwindowsysteminterface.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
// GCC ships no header for it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

// The monkey: random input through the window system's queue on every window that is up, the
// invariants checked between any two events (LOZETTA_MONKEY_EVENTS, default 100000;
// LOZETTA_MONKEY_SEED=n replays a seed). The soak: LOZETTA_SOAK_HANDS (default 10000) hands in
// one process, the same widgets and objects at every deal, the memory held within a mebibyte of
// what it was after a hundred hands.
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

struct Played {
    int events = 0, deals = 0, tiles = 0, boxes = 0, ends = 0;
};

struct Monkey {
    Monkey(std::uint32_t seed, Played& total) : dice(seed), total(total) {}
    std::mt19937 dice;
    Played& total;
    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form{sound, documents};
    QStringList recent;
    QString problem;
    rules::Scores scores{};
    int events = 0, armed = 0, held = 0, chain = 0;

    int below(qsizetype n) { return int(dice() % unsigned(n)); }
    template <typename... T> void note(const char* format, T... values)
    {
        recent = (recent << QString::asprintf(format, values...)).mid(recent.size() - 10);
    }
    void click(QWidget* w)
    {
        QWindow* window = w->window()->windowHandle();
        if (!window)
            return;
        QPoint at(below(qMax(1, w->width())), below(qMax(1, w->height())));
        at = w->mapTo(w->window(), at);
        note("click %s %d,%d", w->metaObject()->className(), at.x(), at.y());
        for (Qt::MouseButton down : {Qt::LeftButton, Qt::NoButton})
            Ws::handleMouseEvent<Queued>(window, at, window->mapToGlobal(at), down, Qt::LeftButton,
                                         down ? QEvent::MouseButtonPress
                                              : QEvent::MouseButtonRelease);
    }
    void key(QWidget* w, int key, Qt::KeyboardModifiers mods = {}, const QString& text = {})
    {
        note("key %d %d %s", key, mods.toInt(), qPrintable(text));
        for (auto type : {QEvent::KeyPress, QEvent::KeyRelease})
            Ws::handleKeyEvent<Queued>(w->window()->windowHandle(), type, key, mods, text);
    }
    void act()
    {
        if (form.Timer2->Enabled())
            return form.Timer2_Timer();
        armed = form.Timer1->isArmed() ? armed + 1 : 0;
        if (armed > 3 || (armed > 0 && below(3) == 0)) // as the real tick would come
            return note("Timer1"), form.Timer1_Timer();
        QWidget* top = QApplication::activePopupWidget();
        top = top ? top : QApplication::activeModalWidget();
        top = top ? top : &form;
        auto* box = qobject_cast<QMessageBox*>(top);
        auto* options = qobject_cast<Form2*>(top);
        total.boxes += bool(box), total.ends += box && box->text().startsWith("Fin de partida");
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
    // The invariants and the scores, which never go down within a match; what has been played.
    void watch()
    {
        problem = problem.isEmpty() ? invariantViolation(form) : problem;
        for (int seat = 1; seat <= rules::kSeats; ++seat)
            if (problem.isEmpty() && form.matchActive && form.settings.scores != rules::Scores{} &&
                form.settings.scores[seat] < scores[seat])
                problem = QStringLiteral("the score of seat %1 went down").arg(seat);
        scores = form.settings.scores;
        total.tiles += form.Label2(0)->Caption().toInt() < held;
        total.deals += form.Image3.Count() < chain;
        held = form.Label2(0)->Caption().toInt(), chain = form.Image3.Count();
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

// Resident size; AddressSanitizer's heap in use, as resident size means nothing under it.
long memoryHeld()
{
#if defined(__SANITIZE_ADDRESS__)
    return long(__sanitizer_get_current_allocated_bytes());
#else
    QFile statm("/proc/self/statm");
    return statm.open(QIODevice::ReadOnly)
               ? statm.readAll().split(' ').value(1).toLong() * sysconf(_SC_PAGESIZE)
               : -1;
#endif
}

} // namespace

class RobustnessTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void monkey();
    void soak();
};

void RobustnessTest::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
    // A replay must see the same clicks: no double clicks made of two quick ones.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
}

void RobustnessTest::monkey()
{
    const int events = setting("LOZETTA_MONKEY_EVENTS", 100'000);
    const bool replay = qEnvironmentVariableIsSet("LOZETTA_MONKEY_SEED");
    Played total;
    for (auto seed = replay ? qEnvironmentVariable("LOZETTA_MONKEY_SEED").toUInt() : 1u;
         total.events < events; ++seed) {
        qInfo("monkey seed %u (replay: LOZETTA_MONKEY_SEED=%u)", seed, seed);
        Monkey m(seed, total);
        m.run(seed, qMin(1000, events - total.events));
        QVERIFY2(m.problem.isEmpty(), qPrintable(QStringLiteral("seed %1, %2\n  %3")
                                                     .arg(seed)
                                                     .arg(m.problem, m.recent.join("\n  "))));
        total.events += qMax(1, m.events);
        if (replay)
            break;
    }
    // Only a monkey that really played proves anything.
    qInfo("%d events: %d deals, %d tiles of the player, %d boxes, %d ends of a match", total.events,
          total.deals, total.tiles, total.boxes, total.ends);
    QVERIFY(total.deals > 0 && total.tiles > 0 && total.boxes > 0 && (replay || total.ends > 0));
}

void RobustnessTest::soak()
{
    struct : shell::SoundService {
        void sndPlaySound(const QString&, Int16) override {}
    } silent;
    DocumentRecorder documents;
    Form1 form(silent, documents);
    std::mt19937 dice(2024);
    int matches = 0;
    QTimer answers;
    connect(&answers, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* options = qobject_cast<Form2*>(modal);
        const int kind = matches % 3, targets[3][3] = {{1, 3, 7}, {5, 15, 25}, {15, 50, 100}};
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            box->button(QMessageBox::Ok)->click();
        else if (options) {
            options->Option1(kind)->click();
            options->Combo1(kind)->setEditText(QString::number(targets[kind][dice() % 3]));
            ++matches;
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
        const long held = memoryHeld();
        settled = hand == qMin(100, hands / 2) ? held : settled;
        QVERIFY2(settled == 0 || held - settled < 1024 * 1024,
                 qPrintable(QString::asprintf("memory grew by %ld bytes by hand %d", held - settled,
                                              hand)));
    }
    QVERIFY(matches > 3);
}

QTEST_MAIN(RobustnessTest)
#include "test_robustness.moc"
