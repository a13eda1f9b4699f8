#pragma once
// An edit with up and down buttons beside it, as an edit with its buddy
// spin control: the buttons only report a step, the page decides what the
// edit then shows, so a typed value is never clamped by the buttons.

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

namespace prentil {

class SpinEdit : public QWidget {
    Q_OBJECT
public:
    explicit SpinEdit(const QString& name, QWidget* parent = nullptr);
    QLineEdit* edit = nullptr;
    QToolButton* up = nullptr;
    QToolButton* down = nullptr;

signals:
    void stepped(int delta);  // +1 up, -1 down
};

}  // namespace prentil
