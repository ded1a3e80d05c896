#include "settings/desktop_entry.h"

#include "base/utf8.h"

namespace {

// What keeps a path from being the first word of Exec: GLib, KIO and systemd's autostart generator
// look that word up as a file before they expand field codes, so a doubled percent sign names no
// file there, and systemd refuses a program name with a quote, backslash or control character.
constexpr std::string_view kNotAProgramWord = "%\"'\\\t\n\r";

}  // namespace

std::optional<std::string> DesktopExecValue(std::string_view program) {
    // Only an absolute path can be started; Qt gives an empty one for a folder that is not UTF-8.
    if (!program.starts_with('/') || !IsValidUtf8(program)) return std::nullopt;
    for (char c : program) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\n' && c != '\t' && c != '\r') || u == 0x7F) return std::nullopt;
    }
    // A path that cannot be the first word becomes an argument, whose escapes every launcher
    // undoes: of env, or of the shell as its $0 where env would take it for a variable (a path
    // with an equals sign).
    std::string command;
    if (program.find_first_of(kNotAProgramWord) != std::string_view::npos) {
        command = program.find('=') == std::string_view::npos ? R"("/usr/bin/env" )"
                                                              : R"("/bin/sh" "-c" "exec \"\$0\"" )";
    }
    // Inside double quotes these four need a backslash; a percent sign is a field code unless
    // doubled.
    command += '"';
    for (char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') command += '\\';
        if (c == '%') command += '%';
        command += c;
    }
    command += '"';
    // The string value's escapes apply on top, so a literal backslash ends up as four.
    return DesktopStringValue(command);
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
