#pragma once

#include <QString>
#include <functional>
#include <string>

#include "settings/registry.h"
#include "settings/registry_document.h"

// The registry kept in one settings file. Every change reads the file afresh under a lock file,
// applies itself and replaces the file atomically (temporary file, flush, rename), so two processes
// never lose each other's changes and a crash never leaves half a file. A file that cannot be
// parsed reads as empty and is moved aside (registry.ini.broken, replacing an older one) before a
// change writes a new file.
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

private:
    enum class State { Loaded, Missing, Broken, Unreadable };
    struct Contents {
        State state = State::Missing;
        RegistryDocument document;
        std::string problem;
    };
    // A change reports whether it succeeded and whether it altered the document.
    struct Change {
        bool ok;
        bool changed;
    };

    Contents Load() const;
    [[nodiscard]] bool Modify(const std::function<Change(RegistryDocument&)>& change);
    [[nodiscard]] bool KeepBrokenFile() const;
    [[nodiscard]] bool Store(const RegistryDocument& document) const;

    QString m_path;
};
