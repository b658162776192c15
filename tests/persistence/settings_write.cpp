// Writes into a settings file from a process of its own, for the fault tests
// that need conditions a test process cannot make for itself: a full disk,
// another user, a kill in the middle of a write.
//
//   settings_write FILE SECTION KEY VALUE
//       One write. Exit 0: written; 1: the write failed, with its message on
//       stderr.
//   settings_write --endless FILE SECTION KEY SIZE
//       Writes KEY = "<n> " and SIZE characters for n = 1, 2, ... until
//       killed, saying "<n>" on stdout before write n begins.
#include "persistence/SettingsFile.h"

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

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 6 && std::strcmp(argv[1], "--endless") == 0) {
        SettingsFile file(arg(argv[2]));
        return endless(file, arg(argv[3]), arg(argv[4]), arg(argv[5]).toInt());
    }
    if (argc != 5) {
        std::fprintf(stderr, "usage: settings_write [--endless] FILE SECTION KEY VALUE|SIZE\n");
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
