#pragma once

#include "base/shell.h"

// Opens addresses (and files, such as the program's own page) with the handler Windows has for
// them, through ShellExecute's "open". A failure shows nothing.
class Win32Shell final : public Shell {
public:
    void OpenAddress(std::string_view address) override;
};
