#include "about/formbrimvale.h"
#include "options/form2.h"
#include "rules/scoring.h"
#include "support/table.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QStyleHints>
#include <QTest>
#include <qpa/qwindowsysteminterface.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

// The monkey: random clicks, keys, answers and typed targets on every window that is up, through
// the window system's queue as a player's input arrives, the invariants checked between any two
// events (LOZETTA_MONKEY_EVENTS, default 100000; LOZETTA_MONKEY_SEED=n replays a seed). The
// soak: LOZETTA_SOAK_HANDS (default 10000) hands in one process, the same widgets and objects at
// every deal, and the memory held within a mebibyte of what it was after a hundred hands.
class RobustnessTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void monkey();
    void soak();
};

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

struct Monkey {
    explicit Monkey(std::uint32_t seed) : dice(seed) {}
    std::mt19937 dice;
    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form{sound, documents};
    QStringList recent;
    int events = 0, armed = 0, deals = 0, tiles = 0, boxes = 0, ends = 0;

    int below(int n) { return int(dice() % unsigned(n)); }
    void note(const QString& what) { recent = (recent << what).mid(recent.size() - 10); }
    void click(QWidget* w, Qt::MouseButton button = Qt::LeftButton)
    {
        QWindow* window = w->window()->windowHandle();
        if (!window)
            return;
        const QPoint at =
            w->mapTo(w->window(), QPoint(below(qMax(1, w->width())), below(qMax(1, w->height()))));
        note(QStringLiteral("click %1 %2,%3")
                 .arg(w->metaObject()->className())
                 .arg(at.x())
                 .arg(at.y()));
        for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            Ws::handleMouseEvent<Queued>(window, at, window->mapToGlobal(at),
                                         type == QEvent::MouseButtonPress ? button : Qt::NoButton,
                                         button, type);
    }
    void key(QWidget* w, int key, Qt::KeyboardModifiers mods = {}, const QString& text = {})
    {
        note(QStringLiteral("key %1 %2 %3").arg(key).arg(mods.toInt()).arg(text));
        for (auto type : {QEvent::KeyPress, QEvent::KeyRelease})
            Ws::handleKeyEvent<Queued>(w->window()->windowHandle(), type, key, mods, text);
    }
    void anyKey(QWidget* w)
    {
        const Qt::KeyboardModifiers mods[] = {{}, {}, Qt::ShiftModifier, Qt::ControlModifier};
        key(w, kKeys[below(std::size(kKeys))], mods[below(4)]);
    }
    void clickChild(QWidget* top)
    {
        auto children = top->findChildren<QWidget*>();
        children.removeIf([](QWidget* c) { return !c->isVisible(); });
        click(children.isEmpty() ? top : children[below(int(children.size()))]);
    }

    void act()
    {
        if (form.Timer2->Enabled())
            return form.Timer2_Timer();
        armed = form.Timer1->isArmed() ? armed + 1 : 0;
        if (armed > 3 || (armed > 0 && below(3) == 0)) // as the real tick would come
            return note("Timer1"), form.Timer1_Timer();
        QWidget* modal = QApplication::activePopupWidget();
        modal = modal ? modal : QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            ++boxes;
            ends += box->text().startsWith("Fin de partida");
            const auto buttons = box->buttons();
            return below(4) ? click(buttons[below(int(buttons.size()))]) : anyKey(box);
        }
        if (auto* options = qobject_cast<Form2*>(modal)) {
            switch (below(6)) {
            case 0:
                return click(options->Command1);
            case 1: {
                QLineEdit* edit = options->Combo1(below(3))->lineEdit();
                click(edit);
                key(options, Qt::Key_A, Qt::ControlModifier);
                for (QChar c : kTexts[below(int(kTexts.size()))])
                    key(options, Qt::Key_unknown, {}, c);
                return;
            }
            case 2:
                return anyKey(options);
            default:
                return clickChild(options);
            }
        }
        if (modal)
            return below(2) ? clickChild(modal) : anyKey(modal);
        switch (below(10)) {
        case 0:
            return anyKey(&form);
        case 1:
            return key(&form, Qt::Key_F2);
        case 2: // a player who knows the rules, so that hands and matches come to their end
            if (form.humanTurn) {
                std::mt19937 once(dice());
                return (void)playHandToItsEnd(form, once, 1);
            }
            return click(form.Command1->isVisible() ? static_cast<QWidget*>(form.Command1)
                                                    : form.Image4(below(2)));
        default:
            return clickChild(&form);
        }
    }
};

QString memoryNote(long& held)
{
#if defined(__SANITIZE_ADDRESS__)
    held = long(__sanitizer_get_current_allocated_bytes()); // resident size means nothing here
    return "heap in use";
#else
    QFile statm("/proc/self/statm");
    held = statm.open(QIODevice::ReadOnly)
               ? statm.readAll().split(' ').value(1).toLong() * sysconf(_SC_PAGESIZE)
               : -1;
    return "resident memory";
#endif
}

} // namespace

void RobustnessTest::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
    // A replay must see the same clicks: no double clicks made of two quick ones.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
}

void RobustnessTest::monkey()
{
    const int events = qEnvironmentVariableIntValue("LOZETTA_MONKEY_EVENTS") > 0
                           ? qEnvironmentVariableIntValue("LOZETTA_MONKEY_EVENTS")
                           : 100'000;
    const bool replay = qEnvironmentVariableIsSet("LOZETTA_MONKEY_SEED");
    int done = 0, deals = 0, tiles = 0, boxes = 0, ends = 0;
    for (auto seed = replay ? qEnvironmentVariable("LOZETTA_MONKEY_SEED").toUInt() : 1u;
         done < events; ++seed) {
        qInfo("monkey seed %u (replay: LOZETTA_MONKEY_SEED=%u)", seed, seed);
        Monkey m(seed);
        QString problem;
        rules::Scores scores{};
        int held = 0, chain = 0;
        bool finished = false;
        std::function<void()> step = [&] {
            if (finished)
                return;
            QTimer::singleShot(0, &m.form, step); // one step waiting, in whichever loop runs
            if (Ws::windowSystemEventsQueued() > 0)
                return;
            if (problem.isEmpty())
                problem = invariantViolation(m.form);
            for (int seat = 1; seat <= rules::kSeats && m.form.matchActive; ++seat) {
                if (m.form.settings.scores[seat] < scores[seat] && problem.isEmpty() &&
                    m.form.settings.scores != rules::Scores{})
                    problem = QStringLiteral("the score of seat %1 went down").arg(seat);
            }
            scores = m.form.settings.scores;
            m.tiles += m.form.Label2(0)->Caption().toInt() < held;
            m.deals += m.form.Image3.Count() < chain;
            held = m.form.Label2(0)->Caption().toInt(), chain = m.form.Image3.Count();
            QWidget* modal = QApplication::activeModalWidget();
            const bool over = !problem.isEmpty() || m.events >= 1000 || done + m.events >= events;
            if (over && modal)
                return (void)modal->close(); // every event loop must return
            if (over || (!modal && !m.form.isVisible()))
                return (void)(finished = true);
            if (++m.events == 1)
                m.form.random.seed(seed); // start-up seeded from the clock
            m.act();
        };
        QTimer::singleShot(0, &m.form, step);
        m.form.Load();
        while (!finished)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QVERIFY2(
            problem.isEmpty(),
            qPrintable(
                QStringLiteral("seed %1, %2\n  %3").arg(seed).arg(problem, m.recent.join("\n  "))));
        done += qMax(1, m.events), deals += m.deals, tiles += m.tiles, boxes += m.boxes;
        ends += m.ends;
        if (replay)
            break;
    }
    // Only a monkey that really played proves anything.
    qInfo("%d events: %d deals, %d tiles of the player, %d boxes, %d ends of a match", done, deals,
          tiles, boxes, ends);
    QVERIFY(deals > 0 && tiles > 0 && boxes > 0 && (replay || ends > 0));
}

void RobustnessTest::soak()
{
    const int hands = qEnvironmentVariableIntValue("LOZETTA_SOAK_HANDS") > 0
                          ? qEnvironmentVariableIntValue("LOZETTA_SOAK_HANDS")
                          : 10'000;
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
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            return box->button(QMessageBox::Ok)->click();
        if (auto* options = qobject_cast<Form2*>(modal)) {
            const int kind = matches++ % 3;
            const int targets[3][3] = {{1, 3, 7}, {5, 15, 25}, {15, 50, 100}};
            options->Option1(kind)->click();
            options->Combo1(kind)->setEditText(QString::number(targets[kind][dice() % 3]));
            return options->Command1->click();
        }
        if (modal)
            modal->close();
    });
    answers.start(0);
    form.Load();
    QTRY_VERIFY(form.Command1->isVisible());
    form.random.seed(2024);
    QString first;
    long settled = 0, held = 0;
    for (int hand = 0; hand < hands; ++hand) {
        if (!form.matchActive)
            form.MnuNew->trigger();
        Table::click(form.Command1);
        const qsizetype loaded = form.Image3.Count() + form.Image5.Count();
        const QString census = QStringLiteral("%1 widgets, %2 objects")
                                   .arg(QApplication::allWidgets().size() - loaded)
                                   .arg(form.findChildren<QObject*>().size() - loaded);
        first = hand == 0 ? census : first;
        QCOMPARE(census, first);
        QVERIFY2(playHandToItsEnd(form, dice, 1000), qPrintable(QString::number(hand)));
        const QString what = memoryNote(held);
        settled = hand == qMin(100, hands / 2) ? held : settled;
        QVERIFY2(settled == 0 || held - settled < 1024 * 1024,
                 qPrintable(QStringLiteral("%1 grew by %2 bytes by hand %3")
                                .arg(what)
                                .arg(held - settled)
                                .arg(hand)));
    }
    QVERIFY(matches > 3);
}

QTEST_MAIN(RobustnessTest)
#include "test_robustness.moc"
