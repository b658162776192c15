#include "AppPaths.h"
#include "HelpViewer.h"
#include "RealServices.h"
#include "TfrmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vespintide"));

    vespin::DialogModalRunner modal;
    vespin::EffectSound sound;
    vespin::HelpViewer help(modal);
    vespin::SystemClock clock;
    vespin::LinuxSystemInfo system;
    vespin::XdgSettingsLocation settings;
    const vespin::Services services{modal, sound, help, clock, system, settings};

    vespin::TfrmMain window(services, vespin::cardLibraryPath());
    if (!window.isUsable())
        return 1;
    window.show();
    return app.exec();
}
