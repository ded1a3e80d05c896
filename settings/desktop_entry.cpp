#include "settings/desktop_entry.h"

#include "base/utf8.h"

std::optional<std::string> DesktopExecValue(std::string_view program) {
    if (!IsValidUtf8(program)) return std::nullopt;
    for (char c : program) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\n' && c != '\t' && c != '\r') || u == 0x7F) return std::nullopt;
    }
    // Inside double quotes these four need a backslash; a percent sign is a field code unless
    // doubled.
    std::string quoted = "\"";
    for (char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += '"';
    // The string value's escapes apply on top, so a literal backslash ends up as four.
    return DesktopStringValue(quoted);
}

std::string DesktopStringValue(std::string_view text) {
    std::string value;
    for (char c : text) {
        switch (c) {
            case '\\':
                value += "\\\\";
                break;
            case '\n':
                value += "\\n";
                break;
            case '\t':
                value += "\\t";
                break;
            case '\r':
                value += "\\r";
                break;
            default:
                value += c;
        }
    }
    return value;
}

std::optional<std::string> AutostartDesktopFile(std::string_view program) {
    const std::optional<std::string> exec = DesktopExecValue(program);
    if (!exec) return std::nullopt;
    std::string text =
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Drovane\n"
        "Comment=Plays the Drovane tone sweep\n";
    text += "Exec=" + *exec + "\n";
    // Desktops skip the entry once the program is gone (say, its package was removed).
    text += "TryExec=" + DesktopStringValue(program) + "\n";
    text +=
        "Terminal=false\n"
        "Hidden=false\n"
        "X-GNOME-Autostart-enabled=true\n";
    return text;
}
