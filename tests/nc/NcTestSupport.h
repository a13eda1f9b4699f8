#pragma once

#include "nc/NumberingSettings.h"

#include <QByteArray>
#include <QMetaType>
#include <QObject>

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

Q_DECLARE_METATYPE(NumberingSettings)

inline std::string_view View(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

inline QByteArray Bytes(const std::string& text)
{
    return QByteArray::fromStdString(text);
}

inline NumberingSettings SkipOnly(std::initializer_list<const char*> entries)
{
    NumberingSettings settings;
    settings.SkipChars.assign(entries.begin(), entries.end());
    return settings;
}
