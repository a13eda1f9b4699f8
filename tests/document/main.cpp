// Runs every test class of the document window; fails when any of them fails.
// "test_document TestNotePad [functions...]" runs one class only.

#include "DocumentTests.h"

#include <QApplication>
#include <QTest>
#include <cstring>

std::vector<DocumentTest>& DocumentTests()
{
    static std::vector<DocumentTest> tests;
    return tests;
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const char* only = nullptr;
    std::vector<char*> arguments(argv, argv + argc);
    if (argc > 1) {
        for (const DocumentTest& test : DocumentTests())
            if (std::strcmp(test.name, argv[1]) == 0)
                only = test.name;
        if (only != nullptr)
            arguments.erase(arguments.begin() + 1);
    }
    int failed = 0;
    for (const DocumentTest& test : DocumentTests()) {
        if (only != nullptr && std::strcmp(test.name, only) != 0)
            continue;
        const std::unique_ptr<QObject> object = test.make();
        failed += QTest::qExec(object.get(), static_cast<int>(arguments.size()), arguments.data()) != 0 ? 1 : 0;
    }
    return failed == 0 ? 0 : 1;
}
