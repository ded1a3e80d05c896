#pragma once

#include <QPushButton>

#include "toolkit/xp_button.h"

// A push button with the toolkit's flat look, painted by CXPButton: the mouse entering and leaving
// it stands for the window system's hover and leave notices.
class QtXPButton final : public QPushButton {
public:
    explicit QtXPButton(const QString& text, QWidget* parent = nullptr);

    const CXPButton& Look() const { return m_look; }
    // The owner-draw state bits of the button as it is now.
    unsigned State() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    CXPButton m_look;
};
