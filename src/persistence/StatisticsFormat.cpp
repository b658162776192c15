#include "StatisticsFormat.h"

namespace vespin {

namespace {

QString generalNumber(double value, int significantDigits, const QLocale &locale)
{
    QLocale plain = locale;
    // Thousands separators would turn 1000 into "1,000", which reads as a
    // decimal fraction in half the world.
    plain.setNumberOptions(plain.numberOptions() | QLocale::OmitGroupSeparator);
    // 'g' switches to exponent form beyond the precision; these figures are
    // small enough that only absurd totals ever get there.
    return plain.toString(value, 'g', significantDigits);
}

} // namespace

QString averageText(qint64 total, qint64 games, const QLocale &locale)
{
    return generalNumber(double(total) / double(games), 4, locale);
}

QString percentageText(qint64 won, qint64 games, const QLocale &locale)
{
    return generalNumber(double(won) / double(games) * 100.0, 3, locale) + QLatin1Char('%');
}

QString superDateText(const QLocale &locale, const QDateTime &when)
{
    // Every "t" outside a quoted literal names the zone.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString time;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't')
            time += c;
    }
    time = time.trimmed();
    while (time.contains(QLatin1String("  ")))
        time.replace(QLatin1String("  "), QLatin1String(" "));
    return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') + locale.toString(when.time(), time);
}

} // namespace vespin
