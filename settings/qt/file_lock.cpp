#include "settings/qt/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <thread>

FileLock::FileLock(const QString& path, std::chrono::steady_clock::time_point deadline) {
    // A link planted at the name is not followed, and a FIFO or device there neither blocks the
    // open nor gets locked.
    m_fd = ::open(QFile::encodeName(path).constData(),
                  O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (m_fd < 0) return;
    struct stat status = {};
    if (::fstat(m_fd, &status) != 0 || !S_ISREG(status.st_mode)) return;
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
