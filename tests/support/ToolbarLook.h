#pragma once
// How a shown toolbar's buttons read, measured on what it paints (one grab
// of the toolbar). For each button: the face around its image, the contrast
// of the image's line art against that face, the same for the image it
// shows enabled, and the contrast of its caption's text. The images are
// drawn dark for a light face, so their line art is their darkest pixels.
// Contrasts are ratios of relative luminance, 1 to 21.
//
// DarkDesktopPalette is a dark colour scheme as a desktop's Qt settings
// give it; ApplicationPalette puts it in force for a scope; PaletteRows
// runs a test on it and on the light one.

#include <QAction>
#include <QApplication>
#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPalette>
#include <QStringList>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <vector>

namespace toolbarlook {

inline double Luminance(const QColor& colour)
{
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green()) + 0.0722 * channel(colour.blue());
}

inline double Contrast(const QColor& first, const QColor& second)
{
    const double a = Luminance(first);
    const double b = Luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The "darker" scheme of a desktop's Qt colour settings: window #222020,
// buttons #424245, light text.
inline QPalette DarkDesktopPalette()
{
    QPalette palette;
    const auto set = [&palette](QPalette::ColorRole role, const char* colour) {
        palette.setColor(QPalette::All, role, QColor(QLatin1String(colour)));
    };
    set(QPalette::WindowText, "#ffffff");
    set(QPalette::Button, "#424245");
    set(QPalette::Light, "#979797");
    set(QPalette::Midlight, "#5e5c5b");
    set(QPalette::Dark, "#302f2e");
    set(QPalette::Mid, "#4a4947");
    set(QPalette::Text, "#ffffff");
    set(QPalette::BrightText, "#ffffff");
    set(QPalette::ButtonText, "#ffffff");
    set(QPalette::Base, "#3d3d3d");
    set(QPalette::Window, "#222020");
    set(QPalette::Shadow, "#e7e4e0");
    set(QPalette::Highlight, "#12608a");
    set(QPalette::HighlightedText, "#f9f9f9");
    set(QPalette::Link, "#0986d3");
    set(QPalette::LinkVisited, "#a70b06");
    set(QPalette::AlternateBase, "#5c5b5a");
    set(QPalette::ToolTipBase, "#3f3f36");
    set(QPalette::ToolTipText, "#ffffff");
    set(QPalette::PlaceholderText, "#80ffffff");
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText})
        palette.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
    return palette;
}

// The rows of a test run on both palettes: a column "palette", the light
// one the application starts with and the dark one.
inline void PaletteRows()
{
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << QPalette();
    QTest::newRow("dark") << DarkDesktopPalette();
}

// The application's palette for a scope (a default one keeps the palette
// the toolkit starts with); the one before comes back at its end.
class ApplicationPalette {
public:
    explicit ApplicationPalette(const QPalette& palette) : previous_(QApplication::palette())
    {
        if (palette.resolveMask() != 0)
            QApplication::setPalette(palette);
    }
    ~ApplicationPalette() { QApplication::setPalette(previous_); }
    ApplicationPalette(const ApplicationPalette&) = delete;
    ApplicationPalette& operator=(const ApplicationPalette&) = delete;

private:
    QPalette previous_;
};

struct ButtonLook {
    QString key;
    bool enabled = true;
    QColor face;
    double lineArt = 0;         // the image as painted
    double enabledLineArt = 0;  // the image it paints enabled
    double caption = 0;         // an enabled button's caption; 0 without one
};

// The colour most of the pixels have, by luminance: the middle one.
inline QColor MiddleColour(std::vector<QColor> colours)
{
    if (colours.empty())
        return {};
    const auto middle = colours.begin() + static_cast<std::ptrdiff_t>(colours.size() / 2);
    std::nth_element(colours.begin(), middle, colours.end(),
                     [](const QColor& a, const QColor& b) { return Luminance(a) < Luminance(b); });
    return *middle;
}

// The darkest pixel of an area of an image, among its opaque ones.
inline QColor DarkestPixel(const QImage& image, const QRect& area)
{
    QColor darkest;
    double lowest = 2.0;
    for (int y = std::max(area.top(), 0); y <= std::min(area.bottom(), image.height() - 1); ++y)
        for (int x = std::max(area.left(), 0); x <= std::min(area.right(), image.width() - 1); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) < 128)
                continue;
            const QColor colour = QColor::fromRgb(pixel);
            if (Luminance(colour) < lowest) {
                lowest = Luminance(colour);
                darkest = colour;
            }
        }
    return darkest;
}

// The buttons shown on the toolbar (not those in its overflow).
inline std::vector<ButtonLook> Measure(QToolBar& toolbar)
{
    std::vector<ButtonLook> looks;
    const QImage shot = toolbar.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QSize iconSize = toolbar.iconSize();
    for (QAction* action : toolbar.actions()) {
        auto* button = qobject_cast<QToolButton*>(toolbar.widgetForAction(action));
        if (action->isSeparator() || action->icon().isNull() || button == nullptr || !button->isVisible())
            continue;
        const QRect frame = button->geometry();
        // The face: the middle colour of the button's edge, two pixels wide.
        std::vector<QColor> edge;
        for (int y = frame.top(); y <= frame.bottom(); ++y)
            for (int x = frame.left(); x <= frame.right(); ++x)
                if (x < frame.left() + 2 || x > frame.right() - 2 || y < frame.top() + 2 || y > frame.bottom() - 2)
                    edge.push_back(QColor::fromRgb(shot.pixel(x, y)));
        ButtonLook look;
        look.key = action->text().isEmpty() ? action->data().toString() : action->text();
        look.enabled = action->isEnabled();
        look.face = MiddleColour(edge);
        // The image stands centred, over the caption (and clear of it) when
        // there is one.
        const bool captioned = button->toolButtonStyle() == Qt::ToolButtonTextUnderIcon;
        const int textHeight = captioned ? button->fontMetrics().height() : 0;
        const QRect image = frame.adjusted(2, 2, -2, captioned ? -4 - textHeight : -2);
        const QColor lineArt = DarkestPixel(shot, image);
        look.lineArt = lineArt.isValid() ? Contrast(lineArt, look.face) : 1.0;
        const QImage normal = action->icon().pixmap(iconSize, 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
        const QColor enabledArt = DarkestPixel(normal, normal.rect());
        look.enabledLineArt = enabledArt.isValid() ? Contrast(enabledArt, look.face) : 1.0;
        if (captioned && look.enabled) {
            // The text's most distinct pixel, whichever way it contrasts.
            const QRect text = frame.adjusted(2, frame.height() - 2 - textHeight, -2, -2);
            for (int y = text.top(); y <= text.bottom(); ++y)
                for (int x = text.left(); x <= text.right(); ++x)
                    look.caption = std::max(look.caption, Contrast(QColor::fromRgb(shot.pixel(x, y)), look.face));
        }
        looks.push_back(look);
    }
    return looks;
}

// What does not read as it should, one line per button (empty when all do):
// an enabled image's line art has at least 3:1 against its face; a disabled
// one is visibly fainter (at most two thirds of the contrast it has enabled)
// yet still seen (1.5:1); an enabled button's caption has 4.5:1.
inline QStringList Unreadable(const std::vector<ButtonLook>& looks)
{
    QStringList faults;
    for (const ButtonLook& look : looks) {
        const QString name = QStringLiteral("%1 (%2, face %3): ")
                                 .arg(look.key, look.enabled ? QStringLiteral("enabled") : QStringLiteral("disabled"),
                                      look.face.name());
        if (look.enabled && look.lineArt < 3.0)
            faults << name + QStringLiteral("line art %1:1").arg(look.lineArt, 0, 'f', 2);
        if (!look.enabled && (look.lineArt > look.enabledLineArt * 2 / 3 || look.lineArt < 1.5))
            faults << name + QStringLiteral("disabled line art %1:1, enabled %2:1")
                                 .arg(look.lineArt, 0, 'f', 2)
                                 .arg(look.enabledLineArt, 0, 'f', 2);
        if (look.caption != 0 && look.caption < 4.5)
            faults << name + QStringLiteral("caption %1:1").arg(look.caption, 0, 'f', 2);
    }
    return faults;
}

}  // namespace toolbarlook
