#include "editctl/ZuAboutBox.h"

#include "platform/forms/ShowModal.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

ZuAboutBox::ZuAboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ZuAboutBox"));
    setWindowTitle(QStringLiteral("About Zuvanta Editor Control"));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(32, 32));
    auto* name = new QLabel(QStringLiteral("Zuvanta Editor Control"), this);
    name->setObjectName(QStringLiteral("ProductName"));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    auto* description = new QLabel(
        QStringLiteral("A text editor control with two panes over one document, word wrapping, "
                       "character formats, tab stops, bookmarks, search and replace, and plain text and RTF files."),
        this);
    description->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(description);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setFixedWidth(360);
}

void ZuShowAboutBox(QWidget* owner)
{
    ZuAboutBox box(owner);
    platform::ShowModal(box);
}
