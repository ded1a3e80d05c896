#include "settings/registry_document.h"

#include <algorithm>

#include "base/utf8.h"
#include "settings/registry_file_format.h"

namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool SameRegistryName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldAscii(x) == FoldAscii(y);
           });
}

RegistryDocument::RegistryDocument() : m_fileBytes(RegistryFileHeaderBytes()) {}

RegistryDocument::RegistryDocument(std::vector<Key> keys)
    : m_keys(std::move(keys)), m_fileBytes(RegistryFileHeaderBytes()) {
    for (const Key& key : m_keys) {
        m_fileBytes += RegistryFileKeyBytes(key.root, key.path);
        for (const Value& value : key.values) {
            m_fileBytes += RegistryFileValueBytes(value.name, value.data);
        }
    }
}

bool RegistryDocument::Resize(std::size_t bytes) {
    if (bytes > kMaxRegistryFileBytes) return false;
    m_fileBytes = bytes;
    return true;
}

bool RegistryDocument::IsValidKeyPath(std::string_view path) {
    if (path.empty() || path.front() == '\\' || path.back() == '\\') return false;
    if (path.find("\\\\") != std::string_view::npos) return false;
    for (char c : path) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) return false;
    }
    return IsValidUtf8(path);
}

RegistryDocument::Key* RegistryDocument::FindKey(RegistryRoot root, std::string_view path) {
    for (Key& key : m_keys) {
        if (key.root == root && SameRegistryName(key.path, path)) return &key;
    }
    return nullptr;
}

const RegistryDocument::Key* RegistryDocument::FindKey(RegistryRoot root,
                                                       std::string_view path) const {
    return const_cast<RegistryDocument*>(this)->FindKey(root, path);
}

bool RegistryDocument::CreateKey(RegistryRoot root, std::string_view path) {
    if (FindKey(root, path) || !Resize(m_fileBytes + RegistryFileKeyBytes(root, path))) {
        return false;
    }
    m_keys.push_back(Key{root, std::string(path), {}});
    return true;
}

bool RegistryDocument::HasKey(RegistryRoot root, std::string_view path) const {
    return FindKey(root, path) != nullptr;
}

std::optional<std::string> RegistryDocument::ReadValue(RegistryRoot root, std::string_view path,
                                                       std::string_view name) const {
    const Key* key = FindKey(root, path);
    if (!key) return std::nullopt;
    for (const Value& value : key->values) {
        if (SameRegistryName(value.name, name)) return value.data;
    }
    return std::nullopt;
}

bool RegistryDocument::WriteValue(RegistryRoot root, std::string_view path, std::string_view name,
                                  std::string_view data) {
    Key* key = FindKey(root, path);
    if (!key) return false;
    for (Value& value : key->values) {
        if (SameRegistryName(value.name, name)) {
            if (!Resize(m_fileBytes - RegistryFileValueBytes(value.name, value.data) +
                        RegistryFileValueBytes(value.name, data))) {
                return false;
            }
            value.data = data;
            return true;
        }
    }
    if (!Resize(m_fileBytes + RegistryFileValueBytes(name, data))) return false;
    key->values.push_back(Value{std::string(name), std::string(data)});
    return true;
}

bool RegistryDocument::DeleteValue(RegistryRoot root, std::string_view path,
                                   std::string_view name) {
    Key* key = FindKey(root, path);
    if (!key) return false;
    auto it = std::find_if(key->values.begin(), key->values.end(),
                           [&](const Value& v) { return SameRegistryName(v.name, name); });
    if (it == key->values.end() ||
        !Resize(m_fileBytes - RegistryFileValueBytes(it->name, it->data))) {
        return false;
    }
    key->values.erase(it);
    return true;
}
