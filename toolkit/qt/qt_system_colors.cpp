#include "toolkit/qt/qt_system_colors.h"

#include <QGuiApplication>

#include "toolkit/qt/qt_color.h"

SystemColors QtSystemColors(const QPalette& p) {
    const auto active = [&](QPalette::ColorRole role) {
        return FromQColor(p.color(QPalette::Active, role));
    };
    SystemColors c;
    c.buttonFace = active(QPalette::Button);
    c.highlight = active(QPalette::Highlight);
    c.darkShadow = active(QPalette::Shadow);
    c.menuText = active(QPalette::WindowText);
    c.buttonShadow = active(QPalette::Dark);
    c.buttonText = active(QPalette::ButtonText);
    c.grayText = FromQColor(p.color(QPalette::Disabled, QPalette::WindowText));
    c.window = active(QPalette::Base);
    c.windowText = active(QPalette::Text);
    c.menu = active(QPalette::Window);
    c.highlightText = active(QPalette::HighlightedText);
    c.link = active(QPalette::Link);
    return c;
}

FlatLook QtFlatLook(const QPalette& palette) { return ChooseFlatLook(QtSystemColors(palette)); }

SystemColors QtSystemColors() { return QtSystemColors(QGuiApplication::palette()); }
