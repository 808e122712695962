#pragma once

#include "table/form1.h"

#include <QObject>
#include <functional>

class QMessageBox;

// Plays the bottom seat of a real table and answers its windows, as a player would: the splash
// is clicked away, the options dialog gets a "Partidas" match, message boxes get OK, and on the
// player's turn the first tile that fits is laid, or the turn is passed. It watches the
// window's own events and never polls, so that it costs nothing while the game waits.
class Player : public QObject
{
public:
    Player(Form1& form, int targetHands);

    // What happens at each moment; each defaults to what a player does at once.
    std::function<void()> onTurn;                // the player's turn is open
    std::function<void()> onNextHand;            // the start button offers a hand
    std::function<void()> onMatchEnded;          // the match is over
    std::function<void(QMessageBox*)> onMessage; // a message box is open

    void playTurn();
    void clickStart();
    void answer(QMessageBox* box);

    int handsDealt() const { return handsDealt_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void waitForTurn();
    void acceptOptions(QWidget* dialog);
    bool playFirstFittingTile();

    Form1& form_;
    int targetHands_;
    int handsDealt_ = 0;
};
