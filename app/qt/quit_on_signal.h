#pragma once

#include <QSocketNotifier>
#include <memory>

// Turns SIGTERM, SIGINT and SIGHUP into a normal end of the event loop, so that a logout or
// Ctrl-C still stops the sound with its fade and releases the running-copy lock.
class QuitOnSignal {
public:
    QuitOnSignal();
    ~QuitOnSignal();
    QuitOnSignal(const QuitOnSignal&) = delete;
    QuitOnSignal& operator=(const QuitOnSignal&) = delete;

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};
