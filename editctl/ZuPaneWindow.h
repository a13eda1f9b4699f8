#pragma once
// One pane of the editor control: a scrolled window whose viewport the pane
// view paints, with the window services the view works through. The keyboard
// focus stays on the control; mouse input goes to the control, which owns the
// mouse modes.

#include "editctl/ZuWindowServices.h"

#include <QAbstractScrollArea>

class ZuEditor20;
class ZuPaneView;

class ZuPaneWindow : public QAbstractScrollArea, public ZuWindowServices {
    Q_OBJECT
public:
    ZuPaneWindow(ZuEditor20* owner, int index, const QString& name);
    ~ZuPaneWindow() override;

    void SetView(ZuPaneView* view) { view_ = view; }
    ZuPaneView* View() const { return view_; }
    ZuEditor20* Owner() const { return owner_; }
    int Index() const { return index_; }
    // The client size the view was last told about.
    QSize ClientSize() const { return clientSize_; }

    void Invalidate(const QRect* rect) override;
    void UpdateWindow() override;
    void SetScrollRange(int bar, int min, int max) override;
    void SetScrollPos(int bar, int position) override;
    int GetScrollPos(int bar) const override;
    QRect GetClientRect() const override;
    QPoint ClientToScreen(QPoint point) const override;
    QPoint ScreenToClient(QPoint point) const override;

protected:
    void CaretChanged(const QRect& before) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;

private:
    void ScrollAction(int bar, int action);

    ZuEditor20* owner_;
    int index_;
    ZuPaneView* view_ = nullptr;
    QSize clientSize_;
    int settingBars_ = 0; // the view itself moves the bars: no scroll messages back
};
