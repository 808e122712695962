// The cost of laying one tile, against the toolkit's own floor, in turns on the same table:
//
//   labels   three bare labels created on the table where the last tile went, raised, shown
//   hidden   the same, and one face-down tile of a computer seat hidden, as a seat's move does
//   player   one PlaceTile by the player
//   seat     one PlaceTile by a computer seat, which also hides one of its face-down tiles
//
// each after a pause, as between the game's moves, and followed by the repaint that it causes,
// forced at once and waited for until the X server has drawn it. The Sound item is checked, as the
// game starts, unless "quiet" is given. Prints one line per turn: "turn LABELS_NS HIDDEN_NS
// PLAYER_NS SEAT_NS".
//
// usage: placetile HANDS [quiet]

#include "shell/documents.h"
#include "shell/tilesound.h"
#include "table/display.h"
#include "table/form1.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QWindow>
#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <thread>
#include <vector>
#include <xcb/xcb.h>

namespace
{

constexpr Int16 kComputerSeat = 4;
constexpr Int16 kSlot = 1;
// Turns per hand; each lays two tiles, one at each end of the chain.
constexpr int kTurnsPerHand = 12;
constexpr Int16 kCounterStart = 99;
constexpr Int16 kHalf = 360;
constexpr Int16 kSeam = 180;
constexpr Int16 kAnchorLeft = 4200;
constexpr Int16 kAnchorTop = 3120;
constexpr long long kNanosPerSecond = 1000000000;
// The game lays no two tiles closer than a tenth of a second apart, so each finds the machine at
// rest, the last click set up and the X server idle; this is long enough for that.
constexpr std::chrono::milliseconds kAtRest{20};

long long nowNanos()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * kNanosPerSecond + t.tv_nsec;
}

// Paints what is pending and waits until the X server has drawn it: the reply to a request
// comes only after every request before it has been carried out. Every posted event goes, not
// only the update requests: a widget shown asks for its paint through another event first.
void repaintNow()
{
    QCoreApplication::sendPostedEvents();
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11->connection();
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

template <class Step> long long timed(Step step)
{
    std::this_thread::sleep_for(kAtRest);
    const long long start = nowNanos();
    step();
    repaintNow();
    return nowNanos() - start;
}

class Bench
{
public:
    Bench(Form1& form) : form_(form), table_(form.Label1->parentWidget()) {}

    // A new hand on the table, as the deal and the opening leave it.
    void newHand()
    {
        form_.Image3.UnloadAbove0();
        form_.Image5.UnloadAbove0();
        labels_.clear();
        for (Int16 seat = 1; seat <= rules::kSeats; ++seat)
            form_.Label2(seat - 1)->setCaption(QString::number(kCounterStart));
        for (int end = 1; end <= 2; ++end) {
            form_.endPos[end][1] = static_cast<Int16>(kAnchorLeft + (end == 1 ? -kHalf : kHalf));
            form_.endPos[end][2] = static_cast<Int16>(kAnchorTop + kSeam);
            form_.endDir[end] = end == 1 ? Int16(-1) : Int16(1);
            form_.endCorner[end] = 0;
            form_.chainEnds[end] = 6;
        }
        repaintNow();
    }

    // Every face-down tile of the computer seat back on the table, so that it has one to hide.
    void refillSeat()
    {
        for (Int16 k = 0; k < rules::kSlots; ++k)
            faceDown(k)->show();
        repaintNow();
    }

    void addLabels()
    {
        for (const QRect& rect : lastTile_) {
            auto label = std::make_unique<QLabel>(table_);
            label->setGeometry(rect);
            label->raise();
            label->show();
            labels_.push_back(std::move(label));
        }
    }

    void hideFaceDown(int turn) { faceDown(static_cast<Int16>(turn % rules::kSlots))->hide(); }

    void placeTile(Int16 seat, Int16 end)
    {
        form_.turnSeat = seat;
        form_.hands[seat][kSlot][1] = 5;
        form_.hands[seat][kSlot][2] = 3;
        Int16 field = 1;
        Int16 slot = kSlot;
        const Int16 halves = form_.Image3.Count();
        const Int16 uprights = form_.Image5.Count();
        form_.PlaceTile(field, slot, end);
        const QWidget* divider =
            form_.Image5.Count() > uprights ? form_.Image5(uprights) : form_.Image3(halves + 2);
        lastTile_ = {form_.Image3(halves)->geometry(), form_.Image3(halves + 1)->geometry(),
                     divider->geometry()};
    }

private:
    Shape* faceDown(Int16 k) const { return form_.Shape1((kComputerSeat - 2) * rules::kSlots + k); }

    Form1& form_;
    QWidget* table_;
    std::vector<std::unique_ptr<QLabel>> labels_;
    // Where the labels go: where the last tile went; before the first, on the templates.
    std::array<QRect, 3> lastTile_{form_.Image3(0)->geometry(), form_.Image5(0)->geometry(),
                                   form_.Image4(0)->geometry()};
};

} // namespace

int main(int argc, char* argv[])
{
    // Set up as the game is.
    display::copyRepaints();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lozetta"));
    const int hands = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    const bool quiet = argc > 2 && QString::fromLocal8Bit(argv[2]) == QStringLiteral("quiet");
    if (hands <= 0 || !app.nativeInterface<QNativeInterface::QX11Application>()) {
        std::fprintf(stderr, "usage: placetile HANDS [quiet], on the xcb platform\n");
        return 2;
    }

    shell::SystemSound sound;
    shell::DesktopShell documents;
    Form1 form(sound, documents);
    form.Shape2->Move(kAnchorLeft, kAnchorTop);
    form.MnuSound->setChecked(!quiet);
    form.show();
    while (!form.windowHandle() || !form.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

    Bench bench(form);
    for (int hand = 0; hand < hands; ++hand) {
        bench.newHand();
        for (int turn = 0; turn < kTurnsPerHand; ++turn) {
            bench.refillSeat();
            const long long labels = timed([&] { bench.addLabels(); });
            const long long hidden = timed([&] {
                bench.addLabels();
                bench.hideFaceDown(turn);
            });
            bench.refillSeat();
            const long long player = timed([&] { bench.placeTile(rules::kHumanSeat, 1); });
            const long long seat = timed([&] { bench.placeTile(kComputerSeat, 2); });
            std::printf("turn %lld %lld %lld %lld\n", labels, hidden, player, seat);
        }
    }
    return 0;
}
