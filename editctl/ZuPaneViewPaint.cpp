// ZuPaneView: painting a pane line by line and run by run.

#include "editctl/ZuPaneView.h"

#include "editctl/ZuQtMetrics.h"
#include "editctl/ZuWindowServices.h"
#include "editctl/engine/ZuLinePainter.h"

#include <QFontMetricsF>
#include <QPainter>

#include <unordered_map>

namespace {

QColor ToQColor(std::uint32_t c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

class QtLinePainter : public ZuLinePainter {
public:
    QtLinePainter(QPainter& painter, ZuMetricsProvider* provider)
        : painter_(painter), metrics_(dynamic_cast<ZuQtMetrics*>(provider))
    {
    }

    void FillRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::uint32_t color) override
    {
        painter_.fillRect(QRect(x, y, w, h), ToQColor(color));
    }

    void DrawText(std::int32_t x, std::int32_t baseline, std::string_view bytes, const std::int32_t* xs,
                  const ZuFontEntry& font, std::uint32_t color) override
    {
        painter_.setPen(ToQColor(color));
        painter_.setFont(FontOf(font));
        if (!font.Metrics().variablePitch) {
            // Fixed pitch: one run, its advance evened out to the measured width (FontOf).
            painter_.drawText(QPoint(x, baseline), ZuToQString(bytes));
            return;
        }
        // Each character at the x measured for it, so nothing drifts.
        for (std::size_t k = 0; k < bytes.size(); ++k)
            painter_.drawText(QPoint(x + xs[k] - xs[0], baseline), ZuToQString(bytes.substr(k, 1)));
    }

private:
    const QFont& FontOf(const ZuFontEntry& font)
    {
        auto it = fonts_.find(&font);
        if (it == fonts_.end()) {
            QFont f = metrics_ != nullptr ? metrics_->ToQFont(font.Font()) : QFont();
            f.setKerning(false);
            f.setStyleStrategy(QFont::NoFontMerging);
            // Widths are measured in whole pixels, while Qt advances a fixed-pitch
            // glyph by a fraction more or less (7.8 px at 13 px): the difference is
            // added to each character, or the text drifts away from the caret.
            if (!font.Metrics().variablePitch) {
                const double measured = font.Metrics().widths['a'];
                const double advance = QFontMetricsF(f).horizontalAdvance(QLatin1Char('a'));
                if (measured > 0 && advance != measured)
                    f.setLetterSpacing(QFont::AbsoluteSpacing, measured - advance);
            }
            it = fonts_.emplace(&font, f).first;
        }
        return it->second;
    }

    QPainter& painter_;
    ZuQtMetrics* metrics_;
    std::unordered_map<const ZuFontEntry*, QFont> fonts_;
};

} // namespace

void ZuPaneView::LockPaint(bool begin)
{
    if (begin) {
        ++paintLock_;
    } else if (paintLock_ > 0 && --paintLock_ == 0 && !pendingPaint_.isNull()) {
        const QRect r = pendingPaint_;
        pendingPaint_ = QRect();
        window_.Invalidate(&r);
    }
}

void ZuPaneView::Paint(QPainter& painter, const QRect& update, bool force)
{
    if (paintLock_ > 0 && !force) {
        pendingPaint_ = pendingPaint_.united(update);
        return;
    }
    const std::uint32_t back = document_->PaneColor(pane_, 0);
    const std::uint32_t fore = document_->PaneColor(pane_, 1);
    const std::uint32_t selBack = document_->PaneColor(pane_, 2);
    const std::uint32_t selFore = document_->PaneColor(pane_, 3);
    const bool inverted = selFore == ZuNoColor || selBack == ZuNoColor;
    if (!eraseBackground || !eraseBackground(painter, update))
        painter.fillRect(update, ToQColor(back));

    const QRect text(margins_[0], margins_[1], TextWidth(), TextHeight());
    const QRect clip = text.intersected(update);
    if (clip.isEmpty())
        return;
    painter.save();
    painter.setClipRect(clip);
    QtLinePainter lines(painter, document_->Fonts().Provider());
    ZuPaintState state;
    state.painter = &lines;
    state.paneFore = fore;
    state.clipLeft = clip.left();
    state.clipRight = clip.right() + 1;
    state.x = margins_[0] - state_.leftX;

    const std::int32_t average = std::max(1, document_->AverageCharWidth());
    const std::int32_t extentBefore = extent_;
    std::vector<std::int32_t> xs;
    const std::uint32_t count = document_->LineCount(pane_);
    std::int32_t y = margins_[1];
    for (std::uint32_t line = state_.topLine; line < count && y <= clip.bottom(); ++line) {
        std::uint32_t k = 0;
        const ZuTextBlock* block = BlockOf(line, k);
        if (block == nullptr)
            break;
        const ZuLineMetrics m = block->LineMetrics(pane_, k);
        const std::int32_t h = std::max(1, m.Height());
        if (y + h > clip.top()) {
            block->MeasureLine(pane_, k, xs);
            extent_ = std::max(extent_, xs.back());
            const std::uint32_t length = std::uint32_t(xs.size() - 1);
            state.top = y;
            state.ascent = m.ascent;
            state.height = h;
            std::uint32_t s = 0, e = 0;
            const bool selected = SelectedColumns(line, s, e);
            s = std::min(s, length);
            const std::uint32_t ee = std::min(e, length);
            auto plain = [&](std::uint32_t a, std::uint32_t b) {
                state.fore = ZuNoColor;
                state.back = ZuNoColor;
                block->PaintLine(state, pane_, k, a, b, xs);
            };
            if (!selected) {
                plain(0, length);
            } else {
                plain(0, s);
                plain(ee, length);
                // The selected part; past the line's end one character's width shows a selected line end.
                const std::int32_t x0 = state.x + xs[s];
                std::int32_t x1 = state.x + xs[ee];
                if (e > length)
                    x1 += average;
                if (inverted) {
                    plain(s, ee);
                    painter.save();
                    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
                    painter.fillRect(QRect(x0, y, x1 - x0, h), Qt::white);
                    painter.restore();
                } else {
                    painter.fillRect(QRect(x0, y, x1 - x0, h), ToQColor(selBack));
                    state.fore = selFore;
                    state.back = selBack;
                    block->PaintLine(state, pane_, k, s, ee, xs);
                }
            }
        }
        y += h;
    }
    painter.restore();
    if (extent_ != extentBefore && lock_ == 0)
        UpdateScrollBars();
}
