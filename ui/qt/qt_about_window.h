#pragma once

#include <QDialog>
#include <QMap>
#include <QPixmap>
#include <string>

#include "banner/qt/qt_link_static.h"
#include "ui/about_box.h"

class Shell;

// The About box on the Linux desktop: its template laid out in Qt widgets, with CAboutDialog
// deciding what the labels show.
class QtAboutWindow final : public QDialog, public AboutView {
public:
    QtAboutWindow(const QPixmap& picture, Shell& shell, const QtLinkStatic::CursorLoader& cursors,
                  std::string makerPage, QWidget* parent);

    CLinkStatic& Link(int id) override;
    Size GetWindowSize() override;
    // The window manager draws the frame; trimming the window would cut into the card itself.
    void SetWindowRegion(const Rect&) override {}

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    CAboutDialog m_logic;
    QMap<int, QtLinkStatic*> m_links;
};
