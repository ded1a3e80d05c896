#pragma once

#include <string>
#include <vector>

#include "base/shell.h"

// Records the addresses it is asked to open.
class RecordingShell final : public Shell {
public:
    void OpenAddress(std::string_view address) override { opened.emplace_back(address); }
    std::vector<std::string> opened;
};
