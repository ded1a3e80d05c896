#include "tests/support/scripted_prompt.h"

void ScriptedPrompt::ShowError(std::string_view text) { errors.emplace_back(text); }

bool ScriptedPrompt::AskYesNo(std::string_view text) {
    questions.emplace_back(text);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}
