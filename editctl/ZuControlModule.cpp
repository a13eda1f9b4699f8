#include "editctl/ZuControlModule.h"

#include "editctl/ZuEditor20.h"
#include "editctl/ZuMemberTable.h"
#include "editctl/ZuPropertyInfo.h"
#include "editctl/ZuPropertyPages.h"
#include "platform/com/ComServer.h"

ZuControlModule& ZuControlModule::Instance()
{
    static ZuControlModule module;
    return module;
}

namespace {

// Every object the factories make is counted while it lives.
template <typename T> QObject* Counted(QObject* parent)
{
    QWidget* parentWidget = parent && parent->isWidgetType() ? static_cast<QWidget*>(parent) : nullptr;
    auto* object = new T(parentWidget);
    ZuControlModule::Instance().ObjectCreated();
    QObject::connect(object, &QObject::destroyed, [] { ZuControlModule::Instance().ObjectDestroyed(); });
    return object;
}

const platform::ComControlInfo EditorInfo{ZuTypeName, ZuMiscStatus, 1, true, ZuLibId, "1.0"};
const platform::ComControlInfo PageInfo{ZuPageTypeName, 0, 0, false, nullptr, nullptr, false};

const platform::ComClass Classes[] = {
    {ZuEditorProgId, "ZuEditor20", &ZuEditor20Factory::Create, ZuEditorClassId, &EditorInfo},
    {"ZUEDIT2.ZuEdit2PropPage.1", "ZuEditor20PropPage", &Counted<ZuEditor20PropPage>,
     "{687DEA03-51D5-11CF-8D63-444553540000}", &PageInfo},
    {"ZUEDIT2.ZuEdit20TextPropPage", "ZuEditor20TextPropPage", &Counted<ZuEditor20TextPropPage>,
     "{FB1CA6C1-6C0C-11CF-8D63-444553540000}", &PageInfo},
    {"ZUEDIT2.ZuEditor20SearchPropPage", "ZuEditor20SearchPropPage", &Counted<ZuEditor20SearchPropPage>,
     "{FB1CA6C3-6C0C-11CF-8D63-444553540000}", &PageInfo},
    {"ZuEdit2.ZuEditor20WrapPropPage", "ZuEditor20WrapPropPage", &Counted<ZuEditor20WrapPropPage>,
     "{52F4D341-6C99-11CF-8402-00A02428B6DE}", &PageInfo},
    {"ZuEdit2.ZuEditor20MarginsPropPage", "ZuEditor20MarginsPropPage", &Counted<ZuEditor20MarginsPropPage>,
     "{52F4D343-6C99-11CF-8402-00A02428B6DE}", &PageInfo},
    {"ZuEdit2.ZuEditor20SplitterPropPage", "ZuEditor20SplitterPropPage", &Counted<ZuEditor20SplitterPropPage>,
     "{52F4D345-6C99-11CF-8402-00A02428B6DE}", &PageInfo},
    {"ZuEdit2.ZuEditorSelectionPropPage", "ZuEditorSelectionPropPage", &Counted<ZuEditorSelectionPropPage>,
     "{52F4D347-6C99-11CF-8402-00A02428B6DE}", &PageInfo},
};

const platform::ComInterfaceInfo Interfaces[] = {
    {ZuDispatchId, "_DZuEdit2", "Dispatch interface for Zuvanta Editor Control"},
    {ZuEventsId, "_DZuEdit2Events", "Event interface for Zuvanta Editor Control"},
};

const platform::ComTypeLibrary TypeLibrary{ZuLibId,     "1.0",          1033, "ZUEDIT2Lib", "Zuvanta Editor Control",
                                           "ZUEDIT32.HLP", Interfaces, &ZuInterfaceDescription};

}  // namespace

QObject* ZuEditor20Factory::Create(QObject* parent) { return Counted<ZuEditor20>(parent); }

TALVEX_COM_SERVER_WITH_TYPELIB(Classes, TypeLibrary)
