#pragma once

#include <QObject>

class QSocketNotifier;

// Turns the termination signals SIGTERM, SIGINT and SIGHUP into the Qt signal `received` on the
// thread that created the object, the user-interface thread. The system's handler does nothing but
// write the signal's number to a pipe, the one kind of work a handler may safely do; a socket
// notifier on the pipe's other end wakes the event loop, which reads the number and emits.
//
// A signal that arrives while the thread is busy waits in the pipe until the event loop runs. The
// handlers stay installed for the object's life, so a second signal ends nothing either; the
// destructor puts the previous handlers back. One object at a time. Where the system has no such
// signals (terminationsignals_other.cpp) the object does nothing.
class TerminationSignals final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TerminationSignals)

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
};
