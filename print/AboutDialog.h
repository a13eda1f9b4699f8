#pragma once
// "About Prentil": the program's name and version.

#include <QDialog>
#include <QDialogButtonBox>

namespace prentil {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
    QDialogButtonBox* buttons = nullptr;
};

}  // namespace prentil
