#include "SettingsFile.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QScopeGuard>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <limits>

namespace vespin {
namespace {

// A change holds the lock for one small write. A lock older than this was
// left by a process that hung, or by one whose number now belongs to
// another process of the same name.
constexpr int LockStaleMs = 10000;
// A writer writes its details into the lock file at once after creating
// it; one that has not done so after this long died in between.
constexpr int EmptyLockStaleMs = 1000;

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

std::optional<SettingsText> SettingsFile::load() const
{
    QFile file(m_path);
    if (!file.exists())
        return SettingsText();
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return SettingsText(data);
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
    const SettingsText content = *std::move(m_batch);
    m_batch.reset();
    store(content);
}

const SettingsText &SettingsFile::current() const
{
    if (m_batch)
        return *m_batch;
    const Stamp now = stamp();
    if (!m_cacheValid || !(m_cacheStamp == now)) {
        m_cache = load().value_or(SettingsText());
        m_cacheStamp = now;
        m_cacheValid = true;
    }
    return m_cache;
}

SettingsText SettingsFile::loadForChange() const
{
    std::optional<SettingsText> content = load();
    if (!content)
        throw SettingsWriteError(m_path);
    return *std::move(content);
}

QString SettingsFile::ReadText(const QString &section, const QString &key, const QString &fallback) const
{
    return current().ReadText(section, key, fallback);
}

std::int32_t SettingsFile::ReadNumber(const QString &section, const QString &key, std::int32_t fallback) const
{
    return current().ReadNumber(section, key, fallback);
}

bool SettingsFile::ReadFlag(const QString &section, const QString &key, bool fallback) const
{
    return current().ReadFlag(section, key, fallback);
}

void SettingsFile::WriteText(const QString &section, const QString &key, const QString &value)
{
    change([&](SettingsText &text) {
        text.WriteText(section, key, value);
        return true;
    });
}

void SettingsFile::WriteNumber(const QString &section, const QString &key, std::int32_t value)
{
    change([&](SettingsText &text) {
        text.WriteNumber(section, key, value);
        return true;
    });
}

void SettingsFile::WriteFlag(const QString &section, const QString &key, bool value)
{
    change([&](SettingsText &text) {
        text.WriteFlag(section, key, value);
        return true;
    });
}

void SettingsFile::ClearSection(const QString &section)
{
    change([&](SettingsText &text) { return text.ClearSection(section); });
}

void SettingsFile::change(const std::function<bool(SettingsText &)> &edit)
{
    const ChangeLock lock(*this);
    SettingsText content = m_batch ? *m_batch : loadForChange();
    if (edit(content))
        store(content);
}

void SettingsFile::store(const SettingsText &content)
{
    if (m_batch) {
        m_batch = content;
        return;
    }
    const QByteArray data = content.bytes();

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
