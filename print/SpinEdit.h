#pragma once
// An edit with up and down buttons beside it, as an edit with its buddy
// spin control: the buttons only report a step, the page decides what the
// edit then shows, so a typed value is never clamped by the buttons. The
// edit is as wide as the widest value it is meant for, whatever room the
// page has.

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

namespace prentil {

// The width of a line edit that shows text whole.
int FittingWidth(const QLineEdit& edit, const QString& text);

class SpinEdit : public QWidget {
    Q_OBJECT
public:
    SpinEdit(const QString& name, const QString& widest, QWidget* parent = nullptr);
    QLineEdit* edit = nullptr;
    QToolButton* up = nullptr;
    QToolButton* down = nullptr;

signals:
    void stepped(int delta);  // +1 up, -1 down
};

}  // namespace prentil
