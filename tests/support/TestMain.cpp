// The main() of every test executable that runs several test classes.

#include "support/TestRegistry.h"

#include <QApplication>
#include <QTest>
#include <cstring>

std::vector<RegisteredTest>& RegisteredTests()
{
    static std::vector<RegisteredTest> tests;
    return tests;
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const char* only = nullptr;
    std::vector<char*> arguments(argv, argv + argc);
    if (argc > 1) {
        for (const RegisteredTest& test : RegisteredTests())
            if (std::strcmp(test.name, argv[1]) == 0)
                only = test.name;
        if (only != nullptr)
            arguments.erase(arguments.begin() + 1);
    }
    int failed = 0;
    for (const RegisteredTest& test : RegisteredTests()) {
        if (only != nullptr && std::strcmp(test.name, only) != 0)
            continue;
        const std::unique_ptr<QObject> object = test.make();
        failed += QTest::qExec(object.get(), static_cast<int>(arguments.size()), arguments.data()) != 0 ? 1 : 0;
    }
    return failed == 0 ? 0 : 1;
}
