#include "ui/repeller_dialog.h"

#include <array>
#include <charconv>
#include <string>

#include "base/prompt.h"
#include "base/resource_source.h"
#include "base/shell.h"
#include "settings/registry_settings.h"
#include "tone/test_melody.h"
#include "tone/tone_player.h"
#include "ui/dialog_ids.h"
#include "ui/dialog_view.h"
#include "ui/system_tray.h"
#include "ui/ui_text.h"

namespace {

constexpr std::string_view kNotAnInteger = "Please enter an integer.";
constexpr std::string_view kExitQuestion = "Do you really want to exit program?";

constexpr std::array kDetailControls{ids::kSet,      ids::kDefault,    ids::kTestSound,
                                     ids::kStopTest, ids::kFrequency1, ids::kFrequency2,
                                     ids::kDelay,    ids::kStep};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

std::optional<std::int32_t> ParseDialogInteger(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    }
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || ptr != end) return std::nullopt;
    return value;
}

CRepellerDialog::CRepellerDialog(DialogView& view, CTonePlayer& player, CRegistrySettings& settings,
                                 Prompt& prompt, CSystemTray& tray, TrayHost& trayHost,
                                 Shell& shell, std::string productPage)
    : m_view(view),
      m_player(player),
      m_settings(settings),
      m_prompt(prompt),
      m_tray(tray),
      m_trayHost(trayHost),
      m_shell(shell),
      m_productPage(std::move(productPage)) {}

bool CRepellerDialog::OnInitDialog() {
    m_scale = DialogScale(m_view.MapDialogUnits(layout::kReferenceUnits));
    ToggleDetailsHeight();
    // What the fold puts outside the window is hidden too, so that neither Tab nor a screen
    // reader reaches it.
    ShowDetailsControls(Expanded());
    ExchangeToControls();
    // Without a notification area yet, the icon comes when one is made.
    static_cast<void>(m_tray.AddToTray(m_trayHost, kTrayTip, ids::kTrayIcon, ids::kTrayMenu));
    m_settings.LoadToneParams(Frequency1, Frequency2, Delay, Step);
    RunAtLogonCheck = m_settings.IsRunAtLogon() ? 1 : 0;
    ExchangeToControls();
    OnStart();
    m_view.AppendSystemMenuItem(kSystemAboutCommand, kSystemAboutText);
    m_view.SetIcons();
    m_view.MarkRunningCopy();
    if (m_view.LoadBanner(kBannerResource, kResourceTypeGif)) m_view.StartBanner();
    return true;
}

void CRepellerDialog::OnDensityChanged() {
    m_scale = DialogScale(m_view.MapDialogUnits(layout::kReferenceUnits));
    if (m_view.LoadBanner(kBannerResource, kResourceTypeGif)) m_view.StartBanner();
}

bool CRepellerDialog::OnCommand(int command) {
    m_refused = false;
    if (!Dispatch(command)) return false;
    // A screen reader hears what plays now; the sweep is too high for many to hear it.
    const bool changesSound = command == ids::kStart || command == ids::kStop ||
                              command == ids::kTestSound || command == ids::kStopTest ||
                              command == ids::kSet || command == ids::kDefault;
    if (changesSound && !m_refused) {
        const UiText playing = m_testFlag    ? UiText::TestPlaying
                               : m_sweepFlag ? UiText::SweepPlaying
                                             : UiText::Stopped;
        m_view.Announce(m_view.Text(playing));
    }
    return true;
}

bool CRepellerDialog::Dispatch(int command) {
    switch (command) {
        case ids::kTestSound:
            OnTestSound();
            return true;
        case ids::kStopTest:
            OnStopTest();
            return true;
        case ids::kSet:
            OnSet();
            return true;
        case ids::kStart:
            OnStart();
            return true;
        case ids::kStop:
            OnStop();
            return true;
        case ids::kDefault:
            OnDefault();
            return true;
        case ids::kExit:
            OnExitProgram();
            return true;
        case ids::kOpen:
            OnOpen();
            return true;
        case ids::kClose:
            OnHide();
            return true;
        case ids::kRunAtLogon:
            OnRunAtLogon();
            return true;
        case ids::kDetails:
            OnDetails();
            return true;
        case ids::kAbout:
            OnAbout();
            return true;
        default:
            return false;
    }
}

std::optional<bool> CRepellerDialog::OnUpdateCommand(int command) const {
    if (command == ids::kStart) return m_sweepFlag;
    if (command == ids::kStop) return !m_sweepFlag;
    return std::nullopt;
}

void CRepellerDialog::OnCancel() { m_view.DestroyWindow(); }

void CRepellerDialog::OnLButtonDown(Point client) {
    if (m_view.GetItemRect(ids::kBanner).Contains(client)) OpenProductPage();
    if (m_view.GetItemRect(ids::kRunAtLogonLabel).Contains(client)) {
        m_view.SetCheck(ids::kRunAtLogon, m_view.GetCheck(ids::kRunAtLogon) == 0 ? 1 : 0);
    }
}

bool CRepellerDialog::OnSetCursor(Point client) {
    return m_view.GetItemRect(ids::kBanner).Contains(client);
}

bool CRepellerDialog::OnSysCommand(int command) {
    if ((command & 0xFFF0) != kSystemAboutCommand) return false;
    OnAbout();
    return true;
}

void CRepellerDialog::OpenProductPage() { m_shell.OpenAddress(m_productPage); }

void CRepellerDialog::OnAbout() { m_view.ShowAboutBox(); }

bool CRepellerDialog::ExchangeFromControls() {
    const std::array<std::pair<int, std::int32_t*>, 4> edits{{{ids::kFrequency1, &Frequency1},
                                                              {ids::kFrequency2, &Frequency2},
                                                              {ids::kDelay, &Delay},
                                                              {ids::kStep, &Step}}};
    for (const auto& [id, variable] : edits) {
        const std::optional<std::int32_t> value = ParseDialogInteger(m_view.GetItemText(id));
        if (!value) {
            m_prompt.ShowError(kNotAnInteger);
            m_view.FocusItem(id);
            return false;
        }
        *variable = *value;
    }
    RunAtLogonCheck = m_view.GetCheck(ids::kRunAtLogon);
    return true;
}

void CRepellerDialog::ExchangeToControls() {
    m_view.SetItemText(ids::kFrequency1, std::to_string(Frequency1));
    m_view.SetItemText(ids::kFrequency2, std::to_string(Frequency2));
    m_view.SetItemText(ids::kDelay, std::to_string(Delay));
    m_view.SetItemText(ids::kStep, std::to_string(Step));
    m_view.SetCheck(ids::kRunAtLogon, RunAtLogonCheck);
}

bool CRepellerDialog::ApplyParams() {
    m_refused = !ExchangeFromControls() || !m_player.SetParams(Frequency1, Frequency2, Delay, Step);
    if (m_refused) return false;
    ExchangeToControls();
    m_settings.SaveToneParams(Frequency1, Frequency2, Delay, Step);
    return true;
}

void CRepellerDialog::OnStart() {
    if (!ApplyParams()) return;
    if (!m_testFlag) m_player.StartSweep();
    m_sweepFlag = true;
}

void CRepellerDialog::OnStop() {
    if (!m_testFlag) m_player.Stop();
    m_sweepFlag = false;
}

void CRepellerDialog::OnTestSound() {
    m_testFlag = true;
    m_player.LoadMelody(IDR_TEST_MELODY);
    m_player.StartMelody();
}

void CRepellerDialog::OnStopTest() {
    if (!m_testFlag) return;
    m_player.Stop();
    m_testFlag = false;
    if (m_sweepFlag) OnStart();
}

void CRepellerDialog::OnSet() {
    if (!ApplyParams()) return;
    if (m_sweepFlag) OnStart();
}

void CRepellerDialog::OnDefault() {
    CRegistrySettings::GetDefaultToneParams(Frequency1, Frequency2, Delay, Step);
    ExchangeToControls();
    OnSet();
}

void CRepellerDialog::OnHide() {
    // Without a notification area a hidden window could never be reached again.
    m_view.ShowWindow(m_view.IsTrayAvailable() ? WindowShow::Hide : WindowShow::Minimize);
}

void CRepellerDialog::OnOpen() {
    m_view.ShowWindow(WindowShow::Normal);
    m_view.BringToFront();
}

void CRepellerDialog::OnExitProgram() {
    if (m_prompt.AskYesNo(kExitQuestion)) m_view.DestroyWindow();
}

void CRepellerDialog::OnRunAtLogon() {
    // A bad edit is reported there; the entry then follows the check box as last read.
    static_cast<void>(ExchangeFromControls());
    m_settings.SetRunAtLogon(RunAtLogonCheck != 0);
    // An entry that could not be written or removed: the box shows what is there.
    const int there = m_settings.IsRunAtLogon() ? 1 : 0;
    if (there != RunAtLogonCheck) {
        RunAtLogonCheck = there;
        m_view.SetCheck(ids::kRunAtLogon, there);
    }
}

void CRepellerDialog::OnDetails() {
    ShowDetailsControls(!Expanded());
    ToggleDetailsHeight();
    m_view.SetItemText(ids::kDetails,
                       m_view.Text(m_detailsHeight < 0 ? UiText::Details : UiText::Less));
}

void CRepellerDialog::ToggleDetailsHeight() {
    m_detailsHeight = -m_detailsHeight;
    const Size before = m_view.GetWindowSize();
    // The settings area's height in the window's font: the same in both directions.
    m_view.SetWindowSize({before.width, before.height + m_scale.Y(m_detailsHeight)});
    const Size after = m_view.GetWindowSize();
    m_view.SetWindowRegion({1, 1, after.width - 1, after.height - 1});
}

void CRepellerDialog::ShowDetailsControls(bool show) {
    for (int id : kDetailControls) m_view.ShowItem(id, show);
}
