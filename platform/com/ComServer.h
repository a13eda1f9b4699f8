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
// A library built with a version (talvex_plugin's VERSION) has it as
// TALVEX_LIBRARY_VERSION, and TALVEX_LIBRARY_VERSION_EXPORT() writes the
// export DllGetVersion that reports it to whoever loads the library.

#include <QObject>
#include <QString>
#include <QtGlobal>
#include <span>

namespace platform {

struct ComClass {
    const char* progId;
    const char* className;
    QObject* (*create)(QObject* parent);
    // The class's own id ("{...}"), for a class that callers create by its id; none: one
    // derived from the ProgID.
    const char* classId = nullptr;
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
inline constexpr qint32 SELFREG_E_CLASS = qint32(0x80040201u);  // a class could not be (un)registered

// The path of the loaded library (or program) that holds the address.
QString LibraryPathOf(const void* address);

qint32 RegisterServer(std::span<const ComClass> classes, const QString& libraryPath);
qint32 UnregisterServer(std::span<const ComClass> classes, const QString& libraryPath);
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
