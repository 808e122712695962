#pragma once

#include <QRect>
#include <QRectF>
#include <cmath>
#include <cstdint>

// The game measures everything in twips, as the table was designed; the toolkit measures in
// device-independent pixels. This is the one place where the two meet.
namespace twips
{

constexpr int kPerPixel = 15;

inline int toPixels(double value)
{
    return static_cast<int>(std::lround(value / kPerPixel));
}

inline QRect toPixels(const QRectF& rect)
{
    return {toPixels(rect.left()), toPixels(rect.top()), toPixels(rect.width()),
            toPixels(rect.height())};
}

inline std::int16_t fromPixels(int pixels)
{
    return static_cast<std::int16_t>(pixels * kPerPixel);
}

} // namespace twips
