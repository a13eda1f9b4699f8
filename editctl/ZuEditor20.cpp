#include "editctl/ZuEditor20.h"

#include "editctl/engine/ZuMemoryInStream.h"

#include <QPainter>
#include <QResizeEvent>
#include <QRubberBand>

ZuEditor20::ZuEditor20(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(13);
    setFont(font);
    // Created in this order: pane windows, undo manager, fonts, document, views.
    panes_[0].window = new ZuPaneWindow(this, 0, QStringLiteral("ZuColumnPaneLeft"));
    panes_[1].window = new ZuPaneWindow(this, 1, QStringLiteral("ZuColumnPaneRight"));
    metrics_ = std::make_unique<ZuQtMetrics>(font);
    document_ = std::make_unique<ZuTextDocument>(metrics_.get());
    document_->EnsureBlock();
    document_->EnsureFinalLine();
    CreateViews();
    tracker_ = new QRubberBand(QRubberBand::Line, this);
    tracker_->hide();
    LayoutPanes(width(), height());
    InitAutomation();
}

ZuEditor20::~ZuEditor20()
{
    // The views go before the windows (children, destroyed by QWidget) and the document.
    timer_.stop();
    for (Pane& pane : panes_) {
        pane.window->SetView(nullptr);
        pane.view.reset();
    }
}

void ZuEditor20::CreateViews()
{
    for (int i = 0; i < 2; ++i) {
        Pane& pane = panes_[std::size_t(i)];
        pane.window->SetView(nullptr);
        pane.view = std::make_unique<ZuPaneView>(*document_, i, *pane.window, undo_);
        pane.window->SetView(pane.view.get());
        pane.view->SetReadOnly(ReadOnly);
        PushPaneColors(i);
    }
    LinkViews();
    for (Pane& pane : panes_)
        if (!pane.window->ClientSize().isEmpty())
            pane.view->Resize(pane.window->ClientSize(), QSize());
}

void ZuEditor20::PushPaneColors(int index)
{
    // Inverted selection colours while SelColorType is 0.
    if (SelColorType == 0) {
        document_->SetPaneColor(index, 2, ZuNoColor);
        document_->SetPaneColor(index, 3, ZuNoColor);
    }
}

void ZuEditor20::AdoptDocument(std::unique_ptr<ZuTextDocument> document)
{
    if (!document)
        return;
    undo_.EmptyAll();
    document->EnsureBlock();
    document->EnsureFinalLine();
    for (Pane& pane : panes_)
        pane.view->AttachDocument(*document);
    document_.swap(document);
    for (int i = 0; i < 2; ++i)
        PushPaneColors(i);
    for (Pane& pane : panes_)
        pane.view->WrapAll();
    undo_.EmptyAll();
}

ZuErr ZuEditor20::SetPlainText(std::string_view bytes)
{
    auto document = std::make_unique<ZuTextDocument>(metrics_.get());
    ZuMemoryInStream stream(bytes.data(), bytes.size());
    int type = ZuTextDetect;
    if (const ZuErr result = document->LoadPlainText(stream, type, false))
        return result;
    AdoptDocument(std::move(document));
    return ZuOk;
}

void ZuEditor20::LinkViews()
{
    const bool split = SplitterType > 0;
    View(0).SetLinkedView(split ? &View(1) : nullptr);
    View(1).SetLinkedView(split ? &View(0) : nullptr);
    if (!split)
        SetFocusPane(0);
}

std::int16_t ZuEditor20::StoredSplitterType(int type)
{
    const std::int16_t t = std::int16_t(type);
    return t < 0 ? 0 : t > 2 ? 2 : t;
}

std::int16_t ZuEditor20::StoredSplitterPosition(int position)
{
    const std::int16_t p = std::int16_t(position);
    return p < -1 ? -2 : p;
}

void ZuEditor20::SetSplitterType(int type)
{
    SplitterType = StoredSplitterType(type);
    LinkViews();
    LayoutPanes(width(), height());
}

void ZuEditor20::SetSplitterPosition(int position)
{
    SplitterPosition = StoredSplitterPosition(position);
    LayoutPanes(width(), height());
}

void ZuEditor20::SetSplitterWidth(int width)
{
    SplitterWidth = std::int16_t(width < 0 ? 0 : width);
    LayoutPanes(this->width(), height());
}

ZuPaneLayout ZuEditor20::ComputeLayout(int type, int position, int bar, int width, int height)
{
    ZuPaneLayout layout;
    if (type == 0) {
        layout.first = QRect(0, 0, width, height);
        return layout;
    }
    // Type 1 divides the width, type 2 the height, by the same rules.
    const int total = type == 1 ? width : height;
    const int across = type == 1 ? height : width;
    int firstSize = 0;
    int secondStart = 0;
    int secondSize = 0;
    if (bar < total) {
        const int d = total - bar;
        if (position == -2) {
            firstSize = d / 2;
            secondStart = bar + d / 2;
            secondSize = secondStart < total ? total - secondStart : 0;
        } else if (position == -1) {
            firstSize = d;
        } else if (position == 0) {
            secondStart = bar;
            secondSize = d;
        } else {
            int q = position;
            if (q >= d)
                q = d - 1;
            if (q < 0)
                q = 0;
            firstSize = q;
            secondStart = bar + q;
            secondSize = secondStart < total ? total - secondStart : 0;
        }
    }
    if (type == 1) {
        layout.first = QRect(0, 0, firstSize, across);
        if (secondSize > 0)
            layout.second = QRect(secondStart, 0, secondSize, across);
    } else {
        layout.first = QRect(0, 0, across, firstSize);
        if (secondSize > 0)
            layout.second = QRect(0, secondStart, across, secondSize);
    }
    return layout;
}

void ZuEditor20::LayoutPanes(int width, int height)
{
    const ZuPaneLayout layout = ComputeLayout(SplitterType, SplitterPosition, SplitterWidth, width, height);
    const QRect rects[2] = {layout.first, layout.second};
    for (int i = 0; i < 2; ++i) {
        ZuPaneWindow& w = PaneWindow(i);
        w.setGeometry(rects[i]);
        w.setVisible(!rects[i].isEmpty());
    }
    // Over the bar itself: the splitter's cursor.
    if (SplitterEnabled && SplitterType != 0)
        setCursor(SplitterType == 2 ? Qt::SplitVCursor : Qt::SplitHCursor);
    else
        unsetCursor();
    update();
}

void ZuEditor20::SetFocusPane(int index)
{
    index = index == 1 ? 1 : 0;
    if (index == focusPane_)
        return;
    const int old = focusPane_;
    focusPane_ = index;
    if (hasFocus()) {
        PaneWindow(old).HideCaret();
        PaneWindow(index).ShowCaret();
        View(index).UpdateCaret();
    }
}

void ZuEditor20::TrackSplitter(int position)
{
    trackerPosition_ = position;
    if (position < 0 || SplitterType == 0) {
        tracker_->hide();
        return;
    }
    const int b = std::max<int>(1, SplitterWidth);
    if (SplitterType == 1) {
        const int left = std::clamp(position, 0, std::max(0, width() - b - 1));
        tracker_->setGeometry(left, 0, b, height());
    } else {
        const int top = std::clamp(position, 0, std::max(0, height() - b - 1));
        tracker_->setGeometry(0, top, width(), b);
    }
    tracker_->show();
    tracker_->raise();
}

void ZuEditor20::paintEvent(QPaintEvent*)
{
    // The bar is what the panes leave uncovered.
    QPainter painter(this);
    DrawSplitter(painter);
}

void ZuEditor20::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutPanes(event->size().width(), event->size().height());
}

void ZuEditor20::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    PaneWindow(focusPane_).ShowCaret();
    View(focusPane_).UpdateCaret();
}

void ZuEditor20::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    PaneWindow(focusPane_).HideCaret();
}

ZuErr ZuEditor20::WrapAction()
{
    undo_.Nest(true);
    ZuErr result = FocusedView().WrapSelection();
    if (result == ZuOk && SplitterType > 0)
        result = View(1 - focusPane_).WrapSelection();
    undo_.Nest(false);
    return result;
}

void ZuEditor20::FontsChanged()
{
    for (Pane& pane : panes_)
        Report(pane.view->FontsChanged());
}

void ZuEditor20::Report(ZuErr code)
{
    if (code != ZuOk && error)
        error(code);
}
