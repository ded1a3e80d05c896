// drovane.exe: the main dialog, its tray icon and the sweep, one running copy per executable name.
//   drovane.exe                      the program
//   drovane.exe --install-settings   (the installer, as an administrator) the settings key with
//                                    the stored or default values, writable by the Users group
//   drovane.exe --start-as-desktop-user   (the installer's finish page) starts the program as the
//                                    desktop's user, not with the installer's administrator rights
#include <windows.h>
// clang-format off
#include <commctrl.h>
// clang-format on

#include <string>

#include "app/running_copy.h"
#include "app/win32/win32_running_copy.h"
#include "base/program_name.h"
#include "base/stderr_prompt.h"
#include "base/win32/com_apartment.h"
#include "base/win32/desktop_user_start.h"
#include "base/win32/wide_text.h"
#include "base/win32/win32_prompt.h"
#include "base/win32/win32_resources.h"
#include "base/win32/win32_shell.h"
#include "settings/registry_settings.h"
#include "settings/run_key_logon_entry.h"
#include "settings/win32/users_write_access.h"
#include "settings/win32/win32_registry.h"
#include "tone/audio_tone_sink.h"
#include "tone/beep_tone_sink.h"
#include "tone/tone_player.h"
#include "tone/win32/system_beep.h"
#include "tone/win32/wasapi_output.h"
#include "toolkit/win32/menu_window_hook.h"
#include "ui/repeller_dialog.h"
#include "ui/system_tray.h"
#include "ui/win32/language_resources.h"
#include "ui/win32/win32_about_window.h"
#include "ui/win32/win32_dialog_view.h"
#include "ui/win32/win32_main_window.h"
#include "ui/win32/win32_tray_host.h"

namespace {

std::string ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return Narrow(path);
        }
        path.resize(path.size() * 2);
    }
}

// The address of a page: the one configured at build time, else the program's own page, which
// lies in page\ beside the executable.
std::string PageAddress(std::string_view configured, const std::string& modulePath) {
    if (!configured.empty()) return std::string(configured);
    return modulePath.substr(0, modulePath.find_last_of('\\') + 1) + "page\\index.html";
}

// The installer's step: keeps valid stored values, else writes the defaults, then lets standard
// users write the settings key. Exit code 0 when all of it worked.
int InstallSettings(const std::string& modulePath, const std::string& name) {
    Win32Registry registry;
    RunKeyLogonEntry logon(registry);
    StderrPrompt prompt(name);
    CRegistrySettings settings(registry, logon, prompt, modulePath);
    std::int32_t frequency1 = 0, frequency2 = 0, delay = 0, step = 0;
    settings.LoadToneParams(frequency1, frequency2, delay, step);
    settings.SaveToneParams(frequency1, frequency2, delay, step);
    const bool granted = LetUsersWriteKey(RegistryRoot::LocalMachine, settings.ProductKey());
    return prompt.Errors() == 0 && granted ? 0 : 1;
}

// The installer's last step: exit code 0 when the shell took the start.
int StartFromFinishPage(const std::string& modulePath, const std::string& name) {
    const ComApartment com;
    std::string why;
    if (StartAsDesktopUser(Widen(modulePath), why)) return 0;
    StderrPrompt(name).ShowError(why);
    return 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    const std::string modulePath = ModulePath();
    const std::string name = ProgramNameFromPath(modulePath);
    if (std::wstring_view(commandLine) == L"--install-settings") {
        return InstallSettings(modulePath, name);
    }
    if (std::wstring_view(commandLine) == L"--start-as-desktop-user") {
        return StartFromFinishPage(modulePath, name);
    }

    SemaphoreMarker marker(Widen(name));
    Win32DesktopWindows windows(Widen(name));
    if (IsAlreadyRunning(marker, windows)) return 0;

    const ComApartment com;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    // The sound card's default endpoint; Beep while there is none.
    AudioToneSink sink(
        [](std::string& why) -> std::unique_ptr<SoundOutput> { return WasapiOutput::Open(why); },
        std::make_unique<BeepToneSink>(SystemBeep, SystemBeepWaker));
    Win32Resources resources(instance);
    Win32Prompt prompt(name);
    Win32Registry registry;
    RunKeyLogonEntry logon(registry);
    CRegistrySettings settings(registry, logon, prompt, modulePath);
    CTonePlayer player(sink, prompt, resources);
    Win32Shell shell;
    const std::string makerPage = PageAddress(DROVANE_MAKER_PAGE, modulePath);

    CSystemTray tray;
    Win32TrayHost trayHost(tray, instance);
    Win32DialogView* shownView = nullptr;
    Win32DialogView view(
        instance, name,
        [&](HWND owner) {
            Win32AboutWindow about(instance, shell, makerPage);
            about.Run(owner, [&](HWND box) { shownView->SetAboutBox(box); });
        },
        UserResourceLanguage());
    shownView = &view;
    CRepellerDialog dialog(view, player, settings, prompt, tray, trayHost, shell,
                           PageAddress(DROVANE_PRODUCT_PAGE, modulePath));
    Win32MainWindow window(instance, view, dialog, [&](HWND main) {
        prompt.SetOwner(main);
        trayHost.SetMainWindow(main);
    });
    CMenuWindowHook::InstallHook();
    window.Run();
    // The sound ends with the window, not with the teardown after it.
    player.Stop();
    CMenuWindowHook::RemoveHook();
    prompt.SetOwner(nullptr);
    trayHost.SetMainWindow(nullptr);
    return 0;
}
