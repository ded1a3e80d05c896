#include "settings/qt/qt_logon_entry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "base/qt/replacing_file.h"
#include "settings/desktop_entry.h"
#include "settings/qt/xdg_config.h"

QtLogonEntry::QtLogonEntry(QString path) : m_path(std::move(path)) {}

QString QtLogonEntry::DefaultPath() {
    return XdgConfigHome() + QStringLiteral("/autostart/Drovane Startup.desktop");
}

bool QtLogonEntry::Exists() {
    const QFileInfo info(m_path);
    return info.exists() || info.isSymLink();
}

bool QtLogonEntry::Write(std::string_view executablePath) {
    const std::optional<std::string> text = AutostartDesktopFile(executablePath);
    if (!text) return false;
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath())) return false;
    // Through a file of its own: never through a link planted beside the entry, nor into a FIFO.
    ReplacingFile file(m_path);
    return file.IsOpen() && file.Write(text->data(), text->size()) && file.Commit();
}

bool QtLogonEntry::Remove() { return QFile::remove(m_path) || !Exists(); }
