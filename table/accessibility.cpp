#include "table/accessibility.h"

#include "table/announcer.h"
#include "table/form1.h"
#include "table/pictures.h"
#include "table/playerclick.h"
#include "table/spokenchain.h"

#include <QAccessibleWidget>
#include <QRegularExpression>
#include <optional>

namespace accessibility
{

namespace
{

constexpr int kHandHalves = 2 * rules::kSlots;

QString tileName(int first, int second)
{
    return QStringLiteral("Ficha %1/%2").arg(first).arg(second);
}

const Form1* tableOf(const QWidget& control)
{
    return qobject_cast<const Form1*>(control.window());
}

Spoken spoken(QAccessible::Role role, const QString& name, const QWidget& control,
              bool pressable = false)
{
    return {role, name, control.isVisible(), pressable};
}

// Everything on the table a player may hear, shown or not, in reading order.
std::vector<QWidget*> spokenControls(const Form1& form, const std::vector<ChainTile>& chain)
{
    std::vector<QWidget*> controls{form.Label5};
    for (int i = 0; i < rules::kSeats; ++i)
        controls.push_back(form.Label3(i));
    for (int i = 0; i < rules::kSeats; ++i)
        controls.push_back(form.Label7(i));
    for (const ChainTile& tile : chain)
        controls.push_back(tile.control);
    controls.push_back(form.Image4(0));
    controls.push_back(form.Image4(1));
    controls.push_back(form.Shape3);
    for (int i = 0; i < kHandHalves; i += 2)
        controls.push_back(form.Image2(i));
    controls.push_back(form.Command1);
    controls.push_back(form.Command3);
    return controls;
}

int faceDownTiles(const Form1& form, int seat)
{
    int shown = 0;
    for (int k = 0; k < rules::kSlots; ++k)
        shown += form.Shape1((seat - 2) * rules::kSlots + k)->Visible() ? 1 : 0;
    return shown;
}

QString seatName(const Form1& form, int i)
{
    QString name = form.Label7(i)->Caption();
    const int seat = i + 1;
    const int faceDown = seat == rules::kHumanSeat ? 0 : faceDownTiles(form, seat);
    if (faceDown == 0)
        return name;
    return faceDown == 1 ? QStringLiteral("%1, 1 ficha boca abajo").arg(name)
                         : QStringLiteral("%1, %2 fichas boca abajo").arg(name).arg(faceDown);
}

QString markerName(const Form1& form, int i, bool chainLaid)
{
    const QString colour = form.Image4(i)->picture() == pictures::kMarkerGreen
                               ? QStringLiteral("verde")
                               : QStringLiteral("cian");
    QString name = QStringLiteral("Extremo %1, cruz %2").arg(i + 1).arg(colour);
    // Before the opening tile there is no end to match yet.
    if (chainLaid)
        name += QStringLiteral(", abierto al %1").arg(form.chainEnds[i + 1]);
    return name;
}

// A tile of the chain, with the end it stands at when it stands at one.
QString chainTileName(const std::vector<ChainTile>& chain, std::size_t i)
{
    QString name = tileName(chain[i].first, chain[i].second) + QStringLiteral(" en la mesa");
    if (chain.size() == 1)
        return name + QStringLiteral(", extremos 1 y 2");
    if (i == 0)
        return name + QStringLiteral(", extremo 1");
    if (i + 1 == chain.size())
        return name + QStringLiteral(", extremo 2");
    return name;
}

QString framedTileName(const Form1& form)
{
    const int upper = form.selectedHandImage - form.selectedHandImage % 2;
    return QStringLiteral("Ficha seleccionada: %1/%2")
        .arg(pipsShown(*form.Image2(upper)))
        .arg(pipsShown(*form.Image2(upper + 1)));
}

std::optional<Spoken> describeSeat(const Form1& form, const QWidget& control)
{
    for (int i = 0; i < rules::kSeats; ++i) {
        if (&control == form.Label3(i))
            return spoken(QAccessible::StaticText,
                          QStringLiteral("Marcador, %1: %2")
                              .arg(form.Label4(i)->Caption(), form.Label3(i)->Caption()),
                          control);
        if (&control == form.Label7(i))
            return spoken(QAccessible::StaticText, seatName(form, i), control);
    }
    return std::nullopt;
}

std::optional<Spoken> describeTile(const Form1& form, const QWidget& control,
                                   const std::vector<ChainTile>& chain)
{
    for (int i = 0; i < kHandHalves; i += 2) {
        if (&control != form.Image2(i))
            continue;
        Spoken tile = spoken(QAccessible::Button,
                             tileName(pipsShown(*form.Image2(i)), pipsShown(*form.Image2(i + 1))),
                             control, true);
        tile.shown = tile.shown && !form.Image2(i)->picture().isEmpty();
        return tile;
    }
    for (std::size_t i = 0; i < chain.size(); ++i) {
        if (&control == chain[i].control)
            return spoken(QAccessible::Graphic, chainTileName(chain, i), control);
    }
    if (&control == form.Shape3)
        return spoken(QAccessible::StaticText, framedTileName(form), control);
    return std::nullopt;
}

std::optional<Spoken> describeButton(const QWidget& control)
{
    if (const auto* button = dynamic_cast<const Button*>(&control))
        return spoken(QAccessible::Button, button->Caption(), control, true);
    return std::nullopt;
}

Spoken describeOnTable(const Form1& form, const QWidget& control,
                       const std::vector<ChainTile>& chain)
{
    if (auto button = describeButton(control))
        return *button;
    if (auto seat = describeSeat(form, control))
        return *seat;
    if (auto tile = describeTile(form, control, chain))
        return *tile;
    for (int i = 0; i <= 1; ++i) {
        if (&control == form.Image4(i))
            return spoken(QAccessible::Button, markerName(form, i, !chain.empty()), control, true);
    }
    if (&control == form.Label5) {
        Spoken description = spoken(QAccessible::StaticText, form.Label5->Caption(), control);
        // The dot that stands there before a match is chosen says nothing.
        description.shown = description.shown &&
                            description.name.contains(QRegularExpression(QStringLiteral("\\w")));
        return description;
    }
    // Everything else only draws: it says nothing.
    return spoken(QAccessible::Graphic, {}, control);
}

Spoken describeElsewhere(const QWidget& control)
{
    Spoken spoken;
    spoken.role = QAccessible::Graphic;
    spoken.shown = control.isVisible();
    if (const auto* picture = qobject_cast<const Picture*>(&control)) {
        // The about box closes on a click on its pictures.
        spoken.pressable = true;
        if (picture->picture() == pictures::kLogo)
            spoken.name = QStringLiteral("Logotipo de Lozetta");
        else if (picture->picture() == pictures::kIcon)
            spoken.name = QStringLiteral("Icono de Lozetta");
    }
    return spoken;
}

// A control of the table, a button or a picture, spoken as the player sees it and pressed as
// the player clicks it.
class ControlInterface : public QAccessibleWidget
{
public:
    explicit ControlInterface(QWidget* control) : QAccessibleWidget(control) {}

    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name ? describe(*widget()).name : QAccessibleWidget::text(kind);
    }
    QAccessible::Role role() const override { return describe(*widget()).role; }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = !describe(*widget()).shown;
        return state;
    }
    QAccessibleInterface* parent() const override
    {
        // The table's controls are read as the table's own, not as the drawing surface's.
        if (const Form1* form = tableOf(*widget()))
            return QAccessible::queryAccessibleInterface(form->centralWidget());
        return QAccessibleWidget::parent();
    }
    QStringList actionNames() const override
    {
        return pressable() ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& action) override
    {
        if (action == pressAction() && pressable())
            clickAsThePlayer(*widget());
    }

private:
    bool pressable() const
    {
        const Spoken spoken = describe(*widget());
        return spoken.pressable && spoken.shown && widget()->isEnabled();
    }
};

// The table itself: the controls that are read or used and shown, nothing that only draws.
class TableInterface : public QAccessibleWidget
{
public:
    TableInterface(QWidget* client, const Form1& form)
        : QAccessibleWidget(client, QAccessible::Pane), form_(form)
    {
    }

    int childCount() const override { return static_cast<int>(heardOnTable(form_).size()); }
    QAccessibleInterface* child(int index) const override
    {
        const auto heard = heardOnTable(form_);
        if (index < 0 || index >= static_cast<int>(heard.size()))
            return nullptr;
        return QAccessible::queryAccessibleInterface(heard[std::size_t(index)].first);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const auto heard = heardOnTable(form_);
        for (std::size_t i = 0; child && i < heard.size(); ++i) {
            if (child->object() == heard[i].first)
                return static_cast<int>(i);
        }
        return -1;
    }
    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name ? QStringLiteral("Mesa") : QAccessibleWidget::text(kind);
    }

private:
    const Form1& form_;
};

QAccessibleInterface* interfaceFor(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    const Form1* form = tableOf(*widget);
    if (form && widget == form->centralWidget())
        return new TableInterface(widget, *form);
    const bool onTable = form && (dynamic_cast<Label*>(widget) || dynamic_cast<Shape*>(widget));
    if (onTable || qobject_cast<Picture*>(widget) || dynamic_cast<Button*>(widget))
        return new ControlInterface(widget);
    return nullptr;
}

} // namespace

Spoken describe(const QWidget& control)
{
    if (const Form1* form = tableOf(control))
        return describeOnTable(*form, control, chainFromEndToEnd(*form));
    if (auto button = describeButton(control))
        return *button;
    return describeElsewhere(control);
}

std::vector<std::pair<QWidget*, Spoken>> heardOnTable(const Form1& table)
{
    const auto chain = chainFromEndToEnd(table);
    std::vector<std::pair<QWidget*, Spoken>> heard;
    for (QWidget* control : spokenControls(table, chain)) {
        Spoken spoken = describeOnTable(table, *control, chain);
        if (spoken.shown && !spoken.name.isEmpty())
            heard.emplace_back(control, std::move(spoken));
    }
    return heard;
}

void install(Form1& table)
{
    static const bool installed = [] {
        QAccessible::installFactory(interfaceFor);
        return true;
    }();
    Q_UNUSED(installed);
    new Announcer(table);
}

} // namespace accessibility
