#pragma once
// A page of the view's tab control: edits the settings document directly
// and fills its controls from it when made, when shown again and after the
// settings are restored.

#include "print/CTxtPrintDoc.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>

namespace prentil {

class TabPage : public QWidget {
    Q_OBJECT
public:
    TabPage(CTxtPrintDoc& doc, QWidget* parent = nullptr) : QWidget(parent), doc_(doc) {}
    virtual void RefreshFromDocument() = 0;

protected:
    void showEvent(QShowEvent* event) override;
    CTxtPrintDoc& doc_;
    // While a page fills its controls, their change signals do not write back.
    bool filling_ = false;
};

// Runs dialog through the modal seam and gives the focus back to where it
// was before the dialog opened.
int RunModalKeepingFocus(QDialog& dialog);
// The same for a message box.
int MessageKeepingFocus(const QString& text, int style, const QString& title = QString());

}  // namespace prentil
