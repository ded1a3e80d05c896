#pragma once

#include <QString>

// An exclusive lock on a lock file, held until destruction. The kernel drops the lock when its
// holder dies, so a writer killed mid-change never blocks the next one.
class FileLock {
public:
    // Waits at most `timeoutMs` for another holder; creates the lock file when missing.
    FileLock(const QString& path, int timeoutMs);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool IsLocked() const { return m_locked; }

private:
    int m_fd = -1;
    bool m_locked = false;
};
