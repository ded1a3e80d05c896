// Feeds arbitrary bytes to the settings file parser. A file it accepts must format and parse back
// to the same keys and values; any text used as a value or name must survive the same trip.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/registry_file_format.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

void CheckRoundTrip(const RegistryDocument& document) {
    const std::string text = FormatRegistryFile(document);
    const RegistryFileParse again = ParseRegistryFile(text);
    Require(again.document.has_value());
    Require(*again.document == document);
    Require(FormatRegistryFile(*again.document) == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const RegistryFileParse parsed = ParseRegistryFile(input);
    Require(parsed.document.has_value() == parsed.error.empty());
    if (parsed.document) CheckRoundTrip(*parsed.document);

    // The same bytes as a value's name and text, split at the middle.
    RegistryDocument document;
    Require(document.CreateKey(RegistryRoot::LocalMachine, "SOFTWARE\\Corvell\\Drovane"));
    const std::string_view name = input.substr(0, size / 2);
    const std::string_view text = input.substr(size / 2);
    Require(
        document.WriteValue(RegistryRoot::LocalMachine, "SOFTWARE\\Corvell\\Drovane", name, text));
    Require(document.ReadValue(RegistryRoot::LocalMachine, "SOFTWARE\\Corvell\\Drovane", name) ==
            text);
    if (RegistryDocument::IsValidKeyPath(name)) {
        Require(document.CreateKey(RegistryRoot::CurrentUser, name));
    }
    CheckRoundTrip(document);
    return 0;
}
