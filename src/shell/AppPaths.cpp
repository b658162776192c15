#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace vespin {
namespace {

QString besideOrInstalled(const QString &name, const QString &installedDir)
{
    const QDir appDir(QCoreApplication::applicationDirPath());
    const QString beside = appDir.absoluteFilePath(name);
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = QDir::cleanPath(appDir.absoluteFilePath(installedDir + QLatin1Char('/') + name));
    return QFileInfo::exists(installed) ? installed : beside;
}

} // namespace

QString cardLibraryPath()
{
    return besideOrInstalled(QStringLiteral("libVespin.so"), QStringLiteral("../lib/vespintide"));
}

QString helpModulePath()
{
    return besideOrInstalled(QStringLiteral("libVespinHelp.so"), QStringLiteral("../lib/vespintide"));
}

QString soundModulePath()
{
    return besideOrInstalled(QStringLiteral("libVespinSound.so"), QStringLiteral("../lib/vespintide"));
}

QString dataDirectory()
{
    const QDir appDir(QCoreApplication::applicationDirPath());
    const QString installed = QDir::cleanPath(appDir.absoluteFilePath(QStringLiteral("../share/vespintide")));
    return QFileInfo(installed).isDir() ? installed : appDir.absolutePath();
}

} // namespace vespin
