// The document window's word-list panel (Macros > Macro Text): loading a
// word list, clearing and closing the panel, and putting its entries into
// the program with the keyboard (Shift or Ctrl released) or an Alt click.

#include "document/frmNotePad.h"

#include "document/TextFiles.h"
#include "document/WordList.h"
#include "platform/codemax/CodeMax.h"
#include "platform/codemax/CodeMaxKeys.h"
#include "shell/CommonDialogObject.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>

namespace {

constexpr int vbShiftMask = 1;
constexpr int vbCtrlMask = 2;
constexpr int vbAltMask = 4;
constexpr int vbLeftButton = 1;
constexpr int vbKeyShift = 16;
constexpr int vbKeyControl = 17;

frmNotePad& ActiveOr(frmNotePad& window)
{
    auto* active = qobject_cast<frmNotePad*>(ActiveDocumentForm());
    return active != nullptr ? *active : window;
}

}  // namespace

void frmNotePad::BuildWordListMenu()
{
    mnuMacrosMain->addSeparator();
    QMenu* text = mnuMacrosMain->addMenu(QStringLiteral("Macro &Text"));
    text->setObjectName(QStringLiteral("mnuMacText"));
    mnuOpenMacFile = text->addAction(QStringLiteral("&Open Macro Text File"));
    mnuOpenMacFile->setObjectName(QStringLiteral("mnuOpenMacFile"));
    mnuMacClear = text->addAction(QStringLiteral("&Clear Macro Text Window"));
    mnuMacClear->setObjectName(QStringLiteral("mnuMacClear"));
    mnuMacClose = text->addAction(QStringLiteral("Close Macro Text &Window"));
    mnuMacClose->setObjectName(QStringLiteral("mnuMacClose"));
    connect(mnuOpenMacFile, &QAction::triggered, this, [this] { mnuOpenMacFile_Click(); });
    connect(mnuMacClear, &QAction::triggered, this, [this] { mnuMacClear_Click(); });
    connect(mnuMacClose, &QAction::triggered, this, [this] { mnuMacClose_Click(); });
    lstWords->installEventFilter(this);
    lstWords->viewport()->installEventFilter(this);
}

bool frmNotePad::WordListEvent(QObject* watched, QEvent* event)
{
    if (watched == lstWords && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const auto& key = static_cast<QKeyEvent&>(*event);
        if (key.isAutoRepeat())
            return false;
        const int code = platform::CodeMaxKeys::VirtualKey(key);
        int shift = platform::CodeMaxKeys::ShiftMask(key.modifiers());
        if (event->type() == QEvent::KeyPress) {
            // The key going down holds itself: Shift or Ctrl pressed alone counts as held.
            if (code == vbKeyShift)
                shift |= vbShiftMask;
            else if (code == vbKeyControl)
                shift |= vbCtrlMask;
            lstWords_KeyDown(code, shift);
        } else {
            lstWords_KeyUp(code, shift);
        }
        return false;
    }
    if (watched == lstWords->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto& mouse = static_cast<QMouseEvent&>(*event);
        const int button = mouse.button() == Qt::LeftButton    ? 1
                           : mouse.button() == Qt::RightButton ? 2
                           : mouse.button() == Qt::MiddleButton ? 4
                                                                : 0;
        // The list selects the clicked entry first: the click inserts what it picked.
        if (button == vbLeftButton && (mouse.modifiers() & Qt::AltModifier)) {
            lstWords->viewport()->removeEventFilter(this);
            QCoreApplication::sendEvent(lstWords->viewport(), event);
            lstWords->viewport()->installEventFilter(this);
            lstWords_MouseDown(button, platform::CodeMaxKeys::ShiftMask(mouse.modifiers()),
                               qRound(mouse.position().x()), qRound(mouse.position().y()));
            return true;
        }
    }
    return false;
}

void frmNotePad::mnuOpenMacFile_Click()
{
    frmNotePad& window = ActiveOr(*this);
    if (window.OpenWordList()) {
        WordListShown = true;
        window.Form_Resize();
    } else {
        WordListShown = false;
    }
}

void frmNotePad::mnuMacClear_Click()
{
    ActiveOr(*this).lstWords->clear();
}

void frmNotePad::mnuMacClose_Click()
{
    WordListShown = !WordListShown;
    ActiveOr(*this).Form_Resize();
}

bool frmNotePad::OpenWordList()
{
    try {
        CommonDialogObject dialog;
        dialog.DialogTitle(QStringLiteral("Open Word List File"));
        dialog.CancelError(true);
        dialog.OwnerWindow(MDIMain::Instance());
        dialog.Flags(CommonDialogObject::cdlOFNPathMustExist | CommonDialogObject::cdlOFNFileMustExist);
        dialog.InitDir(DefaultDir);
        dialog.Filter(QStringLiteral("All Files (*.*)|*.*"));
        dialog.ShowOpen();
        QString text;
        if (!ReadTextFile(dialog.FileName(), text))
            return false;
        lstWords->addItems(ParseWordList(text));
        return true;
    } catch (...) {
        return false;
    }
}

void frmNotePad::lstWords_KeyDown(int, int shift)
{
    if (shift & (vbShiftMask | vbCtrlMask))
        WordPickPending = true;
}

void frmNotePad::lstWords_KeyUp(int keyCode, int)
{
    // Only the release of Shift or Ctrl itself inserts: Shift+arrow extends
    // the list's selection without putting anything into the program.
    if (!WordPickPending || (keyCode != vbKeyShift && keyCode != vbKeyControl))
        return;
    WordPickPending = false;
    try {
        for (int i = 0; i < lstWords->count(); ++i) {
            if (!lstWords->item(i)->isSelected())
                continue;
            CurrentRange = text1_->GetSel(true);
            text1_->ReplaceText(WordListInsertion(lstWords->item(i)->text(), true), CurrentRange);
        }
    } catch (...) {
    }
}

void frmNotePad::lstWords_MouseDown(int button, int shift, int, int)
{
    if (button != vbLeftButton || !(shift & vbAltMask) || (shift & (vbShiftMask | vbCtrlMask)))
        return;
    try {
        CurrentRange = text1_->GetSel(true);
        for (int i = 0; i < lstWords->count(); ++i) {
            if (!lstWords->item(i)->isSelected())
                continue;
            text1_->ReplaceText(WordListInsertion(lstWords->item(i)->text(), false), CurrentRange);
            return;
        }
    } catch (...) {
    }
}
