#pragma once
// The tray icon of the clipboard extender: icon, tip, a pop-up menu of
// keyed items with a default item, and the user's clicks as events. The
// icon is shown while the object lives. Where the desktop has no tray,
// IsAvailable() is false and the owner must not rely on the icon.

#include "platform/desktop/TrayIcon.h"

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QString>

#include <memory>

class QAction;
class QMenu;

class frmSysTray : public QObject {
    Q_OBJECT
public:
    explicit frmSysTray(QObject* parent = nullptr);
    ~frmSysTray() override;  // removes the icon

    bool IsAvailable() const;

    QString ToolTip() const { return toolTip_; }
    void ToolTip(const QString& text);  // cut to 63 characters, as the shell keeps them
    QIcon IconHandle() const { return icon_; }
    void IconHandle(const QIcon& icon);  // the same icon again changes nothing

    // Adds an item ("-" is a separator) and returns its index from 0.
    int AddMenuItem(const QString& caption, const QString& key, bool isDefault = false);
    void EnableMenuItem(int index, bool enabled);
    // Removes the item; the ones after it move up one place.
    void RemoveMenuItem(int index);
    int MenuItemCount() const;
    QString MenuItemKey(int index) const;
    int DefaultMenuIndex() const { return defaultIndex_; }
    void DefaultMenuIndex(int index);  // outside the menu: 0
    // Pops the menu up at the mouse (at pos when given).
    void ShowMenu(const QPoint& pos = QPoint(-1, -1));
    QMenu* Menu() const { return menu_.get(); }

signals:
    void SysTrayMouseDown(int button);
    void SysTrayMouseUp(int button);
    void SysTrayMouseMove();
    void SysTrayDoubleClick(int button);
    void MenuClick(int index, const QString& key);

private:
    void Activated(int activation);
    void MarkDefault();

    std::unique_ptr<platform::TrayIcon> trayIcon_;
    std::unique_ptr<QMenu> menu_;
    QString toolTip_;
    QIcon icon_;
    int defaultIndex_ = 0;
};
