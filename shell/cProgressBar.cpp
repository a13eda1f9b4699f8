#include "shell/cProgressBar.h"

#include "platform/forms/OleColor.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionProgressBar>
#include <QWidget>
#include <qdrawutil.h>
#include <algorithm>
#include <cmath>

namespace {

// A fill colour: a system colour by its low five bits, where index 31 (the
// default -1) names none and gives the fallback role.
QColor FillColor(quint32 color, const QPalette& palette, QPalette::ColorRole fallback)
{
    if (color & platform::SystemColorFlag) {
        const int index = int(color & 31);
        return palette.color(index == 31 ? fallback : platform::SystemColorRole(index));
    }
    return platform::OleColorToQColor(color, palette);
}

// A caption colour: the system colour's own, or the plain value.
QColor TextColor(quint32 color, const QPalette& palette)
{
    return platform::OleColorToQColor(color & platform::SystemColorFlag ? (color & 0x800000FFu) : color, palette);
}

int Alignment(qint32 alignX, qint32 alignY)
{
    const Qt::Alignment x = alignX == 0 ? Qt::AlignLeft : alignX == 2 ? Qt::AlignRight : Qt::AlignHCenter;
    const Qt::Alignment y = alignY == 0 ? Qt::AlignTop : alignY == 2 ? Qt::AlignBottom : Qt::AlignVCenter;
    return int(x | y) | Qt::TextSingleLine;
}

// Rounds half to even.
int RoundEven(double value)
{
    return int(std::nearbyint(value));
}

void DrawPicture(QPainter& painter, const pcMemDC& picture, qint32 mode, const QRect& area)
{
    if (mode == 1)
        cProgressBar::TileBitmap(painter, area.x(), area.y(), area.width(), area.height(), picture.Surface(),
                                 picture.Width(), picture.Height(), 0, 0);
    else
        painter.drawImage(area, picture.Surface(), QRect(0, 0, picture.Width(), picture.Height()));
}

// Right and bottom edges exclusive.
void DrawBorder(QPainter& painter, const QPalette& palette, qint32 appearance, const QRect& area, bool raised)
{
    const int left = area.x();
    const int top = area.y();
    const int right = area.x() + area.width();
    const int bottom = area.y() + area.height();
    painter.save();
    if (appearance == 0) {
        painter.setPen(Qt::black);
        painter.drawPolyline(QList<QPoint>{{left, top}, {right - 1, top}, {right - 1, bottom - 1},
                                           {left, bottom - 1}, {left, top}});
    } else if (appearance == 1) {
        const QColor shadow = platform::OleColorToQColor(platform::vbButtonShadow, palette);
        const QColor light = platform::OleColorToQColor(platform::vbButtonHighlight, palette);
        if (raised) {
            painter.setPen(light);
            painter.drawPolyline(QList<QPoint>{{left, bottom - 2}, {left, top}, {right - 1, top}});
            painter.setPen(shadow);
            painter.drawPolyline(QList<QPoint>{{right - 1, top}, {right - 1, bottom - 1}, {left - 1, bottom - 1}});
        } else {
            painter.setPen(shadow);
            painter.drawPolyline(QList<QPoint>{{left, bottom - 1}, {left, top}, {right, top}});
            painter.setPen(light);
            painter.drawPolyline(QList<QPoint>{{right - 1, top + 1}, {right - 1, bottom - 1}, {left, bottom - 1}});
        }
    } else {
        qDrawWinPanel(&painter, area, palette, !raised);
    }
    painter.restore();
}

}  // namespace

cProgressBar::cProgressBar() : font_(QStringLiteral("Tahoma"), 8) {}

cProgressBar::~cProgressBar() = default;

void cProgressBar::SetAndDraw() { Draw(); }

void cProgressBar::Segments(bool on) { segments_ = on; SetAndDraw(); }
void cProgressBar::XpStyle(bool on) { xpStyle_ = on; SetAndDraw(); }
void cProgressBar::Text(const QString& text) { text_ = text; SetAndDraw(); }
void cProgressBar::TextAlignX(qint32 align) { textAlignX_ = align; SetAndDraw(); }
void cProgressBar::TextAlignY(qint32 align) { textAlignY_ = align; SetAndDraw(); }
void cProgressBar::ShowText(bool on) { showText_ = on; SetAndDraw(); }
void cProgressBar::Min(qint32 value) { min_ = value; SetAndDraw(); }
void cProgressBar::Max(qint32 value) { max_ = value; SetAndDraw(); }
void cProgressBar::Value(qint32 value) { value_ = value; SetAndDraw(); }
void cProgressBar::BorderStyle(qint32 style) { borderStyle_ = style; SetAndDraw(); }
void cProgressBar::Appearance(qint32 appearance) { appearance_ = appearance; SetAndDraw(); }
void cProgressBar::BackColor(quint32 color) { backColor_ = color; SetAndDraw(); }
void cProgressBar::ForeColor(quint32 color) { foreColor_ = color; SetAndDraw(); }
void cProgressBar::Font(const QFont& font) { font_ = font; SetAndDraw(); }
void cProgressBar::BarColor(quint32 color) { barColor_ = color; SetAndDraw(); }
void cProgressBar::BarForeColor(quint32 color) { barForeColor_ = color; SetAndDraw(); }
void cProgressBar::BarPictureMode(qint32 mode) { barPictureMode_ = mode; SetAndDraw(); }
void cProgressBar::BackPictureMode(qint32 mode) { backPictureMode_ = mode; SetAndDraw(); }

void cProgressBar::BarPicture(const QImage& picture)
{
    barPicture_.reset();
    if (!picture.isNull()) {
        barPicture_ = std::make_unique<pcMemDC>();
        barPicture_->CreateFromPicture(picture);
    }
    SetAndDraw();
}

void cProgressBar::Picture(const QImage& picture)
{
    backPicture_.reset();
    if (!picture.isNull()) {
        backPicture_ = std::make_unique<pcMemDC>();
        backPicture_->CreateFromPicture(picture);
    }
    SetAndDraw();
}

void cProgressBar::DrawObject(QWidget* window)
{
    if (drawObject_)
        drawObject_->removeEventFilter(this);
    drawObject_ = window;
    if (drawObject_)
        drawObject_->installEventFilter(this);
    SetAndDraw();
}

double cProgressBar::Fraction() const
{
    // In 64 bits, so that no difference overflows; an empty range is an
    // empty bar rather than a division by zero.
    const qint64 range = qint64(max_) - qint64(min_);
    if (range == 0)
        return 0;
    return std::clamp(double(qint64(value_) - qint64(min_)) / double(range), 0.0, 1.0);
}

double cProgressBar::Percent() const { return Fraction() * 100; }

void cProgressBar::Draw()
{
    if (!drawObject_)
        return;
    const QRect client = drawObject_->rect();
    frame_ = QImage(client.size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    frame_.fill(Qt::transparent);
    {
        QPainter painter(&frame_);
        DrawToDC(drawObject_, painter, 0, 0, client.width(), client.height());
    }
    drawObject_->update();
    emit Painted();
}

bool cProgressBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == drawObject_ && event->type() == QEvent::Paint && !frame_.isNull()) {
        if (frame_.size() != drawObject_->size())
            Draw();
        QPainter painter(drawObject_);
        painter.drawImage(0, 0, frame_);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void cProgressBar::DrawToDC(const QWidget* styleSource, QPainter& target, int left, int top, int right, int bottom)
{
    const int w = std::abs(right - left);
    const int h = std::abs(bottom - top);
    QStyle* style = styleSource ? styleSource->style() : QApplication::style();
    const QPalette palette = styleSource ? styleSource->palette() : QApplication::palette();

    QImage* surface = buffer_.hDC(w, h);
    std::unique_ptr<QPainter> own;
    QPainter* painter = &target;
    QRect work(left, top, w, h);
    if (surface) {
        own = std::make_unique<QPainter>(surface);
        own->setCompositionMode(QPainter::CompositionMode_Source);
        own->fillRect(QRect(0, 0, w, h), Qt::transparent);
        own->setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter = own.get();
        work = QRect(0, 0, w, h);
    }
    const QRect full = work;
    painter->save();

    int chunk = 0;
    int space = 0;
    bool themed = false;
    if (!backPicture_) {
        if (xpStyle_ && style) {
            // The style's chunk size; it has no size for the spaces between.
            const int chunkSize = style->pixelMetric(QStyle::PM_ProgressBarChunkWidth, nullptr, styleSource);
            if (chunkSize > 0) {
                chunk = chunkSize;
                space = 0;
                QStyleOptionProgressBar option;
                option.rect = work;
                option.palette = palette;
                option.minimum = 0;
                option.maximum = 100;
                option.progress = 0;
                option.state = QStyle::State_Enabled | (w > h ? QStyle::State_Horizontal : QStyle::State_None);
                style->drawControl(QStyle::CE_ProgressBarGroove, &option, painter, styleSource);
                themed = true;
            }
        }
        if (!themed)
            painter->fillRect(work, FillColor(backColor_, palette, QPalette::Base));
    } else {
        DrawPicture(*painter, *backPicture_, backPictureMode_, full);
    }
    if (segments_ && !themed) {
        chunk = 8;
        space = 2;
    }

    const QRect outer = work;
    QRect inner = work;
    if (borderStyle_ > 0) {
        const int by = themed ? 1 : appearance_ == 2 ? 2 : 1;
        inner = work.adjusted(by, by, -by, -by);
    }

    const bool caption = showText_ && !text_.isEmpty();
    const QString padded = u' ' + text_ + u' ';
    const int flags = Alignment(textAlignX_, textAlignY_);
    if (caption && !themed) {
        painter->setFont(font_);
        painter->setPen(TextColor(foreColor_, palette));
        painter->drawText(inner, flags, padded);
    }

    // The bar, cut to whole blocks when they show.
    const double fraction = Fraction();
    const int L = inner.x();
    const int T = inner.y();
    const int R = inner.x() + inner.width();
    const int B = inner.y() + inner.height();
    int barLeft = L;
    int barTop = T;
    int barRight = R;
    const int step = themed ? chunk + 2 * space : chunk + space;
    const bool vertical = w <= h;
    if (vertical) {
        barTop = RoundEven(T + (B - T) * (1 - fraction));
        if ((segments_ || themed) && step > 0)
            barTop -= (barTop - B) % step;
        barTop = std::min(barTop, B);
    } else {
        barRight = RoundEven(L + (R - L) * fraction);
        if ((segments_ || themed) && step > 0)
            barRight -= (barRight - L) % step;
        barRight = std::max(barRight, L);
    }
    const QRect bar(QPoint(barLeft, barTop), QPoint(barRight - 1, B - 1));
    if (!themed)
        painter->setClipRect(bar);
    if (!barPicture_) {
        if (themed) {
            QStyleOptionProgressBar option;
            option.rect = bar;
            option.palette = palette;
            option.minimum = 0;
            option.maximum = 100;
            option.progress = 100;
            option.state = QStyle::State_Enabled | (vertical ? QStyle::State_None : QStyle::State_Horizontal);
            if (bar.isValid())
                style->drawControl(QStyle::CE_ProgressBarContents, &option, painter, styleSource);
        } else {
            painter->fillRect(bar, FillColor(barColor_, palette, QPalette::Highlight));
        }
    } else {
        DrawPicture(*painter, *barPicture_, barPictureMode_, full);
    }

    if (segments_ && !themed) {
        const QColor gap = FillColor(backColor_, palette, QPalette::Base);
        if (vertical) {
            for (int y = B; y >= barTop + chunk; y -= chunk + space)
                painter->fillRect(QRect(L, y, R - L, space), gap);
        } else {
            for (int x = barLeft + chunk; x <= barRight; x += chunk + space)
                painter->fillRect(QRect(x, T, space, B - T), gap);
        }
    }

    if (caption) {
        painter->setFont(font_);
        if (themed) {
            style->drawItemText(painter, inner, flags, palette, true, text_, QPalette::HighlightedText);
        } else {
            painter->setPen(TextColor(barForeColor_, palette));
            painter->drawText(inner, flags, padded);
        }
    }

    if (!themed) {
        painter->setClipping(false);
        if (borderStyle_ == 1 || borderStyle_ == 2)
            DrawBorder(*painter, palette, appearance_, outer, borderStyle_ == 2);
    }
    painter->restore();

    if (surface) {
        own.reset();
        buffer_.Draw(target, 0, 0, w, h, left, top);
    }
}

void cProgressBar::TileBitmap(QPainter& target, int x, int y, int width, int height, const QImage& source,
                              int sourceWidth, int sourceHeight, int offsetX, int offsetY)
{
    if (sourceWidth <= 0 || sourceHeight <= 0 || source.isNull())
        return;
    const int firstColumn = ((x + offsetX) % sourceWidth + sourceWidth) % sourceWidth;
    const int firstRow = ((y + offsetY) % sourceHeight + sourceHeight) % sourceHeight;
    int row = firstRow;
    for (int top = y; top < y + height;) {
        const int rowHeight = std::min(sourceHeight - row, y + height - top);
        int column = firstColumn;
        for (int leftEdge = x; leftEdge < x + width;) {
            const int columnWidth = std::min(sourceWidth - column, x + width - leftEdge);
            target.drawImage(QPoint(leftEdge, top), source, QRect(column, row, columnWidth, rowHeight));
            leftEdge += columnWidth;
            column = 0;
        }
        top += rowHeight;
        row = 0;
    }
}
