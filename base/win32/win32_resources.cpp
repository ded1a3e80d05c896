#include "base/win32/win32_resources.h"

#include "base/win32/wide_text.h"

std::span<const std::byte> Win32Resources::Find(std::string_view type, int id) const {
    if (id <= 0 || id > 0xFFFF) return {};
    // The resource script writes the large versions' type "T@2x" as T_2X (see drovane.rc); type
    // names are compared without regard to case.
    std::wstring named = Widen(type);
    for (wchar_t& c : named) {
        if (c == L'@') c = L'_';
    }
    const wchar_t* kind =
        type == kResourceTypeRcData ? MAKEINTRESOURCEW(10) /* RT_RCDATA */ : named.c_str();
    HRSRC found = FindResourceW(m_module, MAKEINTRESOURCEW(id), kind);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(m_module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return {static_cast<const std::byte*>(bytes), SizeofResource(m_module, found)};
}
