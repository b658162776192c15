#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace vespin {

// The tips file: one entry a line, whose first character picks the title.

// The lines of the file's text. A line ends at CR LF, a lone CR or a lone
// LF; a zero byte ends the text; a last line without an ending counts. The
// text is UTF-8 (invalid bytes show as replacement characters).
QStringList splitTipLines(const QByteArray &bytes);

struct Tip {
    QString title; // empty when the first character picks none
    QString text;  // what follows the first character, formatted
};

// One line as it is shown. In the text, each "%s" is a line break, for at
// most five; later ones are a space, so the words around them stay apart.
// "%%" is one percent sign, and a percent sign followed by anything else is
// shown as it stands. At most 255 characters of the line are used.
Tip formatTip(const QString &line);

// The number of the line a step lands on, wrapping at both ends. Empty
// and blank lines are stepped over, as they would show an empty dialog; nullopt when
// the lines hold nothing to show.
std::optional<int> stepTip(const QStringList &lines, int current, bool forward);

} // namespace vespin
