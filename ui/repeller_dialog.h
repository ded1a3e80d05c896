#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "toolkit/canvas.h"
#include "ui/dialog_scale.h"

class CRegistrySettings;
class CSystemTray;
class CTonePlayer;
class DialogView;
class Prompt;
class Shell;
class TrayHost;

// The main dialog's logic: its data exchange, commands, the two flags and the folding settings
// area. The window itself is behind DialogView.
class CRepellerDialog {
public:
    static constexpr int kInitialDetailsHeight = 122;
    static constexpr std::string_view kTrayTip = "Drovane";
    // The system menu's About item: its command and its text (string resource 101).
    static constexpr int kSystemAboutCommand = 16;
    static constexpr int kSystemAboutTextId = 101;
    static constexpr std::string_view kSystemAboutText = "&About Drovane...";
    // The banner's picture: resource "GIF" 168.
    static constexpr int kBannerResource = 168;
    // What the banner's picture says, for a screen reader.
    static constexpr std::string_view kBannerName = "Drovane";

    // `productPage` is the address the banner opens.
    CRepellerDialog(DialogView& view, CTonePlayer& player, CRegistrySettings& settings,
                    Prompt& prompt, CSystemTray& tray, TrayHost& trayHost, Shell& shell,
                    std::string productPage);

    // Called once the window and its controls exist, before it is first shown.
    bool OnInitDialog();
    // The window now has another density (moved to another monitor; the window system scaled its
    // controls and font): the measures follow the font, and the banner is shown anew.
    void OnDensityChanged();
    // Runs the handler of `command` from a button, the menu bar or the tray; false when there is
    // none.
    bool OnCommand(int command);
    // The check mark of a menu item for `command`, or nothing when no handler decides it.
    std::optional<bool> OnUpdateCommand(int command) const;
    // The close box.
    void OnClose() { OnHide(); }
    // The Escape key: ends the program without a question.
    void OnCancel();
    // A click that no control took: on the banner it opens the product page; on the run-at-logon
    // label it moves the check mark.
    void OnLButtonDown(Point client);
    // What a click on the banner does; the banner's keys and its screen-reader action do the same.
    void OpenProductPage();
    const std::string& ProductPage() const { return m_productPage; }
    // True when the cursor at `client` is to be the hand (over the banner).
    bool OnSetCursor(Point client);
    // A command of the system menu; false when it is not ours.
    bool OnSysCommand(int command);
    void OnAbout();

    void OnStart();
    void OnStop();
    void OnTestSound();
    void OnStopTest();
    void OnSet();
    void OnDefault();
    void OnHide();
    void OnOpen();
    void OnExitProgram();
    void OnRunAtLogon();
    void OnDetails();

    // Reads the edits and the check box into the variables; stops at the first edit without an
    // integer, with a message and the focus there.
    [[nodiscard]] bool ExchangeFromControls();
    void ExchangeToControls();

    void ToggleDetailsHeight();
    void ShowDetailsControls(bool show);

    bool TestPlaying() const { return m_testFlag; }
    // The window's pixel measures against its dialog font, known once it initialised.
    const DialogScale& Scale() const { return m_scale; }
    // The window shows its settings area while its last fold added height.
    bool Expanded() const { return m_detailsHeight > 0; }

    std::int32_t Frequency1 = 0;
    std::int32_t Frequency2 = 0;
    std::int32_t Delay = 0;
    std::int32_t Step = 0;
    std::int32_t RunAtLogonCheck = 0;

private:
    bool Dispatch(int command);
    // Steps 1 to 4 of a start: read, check, show and store the values.
    [[nodiscard]] bool ApplyParams();

    DialogView& m_view;
    CTonePlayer& m_player;
    CRegistrySettings& m_settings;
    Prompt& m_prompt;
    CSystemTray& m_tray;
    TrayHost& m_trayHost;
    Shell& m_shell;
    std::string m_productPage;

    bool m_sweepFlag = true;
    bool m_testFlag = false;
    bool m_refused = false;  // the last command's values were refused, with a message
    int m_detailsHeight = kInitialDetailsHeight;
    DialogScale m_scale;
};

// Reads a decimal integer as the dialog's exchange does: optional blanks around an optional sign
// and digits. Text that is not such a number, or does not fit 32 bits, gives nothing.
std::optional<std::int32_t> ParseDialogInteger(std::string_view text);
