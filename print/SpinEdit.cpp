#include "print/SpinEdit.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace prentil {

SpinEdit::SpinEdit(const QString& name, QWidget* parent) : QWidget(parent)
{
    setObjectName(name);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    edit = new QLineEdit(this);
    edit->setObjectName(name + QStringLiteral("Edit"));
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(0);
    up = new QToolButton(this);
    up->setObjectName(name + QStringLiteral("Up"));
    up->setArrowType(Qt::UpArrow);
    up->setAutoRepeat(true);
    down = new QToolButton(this);
    down->setObjectName(name + QStringLiteral("Down"));
    down->setArrowType(Qt::DownArrow);
    down->setAutoRepeat(true);
    for (QToolButton* button : {up, down}) {
        button->setFixedSize(16, 11);
        button->setFocusPolicy(Qt::NoFocus);
        buttons->addWidget(button);
    }
    layout->addWidget(edit, 1);
    layout->addLayout(buttons);
    setFocusProxy(edit);
    connect(up, &QToolButton::clicked, this, [this] { emit stepped(1); });
    connect(down, &QToolButton::clicked, this, [this] { emit stepped(-1); });
}

}  // namespace prentil
