// libFuzzer: the options dialog's lenient reading of a typed target, against a second reading
// written apart from it (a pattern for the number at the start, the C library for its value).
// Any crash, undefined behaviour or disagreement stops the run.
#include "options/targetreading.h"

#include <QString>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <regex>

namespace
{

std::optional<Int16> secondReading(const std::string& text)
{
    static const std::regex number(R"(^[ \t\r\n]*([+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?))");
    std::smatch found;
    const double value =
        std::regex_search(text, found, number) ? std::strtod(found[1].str().c_str(), nullptr) : 0.0;
    const double whole = std::nearbyint(value);
    if (!(whole >= -32768 && whole <= 32767))
        return std::nullopt;
    return Int16(whole);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto game = options::roundToInt16(options::readNumber(text));
    const auto second = secondReading(text.toStdString());
    if (game != second) {
        std::fprintf(stderr, "the readings disagree on \"%s\": %d against %d\n", qPrintable(text),
                     game.value_or(-1), second.value_or(-1));
        std::abort();
    }
    return 0;
}
