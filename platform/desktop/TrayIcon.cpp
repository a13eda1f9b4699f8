#include "platform/desktop/TrayIcon.h"

#include <QSystemTrayIcon>

#include <utility>

namespace platform {
namespace {

class DesktopTrayIcon final : public TrayIcon {
public:
    DesktopTrayIcon()
    {
        connect(&icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            switch (reason) {
            case QSystemTrayIcon::Trigger: emit activated(Click); break;
            case QSystemTrayIcon::DoubleClick: emit activated(DoubleClick); break;
            case QSystemTrayIcon::Context: emit activated(Context); break;
            case QSystemTrayIcon::MiddleClick: emit activated(MiddleClick); break;
            case QSystemTrayIcon::Unknown: break;
            }
        });
    }
    bool isAvailable() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }
    void show() override { icon_.show(); }
    void hide() override { icon_.hide(); }
    void setToolTip(const QString& tip) override { icon_.setToolTip(tip); }
    void setIcon(const QIcon& icon) override { icon_.setIcon(icon); }

private:
    QSystemTrayIcon icon_;
};

TrayIconFactory& Factory()
{
    static TrayIconFactory factory;
    return factory;
}

}  // namespace

std::unique_ptr<TrayIcon> CreateTrayIcon()
{
    if (Factory())
        return Factory()();
    return std::make_unique<DesktopTrayIcon>();
}

TrayIconFactory SetTrayIconFactory(TrayIconFactory factory)
{
    return std::exchange(Factory(), std::move(factory));
}

}  // namespace platform
