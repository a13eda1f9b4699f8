#include "NcTestSupport.h"

#include <QCoreApplication>
#include <QTest>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int failed = 0;
    for (auto make : {MakeBlockNumberTests, MakeLayoutTests, MakeConversionTests, MakeReplaceAllTests}) {
        const std::unique_ptr<QObject> tests = make();
        failed += QTest::qExec(tests.get(), argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
