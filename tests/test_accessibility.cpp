#include "options/form2.h"
#include "support/playerseat.h"
#include "support/tablefixture.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QSignalSpy>
#include <QTest>
#include <optional>

// Walks the accessibility tree as a screen reader does and plays a whole hand through it: what
// is heard is what a sighted player sees, hidden controls are not heard, and the names follow
// the game.
class Accessibility : public QObject
{
    Q_OBJECT
private slots:
    void beforeTheDealOnlyTheTableIsHeard();
    void aHandIsHeardAndPlayedThroughTheTree();
    void theOptionsAreHeard();
};

namespace
{

// Every control shown, depth first, with what a screen reader says of it.
struct Heard {
    QAccessibleInterface* node;
    QString name;
};

void walk(QAccessibleInterface* node, std::vector<Heard>& heard)
{
    if (!node || node->state().invisible)
        return;
    if (const QString name = node->text(QAccessible::Name); !name.isEmpty())
        heard.push_back({node, name});
    for (int i = 0; i < node->childCount(); ++i)
        walk(node->child(i), heard);
}

std::vector<Heard> heardOn(QWidget& window)
{
    std::vector<Heard> heard;
    walk(QAccessible::queryAccessibleInterface(&window), heard);
    return heard;
}

QStringList namesOn(QWidget& window, const QString& prefix = {})
{
    QStringList names;
    for (const Heard& h : heardOn(window)) {
        if (h.name.startsWith(prefix))
            names << h.name;
    }
    return names;
}

// Presses a control through its accessible action, as a screen reader's user does.
bool press(QWidget& window, const QString& name)
{
    for (const Heard& h : heardOn(window)) {
        QAccessibleActionInterface* actions = h.node->actionInterface();
        if (h.name != name || !actions ||
            !actions->actionNames().contains(QAccessibleActionInterface::pressAction()))
            continue;
        // A button pressed this way animates its click and is clicked when that ends.
        std::optional<QSignalSpy> clicked;
        if (auto* button = qobject_cast<QAbstractButton*>(h.node->object()))
            clicked.emplace(button, &QAbstractButton::clicked);
        actions->doAction(QAccessibleActionInterface::pressAction());
        return !clicked || !clicked->isEmpty() || clicked->wait();
    }
    return false;
}

QString tileName(Int16 a, Int16 b)
{
    return QStringLiteral("Ficha %1/%2").arg(a).arg(b);
}

// Everything the table says must agree with the game's own state.
void checkTableIsHeardAsItIs(Form1& form)
{
    const QStringList heard = namesOn(form);
    QStringList hand;
    for (Int16 slot = 1; slot <= rules::kSlots; ++slot) {
        const auto& tile = form.hands[rules::kHumanSeat][slot];
        if (tile[1] != rules::kEmptySlot)
            hand << tileName(tile[1], tile[2]);
    }
    QStringList onTable;
    for (const TableTile& tile : tilesOnTable(form))
        onTable << tileName(tile.a, tile.b) + QStringLiteral(" en la mesa");
    QStringList tilesHeard = namesOn(form, QStringLiteral("Ficha "));
    tilesHeard.removeIf(
        [](const QString& n) { return n.startsWith(QLatin1String("Ficha seleccionada")); });
    QCOMPARE(tilesHeard.filter(QStringLiteral(" en la mesa")), onTable);
    tilesHeard.removeIf([](const QString& n) { return n.endsWith(QLatin1String(" en la mesa")); });
    QCOMPARE(tilesHeard, hand);

    for (int seat = 1; seat <= rules::kSeats; ++seat) {
        const QString name = QStringLiteral("Jugador %1").arg(seat);
        const int held = 7 - int(handOf(form, seat).count(QStringLiteral("99")));
        const QString expected = seat == 1 || held == 0 ? name
                                 : held == 1
                                     ? name + QStringLiteral(", 1 ficha boca abajo")
                                     : name + QStringLiteral(", %1 fichas boca abajo").arg(held);
        QVERIFY2(heard.contains(expected), qPrintable(expected));
        const QString score =
            QStringLiteral("Marcador, %1: %2").arg(name).arg(form.settings.scores[seat]);
        QVERIFY2(heard.contains(score), qPrintable(score));
    }
    QStringList markers;
    if (form.humanTurn) {
        markers << QStringLiteral("Extremo 1, cruz verde")
                << QStringLiteral("Extremo 2, cruz cian");
        for (int end = 1; end <= 2 && !tilesOnTable(form).empty(); ++end)
            markers[end - 1] += QStringLiteral(", abierto al %1").arg(form.chainEnds[end]);
    }
    QCOMPARE(namesOn(form, QStringLiteral("Extremo")), markers);
    QCOMPARE(heard.contains(QStringLiteral("Pasar")), form.Command3->isVisible());
}

// The start-up's second step, with the options dialog accepted as it comes.
void startUp(Table& table)
{
    table.watch.then([](QWidget* d) { qobject_cast<Form2*>(d)->Command1->click(); });
    table.form.Timer2_Timer();
}

} // namespace

void Accessibility::beforeTheDealOnlyTheTableIsHeard()
{
    Table table;
    QVERIFY(!namesOn(table.form).contains(QStringLiteral("Juego a 7 partidas.")));
    startUp(table);
    QStringList heard = namesOn(table.form);
    // The start button, the four seats' names and the match description, nothing of a hand.
    for (const QString& name :
         {QStringLiteral("Comenzar la partida"), QStringLiteral("Juego a 7 partidas.")})
        QVERIFY2(heard.removeAll(name) == 1, qPrintable(name));
    for (int seat = 1; seat <= rules::kSeats; ++seat)
        QVERIFY(heard.removeAll(QStringLiteral("Jugador %1").arg(seat)) >= 1);
    QVERIFY2(heard.filter(QRegularExpression(QStringLiteral("Ficha|Extremo|Marcador|Pasar|boca")))
                 .isEmpty(),
             qPrintable(heard.join(QStringLiteral(" | "))));
}

void Accessibility::aHandIsHeardAndPlayedThroughTheTree()
{
    Table table;
    startUp(table);
    Form1& form = table.form;
    table.scriptDeal(allSixesToThePlayerDeal());
    QVERIFY(press(form, QStringLiteral("Comenzar la partida")));
    QVERIFY(form.humanTurn);
    // The hand is heard tile by tile as dealt, the higher number first.
    QCOMPARE(namesOn(form, QStringLiteral("Ficha ")).first(), tileName(6, 6));
    checkTableIsHeardAsItIs(form);

    // The opening, chosen and laid through the tree.
    QVERIFY(press(form, tileName(6, 6)));
    QVERIFY(namesOn(form).contains(QStringLiteral("Ficha seleccionada: 6/6")));
    QVERIFY(press(form, QStringLiteral("Extremo 1, cruz verde")));
    QVERIFY(namesOn(form, QStringLiteral("Ficha selec")).isEmpty());
    checkTableIsHeardAsItIs(form);

    // The rest of the hand: the computer seats move on their ticks, the player through the
    // tree, laying the first tile that fits or passing.
    for (int turns = 0; !form.Command1->isVisible(); ++turns) {
        QVERIFY2(turns < 200, "the hand never ended");
        if (form.Timer1->isArmed()) {
            form.Timer1_Timer();
        } else if (const auto moves = legalMoves(form); !moves.empty()) {
            const auto& tile = form.hands[rules::kHumanSeat][moves.front().slot];
            QVERIFY(press(form, tileName(tile[1], tile[2])));
            checkTableIsHeardAsItIs(form);
            QVERIFY(press(form, namesOn(form, QStringLiteral("Extremo")).at(moves.front().marker)));
        } else {
            QVERIFY(press(form, QStringLiteral("Pasar")));
        }
        checkTableIsHeardAsItIs(form);
    }
    QVERIFY(namesOn(form).contains(QStringLiteral("Siguiente mano")));
    QVERIFY(!table.watch.messages.empty());
}

void Accessibility::theOptionsAreHeard()
{
    Table table;
    QStringList heard;
    QStringList described;
    table.watch.then([&](QWidget* dialog) {
        for (const Heard& h : heardOn(*dialog)) {
            heard << h.name;
            described << h.node->text(QAccessible::Description);
        }
        qobject_cast<Form2*>(dialog)->Command1->click();
    });
    QVERIFY(table.form.ShowOptions());
    QVERIFY(heard.contains(QStringLiteral("OK")));
    for (const QString kind : {"Partidas", "Fichas", "Puntos"}) {
        QVERIFY2(heard.contains(kind), qPrintable(kind));
        QVERIFY2(described.contains(QStringLiteral("Meta en %1").arg(kind.toLower())),
                 qPrintable(kind));
    }
}

QTEST_MAIN(Accessibility)
#include "test_accessibility.moc"
