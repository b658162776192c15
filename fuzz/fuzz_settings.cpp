// The text of Vespin.ini from arbitrary bytes: every key of the key table
// read, a few keys written (one at a time, several together, or after
// clearing a section as a saved game is written), and then what was written
// reads back, every other key reads as before, and every line not written
// keeps its bytes. All of it in memory: SettingsFile only carries this text
// to and from the disk, and its atomic replacement and locking have fault
// tests of their own, which a file written per input would slow a
// hundredfold.

#include "FuzzCheck.h"
#include "persistence/SettingsKeys.h"
#include "persistence/SettingsText.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <variant>

using namespace vespin;
using namespace vespin::fuzz;

namespace {

using AnyKey = std::variant<NumberKey, FlagKey, TextKey>;
using Value = std::variant<std::int32_t, bool, QString>;

const QString &sectionOf(const AnyKey &key)
{
    return std::visit([](const auto &k) -> const QString & { return k.section; }, key);
}

const QString &nameOf(const AnyKey &key)
{
    return std::visit([](const auto &k) -> const QString & { return k.name; }, key);
}

// Names match without regard to case, as in the file: StatusBar and
// Statusbar are one key.
bool sameKey(const AnyKey &a, const AnyKey &b)
{
    return sectionOf(a).compare(sectionOf(b), Qt::CaseInsensitive) == 0
        && nameOf(a).compare(nameOf(b), Qt::CaseInsensitive) == 0;
}

// Every key the program reads or writes.
const QList<AnyKey> &keyTable()
{
    static const QList<AnyKey> table = [] {
        const QSize screen(1024, 768);
        QList<AnyKey> t{keys::LeftPosition(screen), keys::TopPosition(screen), keys::Height, keys::Maximized,
                        keys::Sound, keys::AutoSaveOption, keys::SlowAnim, keys::CardBack, keys::Pause,
                        keys::Prompts, keys::BackGroundColor, keys::ToolHint, keys::TexturedToolbar,
                        keys::ToolBar(screen), keys::Statusbar(screen), keys::StatusBarToggle, keys::ShowTips,
                        keys::TipNumber, keys::ShowNameBox, keys::GamesPlayed, keys::GamesWon, keys::TotalScore,
                        keys::SuperPlayer, keys::SuperTime, keys::SuperDate, keys::SuperGame, keys::LastPlayer,
                        keys::GameSaved, keys::SavedGameNumber, keys::SavedScore, keys::SavedTime,
                        keys::SavedPauseCount};
        for (int row = 1; row <= 10; ++row)
            t << keys::PlayerName(row) << keys::PlayerScore(row) << keys::PlayerTime(row)
              << keys::PlayerGameNumber(row);
        for (int c = 5; c <= 8; ++c)
            t << keys::SavedStatus(c) << keys::SavedFoundationCounter(c);
        // Of a saved game's rows, the first, the last and one whose name
        // begins another's (Tableau_1_5, Tableau_1_52): every other row is
        // read the same way, and reading each of them twice per input would
        // halve the run's speed.
        for (int c = 1; c <= 8; ++c) {
            t << keys::SavedTableauCounter(c);
            for (const int r : {1, 5, 52})
                t << keys::SavedTableau(c, r);
        }
        for (int f = 5; f <= 8; ++f)
            for (const int r : {1, 13})
                t << keys::SavedFoundation(f, r);
        return t;
    }();
    return table;
}

Value readKey(const SettingsText &text, const AnyKey &key)
{
    return std::visit([&text](const auto &k) -> Value { return read(text, k); }, key);
}

QString describe(const AnyKey &key, const Value &value)
{
    const QString shownValue = std::visit(
        [](const auto &v) -> QString {
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<V, QString>)
                return shown(v);
            else
                return QString::number(v);
        },
        value);
    return QStringLiteral("[%1] %2 = %3").arg(sectionOf(key), nameOf(key), shownValue);
}

void checkRead(const AnyKey &key, const Value &value)
{
    if (const auto *number = std::get_if<NumberKey>(&key)) {
        const std::int32_t v = std::get<std::int32_t>(value);
        FUZZ_CHECK(v == number->fallback || (v >= number->min && v <= number->max), describe(key, value));
    } else if (std::holds_alternative<TextKey>(key)) {
        const QString &v = std::get<QString>(value);
        FUZZ_CHECK(v.size() <= SettingsText::MaxTextLength, describe(key, value));
        FUZZ_CHECK(v.isEmpty() || !v.back().isHighSurrogate(), describe(key, value));
    }
}

QList<Value> readAll(const SettingsText &text)
{
    QList<Value> values;
    values.reserve(keyTable().size());
    for (const AnyKey &key : keyTable()) {
        values << readKey(text, key);
        checkRead(key, values.back());
    }
    return values;
}

// What a written text reads back as: a value stays on its line, blanks
// around it are not kept, and a read stops at the text limit without
// splitting a character.
QString storedText(QString value)
{
    for (QChar &c : value) {
        if (c == u'\r' || c == u'\n' || c == QChar(0))
            c = u' ';
    }
    qsizetype begin = 0;
    qsizetype end = value.size();
    while (begin < end && (value.at(begin) == u' ' || value.at(begin) == u'\t'))
        ++begin;
    while (end > begin && (value.at(end - 1) == u' ' || value.at(end - 1) == u'\t'))
        --end;
    value = value.mid(begin, end - begin);
    if (value.size() > SettingsText::MaxTextLength) {
        value.truncate(SettingsText::MaxTextLength);
        if (value.back().isHighSurrogate())
            value.chop(1);
    }
    return value;
}

Value expectedRead(const AnyKey &key, const Value &written)
{
    if (const auto *number = std::get_if<NumberKey>(&key)) {
        const std::int32_t v = std::get<std::int32_t>(written);
        return v >= number->min && v <= number->max ? v : number->fallback;
    }
    if (std::holds_alternative<TextKey>(key))
        return storedText(std::get<QString>(written));
    return written;
}

void write(SettingsText &text, const AnyKey &key, const Value &value)
{
    std::visit(
        [&text, &value](const auto &k) {
            using K = std::decay_t<decltype(k)>;
            if constexpr (std::is_same_v<K, NumberKey>)
                vespin::write(text, k, std::get<std::int32_t>(value));
            else if constexpr (std::is_same_v<K, FlagKey>)
                vespin::write(text, k, std::get<bool>(value));
            else
                vespin::write(text, k, std::get<QString>(value));
        },
        key);
}

// A deterministic stream of choices drawn from the input, so that every
// input always makes the same writes.
class Choices {
public:
    explicit Choices(const QByteArray &bytes)
    {
        for (const char c : bytes)
            m_state = (m_state ^ std::uint8_t(c)) * 0x100000001b3ull;
    }
    std::uint64_t next()
    {
        m_state += 0x9e3779b97f4a7c15ull;
        std::uint64_t z = m_state;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % std::uint64_t(n)); }

private:
    std::uint64_t m_state = 0xcbf29ce484222325ull;
};

Value valueFor(const AnyKey &key, Choices &choices, const QByteArray &input)
{
    if (std::holds_alternative<FlagKey>(key))
        return choices.below(2) == 1;
    if (std::holds_alternative<NumberKey>(key)) {
        static const std::int32_t edges[] = {0, 1, -1, 5, 6, 13, 52, 9999, std::numeric_limits<std::int32_t>::min(),
                                             std::numeric_limits<std::int32_t>::max()};
        return choices.below(2) == 0 ? edges[choices.below(std::size(edges))] : std::int32_t(choices.next());
    }
    static const QStringList texts{QString(),
                                   QStringLiteral(" Ann "),
                                   QStringLiteral("\t"),
                                   QStringLiteral("Ann\r\n[Options]\nSound=0"),
                                   QStringLiteral("[TopTen]=x"),
                                   QStringLiteral("; not a comment"),
                                   QStringLiteral("Zo\u00eb \u00d8deg\u00e5rd"),
                                   QString(1022, u'x') + QStringLiteral("\U0001F0A1"),
                                   QString(1100, u'y'),
                                   QString::fromUtf16(u"a\0b", 3)};
    if (choices.below(3) == 0)
        return texts.at(choices.below(int(texts.size())));
    // A piece of the input itself, whatever bytes it holds.
    const int from = input.isEmpty() ? 0 : choices.below(int(input.size()));
    return QString::fromUtf8(input.mid(from, choices.below(1200)));
}

// Views into the bytes checked, which outlive every line taken from them.
struct Line {
    QByteArrayView text;
    QByteArrayView ending;
};

const QByteArray Bom("\xEF\xBB\xBF");

// The lines of a file's text after its byte order mark, if any: a second
// mark there is text of the first line.
QList<Line> linesOf(QByteArrayView data)
{
    QList<Line> lines;
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = start;
        while (end < data.size() && data[end] != '\n' && data[end] != '\r')
            ++end;
        Line line{data.sliced(start, end - start), {}};
        if (end < data.size())
            line.ending = data.sliced(end, data[end] == '\r' && end + 1 < data.size() && data[end + 1] == '\n' ? 2 : 1);
        start = end + line.ending.size();
        lines << line;
    }
    return lines;
}

// The bytes a written value stands for in the file.
QByteArray storedBytes(const Value &value)
{
    return std::visit(
        [](const auto &v) -> QByteArray {
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<V, QString>) {
                QString text = v;
                for (QChar &c : text) {
                    if (c == u'\r' || c == u'\n' || c == QChar(0))
                        c = u' ';
                }
                return text.toUtf8();
            } else if constexpr (std::is_same_v<V, bool>) {
                return v ? "1" : "0";
            } else {
                return QByteArray::number(v);
            }
        },
        value);
}

// The file after writes, byte for byte: every line it had is still there,
// in order, with its text and line ending, except a written key's line,
// whose text after "=" becomes the value, and the last line, which may gain
// a line ending. Between them stand only the lines a write adds: blank, a
// header of a written section or a written key.
void checkKeptBytes(QByteArray before, QByteArray after, const QList<std::pair<AnyKey, Value>> &writes)
{
    FUZZ_CHECK(before.startsWith(Bom) == after.startsWith(Bom), QStringLiteral("the byte order mark changed"));
    if (before.startsWith(Bom)) {
        before.remove(0, Bom.size());
        after.remove(0, Bom.size());
    }
    // The last value written to each key is the one in the file.
    QList<std::pair<AnyKey, QByteArray>> stored;
    for (const auto &write : writes) {
        stored.removeIf([&write](const auto &entry) { return sameKey(entry.first, write.first); });
        stored.append({write.first, storedBytes(write.second)});
    }
    const QList<Line> old = linesOf(before);
    // Added lines end as the file's first line does.
    QByteArrayView ending = "\n";
    for (const Line &line : old) {
        if (!line.ending.isEmpty()) {
            ending = line.ending;
            break;
        }
    }
    qsizetype at = 0;
    // The pieces, one after the other, or nothing taken.
    auto take = [&after, &at](std::initializer_list<QByteArrayView> pieces) {
        qsizetype end = at;
        for (const QByteArrayView piece : pieces) {
            if (!QByteArrayView(after).sliced(end).startsWith(piece))
                return false;
            end += piece.size();
        }
        at = end;
        return true;
    };
    auto takeLine = [&](QByteArrayView text) { return take({text, ending}); };
    auto takeAdded = [&]() {
        if (takeLine({}))
            return true;
        for (const auto &[key, bytes] : stored) {
            const QByteArray section = sectionOf(key).toLatin1();
            if (take({"[", section, "]", ending}))
                return true;
            // Spelled as by the write that added it, which may be an earlier
            // one of the same key in another case. The program's names are
            // ASCII.
            const QByteArrayView spelled = QByteArrayView(after).sliced(at).first(
                std::min(nameOf(key).size(), after.size() - at));
            if (nameOf(key).compare(QLatin1StringView(spelled), Qt::CaseInsensitive) == 0
                && take({spelled, "=", bytes, ending}))
                return true;
        }
        return false;
    };
    auto takeRewritten = [&](QByteArrayView text, QByteArrayView ending) {
        const qsizetype equals = text.indexOf('=');
        if (equals < 0)
            return false;
        const QString name = QString::fromUtf8(text.first(equals).trimmed());
        for (const auto &[key, bytes] : stored) {
            if (name.compare(nameOf(key), Qt::CaseInsensitive) == 0 && take({text.first(equals + 1), bytes, ending}))
                return true;
        }
        return false;
    };

    int added = 0;
    auto takeKept = [&](const Line &line) {
        if (!line.ending.isEmpty())
            return take({line.text, line.ending}) || takeRewritten(line.text, line.ending);
        // The last line, without an ending, gains one when lines follow.
        // Without one, it is still the last line.
        const qsizetype was = at;
        if (take({line.text, ending}) || takeRewritten(line.text, ending))
            return true;
        if (take({line.text}) && at == after.size())
            return true;
        at = was;
        if (takeRewritten(line.text, {}) && at == after.size())
            return true;
        at = was;
        return false;
    };
    for (qsizetype i = 0; i < old.size(); ++i) {
        const Line &line = old[i];
        while (!takeKept(line)) {
            FUZZ_CHECK(takeAdded(), QStringLiteral("line %1 (%2) is not kept, at %3")
                                        .arg(i + 1)
                                        .arg(shown(QString::fromUtf8(line.text)), shown(QString::fromUtf8(after.mid(at, 80)))));
            ++added;
        }
    }
    while (at < after.size()) {
        FUZZ_CHECK(takeAdded(), QStringLiteral("added %1").arg(shown(QString::fromUtf8(after.mid(at, 80)))));
        ++added;
    }
    FUZZ_CHECK(added <= 3 * writes.size(), QStringLiteral("%1 lines added for %2 writes").arg(added).arg(writes.size()));
}

void checkValues(const SettingsText &text, const QList<Value> &before, const QList<std::pair<AnyKey, Value>> &writes,
                 const QString &cleared)
{
    const QList<Value> after = readAll(text);
    const QList<AnyKey> &table = keyTable();
    for (qsizetype k = 0; k < table.size(); ++k) {
        std::optional<Value> expected;
        for (const auto &[key, value] : writes) {
            if (sameKey(key, table[k]))
                expected = expectedRead(table[k], value);
        }
        if (!expected && sectionOf(table[k]).compare(cleared, Qt::CaseInsensitive) == 0)
            expected = readKey(SettingsText(), table[k]); // the default
        if (!expected)
            expected = before[k];
        FUZZ_CHECK(after[k] == *expected,
                   QStringLiteral("%1, expected %2").arg(describe(table[k], after[k]), describe(table[k], *expected)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    SettingsText text(input);
    FUZZ_CHECK(text.bytes() == input, QStringLiteral("the bytes read are not given back"));
    const QList<Value> before = readAll(text);

    Choices choices(input);
    const QList<AnyKey> &table = keyTable();
    // 0, 1: the bytes checked after each write; 2: once after them all, as
    // a batch reaches the disk; 3: a saved game's way.
    const int mode = choices.below(4);
    const int count = 1 + choices.below(4);
    QList<std::pair<AnyKey, Value>> writes;
    QString cleared;
    QByteArray last = input;
    if (mode == 3) {
        const QString sections[] = {keys::Window, keys::Options, keys::Statistics, keys::TopTen, keys::AutoSave};
        cleared = sections[choices.below(int(std::size(sections)))];
        // Nothing changes when there is nothing to clear.
        FUZZ_CHECK(text.ClearSection(cleared) || text.bytes() == input, QStringLiteral("changed without clearing"));
    }
    for (int w = 0; w < count; ++w) {
        AnyKey key = table.at(choices.below(int(table.size())));
        const Value value = valueFor(key, choices, input);
        write(text, key, value);
        writes.append({key, value});
        FUZZ_CHECK(readKey(text, key) == expectedRead(key, value), describe(key, value));
        if (mode < 2) {
            const QByteArray now = text.bytes();
            checkKeptBytes(last, now, {{key, value}});
            last = now;
            // A write of its own starts from the bytes on disk, not from the
            // lines of the last one: an added line ending in "\r" before a
            // blank "\n" line reads back as one "\r\n" line.
            text = SettingsText(now);
        }
    }

    const QByteArray written = text.bytes();
    if (mode == 2)
        checkKeptBytes(input, written, writes);
    // What is written is what a later start reads.
    const SettingsText again(written);
    for (const auto &[key, value] : writes) {
        const Value now = readKey(text, key);
        FUZZ_CHECK(now == readKey(again, key), QStringLiteral("the writer reads otherwise: ") + describe(key, now));
    }
    checkValues(again, before, writes, cleared);
    return 0;
}
