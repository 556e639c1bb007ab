// Window test helpers.
#include "ui_fixture.h"

#include "logs/text.h"
#include "settings/global_vars.h"
#include "ui/desktop_judging.h"
#include "ui/qt_platform.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <memory>

namespace zelk::test {

QString TempFolder::Path() const {
    return ui::Qs(dir_.Text());
}

std::string TempFolder::File(const QString& name) const {
    return dir_.File(ui::Cp(name));
}

bool TempFolder::Exists(const QString& name) const {
    return dir_.Exists(ui::Cp(name));
}

std::string TempFolder::Write(const QString& name, const std::string& utf8) const {
    return dir_.Write(ui::Cp(name), FromUtf8(utf8));
}

void RecordingMessages::Info(const std::string& text, const std::string& caption) {
    Boxes.push_back({"info", ToUtf8(caption), ToUtf8(text)});
}

void RecordingMessages::Error(const std::string& text, const std::string& caption) {
    Boxes.push_back({"error", ToUtf8(caption), ToUtf8(text)});
}

bool RecordingMessages::Ask(const std::string& text) {
    Boxes.push_back({"ask", "", ToUtf8(text)});
    return Answer;
}

void RecordingMessages::Plain(const std::string& text) {
    Boxes.push_back({"plain", "", ToUtf8(text)});
}

void ClearUserStore() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Zelk")).clear();
}

TestSettings::TestSettings() : store_(std::make_unique<ui::TQtUserStore>()) {
    ClearUserStore();
    Restart();
    previousMessages_ = SetMessages(&Boxes);
}

TestSettings::~TestSettings() {
    SetMessages(previousMessages_);
    Vars().SetUserStore(nullptr);
    ResetVars(TZelkGlobalVars(Exe.Text()));
    ClearUserStore();
}

void TestSettings::Restart() {
    ResetVars(TZelkGlobalVars(Exe.Text()));
    Vars().SetUserStore(store_.get());
    ui::SetScriptFolder("");
    ui::ResetScripts();
}

void TestSettings::RestartInstalled() {
    ResetVars(TZelkGlobalVars(TZelkAppPaths(Exe.Text(), Data.Text(), User.Text())));
    Vars().SetUserStore(store_.get());
    ui::SetScriptFolder("");
    ui::ResetScripts();
}

void TypeFileName(QFileDialog* dialog, const QString& path) {
    const QFileInfo info(path);
    dialog->setDirectory(info.absolutePath());
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY2(name, "the file dialog has no name field");
    name->setText(info.fileName());
}

void OnNextModal(const std::function<bool(QWidget*)>& handle, bool* handled) {
    auto* timer = new QTimer;
    auto started = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, handle, handled, started] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool done = modal && handle(modal);
        if (done && handled) *handled = true;
        if (done || ++*started > 500) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

} // namespace zelk::test
