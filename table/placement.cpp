#include "table/placement.h"

#include <QEvent>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <functional>

namespace placement
{

namespace
{

// The window with the frame that the window system reports now; the toolkit's own figure for a
// widget lags until the window next moves, which a frame drawn round it need not make it do.
QRect frameOf(const QWidget& window)
{
    const QWindow* handle = window.windowHandle();
    return handle ? window.geometry().marginsAdded(handle->frameMargins()) : window.geometry();
}

// Watches a window and whatever it is centred on; it lives as long as the window.
class Centring : public QObject
{
public:
    Centring(QWidget& window, QWidget* anchor, std::function<QRect()> area)
        : QObject(&window), window_(window), area_(std::move(area))
    {
        window.installEventFilter(this);
        if (anchor)
            anchor->installEventFilter(this);
    }

    void centre()
    {
        lastFrame_ = frameOf(window_);
        lastArea_ = area_();
        QRect frame = lastFrame_;
        frame.moveCenter(lastArea_.center());
        // Placed by its inside, which means the same with or without a frame known.
        window_.setGeometry(window_.geometry().translated(frame.topLeft() - lastFrame_.topLeft()));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Show:
            if (watched == &window_) {
                window_.windowHandle()->installEventFilter(this);
                centre();
            }
            break;
        case QEvent::Expose:
        case QEvent::Move:
        case QEvent::Resize:
            // A move that changes neither the frame's size nor the area is the player's own.
            if (window_.isVisible() &&
                (frameOf(window_).size() != lastFrame_.size() || area_() != lastArea_))
                centre();
            break;
        default:
            break;
        }
        return false;
    }

private:
    QWidget& window_;
    std::function<QRect()> area_;
    QRect lastFrame_;
    QRect lastArea_;
};

} // namespace

void keepCentredOnScreen(QWidget& window)
{
    auto* centring =
        new Centring(window, nullptr, [&window] { return window.screen()->availableGeometry(); });
    centring->centre();
}

void keepCentredOnOwner(QWidget& dialog)
{
    QWidget* owner = dialog.parentWidget();
    new Centring(dialog, owner, [owner] { return frameOf(*owner); });
}

} // namespace placement
