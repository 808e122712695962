// libFuzzer: the options dialog's lenient reading of a typed target, against a second reading
// written apart from it. Any crash, undefined behaviour or disagreement stops the run.
#include "exactreading.h"
#include "options/targetreading.h"

#include <QString>
#include <cstdio>
#include <cstdlib>

namespace
{

QString describe(const std::optional<Int16>& target)
{
    return target ? QString::number(*target) : QStringLiteral("out of range");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<Int16> game = options::roundToInt16(options::readNumber(text));
    const std::optional<std::int16_t> reference = exact::target(std::u16string_view(
        reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
    if (game != reference) {
        std::fprintf(stderr,
                     "the readings disagree on \"%s\": the game takes %s, the exact "
                     "reading %s\n",
                     qPrintable(text), qPrintable(describe(game)), qPrintable(describe(reference)));
        std::abort();
    }
    return 0;
}
