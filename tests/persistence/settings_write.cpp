// Writes into a settings file from a process of its own, for the fault tests
// that need conditions a test process cannot make for itself: a full disk,
// another user, a kill in the middle of a write, a second writer.
//
//   settings_write FILE SECTION KEY VALUE
//       One write. Exit 0: written; 1: the write failed, with its message on
//       stderr.
//   settings_write --endless FILE SECTION KEY SIZE
//       Writes KEY = "<n> " and SIZE characters for n = 1, 2, ... until
//       killed, saying "<n>" on stdout before write n begins.
//   settings_write --keys FILE SECTION PREFIX COUNT
//       Writes PREFIX1 = 1 up to PREFIX<COUNT> = COUNT, each in a change of
//       its own, every second one as a batch, with a short random pause
//       between them so that another writer's changes fall in between.
//       Exit 1 at the first write that fails.
#include "persistence/SettingsFile.h"

#include <QRandomGenerator>
#include <QThread>

#include <cstdio>
#include <cstring>

using vespin::SettingsFile;

namespace {

QString arg(const char *text)
{
    return QString::fromLocal8Bit(text);
}

int failed(const vespin::SettingsWriteError &error)
{
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
}

int endless(SettingsFile &file, const QString &section, const QString &key, int size)
{
    const QString padding(size, QLatin1Char('x'));
    for (int n = 1;; ++n) {
        std::printf("%d\n", n);
        std::fflush(stdout);
        try {
            file.WriteText(section, key, QString::number(n) + QLatin1Char(' ') + padding);
        } catch (const vespin::SettingsWriteError &error) {
            return failed(error);
        }
    }
}

int keys(SettingsFile &file, const QString &section, const QString &prefix, int count)
{
    for (int n = 1; n <= count; ++n) {
        try {
            if (n % 2 == 0) {
                file.beginBatch();
                file.WriteNumber(section, prefix + QString::number(n), n);
                file.commitBatch();
            } else {
                file.WriteNumber(section, prefix + QString::number(n), n);
            }
        } catch (const vespin::SettingsWriteError &error) {
            return failed(error);
        }
        QThread::usleep(QRandomGenerator::global()->bounded(2000));
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 6 && (std::strcmp(argv[1], "--endless") == 0 || std::strcmp(argv[1], "--keys") == 0)) {
        SettingsFile file(arg(argv[2]));
        const int number = arg(argv[5]).toInt();
        return argv[1][2] == 'e' ? endless(file, arg(argv[3]), arg(argv[4]), number)
                                 : keys(file, arg(argv[3]), arg(argv[4]), number);
    }
    if (argc != 5) {
        std::fprintf(stderr, "usage: settings_write [--endless|--keys] FILE SECTION KEY VALUE|SIZE|COUNT\n");
        return 2;
    }
    SettingsFile file(arg(argv[1]));
    try {
        file.WriteText(arg(argv[2]), arg(argv[3]), arg(argv[4]));
    } catch (const vespin::SettingsWriteError &error) {
        return failed(error);
    }
    return 0;
}
