#pragma once

#include <QMenu>
#include <QMenuBar>
#include <memory>
#include <optional>

#include "toolkit/menu_wnd_xp.h"

class QtSurface;

// A pop-up menu with the flat look: its items measured and painted by the menu toolkit, its window
// framed by it, and a soft shadow right of and below it made from the screen it covers, taken just
// before it shows. Where the desktop composites (and draws shadows of its own) it has none.
class QtMenuXP final : public QMenu {
public:
    explicit QtMenuXP(const QString& title = {}, QWidget* parent = nullptr);
    ~QtMenuXP() override;

protected:
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Convert();
    void TakeSnapshot();

    bool m_shadows = false;
    std::optional<CMenuWndXP> m_window;
    std::unique_ptr<QtSurface> m_snapshot;
};

// A menu bar whose items the menu toolkit measures and paints; the item whose pop-up is open
// shows as a tab that the pop-up's border joins.
class QtMenuBarXP final : public QMenuBar {
public:
    explicit QtMenuBarXP(QWidget* parent = nullptr);
    // Converts the bar's items; call once they are all there.
    void Convert();
    // Places the open item the toolkit just painted on the screen, for the pop-up to join.
    static void PlaceOpenItem(const QMenuBar& bar);

protected:
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;
    bool event(QEvent* event) override;
};
