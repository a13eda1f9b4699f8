#include "editctl/ZuWindowServices.h"

void ZuWindowServices::SetCaretPos(int x, int y)
{
    const QRect before = CaretRect();
    const bool wasVisible = CaretVisible();
    caretX_ = x;
    caretY_ = y;
    caretDestroyed_ = false;
    if (wasVisible || CaretVisible())
        CaretChanged(wasVisible ? before : QRect());
}

void ZuWindowServices::SetCaretSize(int width, int height)
{
    if (width == caretWidth_ && height == caretHeight_)
        return;
    const QRect before = CaretRect();
    caretWidth_ = width;
    caretHeight_ = height;
    if (CaretVisible())
        CaretChanged(before);
}

void ZuWindowServices::ShowCaret()
{
    if (caretWanted_)
        return;
    caretWanted_ = true;
    if (CaretVisible())
        CaretChanged(QRect());
}

void ZuWindowServices::HideCaret()
{
    const bool wasVisible = CaretVisible();
    caretWanted_ = false;
    if (wasVisible)
        CaretChanged(CaretRect());
}

void ZuWindowServices::DestroyCaret()
{
    const bool wasVisible = CaretVisible();
    caretDestroyed_ = true;
    if (wasVisible)
        CaretChanged(CaretRect());
}
