#pragma once

#include "base/shell.h"

// Opens addresses with the desktop's default handler (xdg-open and the like), without waiting for
// it. A failure shows nothing.
class QtShell final : public Shell {
public:
    void OpenAddress(std::string_view address) override;
};
