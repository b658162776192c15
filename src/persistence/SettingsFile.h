#pragma once

#include "SettingsText.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

class QLockFile;

namespace vespin {

// A write that did not reach the disk. The file is then as it was before
// the write; the operation under way ends and the user is told.
class SettingsWriteError : public std::runtime_error {
public:
    explicit SettingsWriteError(const QString &path);
    QString message() const { return m_message; }

private:
    QString m_message;
};

// Vespin.ini on disk, its text read and changed through SettingsText.
// Every read sees what is on disk at that moment; every write reaches
// the disk at once, replacing the whole file atomically, and keeps every
// byte it does not change (unknown sections and keys, comments, blank lines,
// line endings). A file that cannot be read, or a value that cannot be
// parsed, gives the caller's default.
//
// A change reads the file and replaces it; two processes changing it at
// once would each replace it with what they read before the other's change
// and lose that change. So every change, a batch from its beginning to its
// commit, holds the lock file "<file>.lock" beside it. A writer that cannot
// have the lock within LockWaitMs fails as any write that does not reach
// the disk; a lock left by a process that died is taken over at once.
class SettingsFile {
public:
    static constexpr int MaxTextLength = SettingsText::MaxTextLength;
    static constexpr int LockWaitMs = 3000;

    explicit SettingsFile(QString path);
    ~SettingsFile();

    QString path() const { return m_path; }

    QString ReadText(const QString &section, const QString &key, const QString &fallback) const;
    std::int32_t ReadNumber(const QString &section, const QString &key, std::int32_t fallback) const;
    bool ReadFlag(const QString &section, const QString &key, bool fallback) const;

    // Each throws SettingsWriteError when the file cannot be written.
    void WriteText(const QString &section, const QString &key, const QString &value);
    void WriteNumber(const QString &section, const QString &key, std::int32_t value);
    void WriteFlag(const QString &section, const QString &key, bool value);
    void ClearSection(const QString &section);

    // Between these, writes collect in memory and reach the disk together,
    // in one atomic replacement, at the outermost commit; reads see them
    // already. A section written whole can then never be found half written.
    void beginBatch();
    void commitBatch();

    // The integer rule of the file: signed 32-bit decimal, or hexadecimal
    // after "0x" (with at least one digit) or "$"; false for anything else.
    static bool parseNumber(const QString &text, std::int32_t &value);

private:
    const SettingsText &current() const;
    // The file as it is on disk: empty when there is none, nothing when it
    // exists but cannot be read.
    std::optional<SettingsText> load() const;
    // For a change: what is there, or SettingsWriteError when a file that
    // cannot be read would be overwritten.
    SettingsText loadForChange() const;
    void store(const SettingsText &content);
    // Taken before the file is read for a change, given back once the
    // change has reached the disk or failed.
    void lockForChange();
    class ChangeLock;
    // Applies an edit to what is there, under the lock, and stores the text
    // unless the edit says it changed nothing.
    void change(const std::function<bool(SettingsText &)> &edit);

    std::optional<SettingsText> m_batch;
    int m_batchDepth = 0;
    std::unique_ptr<QLockFile> m_lock;

    // What identifies one state of the file on disk.
    struct Stamp {
        bool exists = false;
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = 0;
        qint64 seconds = 0;
        qint64 nanoseconds = 0;
        bool operator==(const Stamp &) const = default;
    };
    Stamp stamp() const;

    QString m_path;
    // The last parse, reused while the file on disk has not changed.
    mutable SettingsText m_cache;
    mutable Stamp m_cacheStamp;
    mutable bool m_cacheValid = false;
};

} // namespace vespin
