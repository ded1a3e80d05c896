#include "toolkit/qt/qt_menu_access.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QObject>
#include <QVariant>
#include <QWidget>
#include <set>

namespace {

constexpr const char* kTypeProperty = "drovaneMenuType";
constexpr const char* kDataProperty = "drovaneMenuData";

std::set<MenuHandle>& Menus() {
    static std::set<MenuHandle> menus;
    return menus;
}

QWidget* WidgetOf(MenuHandle menu) {
    return Menus().count(menu) ? reinterpret_cast<QWidget*>(menu) : nullptr;
}

// The command of an action: its data, or for one that opens a pop-up the low 32 bits of the
// pop-up's handle, as Windows gives such items the handle of their pop-up as their identifier.
unsigned CommandOf(const QAction* action) {
    if (const QMenu* popup = action->menu()) {
        return static_cast<unsigned>(QtMenuAccess::Handle(popup) & 0xFFFFFFFFu);
    }
    return action->data().toUInt();
}

QAction* ActionOf(MenuHandle menu, unsigned item, bool byPosition) {
    QWidget* widget = WidgetOf(menu);
    if (!widget) return nullptr;
    const QList<QAction*> actions = widget->actions();
    if (byPosition) return item < static_cast<unsigned>(actions.size()) ? actions[item] : nullptr;
    for (QAction* action : actions) {
        if (CommandOf(action) == item) return action;
    }
    return nullptr;
}

}  // namespace

MenuHandle QtMenuAccess::Handle(const QWidget* menu) { return reinterpret_cast<MenuHandle>(menu); }

void QtMenuAccess::Register(QWidget* menu) {
    const MenuHandle handle = Handle(menu);
    Menus().insert(handle);
    QObject::connect(menu, &QObject::destroyed, [handle] { Menus().erase(handle); });
}

unsigned QtMenuAccess::Command(const QAction* action) { return CommandOf(action); }

std::uint32_t QtMenuAccess::ItemData(const QAction* action) {
    return action ? action->property(kDataProperty).toUInt() : 0;
}

int QtMenuAccess::GetItemCount(MenuHandle menu) {
    QWidget* widget = WidgetOf(menu);
    return widget ? static_cast<int>(widget->actions().size()) : 0;
}

bool QtMenuAccess::ReadItem(MenuHandle menu, unsigned item, bool byPosition, MenuItemInfo& info,
                            std::string* text) {
    QAction* action = ActionOf(menu, item, byPosition);
    if (!action) return false;
    info = {};
    info.fType = action->property(kTypeProperty).toUInt();
    if (action->isSeparator()) info.fType |= menu_bits::kSeparator;
    if (action->isCheckable() && action->actionGroup() && action->actionGroup()->isExclusive()) {
        info.fType |= menu_bits::kRadioCheck;
    }
    if (action->isChecked()) info.fState |= menu_bits::kChecked;
    if (!action->isEnabled()) info.fState |= menu_bits::kGrayed;
    const auto* popup = qobject_cast<const QMenu*>(WidgetOf(menu));
    if (popup && popup->defaultAction() == action) info.fState |= menu_bits::kDefault;
    info.wID = CommandOf(action);
    info.hSubMenu = action->menu() ? Handle(action->menu()) : 0;
    info.dwItemData = ItemData(action);
    if (text) *text = action->text().toStdString();
    return true;
}

bool QtMenuAccess::WriteItem(MenuHandle menu, unsigned position, const MenuItemInfo& info,
                             bool withData) {
    QAction* action = ActionOf(menu, position, true);
    if (!action) return false;
    // Qt keeps the separator, radio, check and state bits itself.
    action->setProperty(kTypeProperty, info.fType & (menu_bits::kOwnerDraw | menu_bits::kBitmap));
    if (withData) action->setProperty(kDataProperty, info.dwItemData);
    return true;
}

bool QtMenuAccess::IsMenu(MenuHandle menu) { return WidgetOf(menu) != nullptr; }
