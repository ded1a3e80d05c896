#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "settings/logon_entry.h"
#include "settings/registry.h"

// A registry in memory that logs every call and fails the ones a test asks it to.
class MemoryRegistry final : public Registry {
public:
    // Writes, creations and deletions all fail, as without write access to a hive.
    bool readOnly = false;
    // Creating these keys fails even when they exist.
    std::set<std::string> uncreatableKeys;
    // A standard user on Windows: machine keys can be read and, when they exist, opened, but no
    // machine key is created and no machine value written or deleted, except in the keys of
    // usersMayWrite (opened to the Users group by the installer). The user's own hive is writable.
    bool standardUser = false;
    std::set<std::string> usersMayWrite;
    // One line per call, e.g. "write SOFTWARE\Corvell\Drovane Frequency1=16000"; keys of the
    // user's hive start with "HKCU\".
    std::vector<std::string> log;

    // Puts a key and value in place without logging.
    void Put(RegistryRoot root, const std::string& path, const std::string& name,
             const std::string& data) {
        m_keys[{root, path}][name] = data;
    }
    bool HasKey(RegistryRoot root, const std::string& path) const {
        return m_keys.count({root, path}) > 0;
    }

    bool CreateKey(RegistryRoot root, std::string_view path) override {
        log.push_back("create " + Name(root, path));
        if (readOnly || uncreatableKeys.count(std::string(path))) return false;
        if (Restricted(root)) return HasKey(root, std::string(path));
        m_keys[{root, std::string(path)}];
        return true;
    }
    std::optional<std::string> ReadValue(RegistryRoot root, std::string_view path,
                                         std::string_view name) override {
        log.push_back("read " + Name(root, path) + " " + std::string(name));
        const auto key = m_keys.find({root, std::string(path)});
        if (key == m_keys.end()) return std::nullopt;
        const auto value = key->second.find(std::string(name));
        if (value == key->second.end()) return std::nullopt;
        return value->second;
    }
    bool WriteValue(RegistryRoot root, std::string_view path, std::string_view name,
                    std::string_view data) override {
        log.push_back("write " + Name(root, path) + " " + std::string(name) + "=" +
                      std::string(data));
        const auto key = m_keys.find({root, std::string(path)});
        if (readOnly || key == m_keys.end() || Locked(root, path)) return false;
        key->second[std::string(name)] = data;
        return true;
    }
    bool DeleteValue(RegistryRoot root, std::string_view path, std::string_view name) override {
        log.push_back("delete " + Name(root, path) + " " + std::string(name));
        const auto key = m_keys.find({root, std::string(path)});
        if (readOnly || key == m_keys.end() || Locked(root, path)) return false;
        return key->second.erase(std::string(name)) > 0;
    }

private:
    static std::string Name(RegistryRoot root, std::string_view path) {
        return (root == RegistryRoot::CurrentUser ? "HKCU\\" : "") + std::string(path);
    }
    bool Restricted(RegistryRoot root) const {
        return standardUser && root == RegistryRoot::LocalMachine;
    }
    bool Locked(RegistryRoot root, std::string_view path) const {
        return Restricted(root) && usersMayWrite.count(std::string(path)) == 0;
    }

    std::map<std::tuple<RegistryRoot, std::string>, std::map<std::string, std::string>> m_keys;
};

// A logon entry in memory.
class MemoryLogonEntry final : public LogonEntry {
public:
    std::optional<std::string> entry;
    bool writeFails = false;
    bool removeFails = false;
    int writes = 0;
    int removes = 0;

    bool Exists() override { return entry.has_value(); }
    bool Write(std::string_view executablePath) override {
        ++writes;
        if (writeFails) return false;
        entry = std::string(executablePath);
        return true;
    }
    bool Remove() override {
        ++removes;
        if (removeFails || !entry) return false;
        entry.reset();
        return true;
    }
};
