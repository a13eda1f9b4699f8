#include "platform/forms/ActionsWithoutCommand.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>
#include <QWidget>

namespace {

// QObject::receivers is protected: a pointer to it, formed in a class derived
// from QObject, may be applied to any object.
struct Connections : QObject {
    static int To(const QObject& object, const char* signal)
    {
        int (QObject::*receivers)(const char*) const = &Connections::receivers;
        return (object.*receivers)(signal);
    }
};

int Receivers(const QAction& action)
{
    return Connections::To(action, SIGNAL(triggered(bool))) + Connections::To(action, SIGNAL(toggled(bool)));
}

// The connections the toolkit itself makes to an action for each menu and
// each tool button that shows it, measured once on this toolkit.
int ToolkitConnections(const QAction& action)
{
    static const int perMenu = [] {
        QMenu menu;
        return Receivers(*menu.addAction(QStringLiteral("probe")));
    }();
    static const int perButton = [] {
        QAction probe(QStringLiteral("probe"));
        QToolButton button;
        button.setDefaultAction(&probe);
        return Receivers(probe);
    }();
    int count = 0;
    for (const QObject* shown : action.associatedObjects()) {
        if (qobject_cast<const QMenu*>(shown) != nullptr)
            count += perMenu;
        else if (qobject_cast<const QToolButton*>(shown) != nullptr)
            count += perButton;
    }
    return count;
}

void DisableWithoutCommand(QWidget& holder, QList<const QWidget*>& seen)
{
    if (seen.contains(&holder))
        return;
    seen.append(&holder);
    for (QAction* action : holder.actions()) {
        if (action->isSeparator())
            continue;
        if (QMenu* submenu = action->menu()) {
            DisableWithoutCommand(*submenu, seen);
            continue;
        }
        if (!platform::HasCommand(*action))
            action->setEnabled(false);
    }
}

}  // namespace

namespace platform {

bool HasCommand(const QAction& action)
{
    return Receivers(action) > ToolkitConnections(action);
}

void DisableActionsWithoutCommand(const QList<QWidget*>& holders)
{
    QList<const QWidget*> seen;
    for (QWidget* holder : holders)
        if (holder != nullptr)
            DisableWithoutCommand(*holder, seen);
}

}  // namespace platform
