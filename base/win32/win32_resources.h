#pragma once

#include <windows.h>

#include "base/resource_source.h"

// The resources linked into a Windows module: type "RCDATA" is the system's RT_RCDATA, any other
// type a named one ("GIF"). The bytes live as long as the module.
class Win32Resources final : public ResourceSource {
public:
    explicit Win32Resources(HMODULE module = nullptr) : m_module(module) {}
    std::span<const std::byte> Find(std::string_view type, int id) const override;

private:
    HMODULE m_module;
};
