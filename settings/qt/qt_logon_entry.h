#pragma once

#include <QString>

#include "settings/logon_entry.h"

// Start at logon through an XDG autostart desktop file; the file's presence is the state.
class QtLogonEntry final : public LogonEntry {
public:
    explicit QtLogonEntry(QString path);
    // $XDG_CONFIG_HOME/autostart/Drovane Startup.desktop, with ~/.config when the variable is
    // unset.
    static QString DefaultPath();
    const QString& Path() const { return m_path; }

    bool Exists() override;
    [[nodiscard]] bool Write(std::string_view executablePath) override;
    [[nodiscard]] bool Remove() override;

private:
    QString m_path;
};
