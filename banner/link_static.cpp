#include "banner/link_static.h"

#include "base/shell.h"

namespace {

// Shared by every link label, from program start to program exit.
std::string& SharedLinkAddress() {
    static std::string address;
    return address;
}

}  // namespace

CLinkStatic::CLinkStatic(LinkLabelView& view, Shell& shell, Color windowText, Color buttonFace)
    : m_view(view), m_shell(shell), m_foreColor(windowText), m_backColor(buttonFace) {}

CLinkStatic& CLinkStatic::SetForeColor(Color color) {
    m_foreColor = color;
    m_view.Redraw();
    return *this;
}

// The background shows at the next paint, as a new brush would.
CLinkStatic& CLinkStatic::SetBackColor(Color color) {
    m_backColor = color;
    return *this;
}

CLinkStatic& CLinkStatic::SetUnderline(bool underline) {
    m_underline = underline;
    m_view.Redraw();
    return *this;
}

CLinkStatic& CLinkStatic::SetLinkAddress(bool enable, std::string_view address) {
    SharedLinkAddress() = std::string(address);
    m_link = enable;
    m_view.SetTakesClicks(enable);
    return *this;
}

CLinkStatic& CLinkStatic::SetHoverCursor(int cursor) {
    m_hoverCursor = cursor;
    return *this;
}

CLinkStatic& CLinkStatic::BlinkText(bool on) {
    // A blink under way gives its text back first, so a second start never saves the empty text.
    // The flag goes with the timer, so that a later stop cannot put back a text long replaced.
    if (m_timerRunning) {
        m_view.SetText(m_savedText);
        m_view.StopTimer();
        m_timerRunning = false;
    }
    if (on) {
        m_savedText = m_view.GetText();
        m_blinkPhase = false;
        m_timerRunning = true;
        m_view.StartTimer(kBlinkPeriodMs);
        m_blinkMode = 1;
    }
    return *this;
}

void CLinkStatic::OnTimer() {
    m_blinkPhase = !m_blinkPhase;
    if (m_blinkMode == 1) m_view.SetText(m_blinkPhase ? std::string_view() : m_savedText);
}

void CLinkStatic::OnLButtonDown() { m_shell.OpenAddress(SharedLinkAddress()); }

std::string CLinkStatic::Caption() const { return m_timerRunning ? m_savedText : m_view.GetText(); }

const std::string& CLinkStatic::LinkAddress() { return SharedLinkAddress(); }
