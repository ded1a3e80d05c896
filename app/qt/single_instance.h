#pragma once

#include <QLockFile>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>

#include "app/qt/local_listener.h"

// One running copy per executable name and user. The first copy holds a lock file and, once its
// window exists, listens on a local socket; a later copy asks it to show its window and ends.
// A lock left by a copy that died is taken over.
class SingleInstance {
public:
    // `name` is the executable's base name; the files live in `directory` ($XDG_RUNTIME_DIR).
    SingleInstance(const QString& name, const QString& directory);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process is the running copy.
    [[nodiscard]] bool Acquire();
    // After an Acquire that failed: true when another copy holds the lock, false when the lock
    // could not be made at all.
    bool HeldByAnother() const { return m_lock.error() == QLockFile::LockFailedError; }
    // For a later copy: asks the running copy to show its window, handing on the token with
    // which the desktop lets a window come to the front (Wayland's XDG_ACTIVATION_TOKEN), if any.
    // False when it has not taken the request in time (it may still be starting).
    [[nodiscard]] bool ActivateRunningCopy(int timeoutMs, const QString& activationToken = {});
    // For the running copy: from now on, later starts call `activate` with their token. A caller
    // that has not sent a whole request within `quietLimit` is hung up on.
    [[nodiscard]] bool Listen(std::function<void(const QString& activationToken)> activate,
                              std::chrono::milliseconds quietLimit = std::chrono::seconds(3));

    // Where the lock and the socket of executable `name` live: $XDG_RUNTIME_DIR when it is a
    // private folder of this user (a real folder of theirs, closed to others) whose socket path
    // fits in a socket address, else one of the program's own under the temporary folder, made
    // when missing. Empty, with the reasons in `why`, when neither is.
    static QString PrivateFolder(const QString& name, QString* why);
    QString SocketPath() const { return m_base + ".socket"; }

private:
    QString m_base;
    QLockFile m_lock;
    std::unique_ptr<LocalListener> m_listener;
};
