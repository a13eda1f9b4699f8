#pragma once
// Helpers of the control's tests: a control shown offscreen, members reached
// by name as a container reaches them, and the error number a call raises.

#include "editctl/ZuEditor20.h"
#include "platform/com/CallByName.h"
#include "platform/forms/Error.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

namespace zutest {

inline std::unique_ptr<ZuEditor20> NewControl()
{
    auto control = std::make_unique<ZuEditor20>();
    control->resize(400, 300);
    control->show();
    return control;
}

inline QVariant Get(QObject* object, const QString& name)
{
    return platform::CallByName(object, name, platform::VbGet);
}

inline void Let(QObject* object, const QString& name, const QVariant& value)
{
    platform::CallByName(object, name, platform::VbLet, {value});
}

// The error a call raises: {number, text}; {0, ""} when it raises none.
struct Raised {
    int number = 0;
    QString text;
};
inline Raised RaisedBy(const std::function<void()>& call)
{
    try {
        call();
    } catch (const platform::Error& e) {
        return {e.number(), e.description()};
    }
    return {};
}

}  // namespace zutest

