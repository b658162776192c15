#pragma once

#include <QObject>

class QSocketNotifier;

namespace vespin {

// SIGTERM, SIGHUP and SIGINT end the program the way a close does: a logout,
// a shutdown or Ctrl+C in a terminal must not cost the player the game on the
// table or a record. A handler may only do what is safe in a signal, so it
// writes the signal's number into a pipe, and the event loop reports it.
class TerminationSignals final : public QObject {
    Q_OBJECT
public:
    // Catches the signals from here on; call it first thing in main(), so
    // that a signal before the event loop runs waits in the pipe instead of
    // ending the program. Safe to call more than once.
    static void catchSignals();

    // Reports the signals caught, from the event loop.
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signal);

private:
    void readPipe();
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace vespin
