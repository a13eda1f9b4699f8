#pragma once

#include <QObject>

// The conversion library's class: shows the one conversion window, modeless, and returns at
// once; the window stays open after the object goes.
class clsMetric : public QObject {
    Q_OBJECT
public:
    // The class id callers create it by.
    static constexpr char ClassId[] = "{E8214FF1-7EA0-4568-9E86-AE28FBFFE6EC}";

    explicit clsMetric(QObject* parent = nullptr);
    Q_INVOKABLE void ShowMetric();
};
