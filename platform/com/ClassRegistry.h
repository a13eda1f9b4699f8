#pragma once
// The class registry: which library creates the class of a ProgID, kept under
// HKEY_CLASSES_ROOT of our registry as the Windows registry keeps it:
//   <ProgID>\CLSID                  (default) = {class id}
//   CLSID\{class id}                (default) = class name in its library
//   CLSID\{class id}\InprocServer32 (default) = library path (absolute)
//   CLSID\{class id}\ProgID         (default) = <ProgID>
// ProgIDs match regardless of letter case ("stats.main" finds "Stats.Main").
//
// A control adds, as containers look for it:
//   <ProgID>                        (default) = type name
//   <ProgID>\Insertable             when it is offered for insertion
//   CLSID\{class id}\Control, \Insertable (keys), \MiscStatus (default) = "0",
//   CLSID\{class id}\MiscStatus\1   (default) = status bits, decimal
//   CLSID\{class id}\ToolboxBitmap32 (default) = "<library path>, <resource>"
//   CLSID\{class id}\TypeLib        (default) = {library id}
//   CLSID\{class id}\Version        (default) = type library version
// A type library, in place of the binary one:
//   TypeLib\{library id}\<version>  (default) = help string
//   ...\<version>\<locale>\linux       (default) = library path
//   ...\<version>\FLAGS = "0", \HELPDIR = the library's folder
//   ...\<version>            value "Name" = name, "HelpFile" = help file,
//                                  "Description" = the members, as text
//   Interface\{interface id}     (default) = name, \TypeLib (default) = {library id}
//                                  with value "Version"

#include <QList>
#include <QString>
#include <optional>

namespace platform {

struct ClassEntry {
    QString progId;       // as registered
    QString classId;      // "{...}"
    QString className;    // what the library's factory is asked for
    QString libraryPath;  // absolute path of the library
};

// The class id a ProgID is registered under: the same for every letter case
// of the ProgID, so that registering again replaces the entry.
QString ClassIdOf(const QString& progId);

// Whether text can serve as a ProgID (not empty, at most 39 characters as the
// platform allows, no backslash or slash, no blanks around it).
bool IsValidProgId(const QString& progId);

// Registers (or re-registers) the class, under classId when given ("{...}"),
// else under ClassIdOf(progId); false when the ProgID or class id is not
// valid or the registry cannot be written.
bool RegisterClass(const QString& progId, const QString& className, const QString& libraryPath,
                   const QString& classId = QString());

// Removes the class's entries. With a library path given, only when the class
// is registered to that library (another copy's registration stays). False
// only when the registry could not be changed.
bool UnregisterClass(const QString& progId, const QString& libraryPath = QString());

// The registered class, or nothing when the ProgID is not (wholly) registered.
std::optional<ClassEntry> LookupClass(const QString& progId);
// The class registered under a class id ("{...}", any letter case), or nothing.
std::optional<ClassEntry> LookupClassById(const QString& classId);
// Whether text has the form of a class id: a GUID in braces.
bool IsClassId(const QString& text);

struct ControlEntry {
    QString typeName;
    quint32 miscStatus = 0;
    int toolboxBitmap = 0;
    bool insertable = false;
    QString typeLibId;       // may be empty
    QString typeLibVersion;
    // False: only the type name is written (a page of a control's property sheet).
    bool isControl = true;
};

// Adds a control's entries to a class registered before (RegisterClass);
// false when the class is not registered or the registry cannot be written.
bool RegisterControl(const QString& progId, const ControlEntry& control);
// The control entries of a class id; nothing when the class is no control.
std::optional<ControlEntry> LookupControl(const QString& classId);

struct InterfaceEntry {
    QString interfaceId;
    QString name;
};

struct TypeLibraryEntry {
    QString libId;
    QString version;
    int locale = 0;
    QString name;
    QString helpString;
    QString helpFile;
    QString libraryPath;
    QString description;
    QList<InterfaceEntry> interfaces;
};

// Registers a type library and its interfaces; false when an id is not valid
// or the registry cannot be written.
bool RegisterTypeLibrary(const TypeLibraryEntry& library);
// Removes the version's entries (and the library's key when no other version
// is left) and the interfaces'; false only when the registry could not be changed.
bool UnregisterTypeLibrary(const TypeLibraryEntry& library);
std::optional<TypeLibraryEntry> LookupTypeLibrary(const QString& libId, const QString& version);

}  // namespace platform
