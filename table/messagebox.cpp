#include "table/messagebox.h"

#include "table/pictures.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QProxyStyle>
#include <QStyleFactory>

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

// The toolkit's message icons are small bitmaps that blur on a scaled screen; ours are SVG and
// drawn at the screen's own resolution. Everything else is the application's style.
class MessageIcons : public QProxyStyle
{
public:
    MessageIcons() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override
    {
        switch (which) {
        case SP_MessageBoxInformation:
            return pictures::icon(pictures::kMessageInformation);
        case SP_MessageBoxWarning:
            return pictures::icon(pictures::kMessageWarning);
        case SP_MessageBoxQuestion:
            return pictures::icon(pictures::kMessageQuestion);
        case SP_DialogOkButton:
        case SP_DialogCancelButton:
            // Not drawn on the buttons; looking them up in the desktop's icon theme would load
            // every image reader for nothing.
            return {};
        default:
            return QProxyStyle::standardIcon(which, option, widget);
        }
    }
};
} // namespace

Answer MsgBox(QWidget* owner, const QString& prompt, Style style)
{
    const auto buttons =
        style == vbQuestionOKCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok;
    // Declared first, so that it outlives the box that uses it.
    MessageIcons icons;
    QMessageBox box(QMessageBox::NoIcon, kTitle, prompt, QMessageBox::NoButton, owner);
    box.setStyle(&icons);
    // The buttons ask their own row's style for icons as they are made; a style reaches no child.
    if (auto* row = box.findChild<QDialogButtonBox*>())
        row->setStyle(&icons);
    box.setStandardButtons(buttons);
    box.setIcon(iconOf(style));
    return box.exec() == QMessageBox::Ok ? vbOK : vbCancel;
}

} // namespace msgbox
