#include "print/SpinEdit.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QVBoxLayout>

namespace prentil {

int FittingWidth(const QLineEdit& edit, const QString& text)
{
    // The text, the cursor and the box's frame and inner margins.
    const QMargins margins = edit.textMargins();
    return edit.fontMetrics().horizontalAdvance(text + QLatin1Char('0')) + margins.left() + margins.right()
           + 2 * edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &edit) + 4;
}

SpinEdit::SpinEdit(const QString& name, const QString& widest, QWidget* parent) : QWidget(parent)
{
    setObjectName(name);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    edit = new QLineEdit(this);
    edit->setObjectName(name + QStringLiteral("Edit"));
    edit->setFixedWidth(FittingWidth(*edit, widest));
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
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFocusProxy(edit);
    connect(up, &QToolButton::clicked, this, [this] { emit stepped(1); });
    connect(down, &QToolButton::clicked, this, [this] { emit stepped(-1); });
}

}  // namespace prentil
