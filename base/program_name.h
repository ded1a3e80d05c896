#pragma once

#include <string>
#include <string_view>

// The program's name as its messages and its single running copy use it: the executable's file
// name without folders and without its last extension ("C:\Apps\drovane.exe" gives "drovane").
// Both slash kinds separate folders.
std::string ProgramNameFromPath(std::string_view path);

// The name that begins the messages every layer writes to standard error: "drovane" unless the
// program names itself at its start, before it starts a thread.
const char* MessageName();
void SetMessageName(std::string_view name);
