#pragma once

#include <string_view>

#include "settings/registry.h"

// Lets the Users group read the key and set its values, on that key alone: no subkeys, nothing
// inherited below it, nothing else of the hive. Run once by the installer, as an administrator,
// on the settings key, so that a standard user's program can store its settings there. Granting
// again changes nothing. False when the key cannot be opened or its security not changed.
[[nodiscard]] bool LetUsersWriteKey(RegistryRoot root, std::string_view path);

// Whether the key's access list gives the Users group exactly that, for tests and checks.
bool UsersMayWriteKey(RegistryRoot root, std::string_view path);
