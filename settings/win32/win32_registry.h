#pragma once

#include "settings/registry.h"

// The Windows registry through advapi32's wide calls, so that paths and texts in any language
// survive. Text values are REG_SZ, stored with the byte count of their text alone (no terminating
// zero). A value of at most CRegistrySettings::kMaxValueBytes characters is read back whole; a
// longer one, which the store could not use, is refused as unreadable without being copied.
class Win32Registry final : public Registry {
public:
    [[nodiscard]] bool CreateKey(RegistryRoot root, std::string_view path) override;
    std::optional<std::string> ReadValue(RegistryRoot root, std::string_view path,
                                         std::string_view name) override;
    [[nodiscard]] bool WriteValue(RegistryRoot root, std::string_view path, std::string_view name,
                                  std::string_view data) override;
    [[nodiscard]] bool DeleteValue(RegistryRoot root, std::string_view path,
                                   std::string_view name) override;
};
