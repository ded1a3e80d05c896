#pragma once

#include <deque>
#include <string>
#include <vector>

#include "base/prompt.h"

// Records every message and answers questions from a script (No when the script is empty).
class ScriptedPrompt final : public Prompt {
public:
    void ShowError(std::string_view text) override;
    bool AskYesNo(std::string_view text) override;

    std::vector<std::string> errors;
    std::vector<std::string> questions;
    std::deque<bool> answers;
};
