#include "shell/KroBrowser.h"

#include "platform/codemax/CodeMaxKeys.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/OleColor.h"
#include "platform/forms/ShowModal.h"
#include "shell/CommonDialogObject.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

namespace {

constexpr int KeyDownArrow = 40;
constexpr int AltMask = 4;
constexpr int ButtonWidth = 32;  // pixels

}  // namespace

KroBrowser::KroBrowser(QWidget* parent)
    : QWidget(parent),
      txtFolder(new QLineEdit(this)),
      cmdBrowse(new QToolButton(this)),
      backColor_(platform::vbWindowBackground),
      foreColor_(platform::vbWindowText)
{
    txtFolder->setObjectName(QStringLiteral("txtFolder"));
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    cmdBrowse->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    cmdBrowse->setToolButtonStyle(Qt::ToolButtonIconOnly);
    cmdBrowse->resize(ButtonWidth, cmdBrowse->height());
    // Design size 2535 x 465 twips.
    resize(169, 31);
    ApplyColors();
    connect(cmdBrowse, &QToolButton::clicked, this, &KroBrowser::cmdBrowse_Click);
    connect(txtFolder, &QLineEdit::textChanged, this, &KroBrowser::Change);
    // Alt+Down works while the text box has the focus too.
    txtFolder->installEventFilter(this);
}

void KroBrowser::ApplyColors()
{
    QPalette palette = txtFolder->palette();
    palette.setColor(QPalette::Base, platform::OleColorToQColor(backColor_, QWidget::palette()));
    palette.setColor(QPalette::Text, platform::OleColorToQColor(foreColor_, QWidget::palette()));
    txtFolder->setPalette(palette);
}

void KroBrowser::BackColor(quint32 color)
{
    backColor_ = color;
    ApplyColors();
    emit PropertyChanged(QStringLiteral("BackColor"));
}

void KroBrowser::ForeColor(quint32 color)
{
    foreColor_ = color;
    ApplyColors();
    emit PropertyChanged(QStringLiteral("ForeColor"));
}

bool KroBrowser::Enabled() const { return txtFolder->isEnabled(); }

void KroBrowser::Enabled(bool enabled)
{
    txtFolder->setEnabled(enabled);
    emit PropertyChanged(QStringLiteral("Enabled"));
}

QFont KroBrowser::Font() const { return txtFolder->font(); }

void KroBrowser::Font(const QFont& font)
{
    txtFolder->setFont(font);
    emit PropertyChanged(QStringLiteral("Font"));
}

void KroBrowser::Refresh() { txtFolder->repaint(); }

bool KroBrowser::Locked() const { return txtFolder->isReadOnly(); }

void KroBrowser::Locked(bool locked)
{
    txtFolder->setReadOnly(locked);
    emit PropertyChanged(QStringLiteral("Locked"));
}

int KroBrowser::SelLength() const { return int(txtFolder->selectedText().size()); }

void KroBrowser::SelLength(int length)
{
    const int start = SelStart();
    txtFolder->setSelection(start, std::clamp(length, 0, int(txtFolder->text().size()) - start));
    emit PropertyChanged(QStringLiteral("SelLength"));
}

int KroBrowser::SelStart() const
{
    return txtFolder->hasSelectedText() ? txtFolder->selectionStart() : txtFolder->cursorPosition();
}

void KroBrowser::SelStart(int start)
{
    txtFolder->deselect();
    txtFolder->setCursorPosition(std::clamp(start, 0, int(txtFolder->text().size())));
    emit PropertyChanged(QStringLiteral("SelStart"));
}

QString KroBrowser::SelText() const { return txtFolder->selectedText(); }

void KroBrowser::SelText(const QString& text)
{
    // Typed over the selection, even where the box is read-only for the user.
    const int start = SelStart();
    QString all = txtFolder->text();
    all.replace(start, SelLength(), text);
    txtFolder->setText(all);
    txtFolder->setCursorPosition(start + int(text.size()));
    emit PropertyChanged(QStringLiteral("SelText"));
}

QString KroBrowser::Text() const { return txtFolder->text(); }

void KroBrowser::Text(const QString& text)
{
    txtFolder->setText(text);
    emit PropertyChanged(QStringLiteral("Text"));
}

void KroBrowser::ShowAbout()
{
    const QString gap = QStringLiteral("\r\n\r\n");
    platform::MsgBox(QStringLiteral("Kro Browser: a folder box with a browse button") + gap
                         + QStringLiteral("Part of the Talvex suite for NC programs") + gap
                         + QStringLiteral("Alt+Down opens the folder picker") + gap,
                     platform::vbOKOnly, QStringLiteral("Kro Browser"));
}

void KroBrowser::ReadProperties(const platform::PropertyBag& bag, const QFont& ambientFont)
{
    backColor_ = bag.ReadProperty(QStringLiteral("BackColor"), platform::vbWindowBackground).toUInt();
    foreColor_ = bag.ReadProperty(QStringLiteral("ForeColor"), platform::vbWindowText).toUInt();
    ApplyColors();
    txtFolder->setEnabled(bag.ReadProperty(QStringLiteral("Enabled"), true).toBool());
    txtFolder->setFont(bag.ReadProperty(QStringLiteral("Font"), ambientFont).value<QFont>());
    txtFolder->setReadOnly(bag.ReadProperty(QStringLiteral("Locked"), false).toBool());
    // The selection and its text first, then the text itself.
    const int length = bag.ReadProperty(QStringLiteral("SelLength"), 0).toInt();
    const int start = bag.ReadProperty(QStringLiteral("SelStart"), 0).toInt();
    const int textLength = int(txtFolder->text().size());
    const int from = std::clamp(start, 0, textLength);
    txtFolder->setSelection(from, std::clamp(length, 0, textLength - from));
    const QString selText = bag.ReadProperty(QStringLiteral("SelText"), QString()).toString();
    if (!selText.isEmpty())
        txtFolder->insert(selText);
    txtFolder->setText(bag.ReadProperty(QStringLiteral("Text"), QString()).toString());
}

void KroBrowser::WriteProperties(platform::PropertyBag& bag, const QFont& ambientFont) const
{
    bag.WriteProperty(QStringLiteral("BackColor"), backColor_, platform::vbWindowBackground);
    bag.WriteProperty(QStringLiteral("ForeColor"), foreColor_, platform::vbWindowText);
    bag.WriteProperty(QStringLiteral("Enabled"), Enabled(), true);
    bag.WriteProperty(QStringLiteral("Font"), Font(), ambientFont);
    bag.WriteProperty(QStringLiteral("Locked"), Locked(), false);
    bag.WriteProperty(QStringLiteral("SelLength"), SelLength(), 0);
    bag.WriteProperty(QStringLiteral("SelStart"), SelStart(), 0);
    bag.WriteProperty(QStringLiteral("SelText"), SelText(), QString());
    bag.WriteProperty(QStringLiteral("Text"), Text(), QString());
}

void KroBrowser::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int w = width();
    const int h = height();
    const int button = cmdBrowse->width();
    cmdBrowse->setGeometry(w - button, 0, button, h);
    // Never a negative width when the control is narrower than the button.
    txtFolder->setGeometry(1, 1, std::max(0, w - (button + 3)), h);
}

void KroBrowser::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(platform::OleColorToQColor(platform::vb3DLight, palette()));
    const int x = cmdBrowse->x() - 1;
    painter.drawLine(x, 0, x, height());
}

void KroBrowser::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    txtFolder->setToolTip(toolTip());
}

bool KroBrowser::KeyDown(int keyCode, int shift)
{
    if (keyCode != KeyDownArrow || shift != AltMask)
        return false;
    cmdBrowse_Click();
    return true;
}

void KroBrowser::keyPressEvent(QKeyEvent* event)
{
    if (!KeyDown(platform::CodeMaxKeys::VirtualKey(*event),
                 platform::CodeMaxKeys::ShiftMask(event->modifiers())))
        QWidget::keyPressEvent(event);
}

bool KroBrowser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtFolder && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (KeyDown(platform::CodeMaxKeys::VirtualKey(*key), platform::CodeMaxKeys::ShiftMask(key->modifiers())))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void KroBrowser::cmdBrowse_Click()
{
    txtFolder->setFocus();
    const QString folder = BrowseForFolder(this, QStringLiteral("Select a folder"));
    if (!folder.isEmpty())
        txtFolder->setText(folder);
}

QString KroBrowser::BrowseForFolder(QWidget* owner, const QString& title)
{
    // The picker starts at its own default, not at the path in the box.
    QFileDialog dialog(owner, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    FitFileDialog(dialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (platform::ShowModal(dialog) != QDialog::Accepted)
        return QString();
    const QString chosen = dialog.selectedFiles().value(0);
    // Only a folder of the file system is a usable answer.
    return QFileInfo(chosen).isDir() ? chosen : QString();
}
