#include "options/form2.h"
#include "support/playerseat.h"
#include "support/tablefixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QTest>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer's count of the bytes the program has allocated and not yet freed.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

// Ten thousand hands in one process, matches of every kind one after another, set up through the
// options dialog and played from the player's seat through the real handlers. Nothing may
// pile up: the widgets and objects alive at every deal are those of the first deal, less or
// more only the tiles on the table, and the resident memory stays within a mebibyte of what
// it was after the first hundred hands.
//
//   LOZETTA_SOAK_HANDS=n  hands to play (default 10000)
class Soak : public QObject
{
    Q_OBJECT
private slots:
    void handsLeaveNothingBehind();
};

namespace
{

constexpr int kHands = 10'000;
constexpr int kSettlingHands = 100;
constexpr long kMostGrowth = 1024 * 1024;
constexpr int kMostStepsInAHand = 1000;
// Targets of each kind, so that matches run from a single hand to a few dozen.
const std::vector<int> kTargets[] = {{1, 3, 7}, {5, 15, 25}, {15, 50, 100}};

// What the process holds. Under AddressSanitizer the resident size also counts the sanitizer's
// own records, which grow with every new path to an allocation; there its count of the heap in
// use stands for the game.
#if defined(__SANITIZE_ADDRESS__)
const char* const kMeasured = "heap in use";
long memoryHeld()
{
    return static_cast<long>(__sanitizer_get_current_allocated_bytes());
}
#else
const char* const kMeasured = "resident memory";
long memoryHeld()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * sysconf(_SC_PAGESIZE) : -1;
}
#endif

// Answers every modal window the moment it is up: OK to the message boxes, the next match to
// the options dialog, a close to the about box.
class Answers : public QObject
{
public:
    explicit Answers(std::mt19937& dice) : dice_(dice)
    {
        connect(&timer_, &QTimer::timeout, this, &Answers::answer);
        timer_.start(0);
    }

    int matches = 0;
    int matchesOfKind[3] = {};

private:
    void answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            box->button(QMessageBox::Ok)->click();
        } else if (auto* options = qobject_cast<Form2*>(modal)) {
            const int kind = matches % 3;
            const auto& targets = kTargets[kind];
            options->Option1(kind)->click();
            options->Combo1(kind)->setEditText(QString::number(targets[dice_() % targets.size()]));
            options->Command1->click();
            ++matches;
            ++matchesOfKind[kind];
        } else if (modal) {
            modal->close();
        }
    }

    std::mt19937& dice_;
    QTimer timer_;
};

// The recorder would remember every tile sound, thousands of them: here they are only counted.
struct SilentSound : shell::SoundService {
    int calls = 0;
    void sndPlaySound(const QString&, Int16) override { ++calls; }
};

// The widgets and objects the game holds, less the chain's and the hand's loaded elements.
QString census(const Form1& form)
{
    const qsizetype loaded = (form.Image3.Count() - 1) + (form.Image5.Count() - 1);
    return QStringLiteral("%1 widgets and %2 objects")
        .arg(QApplication::allWidgets().size() - loaded)
        .arg(form.findChildren<QObject*>().size() - loaded);
}

} // namespace

void Soak::handsLeaveNothingBehind()
{
    bool ok = false;
    const int hands = qEnvironmentVariableIntValue("LOZETTA_SOAK_HANDS", &ok);
    const int total = ok && hands > 0 ? hands : kHands;

    std::mt19937 dice(2024);
    Answers answers(dice);
    SilentSound sound;
    DocumentRecorder documents;
    Form1 form(sound, documents);
    form.Load();
    QTRY_VERIFY(form.Command1->isVisible());
    form.random.seed(2024);

    QString first;
    long settled = 0;
    long largestGrowth = 0;
    for (int hand = 0; hand < total; ++hand) {
        if (!form.matchActive) {
            form.MnuNew->trigger();
            QVERIFY(form.Command1->isVisible());
        }
        Table::click(form.Command1);
        if (hand == 0)
            first = census(form);
        QCOMPARE(census(form), first);

        QVERIFY2(playHandToItsEnd(form, dice, kMostStepsInAHand),
                 qPrintable(QStringLiteral("hand %1 did not come to its end").arg(hand)));
        // Whatever the game handed to the event loop to delete goes now, as it would between
        // two clicks of a player.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();

        if (hand + 1 == kSettlingHands)
            settled = memoryHeld();
        if (hand + 1 > kSettlingHands) {
            const long growth = memoryHeld() - settled;
            largestGrowth = std::max(largestGrowth, growth);
            QVERIFY2(growth <= kMostGrowth,
                     qPrintable(QStringLiteral("after %1 hands the %2 has grown by %3 bytes "
                                               "since hand %4")
                                    .arg(hand + 1)
                                    .arg(QLatin1String(kMeasured))
                                    .arg(growth)
                                    .arg(kSettlingHands)));
        }
    }
    qInfo("%d hands, %d matches (%d, %d and %d of each kind); the %s grew by at most %ld bytes "
          "after the first %d hands",
          total, answers.matches, answers.matchesOfKind[0], answers.matchesOfKind[1],
          answers.matchesOfKind[2], kMeasured, largestGrowth, kSettlingHands);
    QVERIFY(answers.matches >= 3);
}

QTEST_MAIN(Soak)
#include "soak_hands.moc"
