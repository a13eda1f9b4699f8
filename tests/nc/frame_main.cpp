#include "FrameTests.h"

#include <QApplication>
#include <QTest>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int failed = 0;
    for (auto make : {MakeNcCommandFrameTests, MakeNumPopupTests, MakeDocumentWindowTests,
                      MakeCommandLineSwitchTests}) {
        const std::unique_ptr<QObject> tests = make();
        failed += QTest::qExec(tests.get(), argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
