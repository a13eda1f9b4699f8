#pragma once
// Menu items of the document window are found by object name (tests, the
// key assignments and the toolbars look them up), so every item gets one.

#include <QAction>
#include <QMenu>
#include <QString>

inline QAction* AddMenuItem(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}
