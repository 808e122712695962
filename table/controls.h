#pragma once

#include "table/twips.h"
#include "table/vbtypes.h"

#include <QColor>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <cmath>

// Adds the game's own geometry, in twips, to a widget. The twips are kept exactly; the widget
// only ever sees their conversion to pixels.
template <class Base> class Twipped : public Base
{
public:
    using Base::Base;

    Int16 Left() const { return left_; }
    Int16 Top() const { return top_; }
    Int16 Width() const { return width_; }
    Int16 Height() const { return height_; }

    void Move(double left, double top) { Move(left, top, width_, height_); }
    void Move(double left, double top, double width, double height)
    {
        left_ = toWhole(left);
        top_ = toWhole(top);
        width_ = toWhole(width);
        height_ = toWhole(height);
        Base::setGeometry(twips::toPixels(QRectF(left_, top_, width_, height_)));
    }
    void ZOrder() { this->raise(); }
    // Whether the control itself is shown, whatever its window is doing.
    bool Visible() const { return !this->isHidden(); }
    void Move(const QPointF& spot) { Move(spot.x(), spot.y()); }

private:
    // Whole twips, half to even, as every position of the game is rounded.
    static Int16 toWhole(double value) { return static_cast<Int16>(std::nearbyint(value)); }

    Int16 left_ = 0;
    Int16 top_ = 0;
    Int16 width_ = 0;
    Int16 height_ = 0;
};

class Label : public Twipped<QLabel>
{
public:
    explicit Label(QWidget* parent);

    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }
    void setBackColor(const QColor& color);
    void setForeColor(const QColor& color);
    void setSingleBorder();
};

// A picture control: shows an SVG picture, either at its natural size or stretched to the
// control, always rendered at the screen's own resolution.
class Picture : public Twipped<QWidget>
{
    Q_OBJECT
public:
    explicit Picture(QWidget* parent);

    const QString& picture() const { return source_; }
    void setPicture(const QString& source);
    void setStretch(bool stretch);
    // A loaded element of a control array starts as a copy of element 0.
    void copyTemplate(const Picture& original);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString source_;
    bool stretch_ = false;
};

// A shape control: a plain rectangle that never takes the mouse, as it was drawn on the table.
class Shape : public Twipped<QWidget>
{
public:
    explicit Shape(QWidget* parent);

    void setBorder(const QColor& color, int widthInPixels);
    void setFill(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor border_ = Qt::black;
    int borderWidth_ = 1;
    QColor fill_ = Qt::transparent;
};

class Button : public Twipped<QPushButton>
{
public:
    explicit Button(QWidget* parent);

    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }

protected:
    void hideEvent(QHideEvent* event) override;
};
