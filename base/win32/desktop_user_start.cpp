#include "base/win32/desktop_user_start.h"

#include <windows.h>
// clang-format off
#include <exdisp.h>
#include <shldisp.h>
#include <shlobj.h>
#include <wrl/client.h>
// clang-format on

#include <cstdio>

using Microsoft::WRL::ComPtr;

namespace {

std::string Failed(const char* step, HRESULT hr) {
    char text[96];
    std::snprintf(text, sizeof text, "%s failed (0x%08lx)", step, static_cast<unsigned long>(hr));
    return text;
}

// A BSTR for the call's lifetime.
class BString {
public:
    explicit BString(const std::wstring& text) : m_text(SysAllocString(text.c_str())) {}
    ~BString() { SysFreeString(m_text); }
    BString(const BString&) = delete;
    BString& operator=(const BString&) = delete;
    BSTR Get() const { return m_text; }

private:
    BSTR m_text;
};

}  // namespace

// The desktop's folder view lives in Explorer; its Shell.Application object runs there too, so
// its ShellExecute starts the program with Explorer's token.
bool StartAsDesktopUser(const std::wstring& program, std::string& why) {
    // The shell registers its windows when it starts; Wine starts its desktop, and that shell,
    // on the first use of the desktop, so a shell just starting is given a few seconds.
    GetDesktopWindow();
    ComPtr<IShellWindows> windows;
    HRESULT hr = REGDB_E_CLASSNOTREG;
    for (int wait = 0; wait < 30 && hr == REGDB_E_CLASSNOTREG; ++wait) {
        if (wait > 0) Sleep(100);
        hr = CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER,
                              IID_PPV_ARGS(&windows));
    }
    if (FAILED(hr)) return why = Failed("Finding the shell's windows", hr), false;

    VARIANT desktop;
    VariantInit(&desktop);
    desktop.vt = VT_I4;
    desktop.lVal = CSIDL_DESKTOP;
    VARIANT none;
    VariantInit(&none);
    long window = 0;
    ComPtr<IDispatch> found;
    hr = windows->FindWindowSW(&desktop, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, &found);
    if (hr != S_OK || !found) return why = Failed("Finding the desktop window", hr), false;

    ComPtr<IServiceProvider> services;
    ComPtr<IShellBrowser> browser;
    ComPtr<IShellView> view;
    ComPtr<IDispatch> background;
    ComPtr<IShellFolderViewDual> folderView;
    ComPtr<IDispatch> application;
    ComPtr<IShellDispatch2> shell;
    if (FAILED(hr = found.As(&services)) ||
        FAILED(hr = services->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(&browser))) ||
        FAILED(hr = browser->QueryActiveShellView(&view)) ||
        FAILED(hr = view->GetItemObject(SVGIO_BACKGROUND, IID_PPV_ARGS(&background))) ||
        FAILED(hr = background.As(&folderView)) ||
        FAILED(hr = folderView->get_Application(&application)) ||
        FAILED(hr = application.As(&shell))) {
        return why = Failed("Reaching the desktop's shell", hr), false;
    }

    const BString file(program);
    VARIANT empty;
    VariantInit(&empty);
    hr = shell->ShellExecute(file.Get(), empty, empty, empty, empty);
    if (FAILED(hr)) return why = Failed("Starting the program through the shell", hr), false;
    return true;
}
