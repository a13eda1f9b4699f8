#pragma once

#include <QObject>
#include <memory>

// The test classes of tst_nc_frame; its main() runs each in turn.
std::unique_ptr<QObject> MakeNcCommandFrameTests();
std::unique_ptr<QObject> MakeNumPopupTests();
std::unique_ptr<QObject> MakeDocumentWindowTests();
std::unique_ptr<QObject> MakeCommandLineSwitchTests();
