#include "SettingsText.h"

#include "SettingsFile.h"

#include <QStringDecoder>

namespace vespin {
namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray trimmed(const QByteArray &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

// Text as the file holds it. QString::fromUtf8 would take a leading U+FEFF
// for a byte order mark and drop it; in a value or a name it is a character.
QString decoded(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

bool sameName(const QByteArray &stored, const QString &wanted)
{
    return decoded(stored).compare(wanted, Qt::CaseInsensitive) == 0;
}

// "[name]" with optional blanks around; the name is what lies between the
// brackets.
bool sectionName(const QByteArray &line, QByteArray &name)
{
    const QByteArray text = trimmed(line);
    if (!text.startsWith('['))
        return false;
    const qsizetype close = text.indexOf(']');
    if (close < 0)
        return false;
    name = trimmed(text.mid(1, close - 1));
    return true;
}

bool isComment(const QByteArray &line)
{
    const QByteArray text = trimmed(line);
    return text.startsWith(';') || text.startsWith('#');
}

// "key=value": the key is what lies before the first "=".
bool keyName(const QByteArray &line, QByteArray &key)
{
    if (isComment(line))
        return false;
    const qsizetype equals = line.indexOf('=');
    if (equals < 0)
        return false;
    key = trimmed(line.left(equals));
    return !key.isEmpty();
}

QByteArray valueOf(const QByteArray &line)
{
    QByteArray value = trimmed(line.mid(line.indexOf('=') + 1));
    const qsizetype nul = value.indexOf('\0');
    return nul < 0 ? value : value.left(nul);
}

// A value must stay on its own line: a line break in it would start a new
// key or section when the file is read again.
QByteArray oneLine(const QString &value)
{
    QString text = value;
    for (QChar &c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0))
            c = QLatin1Char(' ');
    }
    return text.toUtf8();
}

} // namespace

SettingsText::SettingsText(const QByteArray &bytes)
{
    QByteArrayView data(bytes);
    if (data.startsWith(Utf8Bom)) {
        m_bom = Utf8Bom;
        data = data.sliced(Utf8Bom.size());
    }
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = start;
        while (end < data.size() && data[end] != '\n' && data[end] != '\r')
            ++end;
        Line line{data.sliced(start, end - start).toByteArray(), {}};
        if (end < data.size()) {
            const bool crlf = data[end] == '\r' && end + 1 < data.size() && data[end + 1] == '\n';
            line.ending = data.sliced(end, crlf ? 2 : 1).toByteArray();
        }
        start = end + line.ending.size();
        m_lines.append(std::move(line));
    }
}

QByteArray SettingsText::bytes() const
{
    QByteArray data = m_bom;
    for (const Line &line : m_lines)
        data += line.text + line.ending;
    return data;
}

bool SettingsText::lookUp(const QString &section, const QString &key, QString &value) const
{
    bool inSection = false;
    bool seenSection = false;
    for (const Line &line : m_lines) {
        QByteArray name;
        if (sectionName(line.text, name)) {
            // Only the first section of a name counts, as only its first key.
            if (inSection)
                return false;
            inSection = !seenSection && sameName(name, section);
            seenSection = seenSection || inSection;
            continue;
        }
        if (inSection && keyName(line.text, name) && sameName(name, key)) {
            value = decoded(valueOf(line.text));
            return true;
        }
    }
    return false;
}

QString SettingsText::ReadText(const QString &section, const QString &key, const QString &fallback) const
{
    QString value;
    if (!lookUp(section, key, value))
        return fallback;
    if (value.size() > MaxTextLength) {
        value.truncate(MaxTextLength);
        if (value.back().isHighSurrogate())
            value.chop(1);
    }
    return value;
}

std::int32_t SettingsText::ReadNumber(const QString &section, const QString &key, std::int32_t fallback) const
{
    QString text;
    std::int32_t value = 0;
    return lookUp(section, key, text) && SettingsFile::parseNumber(text, value) ? value : fallback;
}

bool SettingsText::ReadFlag(const QString &section, const QString &key, bool fallback) const
{
    return ReadNumber(section, key, fallback ? 1 : 0) != 0;
}

void SettingsText::WriteText(const QString &section, const QString &key, const QString &value)
{
    writeValue(section, key, value);
}

void SettingsText::WriteNumber(const QString &section, const QString &key, std::int32_t value)
{
    writeValue(section, key, QString::number(value));
}

void SettingsText::WriteFlag(const QString &section, const QString &key, bool value)
{
    writeValue(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void SettingsText::writeValue(const QString &section, const QString &key, const QString &value)
{
    const QByteArray text = oneLine(value);
    QByteArray ending = "\n";
    for (const Line &line : m_lines) {
        if (!line.ending.isEmpty()) {
            ending = line.ending;
            break;
        }
    }

    qsizetype sectionAt = -1;
    qsizetype lastFilled = -1; // the section's last line that is not blank
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        Line &line = m_lines[i];
        QByteArray name;
        if (sectionName(line.text, name)) {
            if (sectionAt >= 0)
                break;
            if (sameName(name, section)) {
                sectionAt = i;
                lastFilled = i;
            }
            continue;
        }
        if (sectionAt < 0)
            continue;
        if (keyName(line.text, name) && sameName(name, key)) {
            line.text = line.text.left(line.text.indexOf('=') + 1) + text;
            return;
        }
        if (!trimmed(line.text).isEmpty())
            lastFilled = i;
    }

    const Line keyLine{key.toUtf8() + '=' + text, ending};
    if (sectionAt >= 0) {
        Line &before = m_lines[lastFilled];
        if (before.ending.isEmpty())
            before.ending = ending;
        m_lines.insert(lastFilled + 1, keyLine);
    } else {
        if (!m_lines.isEmpty()) {
            if (m_lines.last().ending.isEmpty())
                m_lines.last().ending = ending;
            if (!trimmed(m_lines.last().text).isEmpty())
                m_lines.append({{}, ending});
        }
        m_lines.append({'[' + section.toUtf8() + ']', ending});
        m_lines.append(keyLine);
    }
}

bool SettingsText::ClearSection(const QString &section)
{
    QList<Line> kept;
    bool removing = false;
    bool removed = false;
    for (const Line &line : std::as_const(m_lines)) {
        QByteArray name;
        if (sectionName(line.text, name)) {
            // Every section of the name goes, so that a stale duplicate
            // cannot take the place of the one removed.
            removing = sameName(name, section);
            removed = removed || removing;
        }
        if (!removing)
            kept.append(line);
    }
    if (removed)
        m_lines = kept;
    return removed;
}

} // namespace vespin
