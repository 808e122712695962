#include "table/messagebox.h"

#include <QMessageBox>

namespace msgbox
{

namespace
{
QMessageBox::Icon iconOf(Style style)
{
    switch (style) {
    case vbQuestionOKCancel:
        return QMessageBox::Question;
    case vbExclamation:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    case vbOKOnly:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

Answer MsgBox(QWidget* owner, const QString& prompt, Style style)
{
    const auto buttons =
        style == vbQuestionOKCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok;
    QMessageBox box(iconOf(style), kTitle, prompt, buttons, owner);
    return box.exec() == QMessageBox::Ok ? vbOK : vbCancel;
}

} // namespace msgbox
