#include "print/HeaderFooterPage.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace prentil {

namespace {

const char* const FieldTexts[9] = {"Filename",      "Full Path",     "Page number",  "Pages total",    "Date Modified",
                                   "Time Modified", "Date Printed", "Time Printed", "Gray background"};

}  // namespace

HeaderFooterPage::HeaderFooterPage(CTxtPrintDoc& doc, QWidget* parent) : TabPage(doc, parent)
{
    setObjectName(QStringLiteral("HeaderFooterPage"));
    auto* layout = new QHBoxLayout(this);
    auto group = [this, layout](const QString& title, std::array<QCheckBox*, 9>& boxes, const QString& prefix,
                                bool footer) {
        auto* box = new QGroupBox(title, this);
        auto* column = new QVBoxLayout(box);
        for (int bit = 0; bit < 9; ++bit) {
            boxes[static_cast<std::size_t>(bit)] = new QCheckBox(QString::fromLatin1(FieldTexts[bit]), box);
            QCheckBox* check = boxes[static_cast<std::size_t>(bit)];
            check->setObjectName(prefix + QString::number(bit));
            column->addWidget(check);
            connect(check, &QCheckBox::toggled, this, [this, bit, footer](bool on) {
                if (filling_)
                    return;
                const int mask = 1 << bit;
                const int options = footer ? doc_.FooterOptions() : doc_.HeaderOptions();
                const int updated = on ? options | mask : options & ~mask;
                if (footer)
                    doc_.SetFooterOptions(updated);
                else
                    doc_.SetHeaderOptions(updated);
            });
        }
        column->addStretch(1);
        layout->addWidget(box);
    };
    group(QStringLiteral("Header"), chkHeader, QStringLiteral("chkHeader"), false);
    group(QStringLiteral("Footer"), chkFooter, QStringLiteral("chkFooter"), true);
    RefreshFromDocument();
}

void HeaderFooterPage::RefreshFromDocument()
{
    filling_ = true;
    for (int bit = 0; bit < 9; ++bit) {
        chkHeader[static_cast<std::size_t>(bit)]->setChecked((doc_.HeaderOptions() & (1 << bit)) != 0);
        chkFooter[static_cast<std::size_t>(bit)]->setChecked((doc_.FooterOptions() & (1 << bit)) != 0);
    }
    filling_ = false;
}

}  // namespace prentil
