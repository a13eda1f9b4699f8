#include "shell/KroColorSelector.h"

#include "platform/codemax/CodeMaxKeys.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Twips.h"
#include "platform/forms/WaitCursor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleOptionFocusRect>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

namespace {

constexpr int KeyUp = 38;
constexpr int KeyDown = 40;
constexpr int AltMask = 4;
constexpr int ButtonWidthTwips = 225;
constexpr int PaletteHeightTwips = 3240;

constexpr std::array<std::array<int, 3>, 16> Palette{{
    {0, 0, 0}, {0, 0, 128}, {0, 128, 0}, {0, 128, 128},
    {128, 0, 0}, {128, 0, 128}, {128, 128, 0}, {192, 192, 192},
    {128, 128, 128}, {0, 0, 255}, {0, 255, 0}, {0, 255, 255},
    {255, 0, 0}, {255, 0, 255}, {255, 255, 0}, {255, 255, 255},
}};

}  // namespace

// The palette window: paints the rows, takes presses, and hands keys to the
// control, which works the same while it is open.
class KroColorPalette : public QWidget {
public:
    explicit KroColorPalette(KroColorSelector& owner)
        : QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint), owner_(owner)
    {
        setObjectName(QStringLiteral("picPopup"));
        setAttribute(Qt::WA_NoMouseReplay);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        owner_.PaintPalette(painter);
    }
    void mousePressEvent(QMouseEvent* event) override { owner_.PalettePress(event->button(), event->position().toPoint()); }
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab || event->key() == Qt::Key_Escape) {
            owner_.HidePalette();
            // Back in the swatch, Tab moves on from there.
            if (event->key() != Qt::Key_Escape)
                QCoreApplication::sendEvent(owner_.picSelection, event);
            return;
        }
        owner_.KeyDown(platform::CodeMaxKeys::VirtualKey(*event),
                       platform::CodeMaxKeys::ShiftMask(event->modifiers()));
    }
    void hideEvent(QHideEvent* event) override
    {
        QWidget::hideEvent(event);
        owner_.picSelection->update();
    }

private:
    KroColorSelector& owner_;
};

namespace {

// The swatch: takes the focus and passes its keys and paints to the control.
class Swatch : public QWidget {
public:
    explicit Swatch(KroColorSelector& owner) : QWidget(&owner)
    {
        setObjectName(QStringLiteral("picSelection"));
        setFocusPolicy(Qt::StrongFocus);
    }
    std::function<void(QPainter&)> paint;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        paint(painter);
    }
    void focusInEvent(QFocusEvent* event) override
    {
        QWidget::focusInEvent(event);
        update();
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        QWidget::focusOutEvent(event);
        update();
    }
};

}  // namespace

KroColorSelector::KroColorSelector(QWidget* parent) : QWidget(parent)
{
    auto* swatch = new Swatch(*this);
    swatch->paint = [this](QPainter& painter) { PaintSwatch(painter); };
    picSelection = swatch;
    cmdPopup = new QToolButton(this);
    cmdPopup->setObjectName(QStringLiteral("cmdPopup"));
    cmdPopup->setArrowType(Qt::DownArrow);
    cmdPopup->setFocusPolicy(Qt::NoFocus);
    cmdPopup->resize(platform::TwipsToPixelsX(ButtonWidthTwips), cmdPopup->height());
    picPopup = new KroColorPalette(*this);
    picPopup->resize(width(), platform::TwipsToPixelsY(PaletteHeightTwips));
    setFocusProxy(picSelection);
    // Design size 2535 x 3825 twips; the swatch row is what shows.
    resize(platform::TwipsToPixelsX(2535), platform::TwipsToPixelsY(285));
    connect(cmdPopup, &QToolButton::clicked, this, &KroColorSelector::cmdPopup_Click);
    picSelection->installEventFilter(this);
    // The focus leaving the control closes an open palette.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (PaletteShown() && now != nullptr && now != picSelection && now != picPopup && !isAncestorOf(now))
            HidePalette(false);
    });
}

KroColorSelector::~KroColorSelector() { delete picPopup; }

QColor KroColorSelector::PaletteColor(int index)
{
    const auto& rgb = Palette.at(std::size_t(std::clamp(index, 0, 15)));
    return QColor(rgb[0], rgb[1], rgb[2]);
}

void KroColorSelector::ShowAbout()
{
    const QString gap = QStringLiteral("\r\n\r\n");
    platform::MsgBox(QStringLiteral("KroColorSelector: the 16 classic colours in a drop-down") + gap
                         + QStringLiteral("Part of the Talvex suite for NC programs") + gap
                         + QStringLiteral("Alt+Down opens the palette, Up and Down step through it") + gap,
                     platform::vbOKOnly, QStringLiteral("KroColorSelector"));
}

void KroColorSelector::SelectedColor(qint16 New_SelectedColor)
{
    if (New_SelectedColor < 0 || New_SelectedColor > 15)
        return;
    selectedColor_ = New_SelectedColor;
    picSelection->update();
}

bool KroColorSelector::PaletteShown() const { return picPopup->isVisible(); }

QPoint KroColorSelector::PlacePalette(const QRect& control, const QSize& palette, const QSize& screen)
{
    // Right and bottom edges exclusive, as the window system gives them.
    const int right = control.x() + control.width();
    const int bottom = control.y() + control.height();
    int top = bottom + palette.height() > screen.height() ? control.y() - palette.height() : bottom;
    // Above a control at the screen's top the palette would start off it.
    top = std::max(0, top);
    int left = 0;
    if (palette.width() < control.width()) {
        left = screen.width() < right ? screen.width() - palette.width() : right - palette.width();
        left = std::max(0, left);
    } else {
        left = control.x() < 0 ? 0 : control.x();
        if (left + palette.width() > screen.width())
            left = screen.width() - palette.width();
    }
    return {left, top};
}

int KroColorSelector::PaletteRowAt(int y, int paletteHeight)
{
    if (paletteHeight <= 0)
        return 0;
    // The bottom edge itself would be row 16, which is no colour.
    return std::clamp(int(std::floor(16.0 * y / paletteHeight)), 0, 15);
}

void KroColorSelector::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int w = width();
    const int h = height();
    const int button = cmdPopup->width();
    cmdPopup->setGeometry(w - button, 0, button, h);
    picSelection->setGeometry(0, 0, std::max(0, w - (button + 1)), h);
    picPopup->resize(w, picPopup->height());
}

void KroColorSelector::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    picSelection->setToolTip(toolTip());
}

void KroColorSelector::PaintSwatch(QPainter& painter)
{
    const QRect area = picSelection->rect();
    if (picSelection->hasFocus() && !PaletteShown()) {
        QStyleOptionFocusRect option;
        option.initFrom(picSelection);
        option.rect = area.adjusted(1, 1, -1, -1);
        option.backgroundColor = picSelection->palette().color(QPalette::Window);
        picSelection->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, picSelection);
    } else {
        painter.fillRect(area, picSelection->palette().color(QPalette::Window));
    }
    // From (2, 2) to (width - 3, height - 3), the far corner excluded.
    painter.fillRect(QRect(QPoint(2, 2), QPoint(area.width() - 4, area.height() - 4)),
                     PaletteColor(selectedColor_));
}

void KroColorSelector::PaintPalette(QPainter& painter)
{
    const double tppX = platform::TwipsPerPixelX();
    const double tppY = platform::TwipsPerPixelY();
    const double innerWidth = picPopup->width() * tppX;
    const double row = std::floor(picPopup->height() * tppY / 16);  // whole twips
    painter.fillRect(picPopup->rect(), picPopup->palette().color(QPalette::Window));
    auto px = [](double twips, double tpp) { return int(std::lround(twips / tpp)); };
    for (int i = 0; i < 16; ++i) {
        const int left = 1;
        const int top = px(i * row, tppY) + 1;
        const int right = px(innerWidth, tppX) - 2;
        const int bottom = px((i + 1) * row, tppY) - 1;
        painter.setPen(Qt::black);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
        painter.fillRect(QRect(QPoint(left + 1, top + 1), QPoint(right - 2, bottom - 2)), PaletteColor(i));
    }
}

void KroColorSelector::cmdPopup_Click()
{
    picSelection->setFocus();
    if (PaletteShown())
        HidePalette();
    else
        ShowPalette();
}

void KroColorSelector::ShowPalette()
{
    const QRect control(mapToGlobal(QPoint(0, 0)), size());
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect screenArea = shown ? shown->geometry() : QRect(0, 0, 800, 600);
    const QPoint place = PlacePalette(control.translated(-screenArea.topLeft()), picPopup->size(),
                                      screenArea.size());
    picPopup->move(place + screenArea.topLeft());
    picPopup->show();
    picPopup->raise();
    picPopup->update();
    picSelection->update();
}

void KroColorSelector::HidePalette(bool keepFocus)
{
    if (QWidget::mouseGrabber() == picPopup)
        picPopup->releaseMouse();
    picPopup->hide();
    platform::DoEvents();
    if (keepFocus && isVisible()) {
        picSelection->activateWindow();
        picSelection->setFocus();
    }
    picSelection->update();
}

void KroColorSelector::PalettePress(Qt::MouseButton button, QPoint position)
{
    if (position.x() < 0 || position.x() > picPopup->width() || position.y() < 0
        || position.y() > picPopup->height()) {
        HidePalette();
        return;
    }
    if (button != Qt::LeftButton)
        return;
    selectedColor_ = qint16(PaletteRowAt(position.y(), picPopup->height()));
    picSelection->update();
    HidePalette();
    emit Click();
}

bool KroColorSelector::KeyDown(int keyCode, int shift)
{
    if (keyCode != KeyUp && keyCode != ::KeyDown)
        return false;
    if (shift == AltMask) {
        cmdPopup_Click();
    } else if (keyCode == ::KeyDown) {
        if (selectedColor_ < 15) {
            ++selectedColor_;
            picSelection->update();
            emit Click();
        }
    } else if (selectedColor_ >= 1) {
        --selectedColor_;
        picSelection->update();
        emit Click();
    }
    return true;
}

void KroColorSelector::keyPressEvent(QKeyEvent* event)
{
    if (!KeyDown(platform::CodeMaxKeys::VirtualKey(*event), platform::CodeMaxKeys::ShiftMask(event->modifiers())))
        QWidget::keyPressEvent(event);
}

bool KroColorSelector::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == picSelection) {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (KeyDown(platform::CodeMaxKeys::VirtualKey(*key), platform::CodeMaxKeys::ShiftMask(key->modifiers())))
                return true;
        } else if (event->type() == QEvent::MouseButtonPress) {
            // A click on the swatch is the drop button.
            cmdPopup_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
