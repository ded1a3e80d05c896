#pragma once

#include <QDialog>
#include <QIcon>
#include <QMap>
#include <functional>

#include "ui/dialog_view.h"

class CRepellerDialog;
class QMenu;
class QMenuBar;

// The main window: the dialog template laid out in Qt widgets. Every decision is left to
// CRepellerDialog; this class only turns its calls into widget calls and widget events into its
// handlers.
class RepellerWindow final : public QDialog, public DialogView {
public:
    RepellerWindow(QIcon icon, QPixmap speaker, QWidget* parent = nullptr);

    void SetLogic(CRepellerDialog* logic) { m_logic = logic; }
    // Called when the window marks itself as the running copy.
    void OnMarked(std::function<void()> marked) { m_marked = std::move(marked); }
    // Brings the window, and any pop-up it owns, to the front: for a second start of the program.
    void Raise();
    // The window's client area, below the menu bar, where the template's coordinates start.
    QWidget* Client() const { return m_client; }
    QMenuBar* MenuBar() const { return m_menuBar; }
    // Gives a pop-up menu of ours the check marks the logic decides.
    void UpdateMenu(QMenu* menu);

    std::string GetItemText(int id) override;
    void SetItemText(int id, std::string_view text) override;
    int GetCheck(int id) override;
    void SetCheck(int id, int state) override;
    void ShowItem(int id, bool show) override;
    void FocusItem(int id) override;
    Rect GetItemRect(int id) override;
    Size GetWindowSize() override;
    void SetWindowSize(Size size) override;
    void SetWindowRegion(const Rect& region) override;
    void ShowWindow(WindowShow how) override;
    void BringToFront() override;
    void SetIcons() override;
    void MarkRunningCopy() override;
    void DestroyWindow() override;
    bool IsTrayAvailable() override;

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls(const QPixmap& speaker);
    void BuildMenuBar();
    void Command(int id);

    CRepellerDialog* m_logic = nullptr;
    QIcon m_icon;
    QMenuBar* m_menuBar = nullptr;
    QWidget* m_client = nullptr;
    QMap<int, QWidget*> m_items;
    std::function<void()> m_marked;
    bool m_destroyed = false;
};
