#pragma once

#include "table/vbtypes.h"

#include <QString>

class QWidget;

// The four kinds of message the game shows: modal, titled with the program's name.
namespace msgbox
{

enum Style : Int16 {
    vbOKOnly = 0,
    vbQuestionOKCancel = 33,
    vbExclamation = 48,
    vbInformation = 64,
};

enum Answer : Int16 {
    vbOK = 1,
    vbCancel = 2,
};

inline const QString kTitle = QStringLiteral("Lozetta");

Answer MsgBox(QWidget* owner, const QString& prompt, Style style);

} // namespace msgbox
