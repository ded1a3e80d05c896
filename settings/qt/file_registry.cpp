#include "settings/qt/file_registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "settings/qt/file_lock.h"
#include "settings/qt/xdg_config.h"
#include "settings/registry_file_format.h"

namespace {

// Far above anything this program writes; a bigger file is not ours and is never read whole.
constexpr qint64 kMaxFileBytes = 1 << 20;
// A writer holds the lock for milliseconds; waiting longer means something is wrong.
constexpr int kLockTimeoutMs = 10000;

// Makes the rename itself durable, not only the file's contents.
void SyncDirectory(const QString& directory) {
    const int fd =
        ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
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
    QFile file(m_path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        contents.state = State::Unreadable;
        contents.problem = "cannot be read";
        return contents;
    }
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        contents.state = State::Unreadable;
        contents.problem = "cannot be read";
        return contents;
    }
    if (bytes.size() > kMaxFileBytes) {
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

bool FileRegistry::Store(const RegistryDocument& document) const {
    // One fixed temporary name, safe under the lock: a writer killed mid-write leaves at most this
    // file behind, and the next writer reuses it. QSaveFile's random names would pile up instead.
    // A settings file linked from elsewhere (a dotfiles folder) is replaced where it lives, so
    // that the link survives.
    const QFileInfo link(m_path);
    const QString target = link.isSymLink() ? link.canonicalFilePath() : m_path;
    const QString temporary = target + QStringLiteral(".new");
    const std::string text = FormatRegistryFile(document);
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    struct stat old = {};
    if (::stat(QFile::encodeName(target).constData(), &old) == 0) {
        ::fchmod(file.handle(), old.st_mode & 07777);
    }
    const bool written = file.write(text.data(), static_cast<qint64>(text.size())) ==
                             static_cast<qint64>(text.size()) &&
                         file.flush() && ::fsync(file.handle()) == 0;
    file.close();
    if (!written || ::rename(QFile::encodeName(temporary).constData(),
                             QFile::encodeName(target).constData()) != 0) {
        QFile::remove(temporary);
        return false;
    }
    SyncDirectory(QFileInfo(target).absolutePath());
    return true;
}

bool FileRegistry::Modify(const std::function<Change(RegistryDocument&)>& change) {
    const QString directory = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(directory)) return false;
    const FileLock lock(m_path + QStringLiteral(".lock"), kLockTimeoutMs);
    if (!lock.IsLocked()) return false;
    // Checked even when nothing needs to change, as the registry checks access when a key opens.
    if (::access(QFile::encodeName(directory).constData(), W_OK) != 0) return false;

    Contents contents = Load();
    // Values that exist but cannot be read must not be overwritten with nothing.
    if (contents.state == State::Unreadable) return false;
    const Change result = change(contents.document);
    if (!result.ok) return false;
    if (!result.changed) return true;
    if (contents.state == State::Broken && !KeepBrokenFile()) return false;
    return Store(contents.document);
}

bool FileRegistry::CreateKey(RegistryRoot root, std::string_view path) {
    if (!RegistryDocument::IsValidKeyPath(path)) return false;
    const auto create = [&](RegistryDocument& document) {
        return Change{true, document.CreateKey(root, path)};
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
