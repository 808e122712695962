#include "support/table.h"
#include "table/accessibility.h"

#include <QAccessibleActionInterface>
#include <QTest>

// The table as a screen reader reads it, and presses that act exactly when a click would; a whole
// match through the desktop's accessibility bus is played by desktop/screen_reader_match.py.
class Accessibility : public QObject
{
    Q_OBJECT
private slots:
    void aHiddenControlTakesNoPress_data();
    void aHiddenControlTakesNoPress();
    void theChainIsReadFromEndToEnd();
};

namespace
{
// What a screen reader hears on the table, in reading order: the names that match.
QStringList heard(const Form1& form, const QString& pattern)
{
    QStringList names;
    for (const auto& [control, spoken] : accessibility::heardOnTable(form))
        names << spoken.name;
    return names.filter(QRegularExpression(pattern));
}

// Presses as a screen reader does, then lets the window system deliver what came of it.
void press(QWidget* control)
{
    auto* actions = QAccessible::queryAccessibleInterface(control)->actionInterface();
    if (actions->actionNames().contains(QAccessibleActionInterface::pressAction()))
        actions->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
}
} // namespace

void Accessibility::aHiddenControlTakesNoPress_data()
{
    QTest::addColumn<bool>("computerSeatsTurn");
    QTest::newRow("the start button, the player's turn") << false;
    QTest::newRow("an end marker, a computer seat's turn, a tile framed") << true;
}

void Accessibility::aHiddenControlTakesNoPress()
{
    QFETCH(bool, computerSeatsTurn);
    Table table;
    Form1& form = table.form;
    table.deal(computerSeatsTurn ? doubleSixAtSeat(4) : allSixesToThePlayerDeal());
    // The computer seat's turn stays where it is: only the press could change the table.
    form.Timer1->setInterval(0);
    if (computerSeatsTurn)
        clickDivider(form, 1);
    const QStringList before = tableState(form);
    press(computerSeatsTurn ? static_cast<QWidget*>(form.Image4(0)) : form.Command1);
    QCOMPARE(tableState(form), before);
    QVERIFY(table.watch.messages.empty());
}

void Accessibility::theChainIsReadFromEndToEnd()
{
    Table table;
    Form1& form = table.form;
    table.deal(playerOpensDeal());
    press(form.Image2(0));
    QCOMPARE(heard(form, QStringLiteral("seleccionada")), {"Ficha seleccionada: 6/6"});
    press(form.Image4(0));
    runComputerTurns(form);
    QCOMPARE(
        heard(form, QStringLiteral("mesa|Extremo")),
        QStringList({"Ficha 3/5 en la mesa, extremo 1", "Ficha 5/6 en la mesa",
                     "Ficha 6/6 en la mesa", "Ficha 6/4 en la mesa, extremo 2",
                     "Extremo 1, cruz verde, abierto al 3", "Extremo 2, cruz cian, abierto al 4"}));
}

QTEST_MAIN(Accessibility)
#include "test_accessibility.moc"
