#pragma once
// The class registry: which library creates the class of a ProgID, kept under
// HKEY_CLASSES_ROOT of our registry as the Windows registry keeps it:
//   <ProgID>\CLSID                  (default) = {class id}
//   CLSID\{class id}                (default) = class name in its library
//   CLSID\{class id}\InprocServer32 (default) = library path (absolute)
//   CLSID\{class id}\ProgID         (default) = <ProgID>
// ProgIDs match regardless of letter case ("stats.main" finds "Stats.Main").

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

}  // namespace platform
