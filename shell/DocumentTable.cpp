#include "shell/DocumentTable.h"

#include "platform/forms/Error.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"

#include <QMdiSubWindow>

namespace {

bool InTable(int slot)
{
    return slot >= 1 && slot < static_cast<int>(DocumentState.size());
}

// Counts the windows each slot has held, so that a window being destroyed
// can tell whether the slot is still its own without reading the table's
// pointer to it (its type is already half gone by then).
std::array<unsigned, MaxDocuments + 1> SlotWindowCount{};

// Makes a document window for slot and hands it to the main window.
DocumentForm* MakeWindow(int slot)
{
    MDIMain* main = MDIMain::Instance();
    if (!CreateDocumentForm || main == nullptr)
        throw platform::Error(91, QStringLiteral("No document window can be created."));
    std::unique_ptr<DocumentForm> form = CreateDocumentForm();
    if (!form)
        throw platform::Error(91, QStringLiteral("No document window can be created."));
    DocumentForm* window = main->AddDocument(std::move(form));
    window->Tag = QString::number(slot);
    Documents[static_cast<size_t>(slot)] = window;
    // A window that goes without releasing its slot (its close failed half
    // way) must not leave the slot in use with no window in it.
    const unsigned owner = ++SlotWindowCount[static_cast<size_t>(slot)];
    QObject::connect(window, &QObject::destroyed, [slot, owner] {
        if (!InTable(slot) || DocumentState[static_cast<size_t>(slot)].Free)
            return;
        if (SlotWindowCount[static_cast<size_t>(slot)] == owner)
            FreeDocumentIndex(slot);
    });
    return window;
}

}  // namespace

int DocumentSlotCount()
{
    return DocumentState.empty() ? 0 : static_cast<int>(DocumentState.size()) - 1;
}

int OpenDocumentCount()
{
    int count = 0;
    for (int slot = 1; slot <= DocumentSlotCount(); ++slot)
        if (!DocumentState[static_cast<size_t>(slot)].Free)
            ++count;
    return count;
}

int FindFreeDocumentIndex()
{
    if (OpenDocumentCount() == 0) {
        // Nothing open: the table starts again at one slot.
        Documents.assign(2, nullptr);
        DocumentState.assign(2, DocumentStateRecord{});
        return 1;
    }
    for (int slot = 1; slot <= DocumentSlotCount(); ++slot) {
        DocumentStateRecord& state = DocumentState[static_cast<size_t>(slot)];
        if (state.Free) {
            state = DocumentStateRecord{};
            Documents[static_cast<size_t>(slot)] = nullptr;
            return slot;
        }
    }
    if (DocumentSlotCount() >= MaxDocuments)
        throw platform::Error(9, QStringLiteral("No more than %1 documents can be open at once. "
                                                "Close a document and try again.")
                                     .arg(MaxDocuments));
    const int slot = DocumentSlotCount() + 1;
    Documents.emplace_back(nullptr);
    DocumentState.emplace_back();
    try {
        MakeWindow(slot);
    } catch (...) {
        Documents.pop_back();
        DocumentState.pop_back();
        throw;
    }
    return slot;
}

void FreeDocumentIndex(int slot)
{
    if (!InTable(slot))
        return;
    DocumentState[static_cast<size_t>(slot)] = DocumentStateRecord{true, false};
    Documents[static_cast<size_t>(slot)] = nullptr;
}

bool AnyDocumentsOpen()
{
    return OpenDocumentCount() > 0;
}

void NewDocument()
{
    int slot = 0;
    DocumentForm* window = nullptr;
    try {
        slot = FindFreeDocumentIndex();
        window = DocumentWindow(slot);
        if (window == nullptr)
            window = MakeWindow(slot);
        const QString name = QStringLiteral("Untitled:") + QString::number(slot);
        window->Tag = QString::number(slot);
        window->Caption(name);
        DocumentPaths[static_cast<size_t>(slot - 1)] = name;
        MDIMain::Instance()->ShowDocument(window);
    } catch (...) {
        // Give back what was taken, so failed attempts cannot fill the table.
        if (slot > 0) {
            FreeDocumentIndex(slot);
            if (auto* sub = window ? qobject_cast<QMdiSubWindow*>(window->parentWidget()) : nullptr)
                sub->deleteLater();
            else if (window != nullptr)
                window->deleteLater();
        }
        ShowProgramError();
    }
}

void EraseDocuments(bool clearPaths)
{
    if (AnyDocumentsOpen())
        return;
    Documents.clear();
    DocumentState.clear();
    if (clearPaths)
        for (QString& path : DocumentPaths)
            path.clear();
}

DocumentForm* CreateDocumentWindow(int slot)
{
    if (!InTable(slot))
        throw platform::Error(9, QStringLiteral("Subscript out of range"));
    return MakeWindow(slot);
}

std::vector<QPointer<DocumentForm>> OpenDocumentWindows()
{
    std::vector<QPointer<DocumentForm>> windows;
    for (int slot = 1; slot <= DocumentSlotCount(); ++slot)
        if (!DocumentState[static_cast<size_t>(slot)].Free && Documents[static_cast<size_t>(slot)] != nullptr)
            windows.emplace_back(Documents[static_cast<size_t>(slot)]);
    return windows;
}

DocumentForm* DocumentWindow(int slot)
{
    return InTable(slot) ? Documents[static_cast<size_t>(slot)].data() : nullptr;
}

int SlotOf(const DocumentForm& window)
{
    bool ok = false;
    const int slot = window.Tag.toInt(&ok);
    return ok ? slot : 0;
}
