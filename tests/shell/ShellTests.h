#pragma once
// The shell's test classes register here; main() runs each of them.

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

struct ShellTest {
    const char* name;
    std::function<std::unique_ptr<QObject>()> make;
};

std::vector<ShellTest>& ShellTests();

#define REGISTER_SHELL_TEST(Class)                                                           \
    static const bool Class##Registered = [] {                                               \
        ShellTests().push_back({#Class, [] { return std::unique_ptr<QObject>(new Class); }}); \
        return true;                                                                         \
    }()
