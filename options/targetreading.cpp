#include "options/targetreading.h"

#include <QString>
#include <cmath>
#include <limits>
#include <string>

namespace options
{

namespace
{

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}
bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}
bool isSign(QChar c)
{
    return c == u'+' || c == u'-';
}

// Copies the digits from text[at] on, returning where they stop.
qsizetype takeDigits(QStringView text, qsizetype at, std::string& out)
{
    while (at < text.size() && isDigit(text[at]))
        out += static_cast<char>(text[at++].unicode());
    return at;
}

} // namespace

double readNumber(QStringView text)
{
    qsizetype at = 0;
    while (at < text.size() && isBlank(text[at]))
        ++at;

    std::string number;
    if (at < text.size() && isSign(text[at]))
        number += static_cast<char>(text[at++].unicode());
    const auto mantissaStart = number.size();
    at = takeDigits(text, at, number);
    if (at < text.size() && text[at] == u'.') {
        number += '.';
        at = takeDigits(text, at + 1, number);
    }
    if (number.find_first_of("0123456789", mantissaStart) == std::string::npos)
        return 0.0;

    // An exponent counts only when digits follow it.
    if (at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
        std::string exponent = "e";
        qsizetype next = at + 1;
        if (next < text.size() && isSign(text[next]))
            exponent += static_cast<char>(text[next++].unicode());
        if (takeDigits(text, next, exponent) > next)
            number += exponent;
    }
    // Always read with a decimal point, whatever the desktop's locale: the C library's reading
    // follows the locale that the toolkit takes from the desktop, where a comma may be the mark.
    // Too large a number reads as an infinity, too small a one as 0.
    return QString::fromLatin1(number.data(), static_cast<qsizetype>(number.size())).toDouble();
}

std::optional<Int16> roundToInt16(double value)
{
    const double whole = std::nearbyint(value);
    if (!(whole >= std::numeric_limits<Int16>::min() && whole <= std::numeric_limits<Int16>::max()))
        return std::nullopt;
    return static_cast<Int16>(whole);
}

} // namespace options
