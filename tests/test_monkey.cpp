#include "about/formbrimvale.h"
#include "options/form2.h"
#include "rules/scoring.h"
#include "support/playerseat.h"
#include "support/recorders.h"
#include "support/tablefixture.h"
#include "table/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyleHints>
#include <QTest>
#include <QTimer>
#include <qpa/qwindowsysteminterface.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <functional>
#include <random>

// A monkey at the keyboard and mouse: random clicks on every window that is up, the menu keys,
// random keys, random answers to the message boxes and random texts in the options dialog, with
// the game's invariants checked between any two events. Its input goes through the window
// system's queue, so it arrives exactly where and when a player's would: never in a window
// that a modal one blocks, and only when the game takes input.
//
// Seeds 1, 2, 3, ... play up to 1000 events each (fewer if the monkey closes the table) until
// all the events are spent.
//
//   LOZETTA_MONKEY_SEED=n    replays seed n alone (a failure names its seed)
//   LOZETTA_MONKEY_EVENTS=n  events in all (default 100000)
class MonkeyTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void randomInputKeepsTheGameWhole();
};

namespace
{

constexpr int kEvents = 100'000;
constexpr int kEventsPerSeed = 1000;
// A real Timer1 would tick within 100 ms; the monkey ticks it itself after at most this many
// events, which keeps a replay the same as the run it replays.
constexpr int kMostEventsWithTimerArmed = 3;
constexpr int kRecentEvents = 12;
constexpr int kShortestLongText = 1000;
constexpr int kLongestLongText = 5000;

using Ws = QWindowSystemInterface;
using Queued = QWindowSystemInterface::AsynchronousDelivery;

class Dice
{
public:
    explicit Dice(std::uint32_t seed) : engine_(seed) {}
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }
    bool percent(int p) { return below(100) < p; }
    template <class List> auto pick(const List& items)
    {
        return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
    }
    QPoint pointIn(const QWidget* widget)
    {
        return {below(std::max(1, widget->width())), below(std::max(1, widget->height()))};
    }

private:
    std::mt19937 engine_;
};

// One of several things to do, each with its weight.
struct Choice {
    int weight;
    std::function<void()> act;
};

void chooseOne(Dice& dice, const std::vector<Choice>& choices)
{
    int total = 0;
    for (const Choice& choice : choices)
        total += choice.weight;
    int roll = dice.below(total);
    for (const Choice& choice : choices) {
        if (roll < choice.weight) {
            choice.act();
            return;
        }
        roll -= choice.weight;
    }
}

// The player's hands, through the window system.
namespace input
{

void mouse(QWidget* widget, QPoint at, Qt::MouseButton button, QEvent::Type type)
{
    QWidget* top = widget->window();
    QWindow* window = top->windowHandle();
    if (!window)
        return;
    const QPointF local = widget->mapTo(top, at);
    const QPointF global = window->mapToGlobal(local.toPoint());
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? button : Qt::NoButton;
    Ws::handleMouseEvent<Queued>(window, local, global, held, button, type);
}

void click(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(widget, at, Qt::NoButton, QEvent::MouseMove);
    mouse(widget, at, button, QEvent::MouseButtonPress);
    mouse(widget, at, button, QEvent::MouseButtonRelease);
}

void key(QWidget* top, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
         const QString& text = {})
{
    QWindow* window = top->window()->windowHandle();
    if (!window)
        return;
    Ws::handleKeyEvent<Queued>(window, QEvent::KeyPress, key, modifiers, text);
    Ws::handleKeyEvent<Queued>(window, QEvent::KeyRelease, key, modifiers, text);
}

// Types a text character by character, as a keyboard would send it.
void type(QWidget* top, const QString& text)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        const char16_t unit = character.at(0).unicode();
        const int code = unit >= u'a' && unit <= u'z'  ? Qt::Key_A + (unit - u'a')
                         : unit == u'\t'               ? Qt::Key_Tab
                         : unit >= 0x20 && unit < 0x7f ? int(unit)
                                                       : Qt::Key_unknown;
        key(top, code, Qt::NoModifier, character);
        i += length;
    }
}

// The window manager's close button.
void closeWindow(QWidget* top)
{
    if (QWindow* window = top->windowHandle())
        Ws::handleCloseEvent<Queued>(window);
}

// The window manager gives the keyboard back to the table when a dialog has gone.
void activate(QWidget* top)
{
    if (QWindow* window = top->windowHandle(); window && QGuiApplication::focusWindow() != window)
        Ws::handleWindowActivated<Queued>(window, Qt::ActiveWindowFocusReason);
}

} // namespace input

const std::vector<int> kRandomKeys = {
    Qt::Key_A,       Qt::Key_J,      Qt::Key_N,      Qt::Key_S,      Qt::Key_0,
    Qt::Key_7,       Qt::Key_Space,  Qt::Key_Return, Qt::Key_Enter,  Qt::Key_Tab,
    Qt::Key_Backtab, Qt::Key_Escape, Qt::Key_Left,   Qt::Key_Right,  Qt::Key_Up,
    Qt::Key_Down,    Qt::Key_Home,   Qt::Key_End,    Qt::Key_PageUp, Qt::Key_Backspace,
    Qt::Key_Delete,  Qt::Key_F1,     Qt::Key_F2,     Qt::Key_F3,     Qt::Key_F4,
    Qt::Key_F10,     Qt::Key_Alt,    Qt::Key_Menu,   Qt::Key_Shift,  Qt::Key_Control,
};
// Mostly bare keys.
const QList<Qt::KeyboardModifiers> kModifiers = QList<Qt::KeyboardModifiers>(3, Qt::NoModifier)
                                                << Qt::ShiftModifier << Qt::AltModifier
                                                << Qt::ControlModifier
                                                << (Qt::ControlModifier | Qt::ShiftModifier);

// Targets a player could type: numbers as meant, as mistyped and as nobody would write them.
const QStringList kTargetSamples =
    QStringLiteral("| |+|-|+-3|-7|+7|7.5|6.5|.5|5.|-0.5|999.5|998.5|1e3|1E2|2e|2e+|25e-1|0x10|1,5|"
                   "1 000|32767|32768|-32768|65543|99999999999999999999999999|1e308|1e309|-1e309|"
                   "nan|inf|\t 12|12abc|½|٣|５|७|ñ|🀄|𝟕|Ⅶ|e\u0301|\u00a07|\u20037|\u200b3")
        .split(QLatin1Char('|'))
    << QString(QChar(0)) + QStringLiteral("15");
const QString kTargetAlphabet = QStringLiteral("0123456789+-.eE \t,xñ½٣５€\u0301");

QString shortText(Dice& dice)
{
    QString text;
    if (dice.percent(67)) {
        // One sample or a few run together.
        for (int i = dice.percent(50) ? 0 : dice.below(3); i >= 0; --i)
            text += dice.pick(kTargetSamples);
        return text;
    }
    for (int i = 1 + dice.below(12); i > 0; --i)
        text += dice.pick(kTargetAlphabet);
    return text;
}

// Thousands of characters, as a paste would bring them: some of them still numbers.
QString longText(Dice& dice)
{
    const int length = kShortestLongText + dice.below(kLongestLongText - kShortestLongText);
    switch (dice.below(4)) {
    case 0:
        return QString(length, u'0') + QStringLiteral("12");
    case 1:
        return QStringLiteral("1") + QString(length, u'0');
    case 2:
        return QStringLiteral("7.") + QString(length, u'9');
    default: {
        QString text;
        for (int i = 0; i < length; ++i)
            text += dice.pick(kTargetAlphabet);
        return text;
    }
    }
}

QList<QWidget*> visibleChildren(QWidget* top)
{
    auto children = top->findChildren<QWidget*>();
    children.removeIf([top](QWidget* child) {
        return !child->isVisible() || child->window() != top || child->width() <= 0 ||
               child->height() <= 0;
    });
    return children;
}

// What the monkey saw happen, over all its seeds.
struct Tally {
    int events = 0;
    int deals = 0;
    int playerTiles = 0;
    int messageBoxes = 0;
    int optionTexts = 0;
    int aboutBoxes = 0;
    int matchEnds = 0;
};

// One session of play: the real start-up, then random input until the seed's events are spent.
class Monkey
{
public:
    Monkey(std::uint32_t seed, int events, Tally& tally)
        : seed_(seed), dice_(seed), budget_(events), tally_(tally)
    {
    }

    // Plays; the first broken invariant, or nothing.
    QString run()
    {
        QTimer::singleShot(0, &context_, [this] { step(); });
        form_.Load();
        while (!finished_)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return problem_;
    }

private:
    void step()
    {
        if (finished_)
            return;
        // Exactly one step is ever waiting; it runs in whichever event loop is current.
        QTimer::singleShot(0, &context_, [this] { step(); });
        if (Ws::windowSystemEventsQueued() > 0)
            return; // the last input has not reached the game yet
        if (problem_.isEmpty())
            check();
        if (!problem_.isEmpty() || done_ >= budget_) {
            windDown();
            return;
        }
        ++done_;
        ++tally_.events;
        if (!seeded_) {
            // The clock seeded the deal at start-up; the seed makes a run replayable.
            form_.random.seed(seed_);
            seeded_ = true;
        }
        act();
    }

    void note(const QString& event)
    {
        QStringList state{QStringLiteral("turn %1").arg(form_.turnSeat)};
        const std::pair<bool, const char*> flags[] = {
            {form_.humanTurn != kFalse, "player's"},
            {form_.firstMove != kFalse, "opening"},
            {form_.Shape3->Visible(), "selected"},
            {form_.Timer1->isArmed(), "Timer1 armed"},
            {form_.Command1->Visible(), "Command1 shown"},
            {QApplication::activeModalWidget() != nullptr, "modal up"}};
        for (const auto& [set, name] : flags) {
            if (set)
                state << QString::fromLatin1(name);
        }
        recent_.push_back(QStringLiteral("%1: %2   [%3]")
                              .arg(done_)
                              .arg(event, state.join(QStringLiteral(", "))));
        if (recent_.size() > kRecentEvents)
            recent_.pop_front();
    }

    void check()
    {
        QString problem = invariantViolation(form_);
        const auto& scores = form_.settings.scores;
        const bool newMatch =
            std::all_of(scores.begin() + 1, scores.end(), [](Int16 score) { return score == 0; });
        for (int seat = 1; seat <= rules::kSeats && problem.isEmpty(); ++seat) {
            if (!newMatch && scores[seat] < lastScores_[seat])
                problem = QStringLiteral("the score of seat %1 went down from %2 to %3")
                              .arg(seat)
                              .arg(lastScores_[seat])
                              .arg(scores[seat]);
        }
        lastScores_ = scores;

        const int held = form_.Label2(0)->Caption().toInt();
        if (held < lastHeld_) {
            ++tally_.playerTiles;
            if (form_.Shape3->Visible() && problem.isEmpty())
                problem = QStringLiteral("a tile stayed selected after the player's move");
        }
        lastHeld_ = held;
        if (form_.Image3.Count() < lastTableCount_)
            ++tally_.deals;
        lastTableCount_ = form_.Image3.Count();

        if (!problem.isEmpty())
            problem_ = QStringLiteral("seed %1, event %2: %3\n  last events:\n    %4\n  table: %5")
                           .arg(seed_)
                           .arg(done_)
                           .arg(problem, recent_.join(QStringLiteral("\n    ")), table());
    }

    // The chain as laid and what the game believes about it.
    QString table() const
    {
        QStringList tiles;
        for (const TableTile& tile : tilesOnTable(form_))
            tiles << QStringLiteral("%1/%2@%3").arg(tile.a).arg(tile.b).arg(tile.end);
        return QStringLiteral("chain %1; ").arg(tiles.join(QLatin1Char(' '))) +
               tableState(form_)
                   .filter(QRegularExpression(QStringLiteral("^(hands|turn|end) ")))
                   .join(QStringLiteral("; "));
    }

    void act()
    {
        if (form_.Timer2->Enabled()) {
            note(QStringLiteral("Timer2 ticks"));
            form_.Timer2_Timer();
            return;
        }
        armedEvents_ = form_.Timer1->isArmed() ? armedEvents_ + 1 : 0;
        if (armedEvents_ > 0 && (armedEvents_ > kMostEventsWithTimerArmed || dice_.percent(40))) {
            note(QStringLiteral("Timer1 ticks"));
            armedEvents_ = 0;
            form_.Timer1_Timer();
            return;
        }
        if (QWidget* popup = QApplication::activePopupWidget()) {
            actOnPopup(popup);
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            actOnMessageBox(box);
        else if (auto* options = qobject_cast<Form2*>(modal))
            actOnOptions(options);
        else if (auto* about = qobject_cast<FormBrimvale*>(modal))
            actOnAbout(about);
        else if (modal)
            actOnWindow(modal);
        else if (form_.isVisible())
            actOnTable();
        else
            done_ = budget_; // the player closed the game
    }

    void clickSomewhere(QWidget* top)
    {
        const QPoint at = dice_.pointIn(top);
        const Qt::MouseButton button = dice_.percent(75)   ? Qt::LeftButton
                                       : dice_.percent(50) ? Qt::RightButton
                                                           : Qt::MiddleButton;
        note(QStringLiteral("click %1 at %2,%3 with button %4")
                 .arg(QString::fromLatin1(top->metaObject()->className()))
                 .arg(at.x())
                 .arg(at.y())
                 .arg(button));
        input::click(top, at, button);
    }

    void clickChild(QWidget* top)
    {
        const auto children = visibleChildren(top);
        if (children.isEmpty()) {
            clickSomewhere(top);
            return;
        }
        clickOn(dice_.pick(children));
    }

    void clickOn(QWidget* widget)
    {
        const QPoint at = dice_.pointIn(widget);
        note(QStringLiteral("click %1 \"%2\" at %3,%4")
                 .arg(QString::fromLatin1(widget->metaObject()->className()),
                      shownText(widget).left(30))
                 .arg(at.x())
                 .arg(at.y()));
        input::click(widget, at);
    }

    void hoverSomewhere(QWidget* top)
    {
        const QPoint at = dice_.pointIn(top);
        note(QStringLiteral("mouse over %1,%2").arg(at.x()).arg(at.y()));
        input::mouse(top, at, Qt::NoButton, QEvent::MouseMove);
    }

    void pressKey(QWidget* top, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        note(QStringLiteral("key %1 with modifiers %2")
                 .arg(QKeySequence(key).toString())
                 .arg(modifiers.toInt()));
        input::key(top, key, modifiers);
    }

    void randomKey(QWidget* top) { pressKey(top, dice_.pick(kRandomKeys), dice_.pick(kModifiers)); }

    void closeWindow(QWidget* top)
    {
        note(QStringLiteral("close %1").arg(QString::fromLatin1(top->metaObject()->className())));
        input::closeWindow(top);
    }

    // Now and then the monkey plays as a player who knows the rules, so that hands and matches
    // run to their end.
    void playSensibly()
    {
        if (!form_.humanTurn) {
            clickOn(form_.Command1->isVisible() ? static_cast<QWidget*>(form_.Command1)
                                                : form_.Image2(dice_.below(2 * rules::kSlots)));
            return;
        }
        const auto moves = legalMoves(form_);
        if (form_.Shape3->Visible()) {
            const int selected = form_.selectedHandImage / 2 + 1;
            for (const PlayerMove& move : moves) {
                if (move.slot == selected) {
                    clickOn(form_.Image4(move.marker));
                    return;
                }
            }
        }
        if (!moves.empty())
            clickOn(form_.Image2(2 * dice_.pick(moves).slot - 2 + dice_.below(2)));
        else if (form_.Command3->isVisible())
            clickOn(form_.Command3);
        else
            clickSomewhere(&form_);
    }

    void actOnTable()
    {
        input::activate(&form_);
        std::vector<QWidget*> controls;
        for (int i = 0; i < form_.Image2.Count(); ++i)
            controls.push_back(form_.Image2(i));
        for (int i = 1; i < std::min<int>(rules::kSlots + 1, form_.Image5.Count()); ++i)
            controls.push_back(form_.Image5(i));
        controls.insert(controls.end(),
                        {form_.Image4(0), form_.Image4(1), form_.Command1, form_.Command3});
        std::erase_if(controls, [](QWidget* control) { return !control->isVisible(); });

        chooseOne(dice_, {
                             {40,
                              [&] {
                                  if (controls.empty())
                                      clickSomewhere(&form_);
                                  else
                                      clickOn(dice_.pick(controls));
                              }},
                             {20, [&] { playSensibly(); }},
                             {15, [&] { clickChild(&form_); }},
                             {10, [&] { clickSomewhere(&form_); }},
                             {3, [&] { hoverSomewhere(&form_); }},
                             {4, [&] { pressKey(&form_, Qt::Key_F1); }},
                             {5, [&] { pressKey(&form_, Qt::Key_F2); }},
                             {4, [&] { pressKey(&form_, Qt::Key_S, Qt::ControlModifier); }},
                             {6, [&] { randomKey(&form_); }},
                             {1,
                              [&] {
                                  // Closing the table ends the game, and this seed with it.
                                  if (dice_.percent(10))
                                      closeWindow(&form_);
                                  else
                                      clickSomewhere(&form_);
                              }},
                         });
    }

    void actOnMessageBox(QMessageBox* box)
    {
        ++tally_.messageBoxes;
        if (box->text().startsWith(QLatin1String("Fin de partida")) && box != lastMatchEnd_) {
            ++tally_.matchEnds;
            lastMatchEnd_ = box;
        }
        auto clickButton = [&](QMessageBox::StandardButton which) {
            QAbstractButton* button = box->button(which);
            if (!button)
                button = box->button(QMessageBox::Ok);
            note(QStringLiteral("answer \"%1\" with %2").arg(box->text(), button->text()));
            input::click(button, button->rect().center());
        };
        chooseOne(dice_, {
                             {40, [&] { clickButton(QMessageBox::Ok); }},
                             {15, [&] { clickButton(QMessageBox::Cancel); }},
                             {15, [&] { pressKey(box, Qt::Key_Escape); }},
                             {10, [&] { pressKey(box, Qt::Key_Return); }},
                             {10, [&] { clickSomewhere(box); }},
                             {7, [&] { randomKey(box); }},
                             {3, [&] { closeWindow(box); }},
                         });
    }

    void typeInto(Form2* options, bool paste)
    {
        ComboBox* combo = options->Combo1(dice_.below(options->Combo1.Count()));
        QLineEdit* edit = combo->lineEdit();
        if (!edit)
            return;
        ++tally_.optionTexts;
        input::click(edit, edit->rect().center());
        if (dice_.percent(70))
            input::key(options, Qt::Key_A, Qt::ControlModifier);
        if (paste) {
            const QString text = longText(dice_);
            note(QStringLiteral("paste %1 characters starting \"%2\"")
                     .arg(text.size())
                     .arg(text.left(12)));
            QGuiApplication::clipboard()->setText(text);
            input::key(options, Qt::Key_V, Qt::ControlModifier);
        } else {
            const QString text = shortText(dice_);
            note(QStringLiteral("type \"%1\"").arg(text));
            input::type(options, text);
        }
    }

    void actOnOptions(Form2* options)
    {
        chooseOne(dice_, {
                             {20, [&] { clickChild(options); }},
                             {10, [&] { clickOn(options->Option1(dice_.below(3))); }},
                             {25, [&] { typeInto(options, false); }},
                             {4, [&] { typeInto(options, true); }},
                             {15, [&] { clickOn(options->Command1); }},
                             {8, [&] { pressKey(options, Qt::Key_Return); }},
                             {4, [&] { pressKey(options, Qt::Key_Escape); }},
                             {3, [&] { closeWindow(options); }},
                             {6, [&] { randomKey(options); }},
                             {5, [&] { clickSomewhere(options); }},
                         });
    }

    void actOnAbout(FormBrimvale* about)
    {
        ++tally_.aboutBoxes;
        chooseOne(dice_,
                  {
                      {15, [&] { clickOn(dice_.percent(50) ? about->lblURL : about->lblMail); }},
                      {20, [&] { hoverSomewhere(about); }},
                      {25, [&] { clickSomewhere(about); }},
                      {15, [&] { clickChild(about); }},
                      {15, [&] { randomKey(about); }},
                      {5, [&] { pressKey(about, Qt::Key_Escape); }},
                      {5, [&] { closeWindow(about); }},
                  });
    }

    void actOnWindow(QWidget* window)
    {
        chooseOne(dice_, {
                             {50, [&] { clickChild(window); }},
                             {20, [&] { clickSomewhere(window); }},
                             {20, [&] { randomKey(window); }},
                             {10, [&] { pressKey(window, Qt::Key_Escape); }},
                         });
    }

    // A menu or a combo box's list.
    void actOnPopup(QWidget* popup)
    {
        chooseOne(dice_, {
                             {50, [&] { clickSomewhere(popup); }},
                             {15, [&] { pressKey(popup, Qt::Key_Escape); }},
                             {15, [&] { randomKey(popup); }},
                             {10, [&] { pressKey(popup, Qt::Key_Down); }},
                             {10, [&] { pressKey(popup, Qt::Key_Return); }},
                         });
    }

    // Closes whatever is open so that every event loop returns, then ends the session.
    void windDown()
    {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            box->button(QMessageBox::Ok)->click();
            return;
        }
        if (modal) {
            modal->close();
            return;
        }
        finished_ = true;
    }

    const std::uint32_t seed_;
    Dice dice_;
    const int budget_;
    Tally& tally_;
    SoundRecorder sound_;
    DocumentRecorder documents_;
    Form1 form_{sound_, documents_};
    QObject context_;
    int done_ = 0;
    int armedEvents_ = 0;
    bool seeded_ = false;
    bool finished_ = false;
    QString problem_;
    QStringList recent_;
    rules::Scores lastScores_{};
    int lastHeld_ = 0;
    int lastTableCount_ = 0;
    const QMessageBox* lastMatchEnd_ = nullptr;
};

QtMessageHandler testLog = nullptr;

// The headless platform's and the font fallback's complaints come by the thousand and say
// nothing about the game; everything else goes to the test log.
void dropPlatformChatter(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg && (text.startsWith(QLatin1String("This plugin does not support")) ||
                                 text.contains(QLatin1String("OpenType support missing"))))
        return;
    testLog(type, context, text);
}
} // namespace

void MonkeyTest::initTestCase()
{
    testLog = qInstallMessageHandler(dropPlatformChatter);
    // The monkey may close the table; that ends its session, not the test.
    QApplication::setQuitOnLastWindowClosed(false);
    // Double clicks and the combo box's guard against the release of its opening click depend
    // on how fast the clicks come, which would make a replay differ from its run.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
}

void MonkeyTest::randomInputKeepsTheGameWhole()
{
    const bool replay = qEnvironmentVariableIsSet("LOZETTA_MONKEY_SEED");
    bool given = false;
    const int wanted = qEnvironmentVariableIntValue("LOZETTA_MONKEY_EVENTS", &given);
    const int events = replay ? kEventsPerSeed : given && wanted > 0 ? wanted : kEvents;
    auto seed = replay ? qEnvironmentVariable("LOZETTA_MONKEY_SEED").toUInt() : 1U;

    Tally tally;
    int seeds = 0;
    for (; tally.events < events; ++seed) {
        ++seeds;
        // Printed first, so that even a crash names the seed to replay.
        qInfo("monkey seed %u (replay: LOZETTA_MONKEY_SEED=%u)", seed, seed);
        Monkey monkey(seed, std::min(kEventsPerSeed, events - tally.events), tally);
        const QString problem = monkey.run();
        if (!problem.isEmpty()) {
            // In full: the test log would cut it short.
            std::fprintf(stderr, "%s\n", qPrintable(problem));
        }
        QVERIFY2(problem.isEmpty(), qPrintable(problem.section(QLatin1Char('\n'), 0, 0)));
        if (replay)
            break;
    }
    qInfo("%d events over %d seeds: %d deals, %d tiles of the player, %d ends of a match, %d "
          "message boxes, %d typed targets, %d about boxes",
          tally.events, seeds, tally.deals, tally.playerTiles, tally.matchEnds, tally.messageBoxes,
          tally.optionTexts, tally.aboutBoxes);
    // Only a monkey that really played proves anything.
    QVERIFY(tally.deals > 0);
    QVERIFY(tally.playerTiles > 0);
    QVERIFY(tally.messageBoxes > 0);
    if (!replay) {
        QVERIFY(tally.matchEnds > 0);
        QVERIFY(tally.optionTexts > 0);
        QVERIFY(tally.aboutBoxes > 0);
    }
}

QTEST_MAIN(MonkeyTest)
#include "test_monkey.moc"
