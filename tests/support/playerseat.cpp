#include "support/playerseat.h"

#include "support/tablefixture.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

namespace
{

// One turn in this many the player passes although a tile fits.
constexpr unsigned kPassEvery = 10;

void clickAt(QWidget* widget, QPoint local)
{
    QWidget* window = widget->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      widget->mapTo(window, local));
}

} // namespace

std::vector<PlayerMove> legalMoves(const Form1& form)
{
    std::vector<PlayerMove> moves;
    for (int slot = 1; slot <= rules::kSlots; ++slot) {
        const auto& tile = form.hands[rules::kHumanSeat][slot];
        if (tile[1] == rules::kEmptySlot)
            continue;
        for (int end = 1; end <= 2; ++end) {
            const bool fits =
                form.firstMove ? tile[1] == 6 && tile[2] == 6
                               : tile[1] == form.chainEnds[end] || tile[2] == form.chainEnds[end];
            if (fits)
                moves.push_back({slot, end - 1});
        }
    }
    return moves;
}

void clickUpperHalf(Form1& form, int slot)
{
    Picture* half = form.Image2(2 * slot - 2);
    clickAt(half, QPoint(half->width() / 2, 3));
}

void clickLowerHalf(Form1& form, int slot)
{
    Picture* half = form.Image2(2 * slot - 1);
    clickAt(half, QPoint(half->width() / 2, half->height() - 4));
}

void clickDivider(Form1& form, int index)
{
    clickAt(form.Image5(index), form.Image5(index)->rect().center());
}

void clickMarker(Form1& form, int index)
{
    clickAt(form.Image4(index), form.Image4(index)->rect().center());
}

void select(Form1& form, int slot, const QString& how)
{
    if (how == QLatin1String("upper"))
        clickUpperHalf(form, slot);
    else if (how == QLatin1String("lower"))
        clickLowerHalf(form, slot);
    else
        clickDivider(form, slot);
}

void runComputerTurns(Form1& form)
{
    while (form.Timer1->isArmed())
        form.Timer1_Timer();
}

bool waitForTick(Form1& form)
{
    if (!form.Timer1->isArmed())
        return false;
    QSignalSpy ticks(form.Timer1, &VbTimer::Timer);
    return ticks.wait(5000);
}

bool playHandToItsEnd(Form1& form, std::mt19937& dice, int mostSteps)
{
    for (int step = 0; form.matchActive && !form.Command1->isVisible(); ++step) {
        if (step >= mostSteps)
            return false;
        if (form.Timer1->isArmed()) {
            form.Timer1_Timer();
            continue;
        }
        if (!form.humanTurn)
            return false;
        const auto moves = legalMoves(form);
        if (moves.empty() || (!form.firstMove && dice() % kPassEvery == 0)) {
            Table::click(form.Command3);
            continue;
        }
        const PlayerMove move = moves[dice() % moves.size()];
        // Either half of the tile selects it.
        Table::click(form.Image2(2 * move.slot - 2 + static_cast<int>(dice() % 2)));
        Table::click(form.Image4(move.marker));
    }
    return true;
}

bool useMenu(Form1& form, QAction* item, Reach reach)
{
    // Shortcuts follow the active window as the application sees it, which on a display without
    // a window manager can lag behind the window system's focus.
    form.activateWindow();
    if (!QTest::qWaitFor([&form] { return QApplication::activeWindow() == &form; }))
        return false;
    if (reach == Reach::Shortcut) {
        // The keys a player learns from the menus, not whatever the items happen to carry.
        const std::pair<QAction*, QKeySequence> keys[] = {
            {form.MnuNew, QKeySequence(Qt::Key_F2)},
            {form.MnuSound, QKeySequence(Qt::CTRL | Qt::Key_S)},
            {form.MnuHow, QKeySequence(Qt::Key_F1)}};
        for (const auto& [action, key] : keys) {
            if (action == item) {
                QTest::keySequence(&form, key);
                return true;
            }
        }
        return false;
    }
    QMenu* menu = nullptr;
    for (QAction* top : form.menuBar()->actions()) {
        if (top->menu() && top->menu()->actions().contains(item))
            menu = top->menu();
    }
    if (!menu)
        return false;
    QTest::mouseClick(form.menuBar(), Qt::LeftButton, Qt::NoModifier,
                      form.menuBar()->actionGeometry(menu->menuAction()).center());
    if (!QTest::qWaitFor([menu] { return menu->isVisible(); }))
        return false;
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(item).center());
    return true;
}
