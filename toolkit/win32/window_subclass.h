#pragma once

#include <windows.h>

#include <functional>
#include <optional>

// Puts a handler of ours in front of a window's own procedure (SetWindowSubclass) while this
// object lives, or until the window goes. The handler answers a message with a result, or with
// nothing to leave it to the window's own procedure (DefSubclassProc). It sees WM_NCDESTROY too,
// by which time the window is no longer attached.
class WindowSubclass {
public:
    using Handler = std::function<std::optional<LRESULT>(HWND window, UINT message, WPARAM wParam,
                                                         LPARAM lParam)>;

    WindowSubclass() = default;
    ~WindowSubclass() { Detach(); }
    WindowSubclass(const WindowSubclass&) = delete;
    WindowSubclass& operator=(const WindowSubclass&) = delete;

    // Lets go of any earlier window first. False, attaching nothing, for no window or when the
    // system refuses.
    [[nodiscard]] bool Attach(HWND window, Handler handler);
    // `handler` is a member function of `owner`, which outlives the attachment.
    template <class Owner>
    [[nodiscard]] bool Attach(HWND window, Owner& owner,
                              std::optional<LRESULT> (Owner::*handler)(HWND, UINT, WPARAM,
                                                                       LPARAM)) {
        return Attach(window,
                      [&owner, handler](HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
                          return (owner.*handler)(w, message, wParam, lParam);
                      });
    }
    // Gives the window back its own procedure.
    void Detach();
    // The window attached, else null.
    HWND Window() const { return m_window; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR id, DWORD_PTR self);

    HWND m_window = nullptr;
    Handler m_handler;
};
