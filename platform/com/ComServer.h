#pragma once
// The library side of in-process classes: a library lists its classes in a
// table and TALVEX_COM_SERVER(table) writes its three exports:
//
//   const platform::ComClass Classes[] = {
//       {"Stats.Main", "Main", [](QObject* parent) -> QObject* { return new Main(parent); }},
//   };
//   TALVEX_COM_SERVER(Classes)
//
// DllRegisterServer registers every class of the table to the library's own
// path; DllUnregisterServer removes them; DllCreateObject makes an object of
// a class by its name (any letter case), owned by the caller.
//
// A library that describes its classes in a type library (controls do) uses
// TALVEX_COM_SERVER_WITH_TYPELIB(table, typeLibrary): registering then writes
// the type library first (SELFREG_E_TYPELIB when that fails), then the
// classes; unregistering removes the type library first, then the classes.
//
// A library built with a version (talvex_plugin's VERSION) has it as
// TALVEX_LIBRARY_VERSION, and TALVEX_LIBRARY_VERSION_EXPORT() writes the
// export DllGetVersion that reports it to whoever loads the library.

#include <QObject>
#include <QString>
#include <QtGlobal>
#include <span>

namespace platform {

// What the registry says of a class that is a control, for the containers
// that list controls: its type name, the status bits that tell a container how
// to site it, its toolbox picture and its type library.
struct ComControlInfo {
    const char* typeName;        // shown by containers, e.g. "Zuvanta Editor Control"
    quint32 miscStatus = 0;
    int toolboxBitmap = 0;       // resource number of the toolbox picture
    bool insertable = false;     // offered in "Insert Object" lists
    const char* typeLibId = nullptr;     // "{...}"
    const char* typeLibVersion = nullptr; // "1.0"
    // False for a class that only carries a type name (a control's property page).
    bool isControl = true;
};

struct ComClass {
    const char* progId;
    const char* className;
    QObject* (*create)(QObject* parent);
    // The class's own id ("{...}"), for a class that callers create by its id; none: one
    // derived from the ProgID.
    const char* classId = nullptr;
    // Set for a control (and for a page of its property sheet, with a type name only).
    const ComControlInfo* control = nullptr;
};

// An interface that a type library describes.
struct ComInterfaceInfo {
    const char* interfaceId;  // "{...}"
    const char* name;
    const char* helpString;
};

// A library's type library: its identity, its interfaces, and the description
// of its members (text) that callers read instead of a binary type library.
struct ComTypeLibrary {
    const char* libId;       // "{...}"
    const char* version;     // "1.0"
    int locale = 0;
    const char* name;
    const char* helpString;
    const char* helpFile;
    std::span<const ComInterfaceInfo> interfaces;
    QString (*description)() = nullptr;
};

// A library's version: major, minor and revision.
struct LibraryVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// The version as text, major.minor.revision in whole numbers without
// leading zeros: {1, 1, 0} gives "1.1.0".
QString VersionText(const LibraryVersion& version);

inline constexpr char DllGetVersionName[] = "DllGetVersion";
using DllGetVersionFunction = void (*)(LibraryVersion* version);

// Results of the registration exports.
inline constexpr qint32 S_OK = 0;
inline constexpr qint32 SELFREG_E_TYPELIB = qint32(0x80040200u);  // the type library could not be (un)registered
inline constexpr qint32 SELFREG_E_CLASS = qint32(0x80040201u);  // a class could not be (un)registered

// The path of the loaded library (or program) that holds the address.
QString LibraryPathOf(const void* address);

qint32 RegisterServer(std::span<const ComClass> classes, const QString& libraryPath,
                      const ComTypeLibrary* typeLibrary = nullptr);
qint32 UnregisterServer(std::span<const ComClass> classes, const QString& libraryPath,
                        const ComTypeLibrary* typeLibrary = nullptr);
// nullptr for a class the table does not have or one whose creation fails.
QObject* CreateServerObject(std::span<const ComClass> classes, const char* className, QObject* parent);

}  // namespace platform

#define TALVEX_COM_SERVER(classes)                                                              \
    namespace {                                                                                 \
    const char talvexComServerAnchor = 0; /* an address inside this library */                  \
    }                                                                                           \
    extern "C" Q_DECL_EXPORT qint32 DllRegisterServer()                                         \
    {                                                                                           \
        return platform::RegisterServer(classes, platform::LibraryPathOf(&talvexComServerAnchor)); \
    }                                                                                           \
    extern "C" Q_DECL_EXPORT qint32 DllUnregisterServer()                                       \
    {                                                                                           \
        return platform::UnregisterServer(classes,                                              \
                                          platform::LibraryPathOf(&talvexComServerAnchor));     \
    }                                                                                           \
    extern "C" Q_DECL_EXPORT QObject* DllCreateObject(const char* className, QObject* parent)    \
    {                                                                                           \
        return platform::CreateServerObject(classes, className, parent);                        \
    }

#define TALVEX_COM_SERVER_WITH_TYPELIB(classes, typeLibrary)                                   \
    namespace {                                                                                 \
    const char talvexComServerAnchor = 0;                                                       \
    }                                                                                           \
    extern "C" Q_DECL_EXPORT qint32 DllRegisterServer()                                         \
    {                                                                                           \
        return platform::RegisterServer(classes, platform::LibraryPathOf(&talvexComServerAnchor), \
                                        &(typeLibrary));                                        \
    }                                                                                           \
    extern "C" Q_DECL_EXPORT qint32 DllUnregisterServer()                                       \
    {                                                                                           \
        return platform::UnregisterServer(classes,                                              \
                                          platform::LibraryPathOf(&talvexComServerAnchor),      \
                                          &(typeLibrary));                                      \
    }                                                                                           \
    extern "C" Q_DECL_EXPORT QObject* DllCreateObject(const char* className, QObject* parent)    \
    {                                                                                           \
        return platform::CreateServerObject(classes, className, parent);                        \
    }

#if defined(TALVEX_LIBRARY_VERSION_MAJOR)
#define TALVEX_LIBRARY_VERSION                                                                  \
    (::platform::LibraryVersion{TALVEX_LIBRARY_VERSION_MAJOR, TALVEX_LIBRARY_VERSION_MINOR,     \
                                TALVEX_LIBRARY_VERSION_REVISION})
#define TALVEX_LIBRARY_VERSION_EXPORT()                                                         \
    extern "C" Q_DECL_EXPORT void DllGetVersion(::platform::LibraryVersion* version)             \
    {                                                                                           \
        if (version)                                                                            \
            *version = TALVEX_LIBRARY_VERSION;                                                  \
    }
#endif
