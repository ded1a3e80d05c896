#include "base/qt/qt_prompt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

// A box waits modal to the window only (the tray menu still works), and is a dialog: a sheet has
// no title bar where Qt draws the title bars itself (Wayland without server-side decorations).
TEST(QtPrompt, ABoxIsADialogModalToTheWindow) {
    int argc = 0;
    QApplication app(argc, nullptr);
    QWidget window;
    window.show();
    QtPrompt prompt("Drovane");
    prompt.SetOwner(&window);
    for (const bool question : {false, true}) {
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowType(), Qt::Dialog);
            EXPECT_EQ(box->windowModality(), Qt::WindowModal);
            box->reject();
        });
        question ? void(prompt.AskYesNo("Exit?")) : prompt.ShowError("Not a number.");
    }
}
