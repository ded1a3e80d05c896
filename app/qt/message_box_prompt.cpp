#include "app/qt/message_box_prompt.h"

#include <QMessageBox>

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Modal to the main window only, so the tray icon's menu still works while a box waits.
void KeepTrayUsable(QMessageBox& box) {
    if (box.parentWidget()) box.setWindowModality(Qt::WindowModal);
}

}  // namespace

void MessageBoxPrompt::ShowError(std::string_view text) {
    QMessageBox box(QMessageBox::Critical, m_programName, FromUtf8(text), QMessageBox::Ok,
                    m_owner);
    box.setObjectName("ErrorBox");
    KeepTrayUsable(box);
    box.exec();
}

bool MessageBoxPrompt::AskYesNo(std::string_view text) {
    QMessageBox box(QMessageBox::Question, "Exit", FromUtf8(text),
                    QMessageBox::Yes | QMessageBox::No, m_owner);
    box.setObjectName("QuestionBox");
    box.setDefaultButton(QMessageBox::No);
    KeepTrayUsable(box);
    return box.exec() == QMessageBox::Yes;
}
