#include "table/chainlayout.h"

namespace chain
{

namespace
{
constexpr Int16 kLeftMargin = 1565;
constexpr Int16 kRightMargin = 2080;
constexpr Int16 kHalf = 360;
constexpr Int16 kSeamOffset = 180;
constexpr Int16 kTileLength = 720;

Layout chooseLayout(EndState& end, Int16 endIndex, bool isDouble, const Limits& limits)
{
    if (end.x >= limits.left && end.x <= limits.right)
        return isDouble ? Layout::Crosswise : Layout::InLine;
    if (end.corner == 1) {
        end.dir = static_cast<Int16>(-end.dir);
        end.corner = 0;
        return Layout::InLine;
    }
    return endIndex == 1 ? Layout::CornerUp : Layout::CornerDown;
}
} // namespace

Limits limitsOf(Int16 clothLeft, Int16 clothWidth, double halfWidth)
{
    return {static_cast<Int16>(clothLeft + kLeftMargin),
            static_cast<Int16>(clothLeft + clothWidth - kRightMargin), halfWidth};
}

EndState openingEnd(Int16 endIndex, Int16 anchorLeft, Int16 anchorTop)
{
    // Both rows start level with the seam of the upright double six.
    const Int16 dir = endIndex == 1 ? Int16(-1) : Int16(1);
    return {static_cast<Int16>(anchorLeft + dir * kHalf),
            static_cast<Int16>(anchorTop + kSeamOffset), dir, 0};
}

Placement place(const EndState& end, Int16 endIndex, bool isDouble, const Limits& limits)
{
    EndState next = end;
    const Layout layout = chooseLayout(next, endIndex, isDouble, limits);
    const Int16 x = next.x;
    const Int16 y = next.y;
    const Int16 d = next.dir;
    switch (layout) {
    case Layout::InLine:
        next.x = static_cast<Int16>(x + d * kTileLength);
        return {layout,
                {double(x), double(y)},
                {x + d * limits.halfWidth, double(y)},
                {double(x + d * kSeamOffset), double(y)},
                next};
    case Layout::Crosswise:
        next.x = static_cast<Int16>(x + d * kHalf);
        return {layout,
                {double(x), double(y - kSeamOffset)},
                {double(x), double(y + kSeamOffset)},
                {double(x), double(y)},
                next};
    case Layout::CornerDown:
        next.y = static_cast<Int16>(y + kTileLength);
        ++next.corner;
        return {layout,
                {double(x), double(y)},
                {double(x), double(y + kHalf)},
                {double(x), double(y + kSeamOffset)},
                next};
    case Layout::CornerUp:
        next.y = static_cast<Int16>(y - kTileLength);
        ++next.corner;
        return {layout,
                {double(x), double(y)},
                {double(x), double(y - kHalf)},
                {double(x), double(y - kSeamOffset)},
                next};
    }
    return {};
}

} // namespace chain
