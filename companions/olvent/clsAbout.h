#pragma once

#include <QObject>

// The About library's class: shows the one About window, modeless, and returns at once. The
// window stays open after the object goes, until the user closes it.
class clsAbout : public QObject {
    Q_OBJECT
public:
    explicit clsAbout(QObject* parent = nullptr);
    Q_INVOKABLE void ShowAbout();
};
