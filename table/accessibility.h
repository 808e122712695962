#pragma once

#include <QAccessible>
#include <QString>
#include <utility>
#include <vector>

class Form1;
class QWidget;

// What a screen reader says about the table. Names are worked out from what the controls show
// at the moment they are asked for; the pieces that only draw (the lower halves, the dividers,
// the face-down rectangles, the cloth) are left out of the table's tree, and so is every control
// that is not shown.
namespace accessibility
{

struct Spoken {
    QAccessible::Role role = QAccessible::NoRole;
    QString name;
    bool shown = false;
    bool pressable = false;
};

// How one control of the table or the about box is spoken.
Spoken describe(const QWidget& control);

// The controls of the table that a player hears now, in reading order, with what is said.
std::vector<std::pair<QWidget*, Spoken>> heardOnTable(const Form1& table);

// Puts the table's descriptions in place of the toolkit's own, before the table makes any of its
// controls, and has the table's changes announced to screen readers.
void install(Form1& table);

} // namespace accessibility
