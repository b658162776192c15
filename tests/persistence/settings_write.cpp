// Writes one value into a settings file, for the fault tests that run it in
// conditions a test process cannot make for itself (a full disk, another
// user). Exit 0: written; 1: the write failed, with its message on stderr.
#include "persistence/SettingsFile.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: settings_write FILE SECTION KEY VALUE\n");
        return 2;
    }
    vespin::SettingsFile file(QString::fromLocal8Bit(argv[1]));
    try {
        file.WriteText(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[4]));
    } catch (const vespin::SettingsWriteError &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
