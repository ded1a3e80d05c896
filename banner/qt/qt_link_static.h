#pragma once

#include <QCursor>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

#include "banner/link_static.h"
#include "banner/qt/qt_accessible_link.h"

// A link label on the Linux desktop: a static text painted with the colours and underline that
// its CLinkStatic decides, ticking its blink timer and reporting clicks to it. While its link is on
// it takes the focus by Tab, shows it with a dotted frame, and Enter or Space opens the link.
class QtLinkStatic final : public QWidget, public LinkLabelView, public QtAccessibleLink {
public:
    // Makes the cursor of a resource id (158: the hand).
    using CursorLoader = std::function<std::optional<QCursor>(int)>;

    QtLinkStatic(const QString& text, Shell& shell, CursorLoader cursors, QWidget* parent);

    CLinkStatic& Logic() { return m_logic; }
    QString text() const { return m_text; }

    std::string GetText() override;
    void SetText(std::string_view text) override;
    void Redraw() override;
    void StartTimer(int periodMs) override;
    void StopTimer() override;
    void SetTakesClicks(bool takes) override;

    bool IsLinkNow() const override { return m_logic.IsLink(); }
    QString LinkName() const override;
    QString LinkTarget() const override;
    void OpenLink() override { m_logic.OnLButtonDown(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

private:
    QString m_text;
    CursorLoader m_cursors;
    QTimer m_timer;
    CLinkStatic m_logic;
};
