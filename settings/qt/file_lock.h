#pragma once

#include <QString>
#include <chrono>

// An exclusive lock on a lock file, held until destruction. The kernel drops the lock when its
// holder dies, so a writer killed mid-change never blocks the next one.
class FileLock {
public:
    // Waits for another holder until `deadline`, and once past it tries once. Creates the lock
    // file when missing; a link, FIFO, device or folder in its place is not locked.
    FileLock(const QString& path, std::chrono::steady_clock::time_point deadline);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool IsLocked() const { return m_locked; }

private:
    int m_fd = -1;
    bool m_locked = false;
};
