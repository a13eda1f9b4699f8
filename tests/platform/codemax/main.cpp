#include "CodeMaxTestMain.h"

#include <QApplication>
#include <QTest>

namespace codemaxtest {
std::vector<Factory>& registry()
{
    static std::vector<Factory> factories;
    return factories;
}
}  // namespace codemaxtest

// Runs every test class; "test_platform_codemax TestCodeMaxView [args]" runs one.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QByteArray only;
    if (argc > 1 && QByteArray(argv[1]).startsWith("TestCodeMax")) {
        only = argv[1];
        argv[1] = argv[0];
        ++argv;
        --argc;
    }
    int failed = 0;
    for (const auto& make : codemaxtest::registry()) {
        const auto test = make();
        if (only.isEmpty() || only == test->metaObject()->className())
            failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed;
}
