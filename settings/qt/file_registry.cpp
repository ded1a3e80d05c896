#include "settings/qt/file_registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "base/qt/replacing_file.h"
#include "settings/qt/file_lock.h"
#include "settings/qt/xdg_config.h"
#include "settings/registry_file_format.h"

namespace {

// A writer holds the lock for milliseconds; a change that LimitWait does not bound waits this
// long at most.
constexpr std::chrono::milliseconds kLockTimeout{2000};

// The settings file opened for reading, or -1 when it is not a regular file. Opened without
// waiting: a FIFO or device put in the file's place must not hold the caller until someone
// writes to it.
int OpenRegularFile(const QString& path, struct stat& status) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 || (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode))) return fd;
    ::close(fd);
    return -1;
}

}  // namespace

FileRegistry::FileRegistry(QString path) : m_path(std::move(path)) {}

QString FileRegistry::DefaultPath() {
    return XdgConfigHome() + QStringLiteral("/drovane/registry.ini");
}

FileRegistry::Contents FileRegistry::Load() const {
    Contents contents;
    const QFileInfo info(m_path);
    if (!info.exists() && !info.isSymLink()) return contents;
    struct stat status = {};
    const int fd = info.isFile() ? OpenRegularFile(m_path, status) : -1;
    QFile file;
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0) ::close(fd);
        contents.state = State::Unreadable;
        contents.problem = "cannot be read";
        return contents;
    }
    contents.mode = status.st_mode;
    const QByteArray bytes = file.read(static_cast<qint64>(kMaxRegistryFileBytes) + 1);
    if (file.error() != QFileDevice::NoError) {
        contents.state = State::Unreadable;
        contents.problem = "cannot be read";
        return contents;
    }
    if (bytes.size() > static_cast<qint64>(kMaxRegistryFileBytes)) {
        contents.state = State::Broken;
        contents.problem = "cannot be parsed: it is larger than a settings file can be";
        return contents;
    }
    RegistryFileParse parsed = ParseRegistryFile(std::string_view(bytes.constData(), bytes.size()));
    if (!parsed.document) {
        contents.state = State::Broken;
        contents.problem = "cannot be parsed: " + parsed.error;
        return contents;
    }
    contents.state = State::Loaded;
    contents.document = std::move(*parsed.document);
    return contents;
}

std::string FileRegistry::Problem() const { return Load().problem; }

bool FileRegistry::KeepBrokenFile() const {
    // Moved, not copied: one copy of what was there, the newest, however large it is. A link is
    // moved itself, so that the file it points to (not a settings file) is never replaced.
    return ::rename(QFile::encodeName(m_path).constData(),
                    QFile::encodeName(m_path + QStringLiteral(".broken")).constData()) == 0;
}

bool FileRegistry::Store(const RegistryDocument& document, std::optional<mode_t> mode) const {
    // A settings file linked from elsewhere (a dotfiles folder) is replaced where it lives, so
    // that the link survives.
    ReplacingFile file(m_path);
    const std::string text = FormatRegistryFile(document);
    return file.IsOpen() && (!mode || file.SetMode(*mode)) &&
           file.Write(text.data(), text.size()) && file.Commit();
}

bool FileRegistry::Modify(const std::function<Change(RegistryDocument&)>& change) {
    const QString directory = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(directory)) return false;
    const FileLock lock(m_path + QStringLiteral(".lock"),
                        m_lockDeadline.value_or(std::chrono::steady_clock::now() + kLockTimeout));
    m_lockFailed = !lock.IsLocked();
    if (m_lockFailed) return false;
    // Checked even when nothing needs to change, as the registry checks access when a key opens.
    if (::access(QFile::encodeName(directory).constData(), W_OK) != 0) return false;

    Contents contents = Load();
    // Values that exist but cannot be read must not be overwritten with nothing.
    if (contents.state == State::Unreadable) return false;
    const Change result = change(contents.document);
    if (!result.ok) return false;
    if (!result.changed) return true;
    if (contents.state == State::Broken) {
        // The new file takes the mode of the one it replaces, as every save does.
        if (!KeepBrokenFile()) return false;
        return Store(contents.document, contents.mode);
    }
    return Store(contents.document, {});
}

bool FileRegistry::CreateKey(RegistryRoot root, std::string_view path) {
    if (!RegistryDocument::IsValidKeyPath(path)) return false;
    const auto create = [&](RegistryDocument& document) {
        // A key the file has no room for is not there: that is a failure, not "nothing to do".
        const bool created = document.CreateKey(root, path);
        return Change{document.HasKey(root, path), created};
    };
    return Modify(create);
}

std::optional<std::string> FileRegistry::ReadValue(RegistryRoot root, std::string_view path,
                                                   std::string_view name) {
    const Contents contents = Load();
    if (contents.state != State::Loaded) return std::nullopt;
    return contents.document.ReadValue(root, path, name);
}

bool FileRegistry::WriteValue(RegistryRoot root, std::string_view path, std::string_view name,
                              std::string_view data) {
    return Modify([&](RegistryDocument& document) {
        const std::optional<std::string> old = document.ReadValue(root, path, name);
        if (old && *old == data) return Change{true, false};
        const bool written = document.WriteValue(root, path, name, data);
        return Change{written, written};
    });
}

bool FileRegistry::DeleteValue(RegistryRoot root, std::string_view path, std::string_view name) {
    return Modify([&](RegistryDocument& document) {
        const bool deleted = document.DeleteValue(root, path, name);
        return Change{deleted, deleted};
    });
}
