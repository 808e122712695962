#pragma once

#include "shell/documents.h"
#include "shell/tilesound.h"
#include "table/form1.h"

#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <random>

// The one driver of the real table that every test shares.

// Data rows as text: one "name|value|value" line a row, the columns named once; the current
// row's text in a column, and the same as a number.
void addRows(const QStringList& columns, const QStringList& rows);
QString cell(const char* column);
int number(const char* column);

// Stand-ins for the desktop's services that remember every call.
struct SoundRecorder : shell::SoundService {
    QStringList files;
    QList<Int16> flags;
    void sndPlaySound(const QString& file, Int16 flag) override { files << file, flags << flag; }
};
struct DocumentRecorder : shell::DocumentService {
    QStringList calls; // "owner class|operation|file|parameters|directory|show"
    void ShellExecute(QWidget* owner, const QString& operation, const QString& file,
                      const QString& parameters, const QString& directory,
                      Int16 showCommand) override;
};

// Answers modal windows as a player would. Message boxes get the queued answers in turn (OK when
// none is queued, Escape for NoButton) and are remembered; any other modal window gets the next
// step, run from its own event loop, which must close or hide it (with no step left it is
// closed and counted).
class ModalWatch : public QObject
{
public:
    struct Message {
        QString title, text;
        QMessageBox::Icon icon;
        bool hasCancel;
    };
    using Step = std::function<void(QWidget* dialog)>;
    ModalWatch();
    void queueAnswer(QMessageBox::StandardButton button) { answers_.push_back(button); }
    void then(Step step) { steps_.push_back(std::move(step)); }
    QStringList texts() const;
    std::vector<Message> messages;
    QStringList shown; // class names of the other modal windows, in order
    int unexpected = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void poll();
    QTimer timer_;
    std::deque<QMessageBox::StandardButton> answers_;
    std::deque<Step> steps_;
    QPointer<QWidget> current_;
};

// A table on the screen with a match set up and the anchor where start-up puts it, skipping
// the start-up splash and dialog.
struct Table {
    explicit Table(Int16 matchKind = MatchSettings::kPartidas, Int16 matchTarget = 7);
    // Makes the next deal give exactly these tiles ("hl" pairs, seat 1's seven first), and
    // clicks the start button.
    void deal(const QStringList& tiles);
    static void click(QWidget* widget);
    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form{sound, documents};
    ModalWatch watch;
};

// The set in order (seat 4 then holds every six) with the double six in the third slot of the
// given seat; every six to the player, the double first; and a deal where the player opens and
// the computer seats leave 3 and 4 open for the player's 4/3, 3/3, 4/1, 2/0, 1/1 and 0/0.
QStringList doubleSixAtSeat(int seat);
QStringList allSixesToThePlayerDeal();
QStringList playerOpensDeal();

QString tileAt(const Form1& form, int seat, int slot); // "hl", or "99" once laid
void setHand(rules::Hand& hand, const QStringList& tiles);
int pipsOf(const QString& picture); // of a face picture, or -1
// Everything a player could tell apart on the table, and the game's state, one line each.
QStringList tableState(const Form1& form);
// What must hold between any two events of a hand; empty when it all does.
QString invariantViolation(const Form1& form);

// Real clicks through the window system on a tile of the hand ("upper", "lower" half, clear of
// the divider, or "divider"), on any divider, or on a marker.
void clickTile(Form1& form, int slot, const QString& where = "upper");
void clickDivider(Form1& form, int index);
void clickMarker(Form1& form, int index);

// The computer seats' turns at once, until the player is to move or the hand is over.
void runComputerTurns(Form1& form);
// Plays on to the end of the hand: the computer seats through Timer1's handler, the player with
// clicks on a random legal tile and marker, passing now and then. False if the game stops with
// nobody to move or takes more than mostSteps.
bool playHandToItsEnd(Form1& form, std::mt19937& dice, int mostSteps);
// Presses a menu command's key on the table, once the table is the active window.
bool pressShortcut(Form1& form, const QKeySequence& keys);
