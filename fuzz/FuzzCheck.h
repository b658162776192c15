#pragma once

// What the fuzz targets share: a failed property stops the run as a crash,
// with the property and what broke it on stderr, so that libFuzzer keeps the
// input that shows it.

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#define FUZZ_CHECK(condition, ...)                                                                        \
    do {                                                                                                  \
        if (!(condition)) {                                                                               \
            std::fprintf(stderr, "%s:%d: property broken: %s\n  %s\n", __FILE__, __LINE__, #condition,      \
                         qPrintable(QString(__VA_ARGS__)));                                               \
            std::abort();                                                                                 \
        }                                                                                                 \
    } while (false)

namespace vespin::fuzz {

// Every UTF-16 code unit the input can spell, two bytes a unit, so that text
// reaches characters that no UTF-8 decoding produces (lone surrogates).
inline QString utf16Of(const QByteArray &bytes)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    std::memcpy(text.data(), bytes.constData(), std::size_t(text.size()) * sizeof(QChar));
    return text;
}

// Shown in a message: printable, with the rest escaped.
inline QString shown(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return QLatin1Char('"') + out + QLatin1Char('"');
}

// Whether every surrogate stands in a pair.
inline bool wellFormed(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (text.at(i).isSurrogate())
            return false;
    }
    return true;
}

} // namespace vespin::fuzz
