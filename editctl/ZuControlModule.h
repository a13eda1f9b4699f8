#pragma once
// The library ZUEDIT32: the one module object, the control's class factory and
// one factory per property page, the identity the registry keeps (type library,
// interfaces, class ids and ProgIDs), and the registration exports.

#include <QObject>
#include <QString>

#include <atomic>

// Identity.
inline constexpr char ZuLibId[] = "{687DEA00-51D5-11CF-8D63-444553540000}";
inline constexpr char ZuDispatchId[] = "{687DEA01-51D5-11CF-8D63-444553540000}";
inline constexpr char ZuEventsId[] = "{687DEA02-51D5-11CF-8D63-444553540000}";
inline constexpr char ZuEditorClassId[] = "{E43F9951-2B28-11CF-83B7-0020AFE5BA42}";
inline constexpr char ZuEditorProgId[] = "ZUEDIT2.ZuEdit2Ctrl.1";
inline constexpr char ZuTypeName[] = "Zuvanta Editor Control";
inline constexpr char ZuPageTypeName[] = "Zuvanta Editor Property Page";
inline constexpr unsigned ZuMiscStatus = 0x20191;

// The module: counts the objects alive so that the library knows when it may go.
class ZuControlModule {
public:
    static ZuControlModule& Instance();
    void ObjectCreated() { ++objects_; }
    void ObjectDestroyed() { --objects_; }
    int ObjectCount() const { return objects_; }
    bool CanUnloadNow() const { return objects_ == 0; }

private:
    std::atomic<int> objects_{0};
};

// The factory of the control: makes a ZuEditor20 for a container (any number of them).
class ZuEditor20Factory {
public:
    static QObject* Create(QObject* parent);
};
