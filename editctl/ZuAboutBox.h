#pragma once
// The control's About box: its icon, the product name, a line on what it is,
// and OK. Shown modally over the control's top-level window.

#include <QDialog>

class ZuAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit ZuAboutBox(QWidget* parent = nullptr);
};

// Shows the box through the modal runner (tests answer it).
void ZuShowAboutBox(QWidget* owner);
