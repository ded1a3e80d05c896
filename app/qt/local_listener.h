#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>

class QLocalSocket;

// A listening Unix socket that hands each connection on as a QLocalSocket. QLocalServer stops
// for good, and removes its socket file, when one accept fails (the process is out of
// descriptors, say); this one leaves the connection waiting, pauses, and accepts again.
class LocalListener {
public:
    using Connected = std::function<void(QLocalSocket* socket)>;
    // The sockets handed to `connected` belong to the listener; each goes when it is closed.
    explicit LocalListener(Connected connected,
                           std::chrono::milliseconds pause = std::chrono::milliseconds(250));
    ~LocalListener();
    LocalListener(const LocalListener&) = delete;
    LocalListener& operator=(const LocalListener&) = delete;

    // Listens at `path`, closed to other users, replacing a socket file left there. False when
    // the path is too long for a socket address or the socket cannot be made.
    [[nodiscard]] bool Listen(const QString& path);
    // Whether `path` fits in a socket address.
    static bool Fits(const QString& path);

private:
    void Accept();

    Connected m_connected;
    QByteArray m_path;
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer m_pause;
    QObject m_sockets;
    bool m_failing = false;
};
