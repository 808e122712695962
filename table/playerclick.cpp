#include "table/playerclick.h"

#include <QWidget>
#include <QWindow>
#include <optional>
#include <qpa/qwindowsysteminterface.h>

namespace accessibility
{

namespace
{

// Fine enough for the narrowest strip of a control left uncovered by its neighbours.
constexpr int kSearchStep = 2;

bool onTop(const QWidget& control, QPoint spot)
{
    const QWidget* window = control.window();
    return window->childAt(control.mapTo(window, spot)) == &control;
}

// The middle when nothing covers it, else the first uncovered spot from the top left.
std::optional<QPoint> spotOnTop(const QWidget& control)
{
    const QPoint middle = control.rect().center();
    if (onTop(control, middle))
        return middle;
    for (int y = 0; y < control.height(); y += kSearchStep) {
        for (int x = 0; x < control.width(); x += kSearchStep) {
            if (onTop(control, {x, y}))
                return QPoint(x, y);
        }
    }
    return std::nullopt;
}

} // namespace

void clickAsThePlayer(QWidget& control)
{
    QWindow* window = control.window()->windowHandle();
    if (!control.isVisible() || !window)
        return;
    const auto spot = spotOnTop(control);
    if (!spot)
        return;
    const QPointF local = control.mapTo(control.window(), *spot);
    const QPointF global = control.mapToGlobal(*spot);
    using Queue = QWindowSystemInterface::AsynchronousDelivery;
    QWindowSystemInterface::handleMouseEvent<Queue>(window, local, global, Qt::LeftButton,
                                                    Qt::LeftButton, QEvent::MouseButtonPress);
    QWindowSystemInterface::handleMouseEvent<Queue>(window, local, global, Qt::NoButton,
                                                    Qt::LeftButton, QEvent::MouseButtonRelease);
}

} // namespace accessibility
