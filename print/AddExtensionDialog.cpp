#include "print/AddExtensionDialog.h"

#include "print/PrintStrings.h"
#include "print/TabPage.h"
#include "platform/forms/MsgBox.h"

#include <QFormLayout>
#include <QIntValidator>
#include <QPushButton>

namespace prentil {

AddExtensionDialog::AddExtensionDialog(std::function<bool(const QString&)> listed, QWidget* parent)
    : QDialog(parent), listed_(std::move(listed))
{
    setObjectName(QStringLiteral("AddExtensionDialog"));
    setWindowTitle(QStringLiteral("Add new extension"));
    auto* layout = new QFormLayout(this);
    txtExtension = new QLineEdit(this);
    txtExtension->setObjectName(QStringLiteral("txtExtension"));
    txtTabs = new QLineEdit(QStringLiteral("4"), this);
    txtTabs->setObjectName(QStringLiteral("txtTabs"));
    txtTabs->setValidator(new QIntValidator(0, 999, txtTabs));
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    layout->addRow(QStringLiteral("Extension:"), txtExtension);
    layout->addRow(QStringLiteral("Tab spacing:"), txtTabs);
    layout->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &AddExtensionDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &AddExtensionDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [] {
        MessageKeepingFocus(QStringLiteral("The extension is the part of a file name after its last dot, without "
                                           "the dot; letter case counts. Its files print with this tab spacing."),
                            platform::vbInformation);
    });
}

void AddExtensionDialog::accept()
{
    const QString extension = Extension();
    if (extension.isEmpty() || (listed_ && listed_(extension))) {
        MessageKeepingFocus(IDS_BAD_EXTENSION, platform::vbExclamation);
        txtExtension->setFocus();
        return;
    }
    if (TabSpacing() < 1) {
        MessageKeepingFocus(IDS_BAD_TAB_SPACING, platform::vbExclamation);
        txtTabs->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace prentil
