#include "Tips.h"

namespace vespin {

QStringList splitTipLines(const QByteArray &bytes)
{
    const qsizetype end = bytes.indexOf('\0');
    const QString text = QString::fromUtf8(end < 0 ? bytes : bytes.left(end));
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

Tip formatTip(const QString &line)
{
    static constexpr int MaxTextLength = 255;
    static constexpr int MaxBreaks = 5;

    Tip tip;
    if (line.isEmpty())
        return tip;
    switch (line.front().unicode()) {
    case u'^': tip.title = QStringLiteral("Today's tip..."); break;
    case u'?': tip.title = QStringLiteral("Did you know..."); break;
    case u'\'': tip.title = QStringLiteral("Today's quote..."); break;
    case u'!': tip.title = QStringLiteral("Today's joke..."); break;
    case u'#': tip.title = QStringLiteral("Today's message..."); break;
    case u'+': tip.title = QStringLiteral("Today's question..."); break;
    default: break;
    }

    // A character beyond the first plane is two UTF-16 units: the first
    // character is skipped whole, and the limit never keeps half of one.
    const qsizetype first = line.size() > 1 && line.front().isHighSurrogate() && line.at(1).isLowSurrogate() ? 2 : 1;
    QString pattern = line.mid(first, MaxTextLength);
    if (pattern.size() == MaxTextLength && pattern.back().isHighSurrogate())
        pattern.chop(1);
    int breaks = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        const QChar next = i + 1 < pattern.size() ? pattern.at(i + 1) : QChar();
        if (c == u'%' && next == u's') {
            tip.text += ++breaks <= MaxBreaks ? QChar(u'\n') : QChar(u' ');
            ++i;
        } else if (c == u'%' && next == u'%') {
            tip.text += c;
            ++i;
        } else {
            tip.text += c;
        }
    }
    return tip;
}

std::optional<int> stepTip(const QStringList &lines, int current, bool forward)
{
    const qint64 count = lines.size();
    // Wide enough that a stored number at either end of int steps safely.
    qint64 number = current;
    for (qint64 tried = 0; tried < count; ++tried) {
        number += forward ? 1 : -1;
        if (number < 0)
            number = count - 1;
        if (number >= count)
            number = 0;
        if (!lines.at(number).trimmed().isEmpty())
            return int(number);
    }
    return std::nullopt;
}

} // namespace vespin
