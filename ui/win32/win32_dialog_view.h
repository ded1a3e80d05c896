#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/dialog_view.h"

class Win32AnimatedPicture;

// The main dialog's window as CRepellerDialog sees it: thin calls on the dialog made from
// template 102 and its controls.
class Win32DialogView final : public DialogView {
public:
    // `programName` names the mark that a second start looks for; `showAbout` runs the About box
    // modal to the window; `language` is the one of the window's template and texts.
    Win32DialogView(HINSTANCE instance, std::string programName,
                    std::function<void(HWND owner)> showAbout,
                    LANGID language = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ~Win32DialogView() override;

    void Attach(HWND dialog) { m_dialog = dialog; }
    HWND Window() const { return m_dialog; }
    LANGID Language() const { return m_language; }
    // The About box while it is shown, else null.
    void SetAboutBox(HWND about) { m_about = about; }

    std::string GetItemText(int id) override;
    std::string Text(UiText text) override;
    void SetItemText(int id, std::string_view text) override;
    int GetCheck(int id) override;
    void SetCheck(int id, int state) override;
    void ShowItem(int id, bool show) override;
    void FocusItem(int id) override;
    Rect GetItemRect(int id) override;
    Size MapDialogUnits(Size units) override;
    Size GetWindowSize() override;
    void SetWindowSize(Size size) override;
    void SetWindowRegion(const Rect& region) override;
    void ShowWindow(WindowShow how) override;
    void BringToFront() override;
    void SetIcons() override;
    void MarkRunningCopy() override;
    void DestroyWindow() override;
    // Windows always has a notification area: a hidden window is reached through its icon.
    bool IsTrayAvailable() override { return true; }
    void AppendSystemMenuItem(int command, std::string_view text) override;
    void ShowAboutBox() override;
    // The banner takes over the banner control, from the program's resources.
    [[nodiscard]] bool LoadBanner(int id, std::string_view type) override;
    void StartBanner() override;
    // The banner once loaded, else null.
    Win32AnimatedPicture* Banner() const { return m_banner.get(); }

    // What screen readers call the banner, a link to the program's page.
    static constexpr wchar_t kBannerName[] = L"Drovane home page";
    // The value of the mark a second start looks for.
    static constexpr INT_PTR kInstancePropValue = 1234;

private:
    HINSTANCE m_instance;
    std::string m_programName;
    std::function<void(HWND)> m_showAbout;
    LANGID m_language;
    HWND m_dialog = nullptr;
    HWND m_about = nullptr;
    std::unique_ptr<Win32AnimatedPicture> m_banner;
};
