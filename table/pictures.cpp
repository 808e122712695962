#include "table/pictures.h"

#include <QCursor>
#include <QIcon>
#include <QIconEngine>
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
// The window icon is a 32 pixel design.
constexpr int kIconPixels = 32;
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

namespace
{

// An icon drawn from one of our pictures at whatever size is asked. The toolkit's own SVG icons
// come through a plugin that is looked up and loaded first, and give the window system four
// sizes, up to 128 pixels, to draw before the first window shows; this one gives it the design's
// one size.
class PictureIcon : public QIconEngine
{
public:
    explicit PictureIcon(QString source) : source_(std::move(source)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        painter->drawPixmap(rect,
                            render(source_, rect.size(), painter->device()->devicePixelRatioF()));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        return render(source_, size, 1.0);
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {QSize(kIconPixels, kIconPixels)};
    }
    QIconEngine* clone() const override { return new PictureIcon(source_); }
    QString key() const override { return QStringLiteral("lozetta-picture"); }

private:
    QString source_;
};

} // namespace

QIcon icon(const QString& source)
{
    return QIcon(new PictureIcon(source));
}

QCursor handCursor(qreal devicePixelRatio)
{
    return QCursor(render(kHandCursor, QSize(kCursorPixels, kCursorPixels), devicePixelRatio),
                   kCursorHotSpot.x(), kCursorHotSpot.y());
}

} // namespace pictures
