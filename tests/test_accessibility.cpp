// The table as a screen reader reads and presses it; desktop/screen_reader_match.py plays a match.
#include "support/table.h"
#include "table/accessibility.h"

#include <QAccessibleActionInterface>

class Accessibility : public QObject
{
    Q_OBJECT
    // Presses as a screen reader does, then lets the window system deliver what came of it.
    static void press(QWidget* control)
    {
        auto* actions = QAccessible::queryAccessibleInterface(control)->actionInterface();
        if (actions->actionNames().contains(QAccessibleActionInterface::pressAction()))
            actions->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
    }

private slots:
    void aHiddenControlTakesNoPress_data()
    {
        addRows({"seat"}, {"the start button, the player's turn|1",
                           "an end marker, a computer seat's turn, a tile framed|4"});
    }
    void aHiddenControlTakesNoPress()
    {
        const bool computerSeatsTurn = number("seat") == 4;
        Table t;
        t.deal(computerSeatsTurn ? doubleSixAtSeat(4) : allSixesToThePlayerDeal());
        t.form.Timer1->setInterval(0); // the seat's turn stays put: only the press could act
        if (computerSeatsTurn)
            clickDivider(t.form, 1);
        const QStringList before = tableState(t.form);
        press(computerSeatsTurn ? static_cast<QWidget*>(t.form.Image4(0)) : t.form.Command1);
        QCOMPARE(tableState(t.form), before);
        QVERIFY(t.watch.messages.empty());
    }
    void theChainIsReadFromEndToEnd()
    {
        Table t;
        t.deal(playerOpensDeal());
        const auto heard = [&t](const char* pattern) { // the names that match, in reading order
            QStringList names;
            for (const auto& [control, spoken] : accessibility::heardOnTable(t.form))
                names << spoken.name;
            return names.filter(QRegularExpression(pattern)).join(" | ");
        };
        press(t.form.Image2(0));
        QCOMPARE(heard("seleccionada"), "Ficha seleccionada: 6/6");
        press(t.form.Image4(0));
        runComputerTurns(t.form);
        QCOMPARE(heard("mesa|Extremo"),
                 "Ficha 3/5 en la mesa, extremo 1 | Ficha 5/6 en la mesa | Ficha 6/6 en la mesa | "
                 "Ficha 6/4 en la mesa, extremo 2 | Extremo 1, cruz verde, abierto al 3 | "
                 "Extremo 2, cruz cian, abierto al 4");
    }
};

QTEST_MAIN(Accessibility)
#include "test_accessibility.moc"
