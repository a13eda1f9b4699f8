#include "editctl/ZuPaneWindow.h"

#include "editctl/ZuEditor20.h"
#include "editctl/ZuPaneView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

ZuPaneWindow::ZuPaneWindow(ZuEditor20* owner, int index, const QString& name)
    : QAbstractScrollArea(owner), owner_(owner), index_(index)
{
    setObjectName(name);
    setFrameShape(QFrame::NoFrame);
    // The keys go to the control; a click into a pane gives the focus to the control.
    setFocusPolicy(Qt::NoFocus);
    viewport()->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(owner);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::IBeamCursor);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { ScrollAction(ZuBarHorizontal, action); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { ScrollAction(ZuBarVertical, action); });
}

ZuPaneWindow::~ZuPaneWindow() = default;

void ZuPaneWindow::Invalidate(const QRect* rect)
{
    if (rect == nullptr)
        viewport()->update();
    else
        viewport()->update(*rect);
}

void ZuPaneWindow::UpdateWindow()
{
    viewport()->repaint();
}

void ZuPaneWindow::SetScrollRange(int bar, int min, int max)
{
    QScrollBar* b = bar == ZuBarHorizontal ? horizontalScrollBar() : verticalScrollBar();
    ++settingBars_;
    // A bar without a range is not shown.
    const Qt::ScrollBarPolicy policy = max > min ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (bar == ZuBarHorizontal && horizontalScrollBarPolicy() != policy)
        setHorizontalScrollBarPolicy(policy);
    if (bar == ZuBarVertical && verticalScrollBarPolicy() != policy)
        setVerticalScrollBarPolicy(policy);
    b->setRange(min, max);
    if (bar == ZuBarVertical)
        b->setPageStep(std::max(1, view_ != nullptr ? view_->FullLinesPerWindow() : 1));
    else
        b->setPageStep(std::max(1, viewport()->width() / 3));
    --settingBars_;
}

void ZuPaneWindow::SetScrollPos(int bar, int position)
{
    ++settingBars_;
    (bar == ZuBarHorizontal ? horizontalScrollBar() : verticalScrollBar())->setValue(position);
    --settingBars_;
}

int ZuPaneWindow::GetScrollPos(int bar) const
{
    return (bar == ZuBarHorizontal ? horizontalScrollBar() : verticalScrollBar())->value();
}

QRect ZuPaneWindow::GetClientRect() const
{
    return QRect(QPoint(0, 0), viewport()->size());
}

QPoint ZuPaneWindow::ClientToScreen(QPoint point) const
{
    return viewport()->mapToGlobal(point);
}

QPoint ZuPaneWindow::ScreenToClient(QPoint point) const
{
    return viewport()->mapFromGlobal(point);
}

void ZuPaneWindow::CaretChanged(const QRect& before)
{
    if (!before.isEmpty())
        viewport()->update(before);
    if (CaretVisible())
        viewport()->update(CaretRect());
}

void ZuPaneWindow::ScrollAction(int bar, int action)
{
    if (settingBars_ > 0 || view_ == nullptr)
        return;
    QScrollBar* b = bar == ZuBarHorizontal ? horizontalScrollBar() : verticalScrollBar();
    int code = ZuScrollEnd;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = ZuScrollLineDown; break;
    case QAbstractSlider::SliderSingleStepSub: code = ZuScrollLineUp; break;
    case QAbstractSlider::SliderPageStepAdd: code = ZuScrollPageDown; break;
    case QAbstractSlider::SliderPageStepSub: code = ZuScrollPageUp; break;
    case QAbstractSlider::SliderToMinimum: code = ZuScrollTop; break;
    case QAbstractSlider::SliderToMaximum: code = ZuScrollBottom; break;
    case QAbstractSlider::SliderMove: code = ZuScrollThumbTrack; break;
    default: return;
    }
    const int thumb = b->sliderPosition();
    // The view sets the bar itself: the slider's own step is taken back.
    ++settingBars_;
    b->setSliderPosition(b->value());
    --settingBars_;
    // A scroll by the bar is an operation of the control: its change events follow.
    owner_->BeginChange();
    if (bar == ZuBarHorizontal)
        view_->HorizontalScroll(code, thumb);
    else
        view_->VerticalScroll(code, thumb);
    owner_->EndChange();
}

void ZuPaneWindow::scrollContentsBy(int, int)
{
    // The view scrolls by repainting; nothing moves the viewport's pixels.
}

void ZuPaneWindow::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    // The second pane draws nothing while the control is not split.
    if (view_ == nullptr || (index_ == 1 && owner_->SplitterType == 0)) {
        painter.fillRect(event->rect(), palette().base());
        return;
    }
    view_->Paint(painter, event->rect());
    if (CaretVisible())
        painter.fillRect(CaretRect(), Qt::black);
}

void ZuPaneWindow::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    const QSize old = clientSize_;
    clientSize_ = viewport()->size();
    if (view_ != nullptr && old != clientSize_) {
        owner_->BeginChange();
        view_->Resize(clientSize_, old);
        owner_->EndChange();
    }
}

bool ZuPaneWindow::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        owner_->PaneMouseEvent(this, static_cast<QMouseEvent*>(event));
        return true;
    default:
        return QAbstractScrollArea::viewportEvent(event);
    }
}
