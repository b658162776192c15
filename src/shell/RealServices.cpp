#include "RealServices.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QSysInfo>

#include <pwd.h>
#include <sys/sysinfo.h>
#include <unistd.h>

namespace vespin {

int DialogModalRunner::run(QDialog &dialog)
{
    // Modal to the window it belongs to rather than to the whole program: the
    // help window, opened from a dialog's Help button, must stay usable while
    // the dialog waits. A dialog of no window still blocks every window.
    if (dialog.parentWidget())
        dialog.setWindowModality(Qt::WindowModal);
    return dialog.exec();
}

std::uint32_t SystemClock::utcMillisecondsOfDay() const
{
    return std::uint32_t(QDateTime::currentDateTimeUtc().time().msecsSinceStartOfDay());
}

QDateTime SystemClock::localNow() const
{
    return QDateTime::currentDateTime();
}

QSize LinuxSystemInfo::screenSize() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(640, 480);
}

int LinuxSystemInfo::audioOutputCount() const
{
    return m_sound.audioOutputCount();
}

OperatingSystem LinuxSystemInfo::operatingSystem() const
{
    OperatingSystem os;
    os.name = QStringLiteral("Linux");
    const QStringList release = QSysInfo::kernelVersion().split(QLatin1Char('.'));
    auto part = [&](int i) { return i < release.size() ? release[i].section(QLatin1Char('-'), 0, 0).toInt() : 0; };
    os.major = part(0);
    os.minor = part(1);
    os.build = part(2);
    os.servicePack = QSysInfo::prettyProductName();
    return os;
}

std::uint64_t LinuxSystemInfo::totalMemoryBytes() const
{
    struct sysinfo info {};
    if (sysinfo(&info) != 0)
        return 0;
    return std::uint64_t(info.totalram) * info.mem_unit;
}

QString LinuxSystemInfo::userFullName() const
{
    const passwd *entry = getpwuid(getuid());
    if (!entry || !entry->pw_gecos)
        return {};
    return QString::fromLocal8Bit(entry->pw_gecos).section(QLatin1Char(','), 0, 0).trimmed();
}

QString XdgSettingsLocation::directory() const
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .absoluteFilePath(QStringLiteral("Vespintide"));
}

} // namespace vespin
