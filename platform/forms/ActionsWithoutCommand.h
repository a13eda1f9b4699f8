#pragma once
// Menu items and toolbar buttons that no command is connected to are shown
// disabled: an item that looks live but does nothing misleads the user. A
// window applies this once its menus and toolbars are built, so an item
// becomes live by being given its command, with nothing else to change.

#include <QList>

class QAction;
class QWidget;

namespace platform {

// Whether a command is connected to the action (its triggered or toggled signal).
bool HasCommand(const QAction& action);

// Disables every item of the menus and toolbars given, and of their submenus,
// that has no command. Separators and the items that open a submenu are left
// as they are.
void DisableActionsWithoutCommand(const QList<QWidget*>& holders);

}  // namespace platform
