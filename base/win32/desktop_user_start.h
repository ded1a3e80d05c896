#pragma once

#include <string>

// Starts a program as the user of the desktop rather than with the caller's rights: the shell's
// own process (Explorer, which runs unelevated) is asked to start it. An installer running as
// administrator thus starts the program as the user who ran the installer. Nothing is started
// with the caller's token when the shell cannot be asked; `why` then says what failed.
bool StartAsDesktopUser(const std::wstring& program, std::string& why);
