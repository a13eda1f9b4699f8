#pragma once
// The control's property table: for each property a container browses, its
// predefined values with their display strings ("0 - None"), its default, whether
// it is saved with the control, and the property page that edits it. Saved rows
// are exchanged in table order, so a row that appears twice (SelColorType) is
// exchanged twice.

#include <QString>
#include <QStringList>
#include <QVariant>

#include <span>

enum class ZuPage { None, General, Text, Search, Wrapping, Margins, Splitter, Selection, StockFont };

struct ZuPropertyInfo {
    int dispid;
    const char* name;
    QStringList (*strings)();  // predefined display strings, entry i stands for value i; null: none
    QVariant (*defaultValue)();
    bool persist;
    ZuPage page;
};

std::span<const ZuPropertyInfo> ZuPropertyTable();
// The row of a DISPID (the first one), or null.
const ZuPropertyInfo* ZuFindProperty(int dispid);
const ZuPropertyInfo* ZuFindProperty(const QString& name);
// The display strings of a property; empty when it has none.
QStringList ZuDisplayStrings(const QString& name);
// The string shown for a value: the string at the value's position; "" past the list.
QString ZuDisplayString(const QString& name, int value);

// The name a property is saved under: its own, except SearchReplaceAction, whose saved
// forms have always carried it as "SearchRelaceAction".
QString ZuPersistName(const QString& name);

// Page identities: class id and ProgID of each page, in the order offered to a container.
struct ZuPageInfo {
    ZuPage page;
    const char* className;
    const char* classId;
    const char* progId;
    const char* caption;
    int dialog;
};
std::span<const ZuPageInfo> ZuPages();
const ZuPageInfo* ZuFindPage(ZuPage page);
// The class id of the page that edits a DISPID; "" for none.
QString ZuPageClassIdOf(int dispid);
