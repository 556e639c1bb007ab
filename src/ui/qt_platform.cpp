// Message boxes and the QSettings-backed per-user store.
#include "ui/qt_platform.h"

#include "ui/qt_text.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QSettings>
#include <QTranslator>

#include <memory>

namespace zelk::ui {
namespace {

QWidget* BoxParent() {
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    return QApplication::activeWindow();
}

QString CaptionOr(const std::string& caption, const std::string& fallback) {
    return Qs(caption.empty() ? fallback : caption);
}

// Value names are the field names of the settings object; the store has no groups.
QSettings UserSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Zelk"));
}

} // namespace

bool InstallQtRussianTexts() {
    // Kept for the whole run; the application holds only a pointer to it.
    static QTranslator* translator = nullptr;
    if (translator) return true;
    auto loaded = std::make_unique<QTranslator>();
    if (!loaded->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    translator = loaded.release();
    QCoreApplication::installTranslator(translator);
    return true;
}

void TQtMessages::Info(const std::string& text, const std::string& caption) {
    QMessageBox::information(BoxParent(), CaptionOr(caption, kInfoCaption), Qs(text));
}

void TQtMessages::Error(const std::string& text, const std::string& caption) {
    QMessageBox::critical(BoxParent(), CaptionOr(caption, kErrorCaption), Qs(text));
}

bool TQtMessages::Ask(const std::string& text) {
    return QMessageBox::question(BoxParent(), Qs(kAskCaption), Qs(text), QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

void TQtMessages::Plain(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, kAppTitle, Qs(text), QMessageBox::Ok, BoxParent());
    box.exec();
}

std::optional<int> TQtUserStore::ReadInteger(const std::string& name) {
    const QVariant value = UserSettings().value(QString::fromStdString(name));
    if (!value.isValid()) return std::nullopt;
    bool ok = false;
    const int i = value.toInt(&ok);
    if (!ok) return std::nullopt;
    return i;
}

std::optional<std::string> TQtUserStore::ReadString(const std::string& name) {
    const QVariant value = UserSettings().value(QString::fromStdString(name));
    if (!value.isValid()) return std::nullopt;
    return Cp(value.toString());
}

void TQtUserStore::WriteInteger(const std::string& name, int value) {
    UserSettings().setValue(QString::fromStdString(name), value);
}

void TQtUserStore::WriteString(const std::string& name, const std::string& value) {
    UserSettings().setValue(QString::fromStdString(name), Qs(value));
}

TMessagesInstaller::TMessagesInstaller() : previous_(SetMessages(&messages_)) {}

TMessagesInstaller::~TMessagesInstaller() {
    SetMessages(previous_);
}

} // namespace zelk::ui
