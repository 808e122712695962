// Drives the real table, with the real sound and the real start-up, through a match:
//
//   drive match HANDS    plays HANDS hands without the pauses between moves, then quits; the
//                        peak memory of the run is what counts
//   drive pacing HANDS   plays HANDS hands at the game's own pace and prints, for every two
//                        tiles laid one right after the other, "pace EXPECTED_MS DELAY_US",
//                        and for every tile the moment it was painted, "tile NS"
//   drive waiting        stops wherever the game waits for the player, prints "ready STATE"
//                        and goes on at a line on its standard input: STATE is turn, message,
//                        between and ended
//
// A last argument "quiet" unchecks the Sound item. The tile sound is looked up in the current
// directory, as the game does.

#include "player.h"
#include "shell/documents.h"
#include "shell/tilesound.h"
#include "table/display.h"
#include "table/form1.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <functional>
#include <unistd.h>
#include <vector>

namespace
{

constexpr int kWaitingTarget = 2;
constexpr int kLongMatchTarget = 999;
constexpr int kComputerPaceMs = 100;
constexpr int kPlayerPaceMs = 500;
constexpr long long kNanosPerMicro = 1000;
constexpr long long kNanosPerSecond = 1000000000;

long long nowNanos()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * kNanosPerSecond + t.tv_nsec;
}

Int16 nextSeat(Int16 seat)
{
    return seat == rules::kHumanSeat ? Int16(rules::kSeats) : Int16(seat - 1);
}

// The moment each tile reaches the screen: the first paint of the newest pictures on the table,
// with the seat that laid it.
class TileClock : public QObject
{
public:
    TileClock(Form1& form, const Player& player) : form_(form), player_(player)
    {
        qApp->installEventFilter(this);
    }

    void report() const
    {
        for (const Tile& tile : tiles_)
            std::printf("tile %lld\n", tile.at);
        for (std::size_t i = 1; i < tiles_.size(); ++i) {
            const Tile& before = tiles_[i - 1];
            const Tile& after = tiles_[i];
            // Only a tile laid by the very next seat: a pass in between adds its own pause.
            if (after.hand != before.hand || after.seat != nextSeat(before.seat))
                continue;
            const int expected = before.seat == rules::kHumanSeat ? kPlayerPaceMs : kComputerPaceMs;
            std::printf("pace %d %lld\n", expected, (after.at - before.at) / kNanosPerMicro);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        const Int16 count = form_.Image3.Count();
        if (count < 2 || count == lastCount_)
            return false;
        if (watched == form_.Image3(count - 1) || watched == form_.Image3(count - 2)) {
            lastCount_ = count;
            tiles_.push_back({nowNanos(), form_.turnSeat, player_.handsDealt()});
        }
        return false;
    }

private:
    struct Tile {
        long long at;
        Int16 seat;
        int hand;
    };
    Form1& form_;
    const Player& player_;
    Int16 lastCount_ = 0;
    std::vector<Tile> tiles_;
};

// Announces a state on standard output, then runs the step that leaves it once a line arrives.
class Prompter : public QObject
{
public:
    Prompter() : notifier_(STDIN_FILENO, QSocketNotifier::Read)
    {
        connect(&notifier_, &QSocketNotifier::activated, this, &Prompter::lineArrived);
        notifier_.setEnabled(false);
    }

    void waitHere(const char* state, std::function<void()> then)
    {
        std::printf("ready %s\n", state);
        std::fflush(stdout);
        then_ = std::move(then);
        notifier_.setEnabled(true);
    }

private:
    void lineArrived()
    {
        char buffer[256];
        if (read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
            QCoreApplication::exit(1);
        notifier_.setEnabled(false);
        if (then_)
            std::exchange(then_, {})();
    }

    QSocketNotifier notifier_;
    std::function<void()> then_;
};

int usage()
{
    std::fprintf(stderr, "usage: drive match HANDS | pacing HANDS | waiting [quiet]\n");
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    // Set up as the game is.
    display::copyRepaints();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lozetta"));
    if (argc < 2)
        return usage();
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const int hands = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 0;

    shell::SystemSound sound;
    shell::DesktopShell documents;
    Form1 form(sound, documents);
    const bool waiting = mode == QStringLiteral("waiting");
    Player player(form, waiting ? kWaitingTarget : kLongMatchTarget);
    const auto nextOrQuit = [&] {
        if (player.handsDealt() < hands)
            player.clickStart();
        else
            QCoreApplication::quit();
    };

    QTimer skipPauses;
    TileClock* clock = nullptr;
    Prompter prompter;
    bool firstTurn = true;
    bool firstBreak = true;
    bool holdMessage = false;
    if (mode == QStringLiteral("match") && hands > 0) {
        player.onNextHand = nextOrQuit;
        QObject::connect(&skipPauses, &QTimer::timeout, &form, [&form] {
            if (form.Timer1->isArmed())
                form.Timer1_Timer();
        });
        skipPauses.start(0);
    } else if (mode == QStringLiteral("pacing") && hands > 0) {
        player.onNextHand = nextOrQuit;
        clock = new TileClock(form, player);
    } else if (waiting) {
        player.onTurn = [&] {
            if (!std::exchange(firstTurn, false)) {
                player.playTurn();
                return;
            }
            prompter.waitHere("turn", [&] {
                // A marker with no tile chosen: the game explains, in a message box.
                holdMessage = true;
                form.Image4_Click(0);
            });
        };
        player.onMessage = [&](QMessageBox* box) {
            if (!std::exchange(holdMessage, false)) {
                player.answer(box);
                return;
            }
            prompter.waitHere("message", [&, box] {
                player.answer(box);
                QTimer::singleShot(0, &form, [&] { player.playTurn(); });
            });
        };
        player.onNextHand = [&] {
            if (player.handsDealt() == 0 || !std::exchange(firstBreak, false))
                player.clickStart();
            else
                prompter.waitHere("between", [&] { player.clickStart(); });
        };
        player.onMatchEnded = [&] { prompter.waitHere("ended", [] { QCoreApplication::quit(); }); };
    } else {
        return usage();
    }

    if (QString::fromLocal8Bit(argv[argc - 1]) == QStringLiteral("quiet"))
        form.MnuSound->setChecked(false);
    form.Load();
    const int status = QApplication::exec();
    if (clock)
        clock->report();
    std::printf("hands %d\n", player.handsDealt());
    return status;
}
