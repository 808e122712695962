#pragma once

#include "options/matchsettings.h"
#include "rules/random.h"
#include "rules/tiles.h"
#include "table/controlarray.h"
#include "table/controls.h"
#include "table/vbtimer.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QMenu;
class Form2;

namespace shell
{
class SoundService;
class DocumentService;
} // namespace shell

// The table: the window that owns every control the game draws with and all of the game's
// state. Its handlers live beside the subsystem they belong to (the deal and the turns in
// rules/, the chain and the hands here in table/). Controls and state are public because the
// options dialog writes them directly, as do the tests.
class Form1 : public QMainWindow
{
    Q_OBJECT
public:
    Form1(shell::SoundService& sound, shell::DocumentService& documents);
    ~Form1() override;

    // Runs Form_Load, then puts the window on the screen.
    void Load();

    // Start-up.
    void Form_Load();
    // Puts the chain's anchor in the middle of the cloth, where the first tile goes.
    void centreAnchor();
    void Timer2_Timer();

    // Match flow and the deal.
    void Command1_Click();
    void Command3_Click();
    void Timer1_Timer();
    void MnuNew_Click();

    // The turn step and the computer seats.
    void NextTurn();
    void ComputerMove();
    void EndHand();

    // The player's move.
    void Image2_Click(Int16 Index);
    void Image5_Click(Int16 Index);
    void Image4_Click(Int16 Index);

    // The table's drawing.
    void PlaceTile(Int16& field, Int16& slot, Int16& end);
    void ShowHumanHand();
    void HideComputerTile();

    // Sound, documents and the about box.
    void PlayTileSound();
    void MnuSound_Click();
    void MnuHow_Click();
    void MnuAbout_Click();

    // Shows the options dialog modally, creating it if needed; true when it was accepted.
    bool ShowOptions();
    Form2* optionsDialog() const;

    // Game state.
    Int16 tileDealt[rules::kTiles + 1]{};
    rules::Hand hands[rules::kSeats + 1]{};
    Int16 turnSeat = 0;
    VbBool humanTurn = kFalse;
    VbBool firstMove = kFalse;
    Int16 passCount = 0;
    VbBool matchActive = kFalse;
    Int16 chainEnds[3]{};
    Int16 endPos[3][3]{};
    Int16 endDir[3]{};
    Int16 endCorner[3]{};
    Int16 selectedHandImage = 0;
    MatchSettings settings;
    rules::Random random;

    // Controls, named as on the design.
    Label* Label1;
    Shape* Shape2;
    Shape* Shape3;
    ControlArray<Shape> Shape1;
    ControlArray<Picture> Image1;
    ControlArray<Picture> Image2;
    ControlArray<Picture> Image3;
    ControlArray<Picture> Image4;
    ControlArray<Picture> Image5;
    ControlArray<Label> Label2;
    ControlArray<Label> Label3;
    ControlArray<Label> Label4;
    Label* Label5;
    ControlArray<Label> Label7;
    Button* Command1;
    Button* Command3;
    VbTimer* Timer1;
    VbTimer* Timer2;
    QMenu* MnuGame;
    QAction* MnuNew;
    QAction* MnuSound;
    QMenu* MnuHelp;
    QAction* MnuHow;
    QAction* MnuAbout;

private:
    void offerHumanTurn();
    void openWithDoubleSix();
    void setOpeningEnds();
    void drawOpeningDoubleSix();
    void removeFromHand(Int16 seat, Int16 slot);
    void lowerTileCount(Int16 seat);
    void letTableCatchUp();
    void createControls();
    void createMenus();

    shell::SoundService& sound_;
    shell::DocumentService& documents_;
    QWidget* surface_;
    QPointer<Form2> form2_;
};
