#include "base/qt/qt_prompt.h"

#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include "base/qt/qt_text.h"

namespace {

// Modal to the main window only, so the tray icon's menu still works while a box waits. While the
// window is hidden (or not shown yet) the box goes to the middle of the screen, not to its corner.
void PrepareBox(QMessageBox& box) {
    QWidget* owner = box.parentWidget();
    if (!owner) return;
    box.setWindowModality(Qt::WindowModal);
    // QMessageBox makes a window-modal box a sheet, which Qt's own title bars on Wayland (GNOME,
    // weston) leave out: as a dialog it keeps its modality and has its title bar.
    box.setWindowFlags((box.windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
    if (!owner->isVisible()) {
        box.adjustSize();
        const QRect screen = owner->screen()->availableGeometry();
        box.move(screen.center() - QPoint(box.width() / 2, box.height() / 2));
    }
    // A box asked for from the tray, or over another box, takes the keyboard once it is up, so
    // that Enter and Escape answer it.
    QTimer::singleShot(0, &box, [&box] {
        box.raise();
        box.activateWindow();
    });
}

}  // namespace

void QtPrompt::ShowError(std::string_view text) {
    QMessageBox box(QMessageBox::Critical, m_programName, FromUtf8(text), QMessageBox::Ok, m_owner);
    box.setObjectName("ErrorBox");
    PrepareBox(box);
    box.exec();
}

bool QtPrompt::AskYesNo(std::string_view text) {
    QMessageBox box(QMessageBox::Question, "Exit", FromUtf8(text),
                    QMessageBox::Yes | QMessageBox::No, m_owner);
    box.setObjectName("QuestionBox");
    box.setDefaultButton(QMessageBox::No);
    PrepareBox(box);
    return box.exec() == QMessageBox::Yes;
}
