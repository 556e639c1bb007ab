// The about box.
#include "ui/about_dialog.h"

#include "settings/app_version.h"
#include "ui/window_place.h"
#include "ui/zelk_resources.h"

#include <QApplication>
#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelk::ui {
namespace {

QLineEdit* ContactField(const QString& text, QWidget* parent) {
    auto* field = new QLineEdit(text, parent);
    field->setReadOnly(true);
    field->setFrame(false);
    field->setStyleSheet(QStringLiteral("background: transparent;"));
    field->setMinimumWidth(220);
    return field;
}

} // namespace

TfmAbout::TfmAbout(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("fmAbout"));
    setWindowTitle(QStringLiteral("О программе..."));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    auto* icon = new QLabel(this);
    icon->setPixmap(TZelkResources::AppIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);

    auto* title = new QLabel(QStringLiteral("Zelkon  ") + QString::fromLatin1(ZelkVersion()), this);
    title->setObjectName(QStringLiteral("lbTitle"));
    QFont titleFont(QStringLiteral("Impact"));
    titleFont.setStyleHint(QFont::SansSerif);
    titleFont.setPixelSize(19);
    titleFont.setBold(true);
    titleFont.setStretch(QFont::SemiCondensed);
    title->setFont(titleFont);

    const QDate built =
        QLocale::c().toDate(QStringLiteral(__DATE__).simplified(), QStringLiteral("MMM d yyyy"));
    auto* build =
        new QLabel(QStringLiteral("Сборка от %1, Qt %2")
                       .arg(built.toString(QStringLiteral("dd.MM.yyyy")), QString::fromLatin1(qVersion())),
                   this);
    build->setObjectName(QStringLiteral("lbBuild"));

    auto* contacts = new QFormLayout;
    contacts->addRow(QStringLiteral("web"), ContactField(QStringLiteral("zelkon.example.org"), this));
    contacts->addRow(QStringLiteral("e-mail"),
                     ContactField(QStringLiteral("judges@zelkon.example.org"), this));
    contacts->addRow(QStringLiteral("icq"), ContactField(QStringLiteral("-"), this));

    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(build);
    text->addSpacing(8);
    text->addLayout(contacts);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(8);
    top->addLayout(text, 1);

    auto* close = new QPushButton(QStringLiteral("Закрыть"), this);
    close->setObjectName(QStringLiteral("btnClose"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfmAbout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QWidget* owner = parentWidget()) {
        const QRect frame = owner->frameGeometry();
        move(frame.center() - rect().center());
        KeepWholeOnScreen(this, frame);
    }
}

void TfmAbout::done(int result) {
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    QDialog::done(result);
}

void ShowAbout(QWidget* owner) {
    TfmAbout box(owner);
    box.exec();
}

} // namespace zelk::ui
