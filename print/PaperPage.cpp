#include "print/PaperPage.h"

#include <QFormLayout>
#include <cmath>
#include <QGroupBox>
#include <QVBoxLayout>

namespace prentil {

namespace {

QCheckBox* Check(QWidget* parent, const char* name, const QString& text)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

}  // namespace

SpinEdit* PaperPage::MarginEdit(const QString& name, std::function<double()> get, std::function<void(double)> set)
{
    // Room for a margin such as "123.45mm" and a digit more.
    auto* spin = new SpinEdit(name, QStringLiteral("000.000mm"), this);
    connect(spin->edit, &QLineEdit::textChanged, this, [this, set](const QString& text) {
        if (!filling_)
            set(ParseMargin(text));
    });
    connect(spin, &SpinEdit::stepped, this, [this, spin, get, set](int delta) {
        // Steps of a tenth of a millimetre; never below 0.
        const double value = ParseMargin(spin->edit->text()) + 0.1 * delta;
        const double rounded = std::round(value * 1000.0) / 1000.0;
        if (rounded < 0)
            return;
        set(rounded);
        filling_ = true;
        spin->edit->setText(FormatMargin(get()));
        filling_ = false;
    });
    return spin;
}

PaperPage::PaperPage(CTxtPrintDoc& doc, QWidget* parent) : TabPage(doc, parent)
{
    setObjectName(QStringLiteral("PaperPage"));
    auto* layout = new QVBoxLayout(this);
    auto* marginsBox = new QGroupBox(QStringLiteral("Margins (mm)"), this);
    auto* margins = new QFormLayout(marginsBox);
    CTxtPrintDoc* d = &doc_;
    txtTop = MarginEdit(QStringLiteral("txtTop"), [d] { return d->TopMargin(); },
                        [d](double mm) { d->SetTopMargin(mm); });
    txtBottom = MarginEdit(QStringLiteral("txtBottom"), [d] { return d->BottomMargin(); },
                           [d](double mm) { d->SetBottomMargin(mm); });
    txtLeft = MarginEdit(QStringLiteral("txtLeft"), [d] { return d->LeftMargin(); },
                         [d](double mm) { d->SetLeftMargin(mm); });
    txtRight = MarginEdit(QStringLiteral("txtRight"), [d] { return d->RightMargin(); },
                          [d](double mm) { d->SetRightMargin(mm); });
    margins->addRow(QStringLiteral("Top:"), txtTop);
    margins->addRow(QStringLiteral("Bottom:"), txtBottom);
    margins->addRow(QStringLiteral("Left:"), txtLeft);
    margins->addRow(QStringLiteral("Right:"), txtRight);

    auto* orientationBox = new QGroupBox(QStringLiteral("Orientation"), this);
    auto* orientation = new QVBoxLayout(orientationBox);
    optPortrait = new QRadioButton(QStringLiteral("Portrait"), orientationBox);
    optPortrait->setObjectName(QStringLiteral("optPortrait"));
    optLandscape = new QRadioButton(QStringLiteral("Landscape"), orientationBox);
    optLandscape->setObjectName(QStringLiteral("optLandscape"));
    chkDefaultOrientation = Check(orientationBox, "chkDefaultOrientation",
                                  QStringLiteral("Set orientation to printer default instead of registry value at "
                                                 "program startup"));
    orientation->addWidget(optPortrait);
    orientation->addWidget(optLandscape);
    orientation->addWidget(chkDefaultOrientation);

    auto* pagesBox = new QGroupBox(this);
    auto* pages = new QVBoxLayout(pagesBox);
    chkOdd = Check(pagesBox, "chkOdd", QStringLiteral("Print odd pages"));
    chkEven = Check(pagesBox, "chkEven", QStringLiteral("Print even pages"));
    chkReverse = Check(pagesBox, "chkReverse", QStringLiteral("Reverse printing order"));
    chkSwap = Check(pagesBox, "chkSwap", QStringLiteral("Swap margins on even pages"));
    for (QCheckBox* box : {chkOdd, chkEven, chkReverse, chkSwap})
        pages->addWidget(box);

    layout->addWidget(marginsBox);
    layout->addWidget(orientationBox);
    layout->addWidget(pagesBox);
    layout->addStretch(1);

    connect(optLandscape, &QRadioButton::toggled, this, [this](bool on) {
        if (!filling_)
            doc_.SetOrientation(on ? 1 : 0);
    });
    auto flag = [this](QCheckBox* box, std::function<void(int)> set) {
        connect(box, &QCheckBox::toggled, this, [this, set](bool on) {
            if (!filling_)
                set(on ? 1 : 0);
        });
    };
    flag(chkDefaultOrientation, [d](int on) { d->SetUseDefaultOrientation(on); });
    flag(chkOdd, [d](int on) { d->SetPrintOddPages(on); });
    flag(chkEven, [d](int on) { d->SetPrintEvenPages(on); });
    flag(chkReverse, [d](int on) { d->SetReverseOrder(on); });
    flag(chkSwap, [d](int on) { d->SetSwapMargins(on); });
    RefreshFromDocument();
}

void PaperPage::RefreshFromDocument()
{
    filling_ = true;
    txtTop->edit->setText(FormatMargin(doc_.TopMargin()));
    txtBottom->edit->setText(FormatMargin(doc_.BottomMargin()));
    txtLeft->edit->setText(FormatMargin(doc_.LeftMargin()));
    txtRight->edit->setText(FormatMargin(doc_.RightMargin()));
    optLandscape->setChecked(doc_.Orientation() == 1);
    optPortrait->setChecked(doc_.Orientation() != 1);
    chkDefaultOrientation->setChecked(doc_.UseDefaultOrientation() != 0);
    chkOdd->setChecked(doc_.PrintOddPages() != 0);
    chkEven->setChecked(doc_.PrintEvenPages() != 0);
    chkReverse->setChecked(doc_.ReverseOrder() != 0);
    chkSwap->setChecked(doc_.SwapMargins() != 0);
    filling_ = false;
}

}  // namespace prentil
