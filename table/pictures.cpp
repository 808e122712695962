#include "table/pictures.h"

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>
#include <cmath>

namespace pictures
{

namespace
{
// The hand cursor is a 32 pixel design whose finger tip is the hot spot.
constexpr int kCursorPixels = 32;
constexpr QPoint kCursorHotSpot(11, 1);
} // namespace

QString face(int pips)
{
    return QStringLiteral(":/pictures/face%1.svg").arg(pips);
}

QPixmap render(const QString& source, QSize logicalSize, qreal devicePixelRatio)
{
    const QSize deviceSize(static_cast<int>(std::ceil(logicalSize.width() * devicePixelRatio)),
                           static_cast<int>(std::ceil(logicalSize.height() * devicePixelRatio)));
    const QString key =
        QStringLiteral("%1@%2x%3").arg(source).arg(deviceSize.width()).arg(deviceSize.height());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;

    QImage image(deviceSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(source);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

QIcon windowIcon()
{
    return QIcon(kIcon);
}

QCursor handCursor(qreal devicePixelRatio)
{
    return QCursor(render(kHandCursor, QSize(kCursorPixels, kCursorPixels), devicePixelRatio),
                   kCursorHotSpot.x(), kCursorHotSpot.y());
}

} // namespace pictures
