#include "ui/qt/qt_menu.h"

#include "base/qt/qt_text.h"
#include "ui/menu_model.h"

namespace qt_menu {

void Fill(QMenu& menu, const MenuPopup& popup, std::function<void(int)> run, int defaultCommand) {
    for (const MenuItem& item : popup.items) {
        if (item.IsSeparator()) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(FromUtf8(item.text));
        const int command = item.command;
        action->setData(command);
        if (command == defaultCommand) menu.setDefaultAction(action);
        QObject::connect(
            action, &QAction::triggered, &menu, [run, command] { run(command); },
            Qt::QueuedConnection);
    }
}

void UpdateChecks(QMenu& menu, const std::function<std::optional<bool>(int)>& checks) {
    for (QAction* action : menu.actions()) {
        if (action->isSeparator()) continue;
        const std::optional<bool> checked = checks(action->data().toInt());
        if (!checked) continue;
        action->setCheckable(true);
        action->setChecked(*checked);
    }
}

}  // namespace qt_menu
