#pragma once

#include <QFont>
#include <QStringList>

// The design's fonts, each followed by Liberation Sans, which keeps the design's widths where the
// originals are not installed.
namespace fonts
{

inline QFont designFont(const QStringList& families, qreal points, int weight)
{
    QFont font;
    font.setFamilies(families + QStringList{QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}

inline QFont sansSerif(qreal points, bool bold = false)
{
    return designFont({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial")}, points,
                      bold ? QFont::Bold : QFont::Normal);
}

inline QFont arial(qreal points)
{
    return designFont({QStringLiteral("Arial")}, points, QFont::Normal);
}

inline QFont arialBlack(qreal points)
{
    return designFont({QStringLiteral("Arial Black")}, points, QFont::Black);
}

// The window's default text, as the design's controls inherit it.
constexpr qreal kDefaultPoints = 8.25;

} // namespace fonts
