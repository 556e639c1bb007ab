// Registration of the window test classes: each test file adds its class with ZELK_UI_TEST.
#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace zelk::test {

using TestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<TestFactory>& TestClasses();

struct TestRegistrar {
    explicit TestRegistrar(TestFactory make) { TestClasses().push_back(std::move(make)); }
};

} // namespace zelk::test

#define ZELK_UI_TEST(Class)                                                                                  \
    static const zelk::test::TestRegistrar kRegister##Class{[] { return std::make_unique<Class>(); }};
