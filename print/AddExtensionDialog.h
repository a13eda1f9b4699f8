#pragma once
// "Add new extension": an extension and its tab spacing.

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <functional>

namespace prentil {

class AddExtensionDialog : public QDialog {
    Q_OBJECT
public:
    // listed says whether an extension is in the list already.
    AddExtensionDialog(std::function<bool(const QString&)> listed, QWidget* parent = nullptr);

    QString Extension() const { return txtExtension->text().trimmed(); }
    int TabSpacing() const { return txtTabs->text().trimmed().toInt(); }

    QLineEdit* txtExtension = nullptr;  // 1023
    QLineEdit* txtTabs = nullptr;       // 1024
    QDialogButtonBox* buttons = nullptr;

public slots:
    // OK: an empty or listed extension, or a spacing below 1, is refused
    // and the dialog stays open.
    void accept() override;

private:
    std::function<bool(const QString&)> listed_;
};

}  // namespace prentil
