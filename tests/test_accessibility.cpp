#include "options/form2.h"
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
    void beforeTheDealOnlyTheStartButtonIsHeard();
    void aHandIsHeardAndPlayedThroughTheTree();
    void theMatchDescriptionIsHeard();
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
    const QString name = node->text(QAccessible::Name);
    if (!name.isEmpty())
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

QStringList namesOf(const std::vector<Heard>& heard)
{
    QStringList names;
    for (const Heard& h : heard)
        names << h.name;
    return names;
}

QStringList startingWith(const QStringList& names, const QString& prefix)
{
    QStringList found;
    for (const QString& name : names) {
        if (name.startsWith(prefix))
            found << name;
    }
    return found;
}

// Presses a control through its accessible action, as a screen reader's user does.
bool press(QWidget& window, const QString& name)
{
    for (const Heard& h : heardOn(window)) {
        if (h.name != name)
            continue;
        QAccessibleActionInterface* actions = h.node->actionInterface();
        if (!actions || !actions->actionNames().contains(QAccessibleActionInterface::pressAction()))
            return false;
        // A button pressed this way animates its click and is clicked when that ends.
        auto* button = qobject_cast<QAbstractButton*>(h.node->object());
        std::optional<QSignalSpy> clicked;
        if (button)
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

QString seatName(int seat)
{
    return QStringLiteral("Jugador %1").arg(seat);
}

// The player's hand as the game holds it, slot by slot.
QStringList handNames(const Form1& form)
{
    QStringList names;
    for (Int16 slot = 1; slot <= rules::kSlots; ++slot) {
        const auto& tile = form.hands[rules::kHumanSeat][slot];
        if (tile[1] != rules::kEmptySlot)
            names << tileName(tile[1], tile[2]);
    }
    return names;
}

int tilesHeld(const Form1& form, int seat)
{
    int held = 0;
    for (Int16 slot = 1; slot <= rules::kSlots; ++slot)
        held += form.hands[seat][slot][1] != rules::kEmptySlot ? 1 : 0;
    return held;
}

// Everything the table says must agree with the game's own state.
void checkTableIsHeardAsItIs(Form1& form)
{
    const QStringList heard = namesOf(heardOn(form));

    QCOMPARE(startingWith(heard, QStringLiteral("Ficha ")).size() -
                 startingWith(heard, QStringLiteral("Ficha seleccionada")).size(),
             handNames(form).size() + static_cast<qsizetype>(tilesOnTable(form).size()));
    for (const QString& tile : handNames(form))
        QVERIFY2(heard.contains(tile), qPrintable(tile));

    QStringList onTable;
    for (const TableTile& tile : tilesOnTable(form))
        onTable << tileName(tile.a, tile.b) + QStringLiteral(" en la mesa");
    QCOMPARE(startingWith(heard, QStringLiteral("Ficha")).filter(QStringLiteral(" en la mesa")),
             onTable);

    for (int seat = 2; seat <= rules::kSeats; ++seat) {
        const int held = tilesHeld(form, seat);
        const QString expected =
            held == 0   ? seatName(seat)
            : held == 1 ? QStringLiteral("%1, 1 ficha boca abajo").arg(seatName(seat))
                        : QStringLiteral("%1, %2 fichas boca abajo").arg(seatName(seat)).arg(held);
        QVERIFY2(heard.contains(expected), qPrintable(expected));
    }
    for (int seat = 1; seat <= rules::kSeats; ++seat) {
        const QString score =
            QStringLiteral("Marcador, %1: %2").arg(seatName(seat)).arg(form.settings.scores[seat]);
        QVERIFY2(heard.contains(score), qPrintable(score));
    }

    const QStringList markers = startingWith(heard, QStringLiteral("Extremo"));
    if (form.humanTurn) {
        QStringList expected{QStringLiteral("Extremo 1, cruz verde"),
                             QStringLiteral("Extremo 2, cruz cian")};
        if (!tilesOnTable(form).empty()) {
            for (int end = 1; end <= 2; ++end)
                expected[end - 1] += QStringLiteral(", abierto al %1").arg(form.chainEnds[end]);
        }
        QCOMPARE(markers, expected);
    } else {
        QVERIFY2(markers.isEmpty(), qPrintable(markers.join(QStringLiteral(" | "))));
    }
    QCOMPARE(heard.contains(QStringLiteral("Pasar")), form.Command3->isVisible());
    // The hidden counters are never heard.
    QVERIFY(!heard.contains(form.Label2(0)->Caption()));
}

// The start-up's second step, with the options dialog accepted as it comes: the seat names
// and the match description appear.
void startUp(Table& table)
{
    table.watch.onDialog([](QWidget* dialog) {
        if (auto* options = qobject_cast<Form2*>(dialog))
            options->Command1->click();
    });
    table.form.Timer2_Timer();
}

// Seat 1 holds every six, so it opens; the others follow the tile order.
QStringList playersDeal()
{
    QStringList tiles = allTilesInOrder();
    std::reverse(tiles.begin(), tiles.end());
    return tiles;
}

} // namespace

void Accessibility::beforeTheDealOnlyTheStartButtonIsHeard()
{
    Table table;
    startUp(table);
    const QStringList heard = namesOf(heardOn(table.form));
    QVERIFY(heard.contains(QStringLiteral("Comenzar la partida")));
    for (int seat = 1; seat <= rules::kSeats; ++seat)
        QVERIFY(heard.contains(seatName(seat)));
    QVERIFY(heard.filter(QStringLiteral("boca abajo")).isEmpty());
    QVERIFY(!heard.contains(QStringLiteral("Pasar")));
    QVERIFY(startingWith(heard, QStringLiteral("Ficha")).isEmpty());
    QVERIFY(startingWith(heard, QStringLiteral("Extremo")).isEmpty());
    QVERIFY(startingWith(heard, QStringLiteral("Marcador")).isEmpty());
}

void Accessibility::aHandIsHeardAndPlayedThroughTheTree()
{
    Table table;
    startUp(table);
    Form1& form = table.form;
    const QStringList deal = playersDeal();
    table.scriptDeal(deal);
    QVERIFY(press(form, QStringLiteral("Comenzar la partida")));
    QVERIFY(form.humanTurn);

    // The hand is heard tile by tile as dealt, the higher number first.
    QStringList dealt;
    for (int i = 0; i < rules::kSlots; ++i) {
        const QString tile = deal.at(i);
        dealt << QStringLiteral("Ficha %1/%2").arg(tile.at(0)).arg(tile.at(1));
    }
    QCOMPARE(startingWith(namesOf(heardOn(form)), QStringLiteral("Ficha ")), dealt);
    checkTableIsHeardAsItIs(form);

    // The opening, chosen and laid through the tree.
    const QString opening = tileName(6, 6);
    QVERIFY(press(form, opening));
    QVERIFY(namesOf(heardOn(form)).contains(QStringLiteral("Ficha seleccionada: 6/6")));
    for (const Heard& h : heardOn(form)) {
        if (h.name == opening)
            QVERIFY(h.node->state().selected);
    }
    QVERIFY(press(form, QStringLiteral("Extremo 1, cruz verde")));
    QVERIFY(namesOf(heardOn(form)).contains(opening + QStringLiteral(" en la mesa")));
    QVERIFY(!namesOf(heardOn(form)).contains(opening));
    QVERIFY(startingWith(namesOf(heardOn(form)), QStringLiteral("Ficha seleccionada")).isEmpty());
    checkTableIsHeardAsItIs(form);

    // The rest of the hand: the computer seats move on their ticks, the player through the
    // tree, laying the first tile that fits or passing.
    int turns = 0;
    while (!form.Command1->isVisible()) {
        QVERIFY2(++turns < 200, "the hand never ended");
        if (form.Timer1->isArmed()) {
            form.Timer1_Timer();
            checkTableIsHeardAsItIs(form);
            continue;
        }
        QVERIFY(form.humanTurn);
        bool laid = false;
        for (Int16 slot = 1; slot <= rules::kSlots && !laid; ++slot) {
            const auto& tile = form.hands[rules::kHumanSeat][slot];
            for (int end = 1; end <= 2 && !laid && tile[1] != rules::kEmptySlot; ++end) {
                if (tile[1] != form.chainEnds[end] && tile[2] != form.chainEnds[end])
                    continue;
                QVERIFY(press(form, tileName(tile[1], tile[2])));
                checkTableIsHeardAsItIs(form);
                const QStringList markers =
                    startingWith(namesOf(heardOn(form)), QStringLiteral("Extremo"));
                QVERIFY(press(form, markers.at(end - 1)));
                laid = true;
            }
        }
        if (!laid)
            QVERIFY(press(form, QStringLiteral("Pasar")));
        checkTableIsHeardAsItIs(form);
    }
    QVERIFY(namesOf(heardOn(form)).contains(QStringLiteral("Siguiente mano")));
    QVERIFY(!table.watch.messages.empty());
}

void Accessibility::theMatchDescriptionIsHeard()
{
    Table table;
    const QStringList before = namesOf(heardOn(table.form));
    startUp(table);
    const QString description =
        options::matchDescription(table.form.settings.matchKind, table.form.settings.matchTarget);
    QCOMPARE(table.form.Label5->Caption(), description);
    QVERIFY(namesOf(heardOn(table.form)).contains(description));
    QVERIFY(!before.contains(description));
}

void Accessibility::theOptionsAreHeard()
{
    Table table;
    QStringList heard;
    QStringList described;
    table.watch.onDialog([&](QWidget* dialog) {
        auto* options = qobject_cast<Form2*>(dialog);
        if (!options)
            return;
        heard = namesOf(heardOn(*options));
        for (Heard& h : heardOn(*options))
            described << h.node->text(QAccessible::Description);
        options->Command1->click();
    });
    QVERIFY(table.form.ShowOptions());
    for (const Form2* dialog = table.form.optionsDialog();
         const auto* option : {dialog->Option1(0), dialog->Option1(1), dialog->Option1(2)}) {
        const QString kind = option->text();
        QVERIFY2(heard.contains(kind), qPrintable(kind));
        QVERIFY2(described.contains(QStringLiteral("Meta en %1").arg(kind.toLower())),
                 qPrintable(kind));
    }
    QVERIFY(heard.contains(table.form.optionsDialog()->Command1->Caption()));
}

QTEST_MAIN(Accessibility)
#include "test_accessibility.moc"
