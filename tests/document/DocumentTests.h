#pragma once
// The document window's test classes register here; main() runs each of them.

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

struct DocumentTest {
    const char* name;
    std::function<std::unique_ptr<QObject>()> make;
};

std::vector<DocumentTest>& DocumentTests();

#define REGISTER_DOCUMENT_TEST(Class)                                                           \
    static const bool Class##Registered = [] {                                                  \
        DocumentTests().push_back({#Class, [] { return std::unique_ptr<QObject>(new Class); }}); \
        return true;                                                                            \
    }()
