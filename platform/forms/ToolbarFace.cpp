#include "platform/forms/ToolbarFace.h"

#include <QAction>
#include <QEvent>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Relative luminance of a colour (sRGB, as contrast ratios are defined).
double Luminance(const QColor& colour)
{
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green()) + 0.0722 * channel(colour.blue());
}

double Contrast(const QColor& first, const QColor& second)
{
    const double a = Luminance(first);
    const double b = Luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The contrast asked of graphics a user has to make out.
constexpr double LegibleContrast = 3.0;

// A face light text reads better on than dark text.
bool IsDark(const QColor& face)
{
    return Contrast(face, Qt::white) > Contrast(face, Qt::black);
}

// The line art of an image drawn for a light face is its darkest opaque
// pixel; invalid for an image without one.
QColor LineArt(const QIcon& icon, const QSize& size)
{
    const QImage image = icon.pixmap(size, 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
    QColor darkest;
    double lowest = 2.0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) < 128)
                continue;
            const QColor colour(qRed(line[x]), qGreen(line[x]), qBlue(line[x]));
            const double luminance = Luminance(colour);
            if (luminance < lowest) {
                lowest = luminance;
                darkest = colour;
            }
        }
    }
    return darkest;
}

// On a face the bar shows (window) and a button under the mouse shows (button).
bool Legible(const QColor& lineArt, const QPalette& face)
{
    return Contrast(lineArt, face.color(QPalette::Window)) >= LegibleContrast &&
           Contrast(lineArt, face.color(QPalette::Button)) >= LegibleContrast;
}

class ToolbarFace final : public QObject {
public:
    explicit ToolbarFace(QToolBar& toolbar) : QObject(&toolbar), toolbar_(toolbar)
    {
        toolbar_.installEventFilter(this);
        WatchParent();
    }

    void Update()
    {
        pending_ = false;
        // Decided from the look the toolbar has of itself.
        Restore();
        const QPalette inherited = toolbar_.palette();
        if (!IsDark(inherited.color(QPalette::Window)) && !IsDark(inherited.color(QPalette::Button)))
            return;
        const QPalette light = toolbar_.style()->standardPalette();
        int onInherited = 0;
        int onLight = 0;
        for (const QAction* action : toolbar_.actions()) {
            if (action->isSeparator() || action->icon().isNull())
                continue;
            const QColor lineArt = LineArt(action->icon(), toolbar_.iconSize());
            if (!lineArt.isValid())
                continue;
            onInherited += Legible(lineArt, inherited) ? 1 : 0;
            onLight += Legible(lineArt, light) ? 1 : 0;
        }
        // Images drawn for a dark face (an icon theme's) keep it.
        if (onLight > onInherited)
            Apply(light);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &toolbar_) {
            switch (event->type()) {
            case QEvent::ParentChange:
                WatchParent();
                Schedule();
                break;
            case QEvent::ApplicationPaletteChange:
            case QEvent::StyleChange:
                Schedule();
                break;
            default:
                break;
            }
        } else if (watched == parent_ && event->type() == QEvent::PaletteChange) {
            Schedule();
        }
        return false;
    }

private:
    struct ChangedIcon {
        QPointer<QAction> action;
        QIcon original;
        qint64 shown = 0;
    };

    // The palette arrives at every widget in turn: decide once all have it.
    void Schedule()
    {
        if (pending_)
            return;
        pending_ = true;
        QTimer::singleShot(0, this, [this] {
            if (pending_)
                Update();
        });
    }

    // A palette given to the window the toolbar sits in reaches it too.
    void WatchParent()
    {
        if (parent_ != nullptr)
            parent_->removeEventFilter(this);
        parent_ = toolbar_.parentWidget();
        if (parent_ != nullptr)
            parent_->installEventFilter(this);
    }

    void Apply(const QPalette& face)
    {
        autoFill_ = toolbar_.autoFillBackground();
        toolbar_.setPalette(face);
        toolbar_.setAutoFillBackground(true);
        applied_ = true;
        // A desktop's settings tool hands a new palette to every widget: the
        // buttons and separators take the toolbar's face instead.
        for (QWidget* child : toolbar_.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->testAttribute(Qt::WA_SetPalette))
                child->setPalette(QPalette());
        // Qt makes disabled images from the application's palette, that is
        // for the dark face: these are made for the face they are shown on.
        QStyleOption option;
        option.palette = face;
        for (QAction* action : toolbar_.actions()) {
            if (action->isSeparator() || action->icon().isNull())
                continue;
            QIcon icon = action->icon();
            // The size shown made as Qt makes it (from the image at that
            // size), the image's own sizes for other uses.
            QList<QSize> sizes{toolbar_.iconSize()};
            for (const QSize& size : icon.availableSizes())
                if (!sizes.contains(size))
                    sizes.append(size);
            for (const QSize& size : sizes)
                icon.addPixmap(toolbar_.style()->generatedIconPixmap(QIcon::Disabled, icon.pixmap(size, 1.0), &option),
                               QIcon::Disabled);
            changed_.push_back({action, action->icon(), icon.cacheKey()});
            action->setIcon(icon);
        }
    }

    // Back to the toolbar's own look; an image its owner replaced since stays.
    void Restore()
    {
        for (const ChangedIcon& changed : changed_)
            if (changed.action != nullptr && changed.action->icon().cacheKey() == changed.shown)
                changed.action->setIcon(changed.original);
        changed_.clear();
        if (applied_) {
            toolbar_.setPalette(QPalette());
            toolbar_.setAutoFillBackground(autoFill_);
            applied_ = false;
        }
    }

    QToolBar& toolbar_;
    QPointer<QWidget> parent_;
    std::vector<ChangedIcon> changed_;
    bool pending_ = false;
    bool applied_ = false;
    bool autoFill_ = false;
};

}  // namespace

namespace platform {

void KeepToolbarIconsVisible(QToolBar& toolbar)
{
    ToolbarFace* face = nullptr;
    for (QObject* child : toolbar.children())
        if ((face = dynamic_cast<ToolbarFace*>(child)) != nullptr)
            break;
    if (face == nullptr)
        face = new ToolbarFace(toolbar);
    face->Update();
}

}  // namespace platform
