#pragma once
// What a pane view needs of its window: the caret, the scroll bars, the client
// rectangle and invalidation. The caret's state is kept here (the window draws
// it); the rest is the window's.

#include <QPoint>
#include <QRect>

enum ZuScrollBar : int {
    ZuBarHorizontal = 0,
    ZuBarVertical = 1,
};

class ZuWindowServices {
public:
    virtual ~ZuWindowServices() = default;

    // Null: the whole window.
    virtual void Invalidate(const QRect* rect) = 0;
    virtual void UpdateWindow() = 0;
    virtual void SetScrollRange(int bar, int min, int max) = 0;
    virtual void SetScrollPos(int bar, int position) = 0;
    virtual int GetScrollPos(int bar) const = 0;
    virtual QRect GetClientRect() const = 0;
    virtual QPoint ClientToScreen(QPoint point) const = 0;
    virtual QPoint ScreenToClient(QPoint point) const = 0;

    // The caret: width -1 means the default (2 px), height -1 the line height.
    void SetCaretPos(int x, int y);
    void SetCaretSize(int width, int height);
    // A narrower caret would be lost against the text.
    int CaretWidth() const { return EffectiveCaretWidth(caretWidth_); }
    static int EffectiveCaretWidth(int setting) { return setting > DefaultCaretWidth ? setting : DefaultCaretWidth; }
    int CaretHeight() const { return caretHeight_; }
    // Shown while the pane has the focus; destroyed while its line cannot be seen.
    void ShowCaret();
    void HideCaret();
    void DestroyCaret();
    bool CaretVisible() const { return caretWanted_ && !caretDestroyed_; }
    bool CaretWanted() const { return caretWanted_; }
    QRect CaretRect() const { return {caretX_, caretY_, CaretWidth(), caretHeight_ < 0 ? 0 : caretHeight_}; }

    static constexpr int DefaultCaretWidth = 2;

protected:
    // The caret moved, appeared or went: the window repaints where it was and is.
    virtual void CaretChanged(const QRect& before) = 0;

private:
    int caretX_ = 0;
    int caretY_ = 0;
    int caretWidth_ = -1;
    int caretHeight_ = -1;
    bool caretDestroyed_ = true;
    bool caretWanted_ = false;
};
