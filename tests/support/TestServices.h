#pragma once

// Test doubles of the program's services, and a bundle of them with a fresh
// settings directory per test.

#include "shell/Services.h"

#include <QList>
#include <QTemporaryDir>

#include <functional>
#include <utility>
#include <memory>

namespace vespin::test {

// What a dialog showed when it was run.
struct ShownDialog {
    QString className;
    QString title;
    QString text;                 // a message box's text
    QStringList buttons;          // a message box's button texts
};

// Answers dialogs from a script, in order; a dialog with no script left is
// rejected (closed without an answer).
class ScriptedModalRunner final : public ModalRunner {
public:
    using Answer = std::function<int(QDialog &)>;

    int run(QDialog &dialog) override;

    void answerWith(Answer answer) { m_script.append({QString(), std::move(answer)}); }
    // An answer kept for the first dialog of the class named; dialogs of
    // other classes shown before it are rejected.
    void answerWhen(const QString &className, Answer answer) { m_script.append({className, std::move(answer)}); }
    // Presses the message box button with this role.
    void press(QMessageBox::StandardButton button);

    // When set, every dialog is shown before its answer (or its rejection),
    // so that what showing does, such as a sound, happens as in a real run.
    bool showDialogs = false;

    const QList<ShownDialog> &shown() const { return m_shown; }
    // Forgets what was shown so far, e.g. the dialogs of the start-up.
    QList<ShownDialog> takeShown() { return std::exchange(m_shown, {}); }

private:
    struct Scripted {
        QString className; // empty: any dialog
        Answer answer;
    };
    QList<Scripted> m_script;
    QList<ShownDialog> m_shown;
};

class RecordingSound final : public SoundService {
public:
    void play(const QString &fileName) override { played.append(fileName); }
    QStringList played;
};

class RecordingHelp final : public HelpService {
public:
    struct Call {
        QString file;
        HelpCommand command;
        int topic;
        QPoint popupAt;
    };
    void command(const QString &file, HelpCommand command, int topic, QPoint popupAt) override
    {
        calls.append({file, command, topic, popupAt});
    }
    QList<Call> calls;
};

class FixedClock final : public Clock {
public:
    std::uint32_t utcMillisecondsOfDay() const override { return millisecondsOfDay; }
    QDateTime localNow() const override { return local; }
    std::uint32_t millisecondsOfDay = 0;
    QDateTime local = QDateTime(QDate(2026, 12, 10), QTime(12, 0));
};

class FakeSystem final : public SystemInfo {
public:
    QSize screenSize() const override { return screen; }
    int audioOutputCount() const override { return audioOutputs; }
    OperatingSystem operatingSystem() const override { return os; }
    std::uint64_t totalMemoryBytes() const override { return memory; }
    QString userFullName() const override { return fullName; }

    QSize screen{1024, 768};
    int audioOutputs = 1;
    OperatingSystem os{QStringLiteral("Linux"), 6, 1, 0, QStringLiteral("Test Linux")};
    std::uint64_t memory = 8ull << 30;
    QString fullName = QStringLiteral("Test Player");
};

class TemporarySettingsLocation final : public SettingsLocation {
public:
    QString directory() const override { return m_dir.filePath(QStringLiteral("Vespintide")); }
    QString root() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

struct TestServices {
    ScriptedModalRunner modal;
    RecordingSound sound;
    RecordingHelp help;
    FixedClock clock;
    FakeSystem system;
    TemporarySettingsLocation settings;

    Services services() { return {modal, sound, help, clock, system, settings}; }

    QString settingsFile() const;
    void writeSettings(const QByteArray &contents);
    QByteArray readSettings() const;
};

// Every file under a directory, recursively, relative to it.
QStringList filesUnder(const QString &directory);

} // namespace vespin::test
