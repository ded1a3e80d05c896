#pragma once

#include <sys/types.h>

#include <QString>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "settings/registry.h"
#include "settings/registry_document.h"

// The registry kept in one settings file. Every change reads the file afresh under a lock file,
// applies itself and replaces the file atomically (ReplacingFile), so two processes never lose each
// other's changes and a crash never leaves half a file. A file that cannot be parsed reads as
// empty and is moved aside (registry.ini.broken, replacing an older one) before a change writes a
// new file, which keeps the broken file's mode.
class FileRegistry final : public Registry {
public:
    explicit FileRegistry(QString path);
    // $XDG_CONFIG_HOME/drovane/registry.ini, with ~/.config when the variable is unset.
    static QString DefaultPath();
    const QString& Path() const { return m_path; }

    // Why the file's values read as missing ("cannot be parsed: line 3: ..."), or empty when the
    // file is readable or simply absent.
    std::string Problem() const;

    [[nodiscard]] bool CreateKey(RegistryRoot root, std::string_view path) override;
    std::optional<std::string> ReadValue(RegistryRoot root, std::string_view path,
                                         std::string_view name) override;
    [[nodiscard]] bool WriteValue(RegistryRoot root, std::string_view path, std::string_view name,
                                  std::string_view data) override;
    [[nodiscard]] bool DeleteValue(RegistryRoot root, std::string_view path,
                                   std::string_view name) override;
    void LimitWait(std::chrono::milliseconds total) override {
        m_lockDeadline = std::chrono::steady_clock::now() + total;
    }
    bool LockFailed() const override { return m_lockFailed; }

private:
    enum class State { Loaded, Missing, Broken, Unreadable };
    struct Contents {
        State state = State::Missing;
        RegistryDocument document;
        std::string problem;
        std::optional<mode_t> mode;  // of a file that could be opened
    };
    // A change reports whether it succeeded and whether it altered the document.
    struct Change {
        bool ok;
        bool changed;
    };

    Contents Load() const;
    [[nodiscard]] bool Modify(const std::function<Change(RegistryDocument&)>& change);
    [[nodiscard]] bool KeepBrokenFile() const;
    // Gives the new file `mode`, or else the mode of the file it replaces.
    [[nodiscard]] bool Store(const RegistryDocument& document, std::optional<mode_t> mode) const;

    QString m_path;
    // Until when changes wait for the lock; without it each change waits on its own.
    std::optional<std::chrono::steady_clock::time_point> m_lockDeadline;
    bool m_lockFailed = false;
};
