#pragma once
// The table of open documents of the main window: up to 30 numbered slots,
// each holding one document window whose Tag is the slot number.
//
// Documents and DocumentState are indexed from 1 (entry 0 is unused) and
// always have the same length; both are empty until the first document.
// The open-document count is the number of slots in use, so it can never
// disagree with the table.

#include "shell/DocumentForm.h"

#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

// The state of one slot.
struct DocumentStateRecord {
    bool Free = false;       // the slot is not in use
    bool Modified = false;   // the document has changes that are not saved
};

inline constexpr int MaxDocuments = 30;

// The window of each slot (null once the slot is released: a closed window
// is never used again).
inline std::vector<QPointer<DocumentForm>> Documents;
inline std::vector<DocumentStateRecord> DocumentState;
// The path or name shown for slot s is entry s - 1.
inline std::array<QString, MaxDocuments> DocumentPaths;

// Makes the document window for a new slot. The document window's library
// fills it in; the main window takes the window over.
inline std::function<std::unique_ptr<DocumentForm>()> CreateDocumentForm;

// The highest slot number of the table (0 before the first document).
int DocumentSlotCount();
// The number of open documents: the slots in use.
int OpenDocumentCount();

// Takes the lowest free slot, or adds one (with a new window, its Tag set)
// while the table has fewer than 30; returns its number. A full table
// raises platform::Error and changes nothing.
int FindFreeDocumentIndex();
// Releases a slot: free, not modified, its window forgotten.
void FreeDocumentIndex(int slot);
// True when at least one slot is in use.
bool AnyDocumentsOpen();
// Creates an empty document "Untitled:" and its slot number, shows it as the
// active child of the main window. A failure shows the program-error box
// and takes nothing.
void NewDocument();
// Forgets every slot and, with clearPaths, every path; only when no
// document is open.
void EraseDocuments(bool clearPaths = true);
// Makes the document window of a slot that has none (its Tag set) and hands
// it to the main window, hidden; raises platform::Error when none can be made.
DocumentForm* CreateDocumentWindow(int slot);

// The windows of the slots in use, in slot order. Guarded pointers: a loop
// that closes windows sees a window closed meanwhile as null.
std::vector<QPointer<DocumentForm>> OpenDocumentWindows();
// The document window of a slot, or null.
DocumentForm* DocumentWindow(int slot);
// The slot of a window: its Tag as a number (0 when it is not one).
int SlotOf(const DocumentForm& window);
