#include "settings/qt/autostart_entry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "settings/desktop_entry.h"
#include "settings/qt/xdg_config.h"

AutostartEntry::AutostartEntry(QString path) : m_path(std::move(path)) {}

QString AutostartEntry::DefaultPath() {
    return XdgConfigHome() + QStringLiteral("/autostart/Drovane Startup.desktop");
}

bool AutostartEntry::Exists() {
    const QFileInfo info(m_path);
    return info.exists() || info.isSymLink();
}

bool AutostartEntry::Write(std::string_view executablePath) {
    const std::optional<std::string> text = AutostartDesktopFile(executablePath);
    if (!text) return false;
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath())) return false;
    QSaveFile file(m_path);
    // Unbuffered, so that a full disk fails the write itself: QSaveFile notices a failure of its
    // buffer's flush too late and renames the empty file into place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    if (file.write(text->data(), static_cast<qint64>(text->size())) !=
        static_cast<qint64>(text->size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool AutostartEntry::Remove() { return QFile::remove(m_path) || !Exists(); }
