#pragma once
// The members of the control's dispatch interface and of its event interface,
// as a container sees them: DISPID, name, kind, type and access. The type
// library's description is written from it, and the control's meta-object is
// checked against it.

#include <QString>

#include <span>

enum class ZuMemberKind { Property, IndexedProperty, Method, Event };

enum ZuAccess : unsigned {
    ZuRead = 1,
    ZuWrite = 2,
    ZuReadOnly = 4,   // a write raises 383
    ZuWriteOnly = 8,  // a read raises 394
    ZuHidden = 16,
};

struct ZuMember {
    int dispid;
    const char* name;
    ZuMemberKind kind;
    const char* type;   // boundary type ("short", "long", "boolean", "BSTR", "OLE_COLOR", ...); arguments for events
    unsigned access;
};

std::span<const ZuMember> ZuDispatchMembers();
std::span<const ZuMember> ZuEventMembers();
const ZuMember* ZuFindMember(const QString& name);

// The description of both interfaces (JSON text), for the type library entry.
QString ZuInterfaceDescription();
