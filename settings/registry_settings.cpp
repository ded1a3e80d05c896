#include "settings/registry_settings.h"

#include <cstdio>
#include <limits>
#include <utility>

#include "base/prompt.h"
#include "settings/logon_entry.h"

namespace {

constexpr std::string_view kCannotCreateKey = "Cannot create key in registry";
constexpr std::string_view kCannotSetRunAtLogon = "Cannot set program run on startup";
constexpr std::string_view kCannotLockSettings =
    "Cannot save settings: another program holds the settings file, or it cannot be locked";

// Leading white space, an optional sign, then digits up to the first other character; no digits
// give 0. Out-of-range numbers come out as glibc's atoi gives them (strtol's saturated 64-bit
// result, cut to 32 bits), without the undefined behaviour.
std::int32_t AsciiToInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::uint64_t limit = negative ? (std::uint64_t{1} << 63) : (std::uint64_t{1} << 63) - 1;
    std::uint64_t magnitude = 0;
    bool overflow = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const auto digit = static_cast<std::uint64_t>(text[i] - '0');
        if (overflow || magnitude > (limit - digit) / 10) {
            overflow = true;
        } else {
            magnitude = magnitude * 10 + digit;
        }
    }
    if (overflow) magnitude = limit;
    const std::uint64_t bits = negative ? 0 - magnitude : magnitude;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(bits));
}

std::string FormatDecimal(std::int32_t value) {
    char buffer[16];
    const int n = std::snprintf(buffer, sizeof buffer, "%d", value);
    return std::string(buffer, static_cast<std::size_t>(n));
}

}  // namespace

CRegistrySettings::CRegistrySettings(Registry& registry, LogonEntry& logon, Prompt& prompt,
                                     std::string modulePath)
    : m_registry(registry),
      m_logon(logon),
      m_prompt(prompt),
      m_modulePath(std::move(modulePath)),
      m_makerKey("SOFTWARE\\" + std::string(kMakerName)),
      m_productKey(m_makerKey + "\\" + std::string(kProductName)) {}

bool CRegistrySettings::CreateKey(RegistryRoot root, std::string_view path) {
    return m_registry.CreateKey(root, path);
}

bool CRegistrySettings::ReadStringValue(RegistryRoot root, std::string_view path,
                                        std::string_view name, std::string& text) {
    const std::optional<std::string> data = m_registry.ReadValue(root, path, name);
    if (!data || data->size() > kMaxValueBytes) return false;
    text.assign(*data, 0, data->find('\0'));
    return true;
}

bool CRegistrySettings::WriteStringValue(RegistryRoot root, std::string_view path,
                                         std::string_view name, std::string_view text) {
    return m_registry.WriteValue(root, path, name, text);
}

bool CRegistrySettings::DeleteValue(RegistryRoot root, std::string_view path,
                                    std::string_view name) {
    return m_registry.DeleteValue(root, path, name);
}

void CRegistrySettings::ReportFailure(std::string_view message) {
    if (!m_registry.LockFailed()) {
        m_prompt.ShowError(message);
    } else if (!std::exchange(m_lockReported, true)) {
        m_prompt.ShowError(kCannotLockSettings);
    }
}

void CRegistrySettings::CreateSettingsKeys() {
    m_registry.LimitWait(kChangeWait);
    m_lockReported = false;
    if (!CreateKey(RegistryRoot::LocalMachine, m_makerKey)) ReportFailure(kCannotCreateKey);
    if (!CreateKey(RegistryRoot::LocalMachine, m_productKey)) ReportFailure(kCannotCreateKey);
}

void CRegistrySettings::SaveToneParams(std::int32_t frequency1, std::int32_t frequency2,
                                       std::int32_t delay, std::int32_t step) {
    CreateSettingsKeys();
    const struct {
        std::string_view name;
        std::int32_t value;
    } values[] = {
        {"Frequency1", frequency1}, {"Frequency2", frequency2}, {"Delay", delay}, {"Step", step}};
    for (const auto& v : values) {
        if (!WriteStringValue(RegistryRoot::LocalMachine, m_productKey, v.name,
                              FormatDecimal(v.value))) {
            ReportFailure("Error when saving " + std::string(v.name));
        }
    }
}

void CRegistrySettings::LoadToneParams(std::int32_t& frequency1, std::int32_t& frequency2,
                                       std::int32_t& delay, std::int32_t& step) {
    std::int32_t* const targets[] = {&frequency1, &frequency2, &delay, &step};
    const std::string_view names[] = {"Frequency1", "Frequency2", "Delay", "Step"};
    bool anyBelowOne = false;
    for (std::size_t i = 0; i < 4; ++i) {
        std::string text;
        // A value that cannot be read leaves the text empty, which reads as 0.
        static_cast<void>(
            ReadStringValue(RegistryRoot::LocalMachine, m_productKey, names[i], text));
        *targets[i] = AsciiToInt(text);
        anyBelowOne = anyBelowOne || *targets[i] < 1;
    }
    if (anyBelowOne) GetDefaultToneParams(frequency1, frequency2, delay, step);
}

void CRegistrySettings::GetDefaultToneParams(std::int32_t& frequency1, std::int32_t& frequency2,
                                             std::int32_t& delay, std::int32_t& step) {
    frequency1 = 16000;
    frequency2 = 20000;
    delay = 500;
    step = 10;
}

void CRegistrySettings::SetRunAtLogon(bool enable) {
    CreateSettingsKeys();
    if (enable) {
        if (!m_logon.Write(GetModulePath())) m_prompt.ShowError(kCannotSetRunAtLogon);
    } else {
        // Whether it went, was not there or could not be removed, nothing is shown.
        static_cast<void>(m_logon.Remove());
    }
}

bool CRegistrySettings::IsRunAtLogon() { return m_logon.Exists(); }
