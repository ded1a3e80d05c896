#pragma once

#include <string>
#include <string_view>

#include "toolkit/canvas.h"

class Shell;

// What a link label needs of its control on the screen.
class LinkLabelView {
public:
    virtual ~LinkLabelView() = default;
    virtual std::string GetText() = 0;
    virtual void SetText(std::string_view text) = 0;
    // Shows the label again with its colours and font.
    virtual void Redraw() = 0;
    // Ticks OnTimer every `periodMs` until stopped.
    virtual void StartTimer(int periodMs) = 0;
    virtual void StopTimer() = 0;
    // Whether the label takes mouse clicks; one that does not lets them through to its parent.
    virtual void SetTakesClicks(bool takes) = 0;
};

// A static text with its own colours and font, which can blink its text and act as a web link:
// a click opens the link address, and the hover cursor shows over it. The address is shared by
// every link label of the program: setting it on one sets it for all.
class CLinkStatic {
public:
    static constexpr int kBlinkPeriodMs = 500;
    // No hover cursor: the platform's default shows.
    static constexpr int kNoCursor = 0;

    // `windowText` and `buttonFace` are the system's colours that the label starts with.
    CLinkStatic(LinkLabelView& view, Shell& shell, Color windowText, Color buttonFace);
    CLinkStatic(const CLinkStatic&) = delete;
    CLinkStatic& operator=(const CLinkStatic&) = delete;

    CLinkStatic& SetForeColor(Color color);
    CLinkStatic& SetBackColor(Color color);
    CLinkStatic& SetUnderline(bool underline);
    CLinkStatic& SetLinkAddress(bool enable, std::string_view address);
    // `cursor` names a cursor resource (158 is the hand), or kNoCursor.
    CLinkStatic& SetHoverCursor(int cursor);
    CLinkStatic& BlinkText(bool on);

    void OnTimer();
    void OnLButtonDown();
    // The cursor to show over the label, or kNoCursor for the platform's default.
    int OnSetCursor() const { return m_hoverCursor; }

    // The label's text, also while a blink hides it: what a screen reader reads.
    std::string Caption() const;
    // Whether a click opens the link address, and that address.
    bool IsLink() const { return m_link; }
    static const std::string& LinkAddress();

    Color ForeColor() const { return m_foreColor; }
    Color BackColor() const { return m_backColor; }
    bool Underline() const { return m_underline; }
    bool Blinking() const { return m_timerRunning; }

private:
    LinkLabelView& m_view;
    Shell& m_shell;
    Color m_foreColor;
    Color m_backColor;
    bool m_underline = false;
    bool m_link = false;
    std::string m_savedText;
    bool m_blinkPhase = false;  // true while the text is hidden
    bool m_timerRunning = false;
    int m_blinkMode = 0;  // 0: none, 1: the text blinks
    int m_hoverCursor = kNoCursor;
};
