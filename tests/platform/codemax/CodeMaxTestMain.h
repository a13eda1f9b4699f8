#pragma once
// One executable runs every test class of the editing control. Each class
// registers itself with CODEMAX_TEST(ClassName) in its own file.

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace codemaxtest {

using Factory = std::function<std::unique_ptr<QObject>()>;
std::vector<Factory>& registry();

struct Registrar {
    explicit Registrar(Factory f) { registry().push_back(std::move(f)); }
};

}  // namespace codemaxtest

#define CODEMAX_TEST(Class) \
    static const codemaxtest::Registrar registrar_##Class([] { return std::make_unique<Class>(); })
