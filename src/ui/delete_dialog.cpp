// The delete confirmation with its two pages.
#include "ui/delete_dialog.h"

#include "ui/delete_animation.h"
#include "ui/zelk_resources.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace zelk::ui {

int TfmIfDelete::AnimationMs = 1200;

TfmIfDelete::TfmIfDelete(const QString& text, bool toTrash, QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("fmIfDelete"));
    setWindowTitle(QStringLiteral("Подтверждение удаления"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::WindowContextHelpButtonHint);

    auto* ask = new QWidget;
    ask->setObjectName(QStringLiteral("np_Ask"));
    auto* icon = new QLabel(ask);
    icon->setPixmap(TZelkResources::Image(QStringLiteral("delete")).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    auto* heading = new QLabel(QStringLiteral("Удалить файл ?"), ask);
    heading->setObjectName(QStringLiteral("lbHeading"));
    QFont headingFont = heading->font();
    headingFont.setPixelSize(16);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    auto* message = new QLabel(text, ask);
    message->setObjectName(QStringLiteral("lbText"));
    message->setWordWrap(true);
    message->setMinimumWidth(300);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* fate = new QLabel(toTrash ? QStringLiteral("Файл будет перемещён в корзину.")
                                    : QStringLiteral("Корзины нет: файл будет удалён навсегда."),
                            ask);
    fate->setObjectName(QStringLiteral("lbFate"));
    fate->setWordWrap(true);
    if (!toTrash) {
        QFont bold = fate->font();
        bold.setBold(true);
        fate->setFont(bold);
    }
    auto* askText = new QVBoxLayout;
    askText->addWidget(heading);
    askText->addWidget(message);
    askText->addWidget(fate);
    askText->addStretch();
    auto* askLayout = new QHBoxLayout(ask);
    askLayout->addWidget(icon);
    askLayout->addSpacing(10);
    askLayout->addLayout(askText, 1);

    auto* doIt = new QWidget;
    doIt->setObjectName(QStringLiteral("np_DoIt"));
    animation_ = new TDeleteAnimation(doIt);
    auto* doItLayout = new QVBoxLayout(doIt);
    doItLayout->addWidget(animation_);

    pages_ = new QStackedWidget(this);
    pages_->addWidget(ask);
    pages_->addWidget(doIt);

    btnOk_ = new QPushButton(QStringLiteral("&Да, удалить"), this);
    btnOk_->setObjectName(QStringLiteral("btnOk"));
    btnOk_->setDefault(true);
    btnCancel_ = new QPushButton(QStringLiteral("&Нет, не удалять"), this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    connect(btnOk_, &QPushButton::clicked, this, &TfmIfDelete::Confirm);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(animation_, &TDeleteAnimation::Finished, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk_);
    buttons->addWidget(btnCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addLayout(buttons);
}

void TfmIfDelete::Confirm() {
    pages_->setCurrentIndex(1);
    btnOk_->setEnabled(false);
    btnCancel_->setEnabled(false);
    animation_->Play(AnimationMs);
}

void TfmIfDelete::reject() {
    if (pages_->currentIndex() == 1) return;
    QDialog::reject();
}

bool ConfirmDelete(const QString& text, bool toTrash, QWidget* owner) {
    TfmIfDelete dialog(text, toTrash, owner);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace zelk::ui
