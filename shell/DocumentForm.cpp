#include "shell/DocumentForm.h"

DocumentForm::DocumentForm(QWidget* parent) : QWidget(parent)
{
}

DocumentForm::~DocumentForm() = default;

QString DocumentForm::Caption() const
{
    return windowTitle();
}

void DocumentForm::Caption(const QString& text)
{
    setWindowTitle(text);
}

void DocumentForm::ShowRecentFile(int, const QString&)
{
}
