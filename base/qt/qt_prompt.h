#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "base/prompt.h"

// Message boxes of the desktop: errors with the stop icon titled with the program's name, and the
// program's one question, titled "Exit", answered No by default.
class QtPrompt final : public Prompt {
public:
    explicit QtPrompt(QString programName) : m_programName(std::move(programName)) {}
    // The boxes are modal to this window once it exists.
    void SetOwner(QWidget* owner) { m_owner = owner; }

    void ShowError(std::string_view text) override;
    bool AskYesNo(std::string_view text) override;

private:
    QString m_programName;
    QPointer<QWidget> m_owner;
};
