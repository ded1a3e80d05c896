#include "settings/qt/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <chrono>
#include <thread>

FileLock::FileLock(const QString& path, int timeoutMs) {
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_fd < 0) return;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
            m_locked = true;
            return;
        }
        if ((errno != EWOULDBLOCK && errno != EINTR) ||
            std::chrono::steady_clock::now() >= deadline) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

FileLock::~FileLock() {
    // Closing the descriptor releases the lock.
    if (m_fd >= 0) ::close(m_fd);
}
