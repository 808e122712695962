#pragma once

#include "table/controlarray.h"
#include "table/controls.h"

#include <QComboBox>
#include <QDialog>
#include <QRadioButton>

class Form1;

// An option button answers a click anywhere on its row, not only on its circle and caption.
class OptionButton : public Twipped<QRadioButton>
{
public:
    using Twipped<QRadioButton>::Twipped;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

using ComboBox = Twipped<QComboBox>;

// "Opciones de juego": the kind of match and its target. It is only hidden after a successful
// OK, so it remembers the last choice; the window's close command destroys it.
class Form2 : public QDialog
{
    Q_OBJECT
public:
    explicit Form2(Form1& table);

    void Form_Load();
    void Form_Activate();
    void Option1_Click(Int16 Index);
    void Command1_Click();

    void ApplyKindEnabling();
    void AcceptOptions();

    // True once the close command has been used: the dialog is then gone.
    bool closedByUser() const { return closed_; }

    // The accepted marker: "1" after a successful OK.
    QString Tag;

    Button* Command1;
    ControlArray<OptionButton> Option1;
    ControlArray<ComboBox> Combo1;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

public slots:
    void reject() override;

private:
    Form1& table_;
    bool closed_ = false;
};

namespace options
{

// "Juego a 7 partidas." and its kin.
QString matchDescription(Int16 matchKind, Int16 matchTarget);

// Every seat back to 0, on the settings and on the score board.
void resetScores(Form1& table);

// A start-up dialog closed without a valid choice still leaves a match to play: the one the
// dialog offers first, seven hands won.
bool isPlayable(const Form1& table);
void setUpDefaultMatch(Form1& table);

} // namespace options
