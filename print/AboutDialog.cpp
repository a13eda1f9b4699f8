#include "print/AboutDialog.h"

#include "print/PrintStrings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

namespace prentil {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral("About Prentil"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_FileIcon).pixmap(32, 32));
    auto* text = new QLabel(AppVersionText + QLatin1Char('\n') + IDS_APP_DESCRIPTION, this);
    row->addWidget(icon);
    row->addWidget(text, 1);
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

}  // namespace prentil
