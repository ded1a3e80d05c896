#include "app/qt/single_instance.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace {

constexpr char kActivate[] = "activate";
// A request is one short line; a longer one is not from a copy of ours.
constexpr qint64 kMaxRequestBytes = 4096;

QString BasePath(const QString& name, const QString& directory) {
    return QDir(directory).filePath(QString("%1-%2").arg(name).arg(getuid()));
}

}  // namespace

SingleInstance::SingleInstance(const QString& name, const QString& directory)
    : m_base(BasePath(name, directory)), m_lock(m_base + ".lock") {
    // Only a dead owner makes the lock stale, never its age: a copy may run for months.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

namespace {

// Why `folder` cannot hold the lock and socket of executable `name`; empty when it can.
QString FolderProblem(const QString& folder, const QString& name) {
    if (!LocalListener::Fits(BasePath(name, folder) + ".socket")) {
        return QStringLiteral("too long a path for a socket");
    }
    struct stat info = {};
    const QByteArray path = QFile::encodeName(folder);
    if (::lstat(path.constData(), &info) != 0) return QStringLiteral("missing");
    if (!S_ISDIR(info.st_mode)) return QStringLiteral("not a folder");
    if (info.st_uid != ::getuid()) return QStringLiteral("another user's");
    if ((info.st_mode & 077) != 0) return QStringLiteral("open to other users");
    if (::access(path.constData(), W_OK | X_OK) != 0) return QStringLiteral("not writable");
    return {};
}

}  // namespace

QString SingleInstance::PrivateFolder(const QString& name, QString* why) {
    QStringList reasons;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() || !QDir::isAbsolutePath(runtime)) {
        reasons << QStringLiteral("XDG_RUNTIME_DIR is not set to a folder");
    } else if (const QString problem = FolderProblem(runtime, name); !problem.isEmpty()) {
        reasons << runtime + QStringLiteral(" is ") + problem;
    } else {
        return runtime;
    }
    const QString own = QDir::tempPath() + QStringLiteral("/drovane-%1").arg(::getuid());
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    if (const QString problem = FolderProblem(own, name); !problem.isEmpty()) {
        reasons << own + QStringLiteral(" is ") + problem;
        *why = reasons.join(QStringLiteral(", "));
        return {};
    }
    return own;
}

bool SingleInstance::Acquire() { return m_lock.tryLock(0); }

bool SingleInstance::ActivateRunningCopy(int timeoutMs, const QString& activationToken) {
    QElapsedTimer timer;
    timer.start();
    do {
        QLocalSocket socket;
        socket.connectToServer(SocketPath());
        if (socket.waitForConnected(200)) {
            QByteArray request = kActivate;
            if (!activationToken.isEmpty()) request += ' ' + activationToken.toUtf8();
            socket.write(request + '\n');
            // The running copy hangs up once it has read the request.
            const int left = std::max(timeoutMs - static_cast<int>(timer.elapsed()), 1000);
            return socket.waitForBytesWritten(left) &&
                   (socket.state() == QLocalSocket::UnconnectedState ||
                    socket.waitForDisconnected(left));
        }
        // The running copy may not have opened its window yet.
        QThread::msleep(50);
    } while (timer.elapsed() < timeoutMs);
    return false;
}

bool SingleInstance::Listen(std::function<void(const QString& activationToken)> activate,
                            std::chrono::milliseconds quietLimit) {
    m_listener = std::make_unique<LocalListener>(
        [activate = std::move(activate), quietLimit](QLocalSocket* socket) {
            socket->setReadBufferSize(kMaxRequestBytes);
            // A caller that holds the line open without a whole request holds a descriptor too.
            QTimer::singleShot(quietLimit, socket, &QLocalSocket::abort);
            // One line: the request and, when the later copy has one, its activation token.
            auto read = [socket, activate] {
                if (!socket->canReadLine()) {
                    if (socket->bytesAvailable() >= kMaxRequestBytes) socket->abort();
                    return;
                }
                const QList<QByteArray> words = socket->readLine().trimmed().split(' ');
                socket->disconnectFromServer();
                if (words.front() != kActivate) return;
                activate(words.size() > 1 ? QString::fromUtf8(words[1]) : QString());
            };
            QObject::connect(socket, &QLocalSocket::readyRead, socket, read);
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            // Bytes that came with the connection raise no readyRead of their own.
            if (socket->bytesAvailable() > 0) read();
        });
    return m_listener->Listen(SocketPath());
}
