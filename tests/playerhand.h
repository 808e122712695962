#pragma once

// What the tests of the windows around the game share: a player's hand in the modal windows
// that come up, and a picture of everything a player could see or the game could remember.

#include "options/form2.h"
#include "support/modalwatch.h"
#include "support/tablefixture.h"
#include "table/form1.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

// Each showing of a modal window that is not a message box gets the next step, once. The step
// runs from that window's own event loop, so any message box it raises is answered by the watch
// while the step waits for it; a step must end by closing or hiding its window.
class DialogSteps : public QObject
{
public:
    using Step = std::function<void(QWidget* dialog)>;

    explicit DialogSteps(ModalWatch& watch)
    {
        watch.onDialog([this](QWidget* dialog) { begin(dialog); });
    }

    void then(Step step) { steps_.push_back(std::move(step)); }

    // Every showing, in order, by class name.
    QStringList shown;
    // Showings that found no step waiting; they were closed at once.
    int unexpected = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && watched == current_) {
            watched->removeEventFilter(this);
            current_ = nullptr;
        }
        return false;
    }

private:
    void begin(QWidget* dialog)
    {
        if (dialog == current_)
            return;
        current_ = dialog;
        dialog->installEventFilter(this);
        shown << QString::fromLatin1(dialog->metaObject()->className());
        Step step;
        if (steps_.empty()) {
            ++unexpected;
            step = [](QWidget* d) { d->close(); };
        } else {
            step = std::move(steps_.front());
            steps_.pop_front();
        }
        QTimer::singleShot(0, dialog, [step, dialog] { step(dialog); });
    }

    std::deque<Step> steps_;
    QPointer<QWidget> current_;
};

// The set in order with the double six first: the player opens and the hand waits on it.
inline QStringList playerOpensFirstSlot()
{
    QStringList tiles = allTilesInOrder();
    tiles.move(tiles.indexOf(QStringLiteral("66")), 0);
    return tiles;
}

// The two ways a player reaches a menu command.
enum class Reach { Shortcut, MenuClicks };

// Runs a menu command of the table the way a player would: its shortcut key on the window, or
// a click on its menu in the menu bar and then on the item. Returns once the command is done.
inline bool useMenu(Form1& form, QAction* item, Reach reach)
{
    // Shortcuts follow the active window as the application sees it, which on a display without
    // a window manager can lag behind the window system's focus.
    form.activateWindow();
    if (!QTest::qWaitFor([&form] { return QApplication::activeWindow() == &form; }))
        return false;
    if (reach == Reach::Shortcut) {
        // The keys a player learns from the menus, not whatever the items happen to carry.
        if (item == form.MnuNew)
            QTest::keyClick(&form, Qt::Key_F2);
        else if (item == form.MnuSound)
            QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
        else if (item == form.MnuHow)
            QTest::keyClick(&form, Qt::Key_F1);
        else
            return false;
        return true;
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

// Answers the next message box with the Escape key, as a player who shuts it would; the watch
// keeps its hands off that box. Its text lands in *text. Should another modal window come up
// first, the watch takes over again and *text stays empty.
inline void escapeNextMessage(ModalWatch& watch, QString* text)
{
    watch.pause(true);
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, &watch, text] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        watch.pause(false);
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            *text = box->text();
            QTest::keyClick(box, Qt::Key_Escape);
        }
    });
    timer->start();
}

// One line per control and per piece of game state; two pictures compare equal exactly when a
// player could not tell the two tables apart and the game would carry on the same way.
inline QStringList tableState(const Form1& form)
{
    QStringList lines;
    auto geometry = [](const auto* c) {
        return QStringLiteral("%1,%2,%3,%4 %5")
            .arg(c->Left())
            .arg(c->Top())
            .arg(c->Width())
            .arg(c->Height())
            .arg(c->Visible() ? QStringLiteral("shown") : QStringLiteral("hidden"));
    };
    auto pictures = [&](const char* name, const ControlArray<Picture>& array) {
        for (int i = 0; i < array.Count(); ++i)
            lines << QStringLiteral("%1(%2) %3 %4")
                         .arg(QLatin1String(name))
                         .arg(i)
                         .arg(geometry(array(i)), array(i)->picture());
    };
    auto labels = [&](const char* name, const ControlArray<Label>& array) {
        for (int i = 0; i < array.Count(); ++i)
            lines << QStringLiteral("%1(%2) %3 \"%4\"")
                         .arg(QLatin1String(name))
                         .arg(i)
                         .arg(geometry(array(i)), array(i)->Caption());
    };
    lines << QStringLiteral("Label1 ") + geometry(form.Label1);
    lines << QStringLiteral("Shape2 ") + geometry(form.Shape2);
    lines << QStringLiteral("Shape3 ") + geometry(form.Shape3);
    for (int i = 0; i < form.Shape1.Count(); ++i)
        lines << QStringLiteral("Shape1(%1) ").arg(i) + geometry(form.Shape1(i));
    pictures("Image1", form.Image1);
    pictures("Image2", form.Image2);
    pictures("Image3", form.Image3);
    pictures("Image4", form.Image4);
    pictures("Image5", form.Image5);
    labels("Label2", form.Label2);
    labels("Label3", form.Label3);
    labels("Label4", form.Label4);
    lines << QStringLiteral("Label5 %1 \"%2\"").arg(geometry(form.Label5), form.Label5->Caption());
    labels("Label7", form.Label7);
    lines << QStringLiteral("Command1 %1 \"%2\"")
                 .arg(geometry(form.Command1), form.Command1->Caption());
    lines << QStringLiteral("Command3 %1 \"%2\"")
                 .arg(geometry(form.Command3), form.Command3->Caption());
    lines << QStringLiteral("Timer1 %1 %2 %3")
                 .arg(form.Timer1->Enabled())
                 .arg(form.Timer1->Interval())
                 .arg(form.Timer1->isArmed());
    lines << QStringLiteral("Timer2 %1 %2 %3")
                 .arg(form.Timer2->Enabled())
                 .arg(form.Timer2->Interval())
                 .arg(form.Timer2->isArmed());
    lines << QStringLiteral("Sonido %1").arg(form.MnuSound->isChecked());

    QStringList hands;
    for (int seat = 1; seat <= rules::kSeats; ++seat) {
        for (int slot = 1; slot <= rules::kSlots; ++slot)
            hands << QStringLiteral("%1%2")
                         .arg(form.hands[seat][slot][1])
                         .arg(form.hands[seat][slot][2]);
    }
    lines << QStringLiteral("hands ") + hands.join(QLatin1Char(' '));
    lines << QStringLiteral("turn %1 human %2 first %3 passes %4 active %5 selected %6")
                 .arg(form.turnSeat)
                 .arg(form.humanTurn)
                 .arg(form.firstMove)
                 .arg(form.passCount)
                 .arg(form.matchActive)
                 .arg(form.selectedHandImage);
    for (int end = 1; end <= 2; ++end)
        lines << QStringLiteral("end %1: open %2 at %3,%4 dir %5 corner %6")
                     .arg(end)
                     .arg(form.chainEnds[end])
                     .arg(form.endPos[end][1])
                     .arg(form.endPos[end][2])
                     .arg(form.endDir[end])
                     .arg(form.endCorner[end]);
    lines << QStringLiteral("match kind %1 target %2 scores %3 %4 %5 %6")
                 .arg(form.settings.matchKind)
                 .arg(form.settings.matchTarget)
                 .arg(form.settings.scores[1])
                 .arg(form.settings.scores[2])
                 .arg(form.settings.scores[3])
                 .arg(form.settings.scores[4]);
    return lines;
}

// The first line where two pictures differ, for a readable failure.
inline QString firstDifference(const QStringList& before, const QStringList& after)
{
    for (qsizetype i = 0; i < qMin(before.size(), after.size()); ++i) {
        if (before[i] != after[i])
            return QStringLiteral("was: %1\nnow: %2").arg(before[i], after[i]);
    }
    if (before.size() != after.size())
        return QStringLiteral("%1 lines, now %2").arg(before.size()).arg(after.size());
    return {};
}
