#pragma once

#include <optional>
#include <string>
#include <string_view>

// The Exec value of a desktop entry that runs `program` with no arguments: the path in double
// quotes with the escapes that freedesktop.org desktop entries ask for, first those of a quoted
// argument, then those of a string value; a path with a character that launchers do not take in a
// program's name goes to /usr/bin/env (or /bin/sh) instead. Empty when no entry can start the
// program: the path is not absolute, not UTF-8, or holds a control character other than tab,
// newline and carriage return, which a desktop entry cannot carry.
std::optional<std::string> DesktopExecValue(std::string_view program);

// `text` as a string value of a desktop entry: backslash, newline, tab and carriage return escaped.
std::string DesktopStringValue(std::string_view text);

// The autostart entry for the program at `program`, as the text of a .desktop file, or nullopt
// when no entry can start the program (see DesktopExecValue). Its TryExec names the program, so
// that the entry does nothing once the program is gone.
std::optional<std::string> AutostartDesktopFile(std::string_view program);
