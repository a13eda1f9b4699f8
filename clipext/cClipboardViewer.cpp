#include "clipext/cClipboardViewer.h"

#include "platform/desktop/Clipboard.h"
#include "shell/MEditor.h"

cClipboardViewer::cClipboardViewer(QObject* parent) : QObject(parent) {}

cClipboardViewer::~cClipboardViewer()
{
    StopClipboardChangeNotification();
}

void cClipboardViewer::InitClipboardChangeNotification(QObject* window)
{
    StopClipboardChangeNotification();
    window_ = window;
    if (window == nullptr)
        return;
    connect(&platform::TheClipboard(), &platform::Clipboard::changed, this, &cClipboardViewer::Changed);
    active_ = true;
}

void cClipboardViewer::StopClipboardChangeNotification()
{
    if (active_)
        disconnect(&platform::TheClipboard(), &platform::Clipboard::changed, this, &cClipboardViewer::Changed);
    active_ = false;
}

void cClipboardViewer::Changed()
{
    if (!SuppressClipCapture)
        emit ClipboardChanged();
}

ClipCaptureGuard::ClipCaptureGuard() : previous_(SuppressClipCapture)
{
    SuppressClipCapture = true;
}

ClipCaptureGuard::~ClipCaptureGuard()
{
    SuppressClipCapture = previous_;
}
