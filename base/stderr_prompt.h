#pragma once

#include <cstdio>
#include <string>

#include "base/prompt.h"

// Messages for command-line programs: one line on standard error, prefixed with the program's name.
// Questions are answered No.
class StderrPrompt final : public Prompt {
public:
    explicit StderrPrompt(std::string program) : m_program(std::move(program)) {}
    void ShowError(std::string_view text) override {
        std::fprintf(stderr, "%s: %.*s\n", m_program.c_str(), static_cast<int>(text.size()),
                     text.data());
        ++m_errors;
    }
    bool AskYesNo(std::string_view) override { return false; }
    int Errors() const { return m_errors; }

private:
    std::string m_program;
    int m_errors = 0;
};
