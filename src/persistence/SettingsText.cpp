#include "SettingsText.h"

#include "SettingsFile.h"

#include <QStringDecoder>

#include <algorithm>

namespace vespin {
namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");
// Every line shares one of these rather than holding its own copy.
const QByteArray Lf("\n");
const QByteArray Cr("\r");
const QByteArray CrLf("\r\n");

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Views into a line's bytes: a look-up copies nothing but the value it
// finds.
QByteArrayView trimmed(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

// Text as the file holds it. QString::fromUtf8 would take a leading U+FEFF
// for a byte order mark and drop it; in a value or a name it is a character.
QString decoded(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

// "[name]" with optional blanks around; the name is what lies between the
// brackets.
bool sectionName(QByteArrayView line, QByteArrayView &name)
{
    const QByteArrayView text = trimmed(line);
    if (!text.startsWith('['))
        return false;
    const qsizetype close = text.indexOf(']');
    if (close < 0)
        return false;
    name = trimmed(text.sliced(1, close - 1));
    return true;
}

bool isComment(QByteArrayView line)
{
    const QByteArrayView text = trimmed(line);
    return text.startsWith(';') || text.startsWith('#');
}

// "key=value": the key is what lies before the first "=".
bool keyName(QByteArrayView line, QByteArrayView &key)
{
    if (isComment(line))
        return false;
    const qsizetype equals = line.indexOf('=');
    if (equals < 0)
        return false;
    key = trimmed(line.first(equals));
    return !key.isEmpty();
}

QByteArrayView valueOf(QByteArrayView line)
{
    const QByteArrayView value = trimmed(line.sliced(line.indexOf('=') + 1));
    const qsizetype nul = value.indexOf('\0');
    return nul < 0 ? value : value.first(nul);
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

SettingsText::Line::Line(QByteArray text, QByteArray ending) : ending(std::move(ending))
{
    setText(std::move(text));
}

void SettingsText::Line::setText(QByteArray newText)
{
    text = std::move(newText);
    decodedName = QString();
    nameFrom = nameSize = 0;
    QByteArrayView bytes;
    if (sectionName(text, bytes))
        kind = Kind::Section;
    else if (keyName(text, bytes))
        kind = Kind::Key;
    else
        kind = trimmed(text).isEmpty() ? Kind::Blank : Kind::Other;
    if (kind == Kind::Section || kind == Kind::Key) {
        nameFrom = bytes.data() - text.constData();
        nameSize = bytes.size();
        if (!std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; }))
            decodedName = decoded(bytes);
    }
}

bool SettingsText::Line::isNamed(Kind wanted, const QString &wantedName) const
{
    if (kind != wanted)
        return false;
    // Names that match without regard to case are as long as each other:
    // the length is asked first, as it costs nothing. An ASCII name is as
    // many characters long as it has bytes.
    if (!decodedName.isNull())
        return decodedName.size() == wantedName.size()
            && decodedName.compare(wantedName, Qt::CaseInsensitive) == 0;
    return nameSize == wantedName.size()
        && wantedName.compare(QLatin1StringView(text.constData() + nameFrom, nameSize), Qt::CaseInsensitive) == 0;
}

SettingsText::SettingsText(const QByteArray &bytes)
    // A copy of its own: the caller's array may itself view bytes that it
    // does not own.
    : m_source(bytes.constData(), bytes.size())
{
    QByteArrayView data(m_source);
    if (data.startsWith(Utf8Bom)) {
        m_bom = Utf8Bom;
        data = data.sliced(Utf8Bom.size());
    }
    m_lines.reserve(data.count('\n') + data.count('\r') + 1);
    const char *const stop = data.end();
    for (const char *at = data.begin(); at < stop;) {
        const char *end = std::find_if(at, stop, [](char c) { return c == '\n' || c == '\r'; });
        QByteArray ending;
        if (end < stop)
            ending = *end == '\n' ? Lf : end + 1 < stop && end[1] == '\n' ? CrLf : Cr;
        m_lines.append(Line(QByteArray::fromRawData(at, end - at), ending));
        at = end + ending.size();
    }
    findHeadings();
}

QByteArray SettingsText::bytes() const
{
    qsizetype size = m_bom.size();
    for (const Line &line : m_lines)
        size += line.text.size() + line.ending.size();
    QByteArray data;
    data.reserve(size);
    data += m_bom;
    for (const Line &line : m_lines) {
        data += line.text;
        data += line.ending;
    }
    return data;
}

void SettingsText::findHeadings()
{
    m_headings.clear();
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind == Kind::Section)
            m_headings.append(i);
    }
}

bool SettingsText::lookUp(const QString &section, const QString &key, QString &value) const
{
    const auto heading = std::find_if(m_headings.cbegin(), m_headings.cend(), [&](qsizetype at) {
        return m_lines[at].isNamed(Kind::Section, section);
    });
    if (heading == m_headings.cend())
        return false;
    // Only the first section of a name counts, as only its first key.
    const auto first = m_lines.cbegin() + *heading + 1;
    const auto last = heading + 1 < m_headings.cend() ? m_lines.cbegin() + heading[1] : m_lines.cend();
    const auto line = std::find_if(first, last, [&](const Line &l) { return l.isNamed(Kind::Key, key); });
    if (line == last)
        return false;
    value = decoded(valueOf(line->text));
    return true;
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
        if (line.kind == Kind::Section) {
            if (sectionAt >= 0)
                break;
            if (line.isNamed(Kind::Section, section)) {
                sectionAt = i;
                lastFilled = i;
            }
            continue;
        }
        if (sectionAt < 0)
            continue;
        if (line.isNamed(Kind::Key, key)) {
            line.setText(line.text.left(line.text.indexOf('=') + 1) + text);
            findHeadings();
            return;
        }
        if (line.kind != Kind::Blank)
            lastFilled = i;
    }

    const Line keyLine(key.toUtf8() + '=' + text, ending);
    if (sectionAt >= 0) {
        Line &before = m_lines[lastFilled];
        if (before.ending.isEmpty())
            before.ending = ending;
        m_lines.insert(lastFilled + 1, keyLine);
    } else {
        if (!m_lines.isEmpty()) {
            if (m_lines.last().ending.isEmpty())
                m_lines.last().ending = ending;
            if (m_lines.last().kind != Kind::Blank)
                m_lines.append(Line({}, ending));
        }
        m_lines.append(Line('[' + section.toUtf8() + ']', ending));
        m_lines.append(keyLine);
    }
    findHeadings();
}

bool SettingsText::ClearSection(const QString &section)
{
    QList<Line> kept;
    bool removing = false;
    bool removed = false;
    for (const Line &line : std::as_const(m_lines)) {
        if (line.kind == Kind::Section) {
            // Every section of the name goes, so that a stale duplicate
            // cannot take the place of the one removed.
            removing = line.isNamed(Kind::Section, section);
            removed = removed || removing;
        }
        if (!removing)
            kept.append(line);
    }
    if (removed) {
        m_lines = kept;
        findHeadings();
    }
    return removed;
}

} // namespace vespin
