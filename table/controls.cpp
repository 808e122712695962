#include "table/controls.h"

#include "table/pictures.h"

#include <QMouseEvent>
#include <QPainter>

Label::Label(QWidget* parent) : Twipped<QLabel>(parent) {}

void Label::setBackColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
    setAutoFillBackground(true);
}

void Label::setForeColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

void Label::setSingleBorder()
{
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
}

Picture::Picture(QWidget* parent) : Twipped<QWidget>(parent) {}

void Picture::setPicture(const QString& source)
{
    source_ = source;
    update();
}

void Picture::setStretch(bool stretch)
{
    stretch_ = stretch;
    update();
}

void Picture::copyTemplate(const Picture& original)
{
    source_ = original.source_;
    stretch_ = original.stretch_;
    Move(original.Left(), original.Top(), original.Width(), original.Height());
}

void Picture::paintEvent(QPaintEvent*)
{
    if (source_.isEmpty())
        return;
    const QSize size =
        stretch_ ? this->size() : QSize(pictures::kDesignPixels, pictures::kDesignPixels);
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), pictures::render(source_, size, devicePixelRatioF()));
}

void Picture::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void Picture::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

Shape::Shape(QWidget* parent) : Twipped<QWidget>(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::setBorder(const QColor& color, int widthInPixels)
{
    border_ = color;
    borderWidth_ = widthInPixels;
    update();
}

void Shape::setFill(const QColor& color)
{
    fill_ = color;
    update();
}

void Shape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), fill_);
    // The border is drawn inside the shape's bounds, so its width never spills onto neighbours.
    const qreal half = borderWidth_ / 2.0;
    painter.setPen(QPen(border_, borderWidth_, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(QRectF(rect()).adjusted(half, half, -half, -half));
}

Button::Button(QWidget* parent) : Twipped<QPushButton>(parent) {}

void Button::hideEvent(QHideEvent* event)
{
    // A hidden button takes no clicks, not even from the space bar: the toolkit leaves the focus
    // on it when nothing else on the table can take it.
    if (hasFocus())
        clearFocus();
    Twipped<QPushButton>::hideEvent(event);
}
