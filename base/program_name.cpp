#include "base/program_name.h"

namespace {

std::string& StoredMessageName() {
    static std::string name = "drovane";
    return name;
}

}  // namespace

const char* MessageName() { return StoredMessageName().c_str(); }

void SetMessageName(std::string_view name) { StoredMessageName() = name; }

std::string ProgramNameFromPath(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
    const std::size_t dot = path.rfind('.');
    // A name that starts with its only dot (".profile") has no extension.
    if (dot != std::string_view::npos && dot > 0) path = path.substr(0, dot);
    return std::string(path);
}
