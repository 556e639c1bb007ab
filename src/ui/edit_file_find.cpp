// The log editor's find and replace dialogs.
#include "ui/edit_file_find.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelk::ui {
namespace {

QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

TTextFindDialog::TTextFindDialog(TKind kind, QWidget* parent) : QDialog(parent) {
    const bool replace = kind == TKind::Replace;
    setObjectName(replace ? QStringLiteral("dlgReplace") : QStringLiteral("dlgFind"));
    setWindowTitle(replace ? QStringLiteral("Заменить") : QStringLiteral("Найти"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(false);

    auto* fields = new QFormLayout;
    edFindText_ = new QLineEdit(this);
    edFindText_->setObjectName(QStringLiteral("edFindText"));
    edFindText_->setMinimumWidth(240);
    fields->addRow(QStringLiteral("&Найти:"), edFindText_);
    if (replace) {
        edReplaceText_ = new QLineEdit(this);
        edReplaceText_->setObjectName(QStringLiteral("edReplaceText"));
        fields->addRow(QStringLiteral("&Заменить на:"), edReplaceText_);
    }

    auto* buttons = new QVBoxLayout;
    btnFindNext_ = MakeButton("btnFindNext", QStringLiteral("Найти &далее"), this);
    btnFindNext_->setDefault(true);
    buttons->addWidget(btnFindNext_);
    connect(btnFindNext_, &QPushButton::clicked, this, [this] { emit FindNext(FindText()); });
    if (replace) {
        btnReplace_ = MakeButton("btnReplace", QStringLiteral("За&менить"), this);
        btnReplaceAll_ = MakeButton("btnReplaceAll", QStringLiteral("Заменить &все"), this);
        buttons->addWidget(btnReplace_);
        buttons->addWidget(btnReplaceAll_);
        connect(btnReplace_, &QPushButton::clicked, this,
                [this] { emit Replace(FindText(), ReplaceText()); });
        connect(btnReplaceAll_, &QPushButton::clicked, this,
                [this] { emit ReplaceAll(FindText(), ReplaceText()); });
    }
    auto* close = MakeButton("btnClose", QStringLiteral("Закрыть"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(close);
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(edFindText_, &QLineEdit::textChanged, this, &TTextFindDialog::UpdateButtons);
    UpdateButtons();
}

QString TTextFindDialog::FindText() const {
    return edFindText_->text();
}

QString TTextFindDialog::ReplaceText() const {
    return edReplaceText_ ? edReplaceText_->text() : QString();
}

void TTextFindDialog::Open() {
    show();
    raise();
    activateWindow();
    edFindText_->setFocus();
    edFindText_->selectAll();
}

// Nothing can be found for an empty search text.
void TTextFindDialog::UpdateButtons() {
    const bool any = !edFindText_->text().isEmpty();
    for (QPushButton* b : {btnFindNext_, btnReplace_, btnReplaceAll_})
        if (b) b->setEnabled(any);
}

} // namespace zelk::ui
