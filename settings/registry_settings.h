#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/registry.h"

class LogonEntry;
class Prompt;

// The stored tone parameters and the start-at-logon entry. Keeps no settings between calls: every
// operation goes to the registry afresh.
class CRegistrySettings {
public:
    static constexpr std::string_view kMakerName = "Corvell";
    static constexpr std::string_view kProductName = "Drovane";
    static constexpr std::size_t kMaxValueBytes = 260;

    CRegistrySettings(Registry& registry, LogonEntry& logon, Prompt& prompt,
                      std::string modulePath);

    const std::string& ProductKey() const { return m_productKey; }  // "SOFTWARE\Corvell\Drovane"

    // Registry functions: true on success, no messages.
    [[nodiscard]] bool CreateKey(RegistryRoot root, std::string_view path);
    // On success `text` receives the stored bytes up to the first zero byte; values longer than
    // kMaxValueBytes cannot be read. On failure `text` is left as it was.
    [[nodiscard]] bool ReadStringValue(RegistryRoot root, std::string_view path,
                                       std::string_view name, std::string& text);
    [[nodiscard]] bool WriteStringValue(RegistryRoot root, std::string_view path,
                                        std::string_view name, std::string_view text);
    [[nodiscard]] bool DeleteValue(RegistryRoot root, std::string_view path, std::string_view name);

    // Store operations, with their own messages. Each change of the store starts with
    // CreateSettingsKeys: its calls wait for other processes kChangeWait in all, and when those
    // hold the store, that is shown once instead of a message per value.
    static constexpr std::chrono::milliseconds kChangeWait{1000};
    void CreateSettingsKeys();
    void SaveToneParams(std::int32_t frequency1, std::int32_t frequency2, std::int32_t delay,
                        std::int32_t step);
    void LoadToneParams(std::int32_t& frequency1, std::int32_t& frequency2, std::int32_t& delay,
                        std::int32_t& step);
    static void GetDefaultToneParams(std::int32_t& frequency1, std::int32_t& frequency2,
                                     std::int32_t& delay, std::int32_t& step);

    // Start at logon.
    void SetRunAtLogon(bool enable);
    bool IsRunAtLogon();
    const std::string& GetModulePath() const { return m_modulePath; }

private:
    // Shows `message`, or once per change, that the registry could not be locked.
    void ReportFailure(std::string_view message);

    Registry& m_registry;
    LogonEntry& m_logon;
    Prompt& m_prompt;
    std::string m_modulePath;
    std::string m_makerKey;
    std::string m_productKey;
    bool m_lockReported = false;  // in the current change
};
