// Runs every window test class on one application object, with the per-user store in a temporary
// location and the shared resources created first, as the program does.
#include "ui_test_main.h"

#include "ui/command_guard.h"
#include "ui/zelk_resources.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace zelk::test {
std::vector<TestFactory>& TestClasses() {
    static std::vector<TestFactory> classes;
    return classes;
}

} // namespace zelk::test

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    zelk::ui::TZelkApplication app(argc, argv);
    QTemporaryDir store;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, store.path());
    zelk::ui::TZelkResources resources;
    zelk::ui::SetZelkResources(&resources);
    int failures = 0;
    for (const auto& make : zelk::test::TestClasses()) {
        std::unique_ptr<QObject> tests = make();
        failures += QTest::qExec(tests.get(), argc, argv);
    }
    zelk::ui::SetZelkResources(nullptr);
    return failures == 0 ? 0 : 1;
}
