#include "print/FontPage.h"

#include "print/PrintStrings.h"

#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>
#include <algorithm>

namespace prentil {

QString FontPage::StyleText(int weight, bool italic)
{
    if (weight > 500 && italic)
        return IDS_STYLE_BOLD_ITALIC;
    if (weight > 500)
        return IDS_STYLE_BOLD;
    return italic ? IDS_STYLE_ITALIC : IDS_STYLE_NORMAL;
}

FontPage::FontPage(CTxtPrintDoc& doc, QWidget* parent) : TabPage(doc, parent)
{
    setObjectName(QStringLiteral("FontPage"));
    auto* layout = new QVBoxLayout(this);
    auto* fontBox = new QGroupBox(QStringLiteral("Printer Font"), this);
    auto* font = new QFormLayout(fontBox);
    lblFace = new QLabel(fontBox);
    lblFace->setObjectName(QStringLiteral("lblFace"));
    lblSize = new QLabel(fontBox);
    lblSize->setObjectName(QStringLiteral("lblSize"));
    lblStyle = new QLabel(fontBox);
    lblStyle->setObjectName(QStringLiteral("lblStyle"));
    font->addRow(lblFace);
    font->addRow(lblSize);
    font->addRow(lblStyle);
    chkFixedPitch = new QCheckBox(QStringLiteral("Show fixed pitch fonts only in font selection dialog"), fontBox);
    chkFixedPitch->setObjectName(QStringLiteral("chkFixedPitch"));
    cmdSetFont = new QPushButton(QStringLiteral("Set Font..."), fontBox);
    cmdSetFont->setObjectName(QStringLiteral("cmdSetFont"));
    cmdSetFont->setAutoDefault(true);  // takes Enter outside a dialog as well
    font->addRow(chkFixedPitch);
    font->addRow(cmdSetFont);

    auto* wrapBox = new QGroupBox(QStringLiteral("Line wrap options"), this);
    auto* wrap = new QVBoxLayout(wrapBox);
    const QString texts[3] = {QStringLiteral("Truncate\ninstead of wrap"), QStringLiteral("Wrap characters"),
                              QStringLiteral("Wrap words")};
    for (int option = 0; option < 3; ++option) {
        optWrap[option] = new QRadioButton(texts[option], wrapBox);
        optWrap[option]->setObjectName(QStringLiteral("optWrap%1").arg(option));
        wrap->addWidget(optWrap[option]);
        connect(optWrap[option], &QRadioButton::toggled, this, [this, option](bool on) {
            if (on && !filling_) {
                doc_.SetLineWrapOption(option);
                RefreshFromDocument();
            }
        });
    }
    chkArrow = new QCheckBox(QStringLiteral("Print wrap arrow\nwhen wrapping lines"), wrapBox);
    chkArrow->setObjectName(QStringLiteral("chkArrow"));
    wrap->addWidget(chkArrow);

    auto* areaBox = new QGroupBox(QStringLiteral("Printable area"), this);
    auto* area = new QFormLayout(areaBox);
    lblCharsPerLine = new QLabel(areaBox);
    lblCharsPerLine->setObjectName(QStringLiteral("lblCharsPerLine"));
    lblLinesPerPage = new QLabel(areaBox);
    lblLinesPerPage->setObjectName(QStringLiteral("lblLinesPerPage"));
    area->addRow(QStringLiteral("Characters per line:"), lblCharsPerLine);
    area->addRow(QStringLiteral("Lines per virtual page:"), lblLinesPerPage);

    layout->addWidget(fontBox);
    layout->addWidget(wrapBox);
    layout->addWidget(areaBox);
    layout->addStretch(1);

    connect(chkFixedPitch, &QCheckBox::toggled, this, [this](bool on) {
        if (!filling_)
            doc_.SetOnlyFixedPitch(on ? 1 : 0);
    });
    connect(chkArrow, &QCheckBox::toggled, this, [this](bool on) {
        if (!filling_) {
            doc_.SetPrintWrapArrow(on ? 1 : 0);
            RefreshFromDocument();
        }
    });
    connect(cmdSetFont, &QPushButton::clicked, this, &FontPage::cmdSetFont_Click);
    RefreshFromDocument();
}

void FontPage::RefreshFromDocument()
{
    filling_ = true;
    const PrintFont& font = doc_.Font();
    lblFace->setText(font.faceName);
    lblSize->setText(QString::number(doc_.PointHeight()));
    lblStyle->setText(StyleText(font.weight, font.italic != 0));
    chkFixedPitch->setChecked(doc_.OnlyFixedPitch() != 0);
    for (int i = 0; i < 3; ++i)
        optWrap[i]->setChecked(doc_.LineWrapOption() == i);
    chkArrow->setChecked(doc_.PrintWrapArrow() != 0);
    lblCharsPerLine->setText(QString::number(doc_.CharactersPerLine()));
    lblLinesPerPage->setText(QString::number(doc_.LinesPerVirtualPage()));
    filling_ = false;
}

void FontPage::cmdSetFont_Click()
{
    const PrintFont& current = doc_.Font();
    QFont initial(current.faceName);
    initial.setPointSize(std::max(1, doc_.PointHeight()));
    initial.setWeight(static_cast<QFont::Weight>(std::clamp(current.weight == 0 ? 400 : current.weight, 1, 1000)));
    initial.setItalic(current.italic != 0);
    QFontDialog dialog(initial, this);
    dialog.setObjectName(QStringLiteral("FontDialog"));
    QFontDialog::FontDialogOptions options;
    if (doc_.OnlyFixedPitch() != 0)
        options |= QFontDialog::MonospacedFonts;
    dialog.setOptions(options);
    if (RunModalKeepingFocus(dialog) != QDialog::Accepted)
        return;
    const QFont chosen = dialog.selectedFont();
    PrintFont font = current;
    font.faceName = chosen.family().left(31);
    font.weight = chosen.weight();
    font.italic = chosen.italic() ? 1 : 0;
    doc_.SetFont(font);
    doc_.SetPointHeight(chosen.pointSize() > 0 ? chosen.pointSize() : doc_.PointHeight());
    RefreshFromDocument();
}

}  // namespace prentil
