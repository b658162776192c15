#include "SettingsFile.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QScopeGuard>
#include <QStringDecoder>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <limits>

namespace vespin {
namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");

// A change holds the lock for one small write. A lock older than this was
// left by a process that hung, or by one whose number now belongs to
// another process of the same name.
constexpr int LockStaleMs = 10000;
// A writer writes its details into the lock file at once after creating
// it; one that has not done so after this long died in between.
constexpr int EmptyLockStaleMs = 1000;

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

SettingsWriteError::SettingsWriteError(const QString &path)
    : std::runtime_error(QStringLiteral("Unable to write to %1").arg(path).toStdString()),
      m_message(QStringLiteral("Unable to write to %1").arg(path))
{
}

// The lock of a change on its own; a change within a batch is covered by
// the batch's lock.
class SettingsFile::ChangeLock {
public:
    explicit ChangeLock(SettingsFile &file) : m_file(file), m_own(!file.m_lock)
    {
        if (m_own)
            m_file.lockForChange();
    }
    ~ChangeLock()
    {
        if (m_own)
            m_file.m_lock.reset();
    }
    ChangeLock(const ChangeLock &) = delete;
    ChangeLock &operator=(const ChangeLock &) = delete;

private:
    SettingsFile &m_file;
    bool m_own;
};

SettingsFile::SettingsFile(QString path) : m_path(std::move(path)) {}

SettingsFile::~SettingsFile() = default;

bool SettingsFile::parseNumber(const QString &input, std::int32_t &value)
{
    const QString text = input.trimmed();
    // Hexadecimal is one prefix, "0x" or "$", then hex digits alone: the
    // conversion below would take a second prefix, a sign or blanks too.
    QStringView digits;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        digits = QStringView(text).sliced(2);
    else if (text.startsWith(QLatin1Char('$')))
        digits = QStringView(text).sliced(1);
    if (digits.data() != nullptr) {
        const bool hexOnly = std::all_of(digits.begin(), digits.end(), [](QChar c) {
            return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        });
        if (digits.isEmpty() || !hexOnly)
            return false;
        bool ok = false;
        const qulonglong number = digits.toULongLong(&ok, 16);
        if (!ok || number > 0xFFFFFFFFULL)
            return false;
        value = std::int32_t(std::uint32_t(number)); // hexadecimal spells the 32 bits
        return true;
    }
    bool ok = false;
    const qint64 number = text.toLongLong(&ok, 10);
    if (!ok || number < std::numeric_limits<std::int32_t>::min() || number > std::numeric_limits<std::int32_t>::max())
        return false;
    value = std::int32_t(number);
    return true;
}

std::optional<SettingsFile::Content> SettingsFile::load() const
{
    Content content;
    QFile file(m_path);
    if (!file.exists())
        return content;
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    if (data.startsWith(Utf8Bom)) {
        content.bom = Utf8Bom;
        data.remove(0, Utf8Bom.size());
    }
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = start;
        while (end < data.size() && data[end] != '\n' && data[end] != '\r')
            ++end;
        Line line{data.mid(start, end - start), {}};
        if (end < data.size()) {
            const bool crlf = data[end] == '\r' && end + 1 < data.size() && data[end + 1] == '\n';
            line.ending = data.mid(end, crlf ? 2 : 1);
        }
        start = end + line.ending.size();
        content.lines.append(std::move(line));
    }
    return content;
}

SettingsFile::Stamp SettingsFile::stamp() const
{
    struct stat info {};
    Stamp stamp;
    if (::stat(QFile::encodeName(m_path).constData(), &info) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.seconds = info.st_mtim.tv_sec;
    stamp.nanoseconds = info.st_mtim.tv_nsec;
    return stamp;
}

void SettingsFile::lockForChange()
{
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath()))
        throw SettingsWriteError(m_path);
    const QString lockPath = info.absoluteFilePath() + QStringLiteral(".lock");
    auto lock = std::make_unique<QLockFile>(lockPath);
    lock->setStaleLockTime(LockStaleMs);
    // Asked again at short intervals: QLockFile's own waiting sleeps ever
    // longer and would keep missing the moments between another writer's
    // changes.
    const QDeadlineTimer deadline(LockWaitMs);
    while (!lock->tryLock(0)) {
        if (lock->error() != QLockFile::LockFailedError || deadline.hasExpired())
            throw SettingsWriteError(m_path);
        // A lock without its owner's details was left by a writer that died
        // while taking it; QLockFile would only let it go once it is old.
        // Removing it fails while a live writer holds it, except in the
        // moment between its creating the file and locking it: hence the
        // wait, without which two writers were seen to change the file at
        // once.
        if (!lock->getLockInfo(nullptr, nullptr, nullptr)
            && QFileInfo(lockPath).lastModified().msecsTo(QDateTime::currentDateTime()) > EmptyLockStaleMs)
            lock->removeStaleLockFile();
        QThread::msleep(5);
    }
    m_lock = std::move(lock);
}

void SettingsFile::beginBatch()
{
    if (m_batchDepth == 0) {
        lockForChange();
        auto release = qScopeGuard([this] { m_lock.reset(); });
        m_batch = loadForChange();
        release.dismiss();
    }
    ++m_batchDepth;
}

void SettingsFile::commitBatch()
{
    if (m_batchDepth == 0 || --m_batchDepth > 0)
        return;
    const auto release = qScopeGuard([this] { m_lock.reset(); });
    const Content content = *std::move(m_batch);
    m_batch.reset();
    store(content);
}

const SettingsFile::Content &SettingsFile::current() const
{
    if (m_batch)
        return *m_batch;
    const Stamp now = stamp();
    if (!m_cacheValid || !(m_cacheStamp == now)) {
        m_cache = load().value_or(Content{});
        m_cacheStamp = now;
        m_cacheValid = true;
    }
    return m_cache;
}

SettingsFile::Content SettingsFile::loadForChange() const
{
    std::optional<Content> content = load();
    if (!content)
        throw SettingsWriteError(m_path);
    return *std::move(content);
}

bool SettingsFile::lookUp(const QString &section, const QString &key, QString &value) const
{
    const Content &content = current();
    bool inSection = false;
    bool seenSection = false;
    for (const Line &line : content.lines) {
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

QString SettingsFile::ReadText(const QString &section, const QString &key, const QString &fallback) const
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

std::int32_t SettingsFile::ReadNumber(const QString &section, const QString &key, std::int32_t fallback) const
{
    QString text;
    std::int32_t value = 0;
    return lookUp(section, key, text) && parseNumber(text, value) ? value : fallback;
}

bool SettingsFile::ReadFlag(const QString &section, const QString &key, bool fallback) const
{
    return ReadNumber(section, key, fallback ? 1 : 0) != 0;
}

void SettingsFile::WriteText(const QString &section, const QString &key, const QString &value)
{
    writeValue(section, key, value);
}

void SettingsFile::WriteNumber(const QString &section, const QString &key, std::int32_t value)
{
    writeValue(section, key, QString::number(value));
}

void SettingsFile::WriteFlag(const QString &section, const QString &key, bool value)
{
    writeValue(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void SettingsFile::writeValue(const QString &section, const QString &key, const QString &value)
{
    const ChangeLock lock(*this);
    Content content = m_batch ? *m_batch : loadForChange();
    const QByteArray text = oneLine(value);
    QByteArray ending = "\n";
    for (const Line &line : content.lines) {
        if (!line.ending.isEmpty()) {
            ending = line.ending;
            break;
        }
    }

    qsizetype sectionAt = -1;
    qsizetype lastFilled = -1; // the section's last line that is not blank
    for (qsizetype i = 0; i < content.lines.size(); ++i) {
        Line &line = content.lines[i];
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
            store(content);
            return;
        }
        if (!trimmed(line.text).isEmpty())
            lastFilled = i;
    }

    const Line keyLine{key.toUtf8() + '=' + text, ending};
    if (sectionAt >= 0) {
        Line &before = content.lines[lastFilled];
        if (before.ending.isEmpty())
            before.ending = ending;
        content.lines.insert(lastFilled + 1, keyLine);
    } else {
        if (!content.lines.isEmpty()) {
            if (content.lines.last().ending.isEmpty())
                content.lines.last().ending = ending;
            if (!trimmed(content.lines.last().text).isEmpty())
                content.lines.append({{}, ending});
        }
        content.lines.append({'[' + section.toUtf8() + ']', ending});
        content.lines.append(keyLine);
    }
    store(content);
}

void SettingsFile::ClearSection(const QString &section)
{
    const ChangeLock lock(*this);
    Content content = m_batch ? *m_batch : loadForChange();
    QList<Line> kept;
    bool removing = false;
    bool removed = false;
    for (const Line &line : content.lines) {
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
    if (!removed)
        return;
    content.lines = kept;
    store(content);
}

void SettingsFile::store(const Content &content)
{
    if (m_batch) {
        m_batch = content;
        return;
    }
    QByteArray data = content.bom;
    for (const Line &line : content.lines)
        data += line.text + line.ending;

    const QFileInfo info(m_path);
    // Replacing the file by renaming would go past a file the user made
    // read-only.
    if (info.exists() && !info.isWritable())
        throw SettingsWriteError(m_path);

    QSaveFile file(m_path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        throw SettingsWriteError(m_path);
    // QSaveFile has been seen to report success on a full disk and install a
    // short file: every step is checked, and the data forced to the disk
    // before the rename, so that a failure leaves the old file in place.
    if (file.write(data) != data.size() || !file.flush() || ::fsync(file.handle()) != 0
        || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        throw SettingsWriteError(m_path);
    }
    if (!file.commit())
        throw SettingsWriteError(m_path);
    m_cacheValid = false;
}

} // namespace vespin
