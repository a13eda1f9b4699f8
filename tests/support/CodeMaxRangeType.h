#pragma once
// CodeMaxRange as a test-data column type.

#include "platform/codemax/CodeMaxRange.h"

#include <QMetaType>

Q_DECLARE_METATYPE(platform::CodeMaxRange)
