#include "player.h"

#include "about/formbrimvale.h"
#include "options/form2.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

namespace
{

const QString kMatchOver = QStringLiteral("Fin de partida");

// Runs a step once the event loop has turned: a window that has just been shown is only then
// waiting for its answer.
template <class Step> void soon(QObject* context, Step step)
{
    QTimer::singleShot(0, context, step);
}

} // namespace

Player::Player(Form1& form, int targetHands) : form_(form), targetHands_(targetHands)
{
    onTurn = [this] { playTurn(); };
    onNextHand = [this] { clickStart(); };
    onMatchEnded = [] { QCoreApplication::quit(); };
    onMessage = [this](QMessageBox* box) { answer(box); };
    qApp->installEventFilter(this);
}

bool Player::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Show)
        return false;
    if (auto* splash = qobject_cast<FormBrimvale*>(watched)) {
        soon(splash, [splash] { splash->close(); });
    } else if (auto* options = qobject_cast<Form2*>(watched)) {
        soon(options, [this, options] { acceptOptions(options); });
    } else if (auto* box = qobject_cast<QMessageBox*>(watched)) {
        soon(box, [this, box] { onMessage(box); });
    } else if (watched == form_.Image4(0)) {
        waitForTurn();
    } else if (watched == form_.Command1) {
        soon(this, [this] { onNextHand(); });
    }
    return false;
}

void Player::waitForTurn()
{
    // The markers are shown a moment before the turn is open.
    soon(this, [this] {
        if (form_.humanTurn)
            onTurn();
        else if (form_.Image4(0)->isVisible())
            waitForTurn();
    });
}

void Player::acceptOptions(QWidget* dialog)
{
    auto* options = static_cast<Form2*>(dialog);
    options->Option1(0)->click();
    options->Combo1(0)->setEditText(QString::number(targetHands_));
    options->Command1->click();
}

void Player::answer(QMessageBox* box)
{
    const bool matchOver = box->text().startsWith(kMatchOver);
    box->button(QMessageBox::Ok)->click();
    if (matchOver)
        soon(this, [this] { onMatchEnded(); });
}

void Player::clickStart()
{
    ++handsDealt_;
    form_.Command1->click();
}

void Player::playTurn()
{
    if (!form_.humanTurn)
        return;
    if (!playFirstFittingTile())
        form_.Command3->click();
}

bool Player::playFirstFittingTile()
{
    const auto& hand = form_.hands[rules::kHumanSeat];
    for (Int16 slot = 1; slot <= rules::kSlots; ++slot) {
        const Int16 a = hand[slot][1];
        const Int16 b = hand[slot][2];
        if (a == rules::kEmptySlot)
            continue;
        for (Int16 end = 1; end <= 2; ++end) {
            const bool fits = form_.firstMove
                                  ? a == 6 && b == 6
                                  : a == form_.chainEnds[end] || b == form_.chainEnds[end];
            if (!fits)
                continue;
            form_.Image2_Click(static_cast<Int16>(2 * slot - 2));
            form_.Image4_Click(static_cast<Int16>(end - 1));
            return true;
        }
    }
    return false;
}
