#include "GameNumberText.h"

namespace vespin {

namespace {

int decimalDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0' : -1;
}

int hexDigit(QChar c)
{
    if (const int d = decimalDigit(c); d >= 0)
        return d;
    const char16_t u = c.toLower().unicode();
    return u >= u'a' && u <= u'f' ? u - u'a' + 10 : -1;
}

} // namespace

std::int32_t parseGameNumber(const QString &text)
{
    qsizetype i = 0;
    const qsizetype end = text.size();
    while (i < end && text[i] == QLatin1Char(' '))
        ++i;

    bool negative = false;
    if (i < end && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }

    const bool hex = i < end && text[i] == QLatin1Char('$');
    if (hex)
        ++i;
    if (i == end)
        return 0;

    // Accumulated in 64 bits and checked after every digit, so that no
    // length of input can wrap around into a valid number.
    std::int64_t magnitude = 0;
    const std::int64_t limit = hex ? 0xFFFFFFFFll : (negative ? 2147483648ll : 2147483647ll);
    for (; i < end; ++i) {
        const int digit = hex ? hexDigit(text[i]) : decimalDigit(text[i]);
        if (digit < 0)
            return 0;
        magnitude = magnitude * (hex ? 16 : 10) + digit;
        if (magnitude > limit)
            return 0;
    }

    if (hex) {
        // The hex digits are the bit pattern; a sign then negates that
        // 32-bit value, wrapping as the machine does.
        const auto bits = std::uint32_t(magnitude);
        return std::int32_t(negative ? 0u - bits : bits);
    }
    return std::int32_t(negative ? -magnitude : magnitude);
}

} // namespace vespin
