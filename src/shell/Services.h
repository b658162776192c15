#pragma once

// The services the program takes from its surroundings. Each is a small
// interface with one real implementation (RealServices.h) and a test double
// (tests/support), handed to the main window when it is built.

#include <QDateTime>
#include <QMessageBox>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>

class QDialog;

namespace vespin {

// Every modal dialog and message box of the program is shown through here, so
// that a test can answer it without a nested event loop.
class ModalRunner {
public:
    virtual ~ModalRunner() = default;
    // Runs the dialog modally and returns its result code.
    virtual int run(QDialog &dialog) = 0;
};

// Stands in front of another runner. Once the program is ending it shows
// nothing more: every dialog is then rejected unseen, so that no question
// holds up the end and nothing is changed after the last write.
class ClosingModalRunner final : public ModalRunner {
public:
    explicit ClosingModalRunner(ModalRunner &inner) : m_inner(inner) {}
    int run(QDialog &dialog) override;
    void refuseFromNowOn() { m_refusing = true; }

private:
    ModalRunner &m_inner;
    bool m_refusing = false;
};

// A message box shown through the runner; returns the button pressed, or
// QMessageBox::NoButton when it was closed some other way.
QMessageBox::StandardButton showMessage(ModalRunner &runner, QMessageBox::Icon icon, const QString &title,
                                        const QString &text, QMessageBox::StandardButtons buttons,
                                        QWidget *parent = nullptr);

class SoundService {
public:
    virtual ~SoundService() = default;
    // Plays a wave file by name, asynchronously; a new sound ends the one
    // playing and a missing file is silence.
    virtual void play(const QString &fileName) = 0;
};

// The help commands the program gives to its help viewer.
enum class HelpCommand {
    Finder,        // open on the contents
    PartialKey,    // open on the index
    Context,       // open on a topic
    ContextPopup,  // show a topic as a pop-up beside a control
    HelpOnHelp,    // how to use the help window
    Quit,          // close the help window
};

class HelpService {
public:
    virtual ~HelpService() = default;
    // file: the help file as the program names it; topic: for Context and
    // ContextPopup; popupAt: the control's top-left corner in screen
    // coordinates, for ContextPopup.
    virtual void command(const QString &file, HelpCommand command, int topic = 0, QPoint popupAt = {}) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since midnight UTC, 0..86399999.
    virtual std::uint32_t utcMillisecondsOfDay() const = 0;
    virtual QDateTime localNow() const = 0;
};

struct OperatingSystem {
    QString name;          // "Linux"
    int major = 0;
    int minor = 0;
    int build = 0;
    QString servicePack;   // the distribution's pretty name
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    virtual QSize screenSize() const = 0;
    virtual int audioOutputCount() const = 0;
    virtual OperatingSystem operatingSystem() const = 0;
    virtual std::uint64_t totalMemoryBytes() const = 0;
    // The name recorded for the user account; empty when there is none.
    virtual QString userFullName() const = 0;
};

class SettingsLocation {
public:
    virtual ~SettingsLocation() = default;
    // The directory that holds Vespin.ini; it may not exist yet.
    virtual QString directory() const = 0;
};

struct Services {
    ModalRunner &modal;
    SoundService &sound;
    HelpService &help;
    Clock &clock;
    SystemInfo &system;
    SettingsLocation &settings;
};

} // namespace vespin
