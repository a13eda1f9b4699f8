#include "print/LayoutPage.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <algorithm>

namespace prentil {

namespace {

// The wrapping caption of a button: a click on it is a click on the button.
class CaptionLabel : public QLabel {
public:
    CaptionLabel(const QString& text, QAbstractButton* button, QWidget* parent)
        : QLabel(text, parent), button_(button)
    {
        setWordWrap(true);
        setBuddy(button);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            button_->click();
        QLabel::mouseReleaseEvent(event);
    }

private:
    QAbstractButton* button_;
};

}  // namespace

SpinEdit* LayoutPage::CountEdit(const QString& name, std::function<void(int)> set)
{
    auto* spin = new SpinEdit(name, QStringLiteral("000"), this);
    // Stored as typed, without clamping: printing refuses what cannot print.
    connect(spin->edit, &QLineEdit::textChanged, this, [this, set](const QString& text) {
        if (!filling_)
            set(text.trimmed().toInt());
    });
    // The buttons run from 1 to 4.
    connect(spin, &SpinEdit::stepped, this, [spin](int delta) {
        spin->edit->setText(QString::number(std::clamp(spin->edit->text().trimmed().toInt() + delta, 1, 4)));
    });
    return spin;
}

LayoutPage::LayoutPage(CTxtPrintDoc& doc, QWidget* parent) : TabPage(doc, parent)
{
    setObjectName(QStringLiteral("LayoutPage"));
    auto* layout = new QVBoxLayout(this);
    auto* gridBox = new QGroupBox(QStringLiteral("Virtual page layout"), this);
    auto* grid = new QFormLayout(gridBox);
    CTxtPrintDoc* d = &doc_;
    txtRows = CountEdit(QStringLiteral("txtRows"), [d](int rows) { d->SetRows(rows); });
    txtColumns = CountEdit(QStringLiteral("txtColumns"), [d](int columns) { d->SetColumns(columns); });
    grid->addRow(QStringLiteral("Number of virtual page rows:"), txtRows);
    grid->addRow(QStringLiteral("Number of virtual page columns:"), txtColumns);

    auto* breaksBox = new QGroupBox(QStringLiteral("Page breaks"), this);
    auto* breaks = new QVBoxLayout(breaksBox);
    const QString texts[3] = {
        QStringLiteral("Physical page break after each file"),
        QStringLiteral("Virtual page break between two files if their names differ only by the file extension, "
                       "and the two extensions are listed on the 'File ext.' page."),
        QStringLiteral("Virtual page break after each file")};
    for (int option = 0; option < 3; ++option) {
        optBreak[option] = new QRadioButton(breaksBox);
        optBreak[option]->setObjectName(QStringLiteral("optBreak%1").arg(option));
        if (option == 1) {
            // Too long for one line on a small screen: a radio button's own
            // caption cannot wrap, so it is a label beside the button.
            auto* row = new QHBoxLayout;
            auto* caption = new CaptionLabel(texts[option], optBreak[option], breaksBox);
            caption->setObjectName(QStringLiteral("lblBreak1"));
            optBreak[option]->setAccessibleName(texts[option]);
            row->addWidget(optBreak[option], 0, Qt::AlignTop);
            row->addWidget(caption, 1);
            breaks->addLayout(row);
        } else {
            optBreak[option]->setText(texts[option]);
            breaks->addWidget(optBreak[option]);
        }
        connect(optBreak[option], &QRadioButton::toggled, this, [this, option](bool on) {
            if (on && !filling_)
                doc_.SetPageBreakOption(option);
        });
    }
    layout->addWidget(gridBox);
    layout->addWidget(breaksBox);
    layout->addStretch(1);
    RefreshFromDocument();
}

void LayoutPage::RefreshFromDocument()
{
    filling_ = true;
    txtRows->edit->setText(QString::number(doc_.Rows()));
    txtColumns->edit->setText(QString::number(doc_.Columns()));
    const int option = doc_.PageBreakOption();
    for (int i = 0; i < 3; ++i)
        optBreak[i]->setChecked(i == option);
    filling_ = false;
}

}  // namespace prentil
