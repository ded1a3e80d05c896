#pragma once

#include <string_view>

// The user-facing message boxes: an error titled with the program's name, and a Yes/No question.
class Prompt {
public:
    virtual ~Prompt() = default;
    virtual void ShowError(std::string_view text) = 0;
    // Returns true for Yes. No is the default answer.
    virtual bool AskYesNo(std::string_view text) = 0;
};
