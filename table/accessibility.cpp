#include "table/accessibility.h"

#include "table/form1.h"
#include "table/pictures.h"

#include <QAccessibleWidget>
#include <utility>
#include <vector>

namespace accessibility
{

namespace
{

constexpr int kHandHalves = 2 * rules::kSlots;

int pipsShown(const Picture& half)
{
    for (int pips = 0; pips <= 6; ++pips) {
        if (half.picture() == pictures::face(pips))
            return pips;
    }
    return -1;
}

QString tileName(const Picture& first, const Picture& second)
{
    return QStringLiteral("Ficha %1/%2").arg(pipsShown(first)).arg(pipsShown(second));
}

const Form1* tableOf(const QWidget& control)
{
    return qobject_cast<const Form1*>(control.window());
}

// The tiles on the table as pairs of halves, in the order they were laid: the faces among the
// table's pictures come two by two, the dividers between them.
std::vector<std::pair<Picture*, Picture*>> tilesOnTable(const Form1& form)
{
    std::vector<Picture*> halves;
    for (int i = 1; i < form.Image3.Count(); ++i) {
        if (pipsShown(*form.Image3(i)) >= 0)
            halves.push_back(form.Image3(i));
    }
    std::vector<std::pair<Picture*, Picture*>> tiles;
    for (std::size_t i = 0; i + 1 < halves.size(); i += 2)
        tiles.emplace_back(halves[i], halves[i + 1]);
    return tiles;
}

// The controls of the table a player reads or uses, in reading order.
std::vector<QWidget*> spokenControls(const Form1& form)
{
    std::vector<QWidget*> controls;
    for (int i = 0; i < rules::kSeats; ++i)
        controls.push_back(form.Label3(i));
    for (int i = 0; i < rules::kSeats; ++i)
        controls.push_back(form.Label7(i));
    for (const auto& tile : tilesOnTable(form))
        controls.push_back(tile.first);
    controls.push_back(form.Image4(0));
    controls.push_back(form.Image4(1));
    controls.push_back(form.Shape3);
    for (int i = 0; i < kHandHalves; i += 2)
        controls.push_back(form.Image2(i));
    controls.push_back(form.Label5);
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
    if (seat == rules::kHumanSeat)
        return name;
    const int faceDown = faceDownTiles(form, seat);
    if (faceDown == 0)
        return name;
    return faceDown == 1 ? QStringLiteral("%1, 1 ficha boca abajo").arg(name)
                         : QStringLiteral("%1, %2 fichas boca abajo").arg(name).arg(faceDown);
}

QString markerName(const Form1& form, int i)
{
    const Picture& marker = *form.Image4(i);
    const QString colour = marker.picture() == pictures::kMarkerGreen ? QStringLiteral("verde")
                                                                      : QStringLiteral("cian");
    QString name = QStringLiteral("Extremo %1, cruz %2").arg(i + 1).arg(colour);
    // Before the opening tile there is no end to match yet.
    if (!tilesOnTable(form).empty())
        name += QStringLiteral(", abierto al %1").arg(form.chainEnds[i + 1]);
    return name;
}

int selectedUpperHalf(const Form1& form)
{
    return form.selectedHandImage - form.selectedHandImage % 2;
}

Spoken describeOnTable(const Form1& form, const QWidget& control)
{
    Spoken spoken;
    spoken.shown = control.isVisible();
    for (int i = 0; i < rules::kSeats; ++i) {
        if (&control == form.Label3(i)) {
            spoken.role = QAccessible::StaticText;
            spoken.name = QStringLiteral("Marcador, %1: %2")
                              .arg(form.Label4(i)->Caption(), form.Label3(i)->Caption());
            return spoken;
        }
        if (&control == form.Label7(i)) {
            spoken.role = QAccessible::StaticText;
            spoken.name = seatName(form, i);
            return spoken;
        }
    }
    for (int i = 0; i <= 1; ++i) {
        if (&control == form.Image4(i)) {
            spoken.role = QAccessible::Button;
            spoken.name = markerName(form, i);
            spoken.pressable = true;
            return spoken;
        }
    }
    for (int i = 0; i < kHandHalves; i += 2) {
        if (&control == form.Image2(i)) {
            spoken.role = QAccessible::Button;
            spoken.name = tileName(*form.Image2(i), *form.Image2(i + 1));
            spoken.shown = spoken.shown && !form.Image2(i)->picture().isEmpty();
            spoken.pressable = true;
            spoken.selected = form.Shape3->Visible() && selectedUpperHalf(form) == i;
            return spoken;
        }
    }
    for (const auto& [first, second] : tilesOnTable(form)) {
        if (&control == first) {
            spoken.role = QAccessible::Graphic;
            spoken.name = tileName(*first, *second) + QStringLiteral(" en la mesa");
            return spoken;
        }
    }
    if (&control == form.Shape3) {
        const int upper = selectedUpperHalf(form);
        spoken.role = QAccessible::StaticText;
        spoken.name = QStringLiteral("Ficha seleccionada: %1/%2")
                          .arg(pipsShown(*form.Image2(upper)))
                          .arg(pipsShown(*form.Image2(upper + 1)));
        return spoken;
    }
    if (&control == form.Label5) {
        spoken.role = QAccessible::StaticText;
        spoken.name = form.Label5->Caption();
        return spoken;
    }
    // Everything else only draws: it says nothing.
    spoken.role = QAccessible::Graphic;
    return spoken;
}

// A control of the table or of the about box, spoken as the player sees it.
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
        const Spoken spoken = describe(*widget());
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = !spoken.shown;
        state.selectable = spoken.pressable && spoken.role == QAccessible::Button;
        state.selected = spoken.selected;
        return state;
    }
    QStringList actionNames() const override
    {
        return describe(*widget()).pressable ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& action) override
    {
        auto* picture = qobject_cast<Picture*>(widget());
        if (picture && action == pressAction() && describe(*picture).pressable)
            emit picture->clicked();
    }
};

// The table itself: only the controls that are read or used, not the pieces that draw them.
class TableInterface : public QAccessibleWidget
{
public:
    TableInterface(QWidget* surface, const Form1& form)
        : QAccessibleWidget(surface, QAccessible::Pane), form_(form)
    {
    }

    int childCount() const override { return static_cast<int>(spokenControls(form_).size()); }
    QAccessibleInterface* child(int index) const override
    {
        const auto controls = spokenControls(form_);
        if (index < 0 || index >= static_cast<int>(controls.size()))
            return nullptr;
        return QAccessible::queryAccessibleInterface(controls[static_cast<std::size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const auto controls = spokenControls(form_);
        for (std::size_t i = 0; i < controls.size(); ++i) {
            if (child && child->object() == controls[i])
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
    if (form && widget == form->Label1->parentWidget())
        return new TableInterface(widget, *form);
    const bool onTable = form && (dynamic_cast<Label*>(widget) || dynamic_cast<Shape*>(widget));
    if (onTable || qobject_cast<Picture*>(widget))
        return new ControlInterface(widget);
    return nullptr;
}

} // namespace

Spoken describe(const QWidget& control)
{
    if (const Form1* form = tableOf(control))
        return describeOnTable(*form, control);
    Spoken spoken;
    spoken.role = QAccessible::Graphic;
    spoken.shown = control.isVisible();
    if (const auto* picture = qobject_cast<const Picture*>(&control)) {
        if (picture->picture() == pictures::kLogo)
            spoken.name = QStringLiteral("Logotipo de Lozetta");
        else if (picture->picture() == pictures::kIcon)
            spoken.name = QStringLiteral("Icono de Lozetta");
    }
    return spoken;
}

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(interfaceFor);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace accessibility
