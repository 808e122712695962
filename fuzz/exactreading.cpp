#include "exactreading.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <string>

namespace exact
{

namespace
{

// Beyond this an exponent changes nothing: the number is out of range or rounds to zero.
constexpr std::int64_t kExponentCap = 1'000'000'000;
// 0.d × 10^6 is at least 100000, too large for 16 bits whatever the digits.
constexpr std::int64_t kMostWholeDigits = 5;
// 0.d × 10^-20 is far below one half.
constexpr std::int64_t kMostLeadingPlaces = 20;
// A double carries 53 significant bits.
constexpr int kSignificantBits = 53;

enum class State {
    Blanks,
    Sign,
    Whole,
    Point,
    Fraction,
    ExponentMark,
    ExponentSign,
    ExponentDigits
};

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Walks the text one character at a time; step() says whether the number goes on.
struct Scanner {
    State state = State::Blanks;
    bool negative = false;
    std::string digits; // every digit before the exponent, in order
    std::int64_t wholeDigits = 0;
    bool exponentNegative = false;
    std::int64_t exponentValue = 0;

    bool step(char16_t c)
    {
        switch (state) {
        case State::Blanks:
            if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n')
                return true;
            if (c == u'+' || c == u'-') {
                negative = c == u'-';
                state = State::Sign;
                return true;
            }
            [[fallthrough]];
        case State::Sign:
        case State::Whole:
            if (isDigit(c)) {
                digits += static_cast<char>(c);
                ++wholeDigits;
                state = State::Whole;
                return true;
            }
            if (c == u'.') {
                state = State::Point;
                return true;
            }
            if (state == State::Whole && (c == u'e' || c == u'E')) {
                state = State::ExponentMark;
                return true;
            }
            return false;
        case State::Point:
        case State::Fraction:
            if (isDigit(c)) {
                digits += static_cast<char>(c);
                state = State::Fraction;
                return true;
            }
            if ((c == u'e' || c == u'E') && !digits.empty()) {
                state = State::ExponentMark;
                return true;
            }
            return false;
        case State::ExponentMark:
            if (c == u'+' || c == u'-') {
                exponentNegative = c == u'-';
                state = State::ExponentSign;
                return true;
            }
            [[fallthrough]];
        case State::ExponentSign:
        case State::ExponentDigits:
            if (isDigit(c)) {
                exponentValue = std::min(kExponentCap, exponentValue * 10 + (c - u'0'));
                state = State::ExponentDigits;
                return true;
            }
            return false;
        }
        return false;
    }

    // A mark without digits after it is no exponent.
    std::int64_t exponent() const
    {
        if (state != State::ExponentDigits)
            return 0;
        return exponentNegative ? -exponentValue : exponentValue;
    }
};

// Decimal fractions are the digits after the point, most significant first.
int compareFractions(const std::string& a, const std::string& b)
{
    const std::size_t length = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < length; ++i) {
        const char x = i < a.size() ? a[i] : '0';
        const char y = i < b.size() ? b[i] : '0';
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

// a - b, for a at least b.
std::string subtractFractions(const std::string& a, const std::string& b)
{
    const std::size_t length = std::max(a.size(), b.size());
    std::string difference(length, '0');
    int borrow = 0;
    for (std::size_t i = length; i-- > 0;) {
        int digit = (i < a.size() ? a[i] - '0' : 0) - (i < b.size() ? b[i] - '0' : 0) - borrow;
        borrow = digit < 0 ? 1 : 0;
        difference[i] = static_cast<char>('0' + digit + 10 * borrow);
    }
    return difference;
}

// 2^-n written out: 5^n over 10^n, so n places holding the digits of 5^n.
std::string halfToThe(int n)
{
    std::string power = "1"; // most significant digit first
    for (int i = 0; i < n; ++i) {
        int carry = 0;
        for (std::size_t j = power.size(); j-- > 0;) {
            const int product = (power[j] - '0') * 5 + carry;
            power[j] = static_cast<char>('0' + product % 10);
            carry = product / 10;
        }
        if (carry > 0)
            power.insert(power.begin(), static_cast<char>('0' + carry));
    }
    return std::string(static_cast<std::size_t>(n) - power.size(), '0') + power;
}

// The game reads the text into a double and rounds that, a half to even. Reading into a double
// moves the number by at most half a unit in its last place; that only matters where it lands a
// number on a half, which every double this close to one is. So: the nearest whole number to
// whole.fraction, except that a fraction within half a unit of .5 counts as .5 exactly.
std::int64_t roundedAsTheGameReadsIt(std::int64_t whole, const std::string& fraction)
{
    const std::string half = "5";
    const int order = compareFractions(fraction, half);
    bool onHalf = order == 0;
    if (!onHalf) {
        const std::string distance =
            order > 0 ? subtractFractions(fraction, half) : subtractFractions(half, fraction);
        // Half a unit in the last place of whole + 0.5, from its binary exponent; below 0.5 the
        // doubles lie twice as close.
        int places = 0;
        if (whole == 0)
            places = order > 0 ? kSignificantBits + 1 : kSignificantBits + 2;
        else
            places = kSignificantBits + 1 -
                     static_cast<int>(std::bit_width(static_cast<std::uint64_t>(whole)));
        onHalf = compareFractions(distance, halfToThe(places)) <= 0;
    }
    if (onHalf)
        return whole % 2 == 0 ? whole : whole + 1;
    return order < 0 ? whole : whole + 1;
}

} // namespace

std::optional<std::int16_t> target(std::u16string_view text)
{
    Scanner scanner;
    for (const char16_t c : text) {
        if (!scanner.step(c))
            break;
    }
    const std::string& digits = scanner.digits;
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return 0;
    const std::size_t last = digits.find_last_not_of('0');
    const std::string significant = digits.substr(first, last - first + 1);

    // The number is 0.significant × 10^point.
    const std::int64_t point =
        scanner.wholeDigits - static_cast<std::int64_t>(first) + scanner.exponent();
    if (point > kMostWholeDigits)
        return std::nullopt;
    if (point < -kMostLeadingPlaces)
        return 0;

    std::int64_t whole = 0;
    std::string fraction;
    if (point >= 0) {
        const auto places = static_cast<std::size_t>(point);
        for (std::size_t i = 0; i < places; ++i)
            whole = whole * 10 + (i < significant.size() ? significant[i] - '0' : 0);
        if (places < significant.size())
            fraction = significant.substr(places);
    } else {
        fraction = std::string(static_cast<std::size_t>(-point), '0') + significant;
    }

    const std::int64_t magnitude = roundedAsTheGameReadsIt(whole, fraction);
    const std::int64_t value = scanner.negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

} // namespace exact
