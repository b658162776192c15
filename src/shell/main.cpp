#include "AppPaths.h"
#include "LazyHelp.h"
#include "RealServices.h"
#include "SingleInstance.h"
#include "TerminationSignals.h"
#include "TfrmMain.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QSessionManager>

int main(int argc, char *argv[])
{
    // Before anything else: a termination signal from here on waits for the
    // event loop, which ends the program as a close does.
    vespin::TerminationSignals::catchSignals();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vespintide"));
    // The same icon and name as the installed desktop file, so that a task
    // bar shows the window as that entry.
    // Read as PNG and nothing else: otherwise the reader loads every image
    // plugin there is to ask whether it knows the file better. Title bars
    // and task bars show the window's own icon at 64 pixels at most; a
    // switcher that wants more finds the theme's icon through the desktop
    // file. The 128 and 256 pixel pictures would be nine tenths of the
    // pixels decoded and sent to the X server at every start.
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        QImageReader reader(QStringLiteral(":/icons/%1x%1/apps/org.vespintide.Vespintide.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vespintide.Vespintide"));

    // A second copy brings the running one to the front and ends, touching
    // no file.
    vespin::SingleInstance instance(QStringLiteral("Vespin Window"));
    if (!instance.becomePrimary()) {
        instance.askPrimaryToRestore();
        return 0;
    }

    vespin::DialogModalRunner modal;
    // Loads its module beside the window's making, on a thread of its own.
    vespin::LazySound sound(vespin::soundModulePath(), vespin::dataDirectory());
    vespin::LazyHelp help(modal, vespin::helpModulePath(),
                          QDir(vespin::dataDirectory()).absoluteFilePath(QStringLiteral("help/vespintide.qhc")));
    vespin::SystemClock clock;
    vespin::LinuxSystemInfo system(sound);
    vespin::XdgSettingsLocation settings;
    const vespin::Services services{modal, sound, help, clock, system, settings};

    vespin::TfrmMain window(services, vespin::cardLibraryPath());
    if (!window.isUsable())
        return 1;
    QObject::connect(&instance, &vespin::SingleInstance::restoreRequested, &window, &vespin::TfrmMain::WMRestoreApp);

    // The end of the desktop session, a shutdown, a logout or Ctrl+C: the
    // close writes without a question, then the program ends with 0, out of
    // any dialog that is open.
    vespin::TerminationSignals terminations;
    QObject::connect(&terminations, &vespin::TerminationSignals::received, &window, &vespin::TfrmMain::endSession);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, [&window](QSessionManager &) {
        window.endSession();
    });
    // The game is not one a session manager could start again where it was.
    QObject::connect(&app, &QGuiApplication::saveStateRequest, &window,
                     [](QSessionManager &manager) { manager.setRestartHint(QSessionManager::RestartNever); });
    QObject::connect(&window, &vespin::TfrmMain::sessionEnded, &app, [] { QCoreApplication::exit(0); });
    window.show();
    return app.exec();
}
