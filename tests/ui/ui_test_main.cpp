// Runs every window test class on one application object, with the per-user store in a temporary
// location and the shared resources created first, as the program does.
#include "ui_test_main.h"

#include "ui/command_guard.h"
#include "ui/zelk_resources.h"

#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace zelk::test {
std::vector<TestFactory>& TestClasses() {
    static std::vector<TestFactory> classes;
    return classes;
}

} // namespace zelk::test

namespace {

// The test functions named on the command line ("Name" or "Name:data"); option values such as the
// "out.txt,txt" of -o do not look like names and are left out.
QStringList RequestedFunctions(int argc, char** argv) {
    static const QRegularExpression name(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*(:.*)?$"));
    QStringList names;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (name.match(arg).hasMatch()) names << arg.section(u':', 0, 0);
    }
    return names;
}

// A class runs when no function was named or when it has one of those named, so that naming one
// function runs it alone instead of failing in every other class.
bool HasAnyFunction(const QObject& tests, const QStringList& wanted) {
    if (wanted.isEmpty()) return true;
    const QMetaObject* meta = tests.metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
        if (wanted.contains(QString::fromLatin1(meta->method(i).name()))) return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    zelk::ui::TZelkApplication app(argc, argv);
    QTemporaryDir store;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, store.path());
    zelk::ui::TZelkResources resources;
    zelk::ui::SetZelkResources(&resources);
    const QStringList wanted = RequestedFunctions(argc, argv);
    int failures = 0;
    for (const auto& make : zelk::test::TestClasses()) {
        std::unique_ptr<QObject> tests = make();
        if (!HasAnyFunction(*tests, wanted)) continue;
        failures += QTest::qExec(tests.get(), argc, argv);
    }
    zelk::ui::SetZelkResources(nullptr);
    return failures == 0 ? 0 : 1;
}
