#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/registry_document.h"

// The settings file: UTF-8 text in the manner of a .reg file, one "[HIVE\key path]" line per key
// followed by its values as "name"="text" lines. Inside the quotes \" is a quote, \\ a backslash
// and \xHH any byte; every other character stands for itself. Lines starting with ; or # are
// comments. Anything else makes the whole file unreadable: a half-understood settings file
// must not be half-loaded.
struct RegistryFileParse {
    std::optional<RegistryDocument> document;
    std::string error;  // "line N: what is wrong", when there is no document
};

RegistryFileParse ParseRegistryFile(std::string_view text);
std::string FormatRegistryFile(const RegistryDocument& document);

// "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER".
std::string_view RegistryRootName(RegistryRoot root);
