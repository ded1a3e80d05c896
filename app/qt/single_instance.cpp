#include "app/qt/single_instance.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QThread>

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

SingleInstance::~SingleInstance() {
    if (m_server) m_server->close();
}

namespace {

// Why `folder` cannot hold the lock; empty when it can.
QString FolderProblem(const QString& folder) {
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

QString SingleInstance::PrivateFolder(QString* why) {
    QStringList reasons;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() || !QDir::isAbsolutePath(runtime)) {
        reasons << QStringLiteral("XDG_RUNTIME_DIR is not set to a folder");
    } else if (const QString problem = FolderProblem(runtime); !problem.isEmpty()) {
        reasons << runtime + QStringLiteral(" is ") + problem;
    } else {
        return runtime;
    }
    const QString own = QDir::tempPath() + QStringLiteral("/drovane-%1").arg(::getuid());
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    if (const QString problem = FolderProblem(own); !problem.isEmpty()) {
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
            const bool sent = socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(500);
            return sent;
        }
        // The running copy may not have opened its window yet.
        QThread::msleep(50);
    } while (timer.elapsed() < timeoutMs);
    return false;
}

bool SingleInstance::Listen(std::function<void(const QString& activationToken)> activate) {
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket file left here belongs to a copy that died.
    QLocalServer::removeServer(SocketPath());
    if (!m_server->listen(SocketPath())) return false;
    QObject::connect(
        m_server.get(), &QLocalServer::newConnection, m_server.get(),
        [this, activate = std::move(activate)] {
            while (QLocalSocket* socket = m_server->nextPendingConnection()) {
                socket->setReadBufferSize(kMaxRequestBytes);
                // One line: the request and, when the later copy has one, its
                // activation token.
                auto read = [socket, activate] {
                    if (!socket->canReadLine()) {
                        if (socket->bytesAvailable() >= kMaxRequestBytes) socket->abort();
                        return;
                    }
                    const QList<QByteArray> words = socket->readLine().trimmed().split(' ');
                    if (words.front() != kActivate) return;
                    activate(words.size() > 1 ? QString::fromUtf8(words[1]) : QString());
                };
                QObject::connect(socket, &QLocalSocket::readyRead, socket, read);
                QObject::connect(socket, &QLocalSocket::disconnected, socket,
                                 &QObject::deleteLater);
                // Bytes that came with the connection raise no readyRead of their own.
                if (socket->bytesAvailable() > 0) read();
            }
        });
    return true;
}
