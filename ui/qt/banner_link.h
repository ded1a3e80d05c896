#pragma once

#include <QString>
#include <functional>

#include "banner/qt/qt_accessible_link.h"
#include "banner/qt/qt_animated_picture.h"

// The main window's banner as a link for the keyboard and screen readers: it takes the focus by
// Tab, shows it with a dotted frame over the picture, and Enter, Space or a screen reader's press
// action open the product page as a click on it does. Clicks themselves stay the window's.
class BannerLink final : public QtAnimatedPicture, public QtAccessibleLink {
public:
    BannerLink(QString name, std::function<QString()> target, std::function<void()> open,
               QWidget* parent);

    bool IsLinkNow() const override { return true; }
    QString LinkName() const override { return m_name; }
    QString LinkTarget() const override { return m_target(); }
    void OpenLink() override { m_open(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_name;
    std::function<QString()> m_target;
    std::function<void()> m_open;
};
