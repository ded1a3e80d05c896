#pragma once

#include <QDialog>
#include <QIcon>
#include <QMap>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QSet>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "banner/qt/qt_link_static.h"
#include "ui/dialog_view.h"
#include "ui/qt/qt_about_window.h"

class CRepellerDialog;
class QMenu;
class QtAnimatedPicture;
class QMenuBar;
class ResourceSource;
class Shell;
class SpokenNotice;

// The pictures and cursors of the window and its About box.
struct WindowArt {
    QIcon icon;            // 128
    QPixmap speaker;       // 148, beside the sound test
    QPixmap aboutPicture;  // 160
    QtLinkStatic::CursorLoader cursors;
    // Where the banner's picture comes from.
    const ResourceSource* resources = nullptr;
};

// The main window: the dialog template laid out in Qt widgets. Every decision is left to
// CRepellerDialog; this class only turns its calls into widget calls and widget events into its
// handlers.
class QtMainWindow final : public QDialog, public DialogView {
public:
    // Makes the window's logic over the window, once its controls exist.
    using MakeLogic = std::function<std::unique_ptr<CRepellerDialog>(DialogView& view)>;

    // The About box's maker link opens `makerPage` through `shell`.
    QtMainWindow(WindowArt art, Shell& shell, std::string makerPage, const MakeLogic& makeLogic,
                 QWidget* parent = nullptr);
    ~QtMainWindow() override;

    CRepellerDialog& Logic() { return *m_logic; }
    // Called when the window marks itself as the running copy.
    void OnMarked(std::function<void()> marked) { m_marked = std::move(marked); }
    // Brings the window, and any pop-up it owns, to the front: for a second start of the program,
    // which may bring the desktop's token that lets it come to the front.
    void Raise(const QString& activationToken = {});
    // Whether a notification area shows the tray icon now.
    void OnTrayQuery(std::function<bool()> available) { m_trayAvailable = std::move(available); }
    // Called after each command of the window's menus and buttons has run.
    void OnCommanded(std::function<void()> done) { m_commanded = std::move(done); }
    // Gives a pop-up menu of ours the check marks the logic decides.
    void UpdateMenu(QMenu* menu);

    std::string GetItemText(int id) override;
    std::string Text(UiText text) override;
    void SetItemText(int id, std::string_view text) override;
    int GetCheck(int id) override;
    void SetCheck(int id, int state) override;
    void ShowItem(int id, bool show) override;
    void FocusItem(int id) override;
    Rect GetItemRect(int id) override;
    // The window is laid out with the 9-point dialog font's units.
    Size MapDialogUnits(Size units) override;
    Size GetWindowSize() override;
    void SetWindowSize(Size size) override;
    void SetWindowRegion(const Rect& region) override;
    void ShowWindow(WindowShow how) override;
    void BringToFront() override;
    void SetIcons() override;
    void MarkRunningCopy() override;
    void DestroyWindow() override;
    bool IsTrayAvailable() override;
    // Window managers keep their window menus to themselves: there is nothing to add to.
    void AppendSystemMenuItem(int, std::string_view) override {}
    void ShowAboutBox() override;
    [[nodiscard]] bool LoadBanner(int id, std::string_view type) override;
    void StartBanner() override;
    void Announce(std::string_view message) override;

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildControls();
    void BuildMenuBar();
    // Gives each control the label that names it, and the name a screen reader reads.
    void NameControls();
    // Shows the controls that lie inside the window, unless the logic hid them.
    void ShowWhatTheWindowHolds();
    // Under a dark or high-contrast palette, the check box's and the edits' outlines drawn from the
    // text colour.
    void OutlineControls();
    void Command(int id);

    WindowArt m_art;
    Shell& m_shell;
    std::string m_makerPage;
    QPointer<QtAboutWindow> m_about;
    // The control that last had the focus other than the menu bar.
    QPointer<QWidget> m_focusBeforeMenus;
    QtAnimatedPicture* m_banner = nullptr;
    // Where the window was when it was hidden: a hidden window comes back there.
    std::optional<QPoint> m_hiddenAt;
    QMenuBar* m_menuBar = nullptr;
    QWidget* m_client = nullptr;
    SpokenNotice* m_notice = nullptr;
    QMap<int, QWidget*> m_items;
    QSet<QWidget*> m_hiddenItems;  // hidden by the logic
    std::function<void()> m_marked;
    std::function<bool()> m_trayAvailable;
    std::function<void()> m_commanded;
    bool m_destroyed = false;
    bool m_settingCheck = false;
    // Made once the controls exist; they go before it (see the destructor).
    std::unique_ptr<CRepellerDialog> m_logic;
};
