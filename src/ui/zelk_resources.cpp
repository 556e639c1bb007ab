// The shared images, dialogs and commands.
#include "ui/zelk_resources.h"

#include "logs/list_rows.h"
#include "ui/about_dialog.h"
#include "ui/command_guard.h"
#include "ui/help_topic.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMenuBar>

#include <cassert>

// The icons are compiled into this static library; their registration must be called explicitly.
static void InitIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace zelk::ui {
namespace {

TZelkResources* g_resources = nullptr;

// Icon file of each image index of the list rows (ListImage).
const char* const kListImageFiles[] = {"log",         "tag",           "tag-bad",      "log-nocall",
                                       "log-problem", "qso-unchecked", "qso-accepted", "qso-rejected",
                                       "tag-missing", "tag-callsign"};

std::unique_ptr<QFileDialog> MakeDialog(QFileDialog::AcceptMode mode, const QString& filters) {
    auto dialog = std::make_unique<QFileDialog>();
    dialog->setAcceptMode(mode);
    dialog->setNameFilters(DialogFilters(filters));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    return dialog;
}

} // namespace

void ShowKeyInToolTip(QAction* action) {
    const QKeySequence key = action->shortcut();
    if (key.isEmpty()) return;
    action->setToolTip(
        QStringLiteral("%1 (%2)").arg(action->toolTip(), key.toString(QKeySequence::NativeText)));
}

void OpenMenusWithF10(QWidget* window, QMenuBar* bar) {
    auto* key = new QAction(window);
    key->setObjectName(QStringLiteral("actMenuKey"));
    key->setShortcut(QKeySequence(Qt::Key_F10));
    key->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(key, &QAction::triggered, bar, [bar] {
        const QList<QAction*> menus = bar->actions();
        if (!menus.isEmpty()) bar->setActiveAction(menus.first());
    });
    window->addAction(key);
}

QStringList DialogFilters(const QString& pairs) {
    const QStringList parts = pairs.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList masks;
        for (const QString& mask : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            const QString m = mask.trimmed();
            if (!m.isEmpty()) masks << (m == QStringLiteral("*.*") ? QStringLiteral("*") : m);
        }
        filters << QStringLiteral("%1 (%2)").arg(parts[i], masks.join(u' '));
    }
    return filters;
}

TZelkResources::TZelkResources() {
    InitIconResources();
    for (const char* file : kListImageFiles)
        listImages_.push_back(file ? Image(QString::fromLatin1(file)) : QIcon());
    dlgOpen_ = MakeDialog(QFileDialog::AcceptOpen,
                          QStringLiteral("Файлы CABRILLO|*.cbr|Файлы протоколов/текстовые|*.log; *.txt|"
                                         "Все файлы|*.*"));
    dlgOpen_->setFileMode(QFileDialog::ExistingFile);
    dlgSave_ = MakeDialog(QFileDialog::AcceptSave,
                          QStringLiteral("Файлы протоколов/текстовые|*.txt; *.prt|Все файлы|*.*"));

    about_ = new QAction(Image(QStringLiteral("about")), QStringLiteral("О программе..."), this);
    about_->setObjectName(QStringLiteral("About"));
    connect(about_, &QAction::triggered, this,
            [] { RunCommand([] { ShowAbout(QApplication::activeWindow()); }); });

    help_ = new QAction(Image(QStringLiteral("help")), QStringLiteral("Вызов справки"), this);
    help_->setObjectName(QStringLiteral("Help"));
    help_->setShortcut(QKeySequence(Qt::Key_F1));
    // F1 belongs to the window that carries this command; the dialogs and editors have F1 commands of their
    // own for their pages, and an application-wide F1 would make every such key ambiguous.
    help_->setShortcutContext(Qt::WindowShortcut);
    ShowKeyInToolTip(help_);
    connect(help_, &QAction::triggered, this, [] { RunCommand([] { ShowHelpTopic("about"); }); });
}

TZelkResources::~TZelkResources() = default;

QIcon TZelkResources::Image(const QString& name) {
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(name));
}

QIcon TZelkResources::AppIcon() {
    return Image(QStringLiteral("zelkon"));
}

TZelkResources& ZelkResources() {
    assert(g_resources);
    return *g_resources;
}

void SetZelkResources(TZelkResources* r) {
    g_resources = r;
}

} // namespace zelk::ui
