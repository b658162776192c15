// The Select Game number parser against a second reading of its contract,
// written with a regular expression and Qt's own number conversion, and the
// round trip of every number it accepts through the ways it can be typed.

#include "FuzzCheck.h"
#include "game/GameNumberText.h"

#include <QRegularExpression>

#include <cstdint>
#include <limits>

using namespace vespin;
using namespace vespin::fuzz;

namespace {

// Blanks, a sign, then decimal digits or "$" and hexadecimal digits, and
// nothing after them.
std::int32_t expectedNumber(const QString &text)
{
    static const QRegularExpression form(QStringLiteral(R"(\A *([+-]?)(\$?)([0-9A-Fa-f]+)\z)"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return 0;
    const bool negative = match.captured(1) == QLatin1String("-");
    const bool hex = !match.captured(2).isEmpty();
    QString digits = match.captured(3);
    if (!hex && digits.contains(QRegularExpression(QStringLiteral("[A-Fa-f]"))))
        return 0;
    while (digits.size() > 1 && digits.front() == QLatin1Char('0'))
        digits.remove(0, 1);
    bool ok = false;
    if (hex) {
        if (digits.size() > 8)
            return 0;
        const auto bits = std::uint32_t(digits.toULongLong(&ok, 16));
        FUZZ_CHECK(ok, digits);
        return std::int32_t(negative ? 0u - bits : bits);
    }
    if (digits.size() > 10)
        return 0;
    const qint64 magnitude = digits.toLongLong(&ok, 10);
    FUZZ_CHECK(ok, digits);
    const qint64 value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return 0;
    return std::int32_t(value);
}

void check(const QString &text)
{
    const std::int32_t number = parseGameNumber(text);
    const std::int32_t expected = expectedNumber(text);
    FUZZ_CHECK(number == expected, QStringLiteral("%1 gives %2, expected %3").arg(shown(text)).arg(number).arg(expected));
    if (number == 0)
        return;

    // Every way of typing an accepted number gives it back.
    const QString decimal = QString::number(number);
    const QString hex = QLatin1Char('$') + QString::number(std::uint32_t(number), 16);
    const QString signedDecimal = number > 0 ? QLatin1Char('+') + decimal : decimal;
    for (const QString &typed : {decimal, QStringLiteral("   ") + decimal, signedDecimal, hex, hex.toUpper()}) {
        FUZZ_CHECK(parseGameNumber(typed) == number,
                   QStringLiteral("%1 gives %2, not %3").arg(shown(typed)).arg(parseGameNumber(typed)).arg(number));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    check(QString::fromUtf8(bytes));
    check(QString::fromLatin1(bytes));
    check(utf16Of(bytes));
    return 0;
}
