#include "app/qt/local_listener.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <QLocalSocket>
#include <cerrno>
#include <cstring>

namespace {

constexpr int kBacklog = 64;
// Connections taken in one wake-up; the rest wait for the next, so that a flood does not hold
// up the event loop.
constexpr int kAcceptsPerWake = 32;

}  // namespace

LocalListener::LocalListener(Connected connected, std::chrono::milliseconds pause)
    : m_connected(std::move(connected)) {
    m_pause.setSingleShot(true);
    m_pause.setInterval(pause);
    QObject::connect(&m_pause, &QTimer::timeout, &m_sockets, [this] { Accept(); });
}

LocalListener::~LocalListener() {
    if (m_fd < 0) return;
    m_notifier.reset();
    ::close(m_fd);
    ::unlink(m_path.constData());
}

bool LocalListener::Fits(const QString& path) {
    // The system takes 107 bytes and a terminating zero; QLocalSocket, with which later starts
    // call, takes one byte fewer.
    return static_cast<size_t>(QFile::encodeName(path).size()) + 2 <=
           sizeof(sockaddr_un{}.sun_path);
}

bool LocalListener::Listen(const QString& path) {
    if (m_fd >= 0 || !Fits(path)) return false;
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    // The caller holds the lock, so a socket file left here belongs to a copy that died.
    ::unlink(name.constData());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return false;
    }
    if (::chmod(name.constData(), 0600) != 0 || ::listen(fd, kBacklog) != 0) {
        ::close(fd);
        ::unlink(name.constData());
        return false;
    }
    m_fd = fd;
    m_path = name;
    m_notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, &m_sockets,
                     [this] { Accept(); });
    return true;
}

void LocalListener::Accept() {
    m_notifier->setEnabled(true);
    for (int taken = 0; taken < kAcceptsPerWake; ++taken) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            if (errno == EAGAIN) return;  // the same as EWOULDBLOCK on Linux
            // Out of descriptors or memory: the connection stays in the backlog while this
            // copy pauses, instead of being woken for it again at once.
            if (!m_failing) {
                qWarning("drovane: cannot take a later start's call (%s): trying again shortly",
                         std::strerror(errno));
            }
            m_failing = true;
            m_notifier->setEnabled(false);
            m_pause.start();
            return;
        }
        m_failing = false;
        auto* socket = new QLocalSocket(&m_sockets);
        if (!socket->setSocketDescriptor(fd)) {
            delete socket;
            ::close(fd);
            continue;
        }
        m_connected(socket);
    }
}
