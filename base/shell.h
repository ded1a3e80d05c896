#pragma once

#include <string_view>

// The desktop's handler for addresses: opens a web page (or the program's own page) in the
// user's browser. Opening never blocks the caller, and a failure is ignored: the user sees no page.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void OpenAddress(std::string_view address) = 0;
};
