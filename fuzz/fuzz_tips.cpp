// The tips file: its lines as splitTipLines finds them, each line as
// formatTip shows it, and stepTip from any stored tip number.

#include "FuzzCheck.h"
#include "shell/Tips.h"

#include <cstdint>
#include <cstring>
#include <limits>

using namespace vespin;
using namespace vespin::fuzz;

namespace {

bool blank(const QString &line)
{
    return line.trimmed().isEmpty();
}

void checkLines(const QByteArray &bytes, const QStringList &lines)
{
    const qsizetype nul = bytes.indexOf('\0');
    const QString text = QString::fromUtf8(nul < 0 ? bytes : bytes.left(nul));
    // A line per line break (CR LF being one), and one for text after the last.
    qsizetype breaks = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\n' || text.at(i) == u'\r') {
            ++breaks;
            if (text.at(i) == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        }
    }
    const bool tail = !text.isEmpty() && !text.endsWith(u'\n') && !text.endsWith(u'\r');
    FUZZ_CHECK(lines.size() == breaks + (tail ? 1 : 0),
               QStringLiteral("%1 lines for %2 breaks").arg(lines.size()).arg(breaks));
    QString joined;
    for (const QString &line : lines) {
        FUZZ_CHECK(!line.contains(u'\n') && !line.contains(u'\r'), shown(line));
        joined += line;
    }
    QString unbroken = text;
    unbroken.remove(u'\r').remove(u'\n');
    FUZZ_CHECK(joined == unbroken, QStringLiteral("the lines lose or gain text"));
}

void checkFormat(const QString &line, bool fromFile)
{
    const Tip tip = formatTip(line);
    static const QStringList titles{QString(),
                                    QStringLiteral("Today's tip..."),
                                    QStringLiteral("Did you know..."),
                                    QStringLiteral("Today's quote..."),
                                    QStringLiteral("Today's joke..."),
                                    QStringLiteral("Today's message..."),
                                    QStringLiteral("Today's question...")};
    FUZZ_CHECK(titles.contains(tip.title), shown(tip.title));
    FUZZ_CHECK(tip.title.isEmpty() == (line.isEmpty() || !QStringLiteral("^?'!#+").contains(line.front())),
               QStringLiteral("title %1 for %2").arg(shown(tip.title), shown(line)));
    // Each character of the text stands for at least one of the line's,
    // after the first, and at most 255 of them are used.
    FUZZ_CHECK(tip.text.size() <= std::min<qsizetype>(255, std::max<qsizetype>(0, line.size() - 1)),
               QStringLiteral("%1 characters from %2").arg(tip.text.size()).arg(line.size()));
    if (fromFile) {
        FUZZ_CHECK(tip.text.count(u'\n') <= 5, QStringLiteral("%1 line breaks").arg(tip.text.count(u'\n')));
        FUZZ_CHECK(!wellFormed(line) || wellFormed(tip.text),
                   QStringLiteral("%1 shows as %2").arg(shown(line), shown(tip.text)));
    }
    // Without a percent sign the text is the line after its first
    // character, whole, up to the limit, which keeps no half character.
    const qsizetype first = line.size() > 1 && line.at(0).isHighSurrogate() && line.at(1).isLowSurrogate() ? 2 : 1;
    const QString rest = line.mid(first);
    if (!rest.left(255).contains(u'%')) {
        const bool whole = tip.text.size() == std::min<qsizetype>(rest.size(), 255)
            || (tip.text.size() == 254 && rest.at(254).isHighSurrogate());
        FUZZ_CHECK(rest.startsWith(tip.text) && whole, QStringLiteral("%1 shows as %2").arg(shown(line), shown(tip.text)));
    }
}

// The next line in the direction that is not blank, wrapping around, from a
// number inside the list.
std::optional<int> nextShown(const QStringList &lines, int current, bool forward)
{
    const int count = int(lines.size());
    for (int step = 1; step <= count; ++step) {
        const int number = ((current + (forward ? step : -step)) % count + count) % count;
        if (!blank(lines.at(number)))
            return number;
    }
    return std::nullopt;
}

void checkSteps(const QStringList &lines, int stored)
{
    bool anyShown = false;
    for (const QString &line : lines)
        anyShown = anyShown || !blank(line);
    const int count = int(lines.size());
    const int currents[] = {stored, 0, -1, count - 1, count, std::numeric_limits<int>::min(),
                            std::numeric_limits<int>::max()};
    for (const int current : currents) {
        for (const bool forward : {true, false}) {
            const std::optional<int> step = stepTip(lines, current, forward);
            FUZZ_CHECK(step.has_value() == anyShown, QStringLiteral("from %1 on %2 lines").arg(current).arg(count));
            if (!step)
                continue;
            FUZZ_CHECK(*step >= 0 && *step < count && !blank(lines.at(*step)),
                       QStringLiteral("from %1 to %2 of %3").arg(current).arg(*step).arg(count));
            if (current >= 0 && current < count)
                FUZZ_CHECK(step == nextShown(lines, current, forward),
                           QStringLiteral("from %1 to %2, not %3").arg(current).arg(*step).arg(*nextShown(lines, current, forward)));
            // Stepping on and back again returns to a line shown.
            const std::optional<int> on = stepTip(lines, *step, forward);
            FUZZ_CHECK(on && stepTip(lines, *on, !forward) == step, QStringLiteral("back from %1").arg(*step));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = splitTipLines(bytes);
    checkLines(bytes, lines);
    for (const QString &line : lines)
        checkFormat(line, true);
    // A line as the program never reads it, with any code unit at all.
    checkFormat(utf16Of(bytes), false);

    std::int32_t stored = 0;
    std::memcpy(&stored, bytes.leftJustified(4, '\0').constData(), sizeof stored);
    checkSteps(lines, stored);
    return 0;
}
