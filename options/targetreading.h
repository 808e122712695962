#pragma once

#include "table/vbtypes.h"

#include <QStringView>
#include <optional>

namespace options
{

// Reads a number the lenient way: leading blanks skipped, reading stops at the first character
// that cannot continue a number, and a text that does not begin with one reads as 0.
double readNumber(QStringView text);

// The nearest 16-bit integer, a half going to the even neighbour; none if it does not fit.
std::optional<Int16> roundToInt16(double value);

} // namespace options
