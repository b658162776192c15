// The settings file under faults that only other processes can bring: a
// writer killed at any moment, and writers at once. The writers are
// settings_write processes; see there.
#include "persistence/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include <sys/types.h>

using namespace vespin;

namespace {

const QString Writer = QStringLiteral(VESPIN_SETTINGS_WRITE);

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void put(const QString &path, const QByteArray &data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(data), data.size());
}

// Every name in the folder but the settings file's own.
QStringList othersIn(const QString &dir)
{
    QStringList names = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.removeAll(QStringLiteral("Vespin.ini"));
    return names;
}

const QString NewFile = QStringLiteral("the new file");

// What a process has open in a folder. The new file of a write has no name
// while it is written (the kernel calls it "#<inode> (deleted)"), then a
// temporary one until it replaces the old file.
QStringList openIn(qint64 pid, const QString &dir)
{
    QStringList open;
    std::error_code error;
    for (const auto &fd : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
        const QString target = QString::fromStdString(std::filesystem::read_symlink(fd.path(), error).string());
        if (!target.startsWith(dir + QLatin1Char('/')))
            continue;
        const QString name = target.mid(dir.size() + 1);
        if (name.endsWith(QLatin1String(" (deleted)")))
            open << NewFile + QStringLiteral(", not yet named");
        else if (name.startsWith(QLatin1String("Vespin.ini.")) && !name.startsWith(QLatin1String("Vespin.ini.lock")))
            open << NewFile + QStringLiteral(" under a temporary name");
        else
            open << name;
    }
    open.sort();
    return open;
}

// Stops a process and returns once it is stopped, not merely signalled;
// false when it has ended already.
bool stop(qint64 pid)
{
    if (::kill(pid_t(pid), SIGSTOP) != 0)
        return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    for (;;) {
        if (!stat.open(QIODevice::ReadOnly))
            return false;
        const QByteArray line = stat.readAll();
        stat.close();
        // "pid (name) state ...": the state follows the name's bracket.
        const QByteArray state = line.mid(line.lastIndexOf(')') + 2, 1);
        if (state == "T")
            return true;
        if (state == "Z" || state == "X")
            return false;
        QThread::yieldCurrentThread();
    }
}

} // namespace

class TestSettingsFaults : public QObject {
    Q_OBJECT

private slots:
    void killedWritesLeaveTheOldOrTheNewFile();
    void concurrentWritersLoseNoKey_data();
    void concurrentWritersLoseNoKey();
    void aChangeHoldsALockBesideTheFile();
    void locksLeftByTheDeadDoNotBlock_data();
    void locksLeftByTheDeadDoNotBlock();
};

// A writer rewrites one large value without end and is stopped dead at
// random moments, hundreds of times. Each time the file must hold exactly
// what it held before the write under way or exactly what that write was
// making of it, and the next writer must get its write through whatever the
// killed one left behind.
void TestSettingsFaults::killedWritesLeaveTheOldOrTheNewFile()
{
    constexpr int Kills = 320;
    constexpr int ValueSize = 256 * 1024;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = QDir(dir.path()).canonicalPath();
    const QString path = folder + QStringLiteral("/Vespin.ini");

    // The value sits between other sections, whose bytes must survive too.
    const QByteArray head = "[Options]\r\nSound=1\r\n; kept\r\n\r\n[TopTen]\r\nLastPlayer=";
    const QByteArray tail = "\r\nPlayer1=Ann\r\n\r\n[AutoSave]\r\nGameSaved=0\r\n";
    const QByteArray padding(ValueSize, 'x');
    auto written = [&](int n) { return head + QByteArray::number(n) + ' ' + padding + tail; };
    put(path, head + "none" + tail);

    QRandomGenerator random(8);
    std::map<QString, int> stoppedWith; // what the writer had open when killed
    QStringList leftBehind;
    int survived = 0;
    int inNewFile = 0;
    qint64 slowestFirstWrite = 0;
    for (int kill = 1; kill <= Kills; ++kill) {
        QProcess writer;
        writer.start(Writer, {QStringLiteral("--endless"), path, QStringLiteral("TopTen"), QStringLiteral("LastPlayer"),
                              QString::number(ValueSize)});
        QVERIFY(writer.waitForStarted());
        // The first write of each writer goes through whatever the last
        // kill left; only then does the clock for the next kill start.
        QElapsedTimer started;
        started.start();
        QByteArray said;
        while (!said.contains("\n2\n") && started.elapsed() < 20000) {
            if (!writer.waitForReadyRead(20000))
                break;
            said += writer.readAllStandardOutput();
        }
        QVERIFY2(said.contains("\n2\n"),
                 qPrintable(QStringLiteral("writer %1 did not finish its first write: %2")
                                .arg(kill).arg(QString::fromLocal8Bit(writer.readAllStandardError()))));
        slowestFirstWrite = std::max(slowestFirstWrite, started.elapsed());

        // Every second kill is aimed at the short time in which the new
        // file exists: the writer is stopped at random moments, and let go
        // on, until one falls in it.
        const bool aimed = kill % 2 == 0;
        const qint64 pid = writer.processId();
        QThread::usleep(random.bounded(60000));
        QStringList open;
        for (int look = 0;; ++look) {
            if (!stop(pid)) {
                writer.waitForFinished();
                QFAIL(qPrintable(QStringLiteral("writer %1 ended before it was killed, with status %2: %3")
                                     .arg(kill)
                                     .arg(writer.exitCode())
                                     .arg(QString::fromLocal8Bit(writer.readAllStandardError()))));
            }
            open = openIn(pid, folder);
            if (!aimed || !open.filter(NewFile).isEmpty() || look == 10000)
                break;
            QCOMPARE(::kill(pid_t(pid), SIGCONT), 0);
            QThread::usleep(random.bounded(1000));
        }
        ++stoppedWith[open.isEmpty() ? QStringLiteral("nothing") : open.join(QStringLiteral(", "))];
        inNewFile += open.filter(NewFile).isEmpty() ? 0 : 1;
        QCOMPARE(::kill(pid_t(pid), SIGKILL), 0);
        QVERIFY(writer.waitForFinished());
        QCOMPARE(writer.exitStatus(), QProcess::CrashExit);

        said += writer.readAllStandardOutput();
        const QList<QByteArray> numbers = said.trimmed().split('\n');
        const int under = numbers.last().toInt(); // the write under way
        QVERIFY(under >= 2);
        const QByteArray now = contents(path);
        QVERIFY2(now == written(under - 1) || now == written(under),
                 qPrintable(QStringLiteral("kill %1, in write %2: %3 bytes, starting %4")
                                .arg(kill).arg(under).arg(now.size()).arg(QString::fromLatin1(now.left(80)))));
        const SettingsFile file(path);
        QCOMPARE(file.ReadText(QStringLiteral("TopTen"), QStringLiteral("Player1"), {}), QStringLiteral("Ann"));
        QCOMPARE(file.ReadNumber(QStringLiteral("Options"), QStringLiteral("Sound"), 0), 1);
        ++survived;

        for (const QString &name : othersIn(folder)) {
            if (!leftBehind.contains(name))
                leftBehind << name;
        }
    }

    // What the last kill left must not stand in the way of the next start.
    SettingsFile file(path);
    file.WriteText(QStringLiteral("TopTen"), QStringLiteral("LastPlayer"), QStringLiteral("Bea"));
    QCOMPARE(contents(path), head + "Bea" + tail);

    qInfo("kills survived: %d of %d, %d of them while the new file existed; slowest first write after a kill: %lld ms",
          survived, Kills, inNewFile, slowestFirstWrite);
    for (const auto &[what, count] : stoppedWith)
        qInfo("  %4d kills with open: %s", count, qPrintable(what));
    qInfo("names seen beside the file after kills: %s",
          leftBehind.isEmpty() ? "none" : qPrintable(leftBehind.join(QStringLiteral(", "))));
    qInfo("left at the end: %s", othersIn(folder).isEmpty() ? "nothing" : qPrintable(othersIn(folder).join(QStringLiteral(", "))));
    // The aimed kills did find the new file.
    QVERIFY(inNewFile >= Kills / 4);
    // A lock left by a killed writer was taken over and given back.
    QVERIFY(!othersIn(folder).contains(QStringLiteral("Vespin.ini.lock")));
}

// Writers of one file, each adding keys of its own one change at a time,
// every change a read of the file and a replacement of it. No key any of
// them wrote may be missing at the end, and every read of the file while
// they work must find it whole.
void TestSettingsFaults::concurrentWritersLoseNoKey_data()
{
    QTest::addColumn<int>("writers");
    QTest::addColumn<int>("keys"); // each

    QTest::newRow("two writers") << 2 << 150;
    // More writers waiting at once find each other's locks in every state.
    QTest::newRow("four writers") << 4 << 100;
}

void TestSettingsFaults::concurrentWritersLoseNoKey()
{
    QFETCH(int, writers);
    QFETCH(int, keys);
    // Writer A writes A1, A2, ... into [Options], B into [TopTen] and so on.
    const QStringList sections{QStringLiteral("Options"), QStringLiteral("TopTen"), QStringLiteral("Window"),
                               QStringLiteral("Statistics")};
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Vespin.ini"));
    put(path, "[Options]\nSound=1\n");

    // A file whose every line one of the writers could have written.
    static const QRegularExpression entry(QStringLiteral("^([A-D])([0-9]+)=([0-9]+)$"));
    auto damage = [&sections](const QByteArray &data) -> QString {
        if (!data.endsWith('\n'))
            return QStringLiteral("ends without a line break");
        QString section;
        QStringList seen;
        for (const QByteArray &bytes : data.chopped(1).split('\n')) {
            const QString line = QString::fromLatin1(bytes);
            if (line.startsWith(QLatin1Char('[')) && sections.contains(line.mid(1).chopped(1))) {
                if (seen.contains(line))
                    return QStringLiteral("%1 twice").arg(line);
                seen << line;
                section = line.mid(1).chopped(1);
                continue;
            }
            if (line.isEmpty() || (line == QLatin1String("Sound=1") && section == sections[0]))
                continue;
            const QRegularExpressionMatch m = entry.match(line);
            const bool ours = m.hasMatch() && m.captured(2) == m.captured(3)
                              && section == sections.value(m.captured(1).at(0).unicode() - 'A');
            if (!ours)
                return QStringLiteral("line \"%1\" under [%2]").arg(line.left(60), section);
        }
        return {};
    };

    std::vector<std::unique_ptr<QProcess>> running;
    for (int w = 0; w < writers; ++w) {
        running.push_back(std::make_unique<QProcess>());
        running.back()->start(Writer, {QStringLiteral("--keys"), path, sections[w], QString(QChar('A' + w)),
                                       QString::number(keys)});
        QVERIFY(running.back()->waitForStarted());
    }
    auto busy = [&running] {
        return std::any_of(running.begin(), running.end(),
                           [](const auto &writer) { return writer->state() != QProcess::NotRunning; });
    };
    int reads = 0;
    QElapsedTimer timer;
    timer.start();
    while (busy() && timer.elapsed() < 120000) {
        const QString found = damage(contents(path));
        QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("read %1 while writing: %2").arg(reads).arg(found)));
        ++reads;
        QTest::qWait(1);
    }
    for (const auto &writer : running) {
        QCOMPARE(writer->state(), QProcess::NotRunning);
        // Nothing on stderr either: Qt complains there when a writer finds
        // its lock taken from it.
        const QByteArray said = writer->readAllStandardError();
        QVERIFY2(writer->exitStatus() == QProcess::NormalExit && writer->exitCode() == 0 && said.isEmpty(),
                 said.constData());
    }

    QCOMPARE(damage(contents(path)), QString());
    const SettingsFile file(path);
    QStringList lost;
    for (int w = 0; w < writers; ++w) {
        for (int n = 1; n <= keys; ++n) {
            const QString key = QChar('A' + w) + QString::number(n);
            if (file.ReadNumber(sections[w], key, 0) != n)
                lost << key;
        }
    }
    QCOMPARE(file.ReadNumber(QStringLiteral("Options"), QStringLiteral("Sound"), 0), 1);
    qInfo("%d keys written by %d writers in %lld ms, the file read whole %d times while they wrote",
          writers * keys, writers, timer.elapsed(), reads);
    QVERIFY2(lost.isEmpty(), qPrintable(QStringLiteral("%1 keys lost: %2").arg(lost.size()).arg(lost.join(QLatin1Char(' ')))));
    QCOMPARE(othersIn(dir.path()), QStringList());
}

// While one change is under way another waits for it, and gives up after a
// while with the message of any write that fails rather than hold up the
// game.
void TestSettingsFaults::aChangeHoldsALockBesideTheFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("config/Vespin.ini"));
    SettingsFile batch(path);
    batch.beginBatch();
    batch.WriteNumber(QStringLiteral("Options"), QStringLiteral("Sound"), 0);
    QCOMPARE(othersIn(dir.filePath(QStringLiteral("config"))), QStringList{QStringLiteral("Vespin.ini.lock")});

    SettingsFile other(path);
    QElapsedTimer waited;
    waited.start();
    try {
        other.WriteNumber(QStringLiteral("Options"), QStringLiteral("Pause"), 0);
        QFAIL("the write went past the lock");
    } catch (const SettingsWriteError &error) {
        QCOMPARE(error.message(), QStringLiteral("Unable to write to %1").arg(path));
    }
    QVERIFY(waited.elapsed() >= SettingsFile::LockWaitMs);
    QVERIFY(!QFile::exists(path));

    batch.commitBatch();
    QCOMPARE(othersIn(dir.filePath(QStringLiteral("config"))), QStringList());
    other.WriteNumber(QStringLiteral("Options"), QStringLiteral("Pause"), 0);
    QCOMPARE(contents(path), QByteArray("[Options]\nSound=0\nPause=0\n"));
}

// A writer that dies holding the lock, or while taking it, leaves the lock
// file behind. The next change must take it over at once.
void TestSettingsFaults::locksLeftByTheDeadDoNotBlock_data()
{
    QTest::addColumn<bool>("taken"); // the dead writer had written its details
    QTest::addColumn<int>("age");    // seconds since the lock was made
    QTest::addColumn<int>("within"); // milliseconds the next change may wait

    QTest::newRow("held") << true << 0 << SettingsFile::LockWaitMs / 2;
    QTest::newRow("being taken, long ago") << false << 60 << SettingsFile::LockWaitMs / 2;
    // An empty lock may still be about to receive a live writer's details.
    QTest::newRow("being taken, just now") << false << 0 << SettingsFile::LockWaitMs;
}

void TestSettingsFaults::locksLeftByTheDeadDoNotBlock()
{
    QFETCH(bool, taken);
    QFETCH(int, age);
    QFETCH(int, within);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Vespin.ini"));
    put(path, "[Options]\nSound=1\n");

    // The lock of a writer killed while it held it, with the details it
    // wrote; or the empty file of one killed before it could write them.
    QProcess writer;
    writer.start(Writer, {QStringLiteral("--endless"), path, QStringLiteral("TopTen"), QStringLiteral("LastPlayer"),
                          QStringLiteral("10")});
    QVERIFY(writer.waitForStarted());
    const qint64 pid = writer.processId();
    writer.kill();
    QVERIFY(writer.waitForFinished());
    QByteArray details;
    if (taken)
        details = QByteArray::number(pid) + "\nsettings_write\n" + QSysInfo::machineHostName().toUtf8() + '\n'
                  + QSysInfo::machineUniqueId() + '\n' + QSysInfo::bootUniqueId() + '\n';
    QFile lock(path + QStringLiteral(".lock"));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    QCOMPARE(lock.write(details), details.size());
    QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-age), QFileDevice::FileModificationTime));
    lock.close();

    QElapsedTimer waited;
    waited.start();
    SettingsFile file(path);
    file.WriteNumber(QStringLiteral("Options"), QStringLiteral("Pause"), 0);
    QVERIFY2(waited.elapsed() < within, qPrintable(QStringLiteral("waited %1 ms").arg(waited.elapsed())));
    QCOMPARE(file.ReadNumber(QStringLiteral("Options"), QStringLiteral("Pause"), 1), 0);
    QCOMPARE(othersIn(dir.path()), QStringList());
}

QTEST_MAIN(TestSettingsFaults)
#include "tst_settingsfaults.moc"
