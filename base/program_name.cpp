#include "base/program_name.h"

std::string ProgramNameFromPath(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
    const std::size_t dot = path.rfind('.');
    // A name that starts with its only dot (".profile") has no extension.
    if (dot != std::string_view::npos && dot > 0) path = path.substr(0, dot);
    return std::string(path);
}
