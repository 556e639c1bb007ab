// Runs every window test class on one application object, with the per-user store in a temporary
// location and the shared resources created first, as the program does.
#include "ui_test_main.h"

#include "ui/command_guard.h"
#include "ui/zelk_resources.h"

#include <QDir>
#include <QFile>
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

// A test function named on the command line ("Name" or "Name:data"); option values such as the
// "out.txt,txt" of -o do not look like one.
bool IsFunctionArgument(const char* arg) {
    static const QRegularExpression name(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*(:.*)?$"));
    return name.match(QString::fromLocal8Bit(arg)).hasMatch();
}

bool HasFunction(const QObject& tests, const char* arg) {
    const QByteArray name = QByteArray(arg).split(':').first();
    const QMetaObject* meta = tests.metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
        if (meta->method(i).name() == name) return true;
    return false;
}

// The arguments for one class: the options as given, and of the functions named only those the class
// has, so that naming a function runs it alone instead of failing in every other class. Empty when
// functions were named and the class has none of them.
std::vector<char*> ArgumentsFor(const QObject& tests, int argc, char** argv) {
    std::vector<char*> args{argv[0]};
    bool named = false, own = false;
    for (int i = 1; i < argc; ++i) {
        if (!IsFunctionArgument(argv[i])) {
            args.push_back(argv[i]);
            continue;
        }
        named = true;
        if (!HasFunction(tests, argv[i])) continue;
        own = true;
        args.push_back(argv[i]);
    }
    if (named && !own) return {};
    return args;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    zelk::ui::TZelkApplication app(argc, argv);
    QTemporaryDir store;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, store.path());
    // The home and data folders of the tests are temporary too, so that a log "deleted" by a test goes
    // to a trash of its own, on the disk of the tests' temporary folders, never to the user's.
    QTemporaryDir home;
    if (qEnvironmentVariableIsEmpty("XDG_CACHE_HOME"))
        qputenv("XDG_CACHE_HOME", QFile::encodeName(QDir::homePath() + QStringLiteral("/.cache")));
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + QStringLiteral("/.local/share")));
    QDir().mkpath(home.path() + QStringLiteral("/.local/share"));
    zelk::ui::TZelkResources resources;
    zelk::ui::SetZelkResources(&resources);
    int failures = 0;
    for (const auto& make : zelk::test::TestClasses()) {
        std::unique_ptr<QObject> tests = make();
        std::vector<char*> args = ArgumentsFor(*tests, argc, argv);
        if (args.empty()) continue;
        failures += QTest::qExec(tests.get(), static_cast<int>(args.size()), args.data());
    }
    zelk::ui::SetZelkResources(nullptr);
    return failures == 0 ? 0 : 1;
}
