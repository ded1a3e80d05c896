#pragma once

#include <cstddef>
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

// The largest settings file that is read. Every document keeps its file within it (see
// RegistryDocument), so that what is written can be read back.
inline constexpr std::size_t kMaxRegistryFileBytes = 1 << 20;

RegistryFileParse ParseRegistryFile(std::string_view text);
std::string FormatRegistryFile(const RegistryDocument& document);

// What FormatRegistryFile writes for an empty document, and what each key and value adds to it.
std::size_t RegistryFileHeaderBytes();
std::size_t RegistryFileKeyBytes(RegistryRoot root, std::string_view path);
std::size_t RegistryFileValueBytes(std::string_view name, std::string_view data);

// "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER".
std::string_view RegistryRootName(RegistryRoot root);
