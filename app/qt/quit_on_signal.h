#pragma once

#include <QSocketNotifier>
#include <chrono>
#include <memory>

// Turns SIGTERM, SIGINT and SIGHUP into a normal end of the event loop, so that a logout or
// Ctrl-C still stops the sound with its fade and releases the running-copy lock. A program that
// has not ended `grace` after the first signal (its window's thread is held somewhere) ends as
// the signal would have ended it.
class QuitOnSignal {
public:
    explicit QuitOnSignal(std::chrono::seconds grace = std::chrono::seconds(10));
    ~QuitOnSignal();
    QuitOnSignal(const QuitOnSignal&) = delete;
    QuitOnSignal& operator=(const QuitOnSignal&) = delete;

    // A signal came. One that comes before the main event loop runs (say, while a message box
    // waits during start-up) ends only that box's loop: the caller must then not start another.
    bool Requested() const { return m_requested; }

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_requested = false;
};
