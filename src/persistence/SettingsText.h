#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

namespace vespin {

// The text of Vespin.ini in memory, and every rule of its INI form: sections
// and keys matched without regard to case, only the first section and key
// of a name counting, a value kept on its own line. A change keeps every
// byte it does not change (unknown sections and keys, comments, blank lines,
// line endings, a byte order mark), so that bytes() gives back the bytes
// parsed until something is written. SettingsFile brings it from the disk
// and puts it back.
class SettingsText {
public:
    static constexpr int MaxTextLength = 1023;

    SettingsText() = default;
    explicit SettingsText(const QByteArray &bytes);

    QByteArray bytes() const;

    QString ReadText(const QString &section, const QString &key, const QString &fallback) const;
    std::int32_t ReadNumber(const QString &section, const QString &key, std::int32_t fallback) const;
    bool ReadFlag(const QString &section, const QString &key, bool fallback) const;

    void WriteText(const QString &section, const QString &key, const QString &value);
    void WriteNumber(const QString &section, const QString &key, std::int32_t value);
    void WriteFlag(const QString &section, const QString &key, bool value);
    // False, with nothing changed, when there is no section of the name.
    bool ClearSection(const QString &section);

private:
    // What a line is, worked out when its text is set rather than at every
    // look-up: a read of each key would otherwise split and decode every
    // line before it again.
    enum class Kind { Other, Blank, Section, Key };
    struct Line {
        Line() = default;
        Line(QByteArray text, QByteArray ending);
        void setText(QByteArray text);
        bool isNamed(Kind wanted, const QString &wantedName) const;

        QByteArray text;   // without its line break
        QByteArray ending; // "\n", "\r\n", "\r" or empty at the end of the text
        Kind kind = Kind::Blank;
        // The name of a section or key, as the file spells it: where it lies
        // in the text and, only when it is not plain ASCII, decoded. Most
        // names are ASCII and compare as they stand, which spares a file of
        // a few hundred lines as many allocations at every read.
        qsizetype nameFrom = 0;
        qsizetype nameSize = 0;
        QString decodedName;
    };

    // The value of a key, or false when the section or key is missing.
    bool lookUp(const QString &section, const QString &key, QString &value) const;
    void writeValue(const QString &section, const QString &key, const QString &value);
    void findHeadings();

    // The bytes parsed, which the lines read from them view rather than
    // copy; never changed, so that those views stay valid as long as this
    // text and every copy of it.
    QByteArray m_source;
    QList<Line> m_lines;
    QByteArray m_bom;
    // The lines of the section headings, in order: a look-up goes from one
    // to the next rather than through every line of the sections before.
    QList<qsizetype> m_headings;
};

} // namespace vespin
