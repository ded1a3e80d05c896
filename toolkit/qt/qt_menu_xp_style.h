#pragma once

#include <QProxyStyle>

// Measures and paints the items of the flat menus and menu bars (QtMenuXP, QtMenuBarXP) through the
// menu toolkit; their windows' frames are the menus' own. Set only on those widgets, so that no
// other menu changes. One style serves them all.
class QtMenuXPStyle final : public QProxyStyle {
public:
    static QtMenuXPStyle* Instance();

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;

    // The frame of a pop-up: one outline pixel and two of paper.
    static constexpr int kFrame = 3;
    // What the window system adds to the width a menu-bar item measures.
    static constexpr int kMenuBarItemSpacing = 12;

private:
    QtMenuXPStyle();
    void DrawMenuItem(const QStyleOption* option, QPainter* painter, const QWidget* widget,
                      bool menuBar) const;
};
