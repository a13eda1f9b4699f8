#include "clipext/frmSysTray.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QMenu>

frmSysTray::frmSysTray(QObject* parent)
    : QObject(parent), trayIcon_(platform::CreateTrayIcon()), menu_(std::make_unique<QMenu>())
{
    menu_->setObjectName(QStringLiteral("mnuPopup"));
    connect(trayIcon_.get(), &platform::TrayIcon::activated, this, &frmSysTray::Activated);
    // The program's own name until the owner sets its tip.
    ToolTip(QCoreApplication::applicationName());
    trayIcon_->show();
}

frmSysTray::~frmSysTray()
{
    trayIcon_->hide();
}

bool frmSysTray::IsAvailable() const
{
    return trayIcon_->isAvailable();
}

void frmSysTray::ToolTip(const QString& text)
{
    toolTip_ = text.left(63);
    trayIcon_->setToolTip(toolTip_);
}

void frmSysTray::IconHandle(const QIcon& icon)
{
    if (icon.cacheKey() == icon_.cacheKey())
        return;
    icon_ = icon;
    trayIcon_->setIcon(icon);
}

int frmSysTray::AddMenuItem(const QString& caption, const QString& key, bool isDefault)
{
    QAction* item = caption == QLatin1String("-") ? menu_->addSeparator() : menu_->addAction(caption);
    item->setObjectName(QStringLiteral("mnuSysTray%1").arg(MenuItemCount() - 1));
    item->setData(key);
    connect(item, &QAction::triggered, this, [this, item] {
        const int index = static_cast<int>(menu_->actions().indexOf(item));
        emit MenuClick(index, item->data().toString());
    });
    const int index = MenuItemCount() - 1;
    if (isDefault)
        DefaultMenuIndex(index);
    else
        MarkDefault();
    return index;
}

void frmSysTray::EnableMenuItem(int index, bool enabled)
{
    if (index >= 0 && index < MenuItemCount())
        menu_->actions()[index]->setEnabled(enabled);
}

void frmSysTray::RemoveMenuItem(int index)
{
    if (index < 0 || index >= MenuItemCount())
        return;
    delete menu_->actions()[index];
    if (defaultIndex_ >= MenuItemCount())
        defaultIndex_ = 0;
    MarkDefault();
}

int frmSysTray::MenuItemCount() const
{
    return static_cast<int>(menu_->actions().size());
}

QString frmSysTray::MenuItemKey(int index) const
{
    return index >= 0 && index < MenuItemCount() ? menu_->actions()[index]->data().toString() : QString();
}

void frmSysTray::DefaultMenuIndex(int index)
{
    defaultIndex_ = index >= 0 && index < MenuItemCount() ? index : 0;
    MarkDefault();
}

void frmSysTray::MarkDefault()
{
    const QList<QAction*> items = menu_->actions();
    menu_->setDefaultAction(defaultIndex_ < items.size() ? items[defaultIndex_] : nullptr);
}

void frmSysTray::ShowMenu(const QPoint& pos)
{
    menu_->popup(pos == QPoint(-1, -1) ? QCursor::pos() : pos);
}

void frmSysTray::Activated(int activation)
{
    switch (activation) {
    case platform::TrayIcon::Click:
        emit SysTrayMouseDown(1);
        emit SysTrayMouseUp(1);
        break;
    case platform::TrayIcon::DoubleClick:
        emit SysTrayDoubleClick(1);
        break;
    case platform::TrayIcon::Context:
        emit SysTrayMouseDown(2);
        emit SysTrayMouseUp(2);
        break;
    case platform::TrayIcon::MiddleClick:
        emit SysTrayMouseDown(4);
        emit SysTrayMouseUp(4);
        break;
    default:
        break;
    }
}
