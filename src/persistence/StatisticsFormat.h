#pragma once

// The figures of the statistics dialog as text.

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace vespin {

// total / games with at most four significant digits and no trailing zeros:
// 31 / 7 -> "4.429", 10 / 1 -> "10". games must not be 0.
QString averageText(qint64 total, qint64 games, const QLocale &locale);

// won / games as a percentage with at most three significant digits:
// 1 / 3 -> "33.3%", 3 / 3 -> "100%". games must not be 0.
QString percentageText(qint64 won, qint64 games, const QLocale &locale);

// When the best time was set: the user's short date and long time, without
// the time zone's name that the long time format may carry.
QString superDateText(const QLocale &locale, const QDateTime &when);

} // namespace vespin
