#include "base/qt/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// As many links in a row as the kernel follows.
constexpr int kMaxLinks = 40;
// Random names tried for the finished file before giving up, as glibc's mkostemp does.
constexpr int kNameAttempts = 100;

// The file that the links at `path` lead to, existing or not; empty for a loop.
QString LinkTarget(const QString& path) {
    QFileInfo info(path);
    for (int links = 0; info.isSymLink(); ++links) {
        if (links == kMaxLinks) return {};
        info.setFile(info.symLinkTarget());
    }
    return info.filePath();
}

// Why `target` cannot be replaced, or empty when it is a regular file or does not exist.
std::string Refusal(const QString& target) {
    if (target.isEmpty()) return std::strerror(ELOOP);
    struct stat status = {};
    if (::lstat(QFile::encodeName(target).constData(), &status) != 0) return {};
    const mode_t type = status.st_mode & S_IFMT;
    const char* what = type == S_IFREG    ? nullptr
                       : type == S_IFDIR  ? "a folder"
                       : type == S_IFIFO  ? "a named pipe"
                       : type == S_IFSOCK ? "a socket"
                       : type == S_IFLNK  ? "a link"
                                          : "a device";
    return what ? std::string("it is ") + what + ", not a regular file" : std::string();
}

// Makes the new name itself durable, not only the file's contents.
void SyncFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

ReplacingFile::ReplacingFile(const QString& path) {
    const QString target = LinkTarget(path);
    m_error = Refusal(target);
    if (!m_error.empty()) return;
    m_target = QFile::encodeName(target);
    m_folder = QFile::encodeName(QFileInfo(target).absolutePath());
    m_fd = ::open(m_folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (m_fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR)) {
        m_temporary = m_target + ".XXXXXX";
        m_fd = ::mkostemp(m_temporary.data(), O_CLOEXEC);
        if (m_fd < 0) m_temporary.clear();
    }
    if (m_fd < 0) {
        m_error = std::strerror(errno);
        return;
    }
    // As far as the file system keeps modes.
    struct stat old = {};
    if (::stat(m_target.constData(), &old) == 0) ::fchmod(m_fd, old.st_mode & 07777);
}

ReplacingFile::~ReplacingFile() {
    if (m_fd >= 0) ::close(m_fd);
    if (!m_temporary.isEmpty()) ::unlink(m_temporary.constData());
}

bool ReplacingFile::SetMode(mode_t mode) {
    return IsOpen() && (::fchmod(m_fd, mode & 07777) == 0 || Fail());
}

bool ReplacingFile::Fail() {
    m_error = std::strerror(errno);
    return false;
}

bool ReplacingFile::Write(const void* data, std::size_t size) {
    if (!IsOpen() || !m_error.empty()) return false;
    const char* bytes = static_cast<const char*>(data);
    // A disk that fills takes part of a write; the next write says why.
    while (size > 0) {
        const ssize_t written = ::write(m_fd, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return Fail();
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool ReplacingFile::WriteAt(std::uint64_t offset, const void* data, std::size_t size) {
    if (!IsOpen() || !m_error.empty()) return false;
    const off_t end = ::lseek(m_fd, 0, SEEK_CUR);
    if (end < 0 || ::lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) < 0) return Fail();
    return Write(data, size) && (::lseek(m_fd, end, SEEK_SET) >= 0 || Fail());
}

// Names the unnamed file `target`.XXXXXX, six random letters or digits, as mkostemp would: link()
// fails on whatever is at that name and never follows it, and another name is tried. Nothing
// already in the folder is touched.
bool ReplacingFile::Name() {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
    QByteArray name;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = m_target + '.';
        for (int i = 0; i < 6; ++i) {
            name += kLetters[QRandomGenerator::system()->bounded(int(sizeof kLetters) - 1)];
        }
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) ==
            0) {
            m_temporary = name;
            return true;
        }
        if (errno != EEXIST) break;
    }
    m_error = name.toStdString() + ": " + std::strerror(errno);
    return false;
}

bool ReplacingFile::Commit() {
    if (!IsOpen() || !m_error.empty()) return false;
    // The contents reach the disk before the name does.
    if (::fsync(m_fd) != 0) return Fail();
    if (m_temporary.isEmpty() && !Name()) return false;
    if (::rename(m_temporary.constData(), m_target.constData()) != 0) return Fail();
    m_temporary.clear();
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0) return Fail();
    SyncFolder(m_folder);
    return true;
}
