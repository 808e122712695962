#pragma once

#include "shell/documents.h"
#include "shell/tilesound.h"
#include "table/form1.h"

#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <random>

// The one driver of the real table that every test shares.

// Data rows as text: one "name|value|value" line a row, the columns named once; the current
// row's text in a column, and the same as a number.
void addRows(const QStringList& columns, const QStringList& rows);
QString cell(const char* column);
inline int number(const char* column)
{
    return cell(column).toInt();
}

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

// Answers modal windows as a player would: message boxes with the queued answers (OK when none is
// queued, Escape for NoButton), remembered as the icon's letter and the text ("W:..."), with
// " (Cancel)" when offered and "?" when not titled with our name; any other with the next step,
// run from its own event loop, which must close or hide it (with no step left it is closed and
// counted).
class ModalWatch : public QObject
{
public:
    using Step = std::function<void(QWidget* dialog)>;
    ModalWatch();
    void queueAnswer(QMessageBox::StandardButton button) { answers_.push_back(button); }
    void then(Step step) { steps_.push_back(std::move(step)); }
    QStringList messages;
    int unexpected = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void poll();
    QTimer timer_;
    QList<QMessageBox::StandardButton> answers_;
    QList<Step> steps_;
    QPointer<QWidget> current_;
};

// A table on the screen, past start-up, with a match set up and the anchor centred.
struct Table {
    explicit Table(Int16 matchKind = MatchSettings::kPartidas, Int16 matchTarget = 7);
    // Deals exactly these tiles ("hl" pairs, seat 1's seven first) with the start button.
    void deal(const QStringList& tiles);
    static void click(QWidget* widget);
    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form{sound, documents};
    ModalWatch watch;
};

// The set in order (seat 4 then holds every six) with the double six in the third slot of the
// given seat; and a deal where the player opens and the computer seats leave 3 and 4 open for the
// player's 4/3, 3/3, 4/1, 2/0, 1/1 and 0/0.
QStringList doubleSixAtSeat(int seat);
QStringList playerOpensDeal();

void setHand(rules::Hand& hand, const QStringList& tiles);
int pipsOf(const QString& picture); // of a face picture, or -1
// Everything a player could tell apart on the table, and the game's state, one line each.
QStringList tableState(const Form1& form);
// What must hold between any two events of a hand; empty when it all does.
QString invariantViolation(const Form1& form);

// Real clicks through the window system, landing on whatever lies on top: on a tile of the hand,
// clear of the divider, and on the middle of a divider or a marker.
void clickTile(Form1& form, int slot, bool lowerHalf = false);
void clickCentre(const QWidget* widget);

// Plays on to the end of the hand: the computer seats through Timer1's handler, the player with
// clicks on a random legal tile and marker, passing now and then. False if the game stops with
// nobody to move or takes more than mostSteps.
bool playHandToItsEnd(Form1& form, std::mt19937& dice, int mostSteps);
// Presses a menu command's key on the table, once the table is the active window.
bool pressShortcut(Form1& form, const QKeySequence& keys);
