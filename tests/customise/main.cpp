#include "TestRunners.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int failures = 0;
    failures += RunMacroFilesTest(argc, argv);
    failures += RunEditorPluginTest(argc, argv);
    failures += RunPluginMenuTest(argc, argv);
    failures += RunDocumentWindowPluginsTest(argc, argv);
    return failures == 0 ? 0 : 1;
}
