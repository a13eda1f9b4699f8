#pragma once
// Test classes register themselves here; one main() per test executable runs
// them all. "test_x ClassName [QtTest arguments]" runs one class only.

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

struct RegisteredTest {
    const char* name;
    std::function<std::unique_ptr<QObject>()> make;
};

std::vector<RegisteredTest>& RegisteredTests();

#define REGISTER_TEST(Class)                                                                       \
    static const bool Class##Registered = [] {                                                     \
        RegisteredTests().push_back({#Class, [] { return std::unique_ptr<QObject>(new Class); }}); \
        return true;                                                                               \
    }()
