#include "TestRunners.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int failures = 0;
    failures += RunPluginLogicTest(argc, argv);
    failures += RunPluginContractTest(argc, argv);
    failures += RunStatsWindowTest(argc, argv);
    failures += RunCalculatorWindowTest(argc, argv);
    return failures == 0 ? 0 : 1;
}
