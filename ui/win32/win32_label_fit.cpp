#include "ui/win32/win32_label_fit.h"

#include <string>
#include <vector>

#include "toolkit/win32/win32_geometry.h"
#include "ui/label_fit.h"

Rect ClientRectOf(HWND child, HWND dialog) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return FromRECT(r);
}

namespace {

// The width in pixels of `label`'s text on one line in the label's font, and that font's line
// (GDI draws the underline inside the line).
struct LabelText {
    int width = 0;
    layout::TextLine line;
};
LabelText MeasureLabelText(HWND label) {
    const int length = GetWindowTextLengthW(label);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(label, text.data(), length + 1)));
    HDC dc = GetDC(label);
    if (!dc) return {};
    HGDIOBJ previous = nullptr;
    if (auto font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0))) {
        previous = SelectObject(dc, font);
    }
    // Measured as the control draws it, ampersands included when it shows them.
    const bool noPrefix = (GetWindowLongPtrW(label, GWL_STYLE) & SS_NOPREFIX) != 0;
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | (noPrefix ? DT_NOPREFIX : 0));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    if (previous) SelectObject(dc, previous);
    ReleaseDC(label, dc);
    return {r.right - r.left, {metrics.tmHeight, metrics.tmHeight}};
}

}  // namespace

void FitLabelsToText(HWND dialog, std::span<const int> ids, std::span<const Rect> keepClear) {
    RECT client{};
    GetClientRect(dialog, &client);
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    for (int id : ids) {
        HWND label = GetDlgItem(dialog, id);
        if (!label) continue;
        std::vector<Rect> others(keepClear.begin(), keepClear.end());
        for (HWND child : children) {
            if (child != label) others.push_back(ClientRectOf(child, dialog));
        }
        const Rect now = ClientRectOf(label, dialog);
        const LabelText text = MeasureLabelText(label);
        const Rect wanted =
            layout::FitToText(now, text.width, text.line, others, {client.right, client.bottom});
        if (wanted != now) {
            SetWindowPos(label, nullptr, wanted.left, wanted.top, wanted.Width(), wanted.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

int LabelShortfall(HWND dialog, std::span<const int> ids) {
    int shortfall = 0;
    for (int id : ids) {
        HWND label = GetDlgItem(dialog, id);
        if (!label) continue;
        RECT r{};
        GetClientRect(label, &r);
        const int missing = MeasureLabelText(label).width - r.right;
        if (missing > 0) shortfall += missing;
    }
    return shortfall;
}
