#pragma once

#include <QAccessible>
#include <QString>

class QWidget;

// What a screen reader says about the table. Names are worked out from what the controls show
// at the moment they are asked for, so they follow the game without any handler having to
// announce its changes; the pieces that only draw (the lower halves, the dividers, the face-down
// rectangles, the cloth) are left out of the table's tree.
namespace accessibility
{

struct Spoken {
    QAccessible::Role role = QAccessible::NoRole;
    QString name;
    bool shown = false;
    bool pressable = false;
    bool selected = false;
};

// How one control of the table or the about box is spoken.
Spoken describe(const QWidget& control);

// Puts the table's descriptions in place of the toolkit's own; once per program.
void install();

} // namespace accessibility
