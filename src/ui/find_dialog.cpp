// The find-in-list dialog.
#include "ui/find_dialog.h"

#include "logs/text.h"
#include "ui/qt_text.h"
#include "ui/window_place.h"
#include "ui/zelk_resources.h"

#include <QAbstractItemView>
#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zelk::ui {
namespace {

constexpr int kRowRole = Qt::UserRole;
constexpr int kTextRole = Qt::UserRole + 1;

} // namespace

bool TfmFind::OpensSearch(const QString& typed) {
    if (typed.size() != 1) return false;
    const QChar c = typed[0];
    if (c.unicode() < 128)
        return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
    const std::string bytes = Cp(typed);
    return bytes.size() == 1 && static_cast<unsigned char>(bytes[0]) >= 192;
}

TfmFind::TfmFind(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fmFind"));
    setWindowTitle(QStringLiteral("Искать в списке"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(false);
    setMinimumSize(310, 200);
    resize(360, 300);

    sbClear_ = new QToolButton(this);
    sbClear_->setObjectName(QStringLiteral("sbClear"));
    sbClear_->setToolTip(QStringLiteral("Новый поиск {F2}"));
    sbClear_->setIcon(TZelkResources::Image(QStringLiteral("delete")));
    sbClear_->setAutoRaise(true);
    sbClear_->setFocusPolicy(Qt::NoFocus);

    edFindStr_ = new QLineEdit(this);
    edFindStr_->setObjectName(QStringLiteral("edFindStr"));

    bbFind_ = new QPushButton(TZelkResources::Image(QStringLiteral("find")), QStringLiteral("&Искать"), this);
    bbFind_->setObjectName(QStringLiteral("bbFind"));
    bbFind_->setToolTip(QStringLiteral("Начать поиск"));
    bbFind_->setDefault(true);

    lvFind_ = new QTreeWidget(this);
    lvFind_->setObjectName(QStringLiteral("lvFind"));
    lvFind_->setColumnCount(1);
    lvFind_->setHeaderLabels({QStringLiteral("Найденные записи")});
    lvFind_->setRootIsDecorated(false);
    lvFind_->setUniformRowHeights(true);
    lvFind_->header()->setStretchLastSection(false);
    lvFind_->setContextMenuPolicy(Qt::CustomContextMenu);
    lvFind_->installEventFilter(this);

    lbFoundCaption_ = new QLabel(QStringLiteral("Найдено записей:"), this);
    lbFoundCaption_->setObjectName(QStringLiteral("lbFoundCaption"));
    lbFoundCount_ = new QLabel(this);
    lbFoundCount_->setObjectName(QStringLiteral("lbFoundCount"));

    bbOk_ = new QPushButton(QStringLiteral("&Выбор"), this);
    bbOk_->setObjectName(QStringLiteral("bbOk"));
    bbCancel_ = new QPushButton(QStringLiteral("&Отказ"), this);
    bbCancel_->setObjectName(QStringLiteral("bbCancel"));
    for (QPushButton* b : {bbFind_, bbOk_, bbCancel_})
        b->setAutoDefault(false);

    pmFind_ = new QMenu(this);
    pmFind_->setObjectName(QStringLiteral("pmFind"));
    QAction* choose = pmFind_->addAction(QStringLiteral("Выбрать"), this, &TfmFind::Choose);
    pmFind_->addAction(QStringLiteral("Отказаться"), this, &QDialog::reject);
    pmFind_->addSeparator();
    pmFind_->addAction(QStringLiteral("Повторить поиск"), this, &TfmFind::Search);
    pmFind_->addAction(QStringLiteral("Очистить"), this, &TfmFind::ClearSearch);
    pmFind_->setDefaultAction(choose);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(sbClear_);
    searchRow->addWidget(edFindStr_, 1);
    searchRow->addWidget(bbFind_);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lbFoundCaption_);
    bottom->addWidget(lbFoundCount_);
    bottom->addStretch();
    bottom->addWidget(bbOk_);
    bottom->addWidget(bbCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(lvFind_, 1);
    layout->addLayout(bottom);

    connect(edFindStr_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString upper = text.toUpper();
        if (upper != text) {
            const int caret = edFindStr_->cursorPosition();
            edFindStr_->setText(upper);
            edFindStr_->setCursorPosition(caret);
        }
    });
    connect(edFindStr_, &QLineEdit::textChanged, this, &TfmFind::UpdateFindButton);
    connect(sbClear_, &QToolButton::clicked, this, &TfmFind::ClearSearch);
    connect(bbFind_, &QPushButton::clicked, this, &TfmFind::Search);
    connect(bbOk_, &QPushButton::clicked, this, &TfmFind::Choose);
    connect(bbCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(lvFind_, &QTreeWidget::itemDoubleClicked, this, &TfmFind::Choose);
    connect(lvFind_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { pmFind_->popup(lvFind_->viewport()->mapToGlobal(at)); });

    ClearResults();
}

void TfmFind::Open(QAbstractItemView* target, QChar typed, const QRect& mainFrame) {
    if (!typed.isNull()) edFindStr_->setText(QString(typed).toUpper());
    target_ = target;
    ClearResults();
    UpdateFindButton();
    lvFind_->setIconSize(target ? target->iconSize() : QSize(12, 12));

    const QSize own = frameGeometry().size();
    int top = mainFrame.top() + mainFrame.height() / 2 - own.height() / 2;
    int left = mainFrame.left() + mainFrame.width() / 2 - own.width() / 2;
    if (top < 0) top = mainFrame.top();
    if (left < 0) left = mainFrame.left();
    move(left, top);
    KeepWholeOnScreen(this, mainFrame);

    show();
    raise();
    activateWindow();
    edFindStr_->setFocus();
    edFindStr_->deselect();
    edFindStr_->end(false);
}

QString TfmFind::RowText(int row) const {
    const QAbstractItemModel* model = target_->model();
    QString text = model->index(row, 0).data(Qt::DisplayRole).toString();
    for (int column = 1; column < model->columnCount(); ++column)
        text += u' ' + model->index(row, column).data(Qt::DisplayRole).toString();
    return text;
}

void TfmFind::Search() {
    ClearResults();
    const QString wanted = edFindStr_->text().trimmed();
    edFindStr_->setText(wanted);
    if (!target_ || !target_->model() || wanted.isEmpty()) return;

    const QAbstractItemModel* model = target_->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QString text = RowText(row);
        if (!text.toUpper().contains(wanted)) continue;
        auto* item = new QTreeWidgetItem(lvFind_, {text});
        item->setIcon(0, model->index(row, 0).data(Qt::DecorationRole).value<QIcon>());
        item->setData(0, kRowRole, row);
        item->setData(0, kTextRole, text);
    }
    const int found = lvFind_->topLevelItemCount();
    lbFoundCount_->setText(QString::number(found));
    lbFoundCaption_->show();
    lbFoundCount_->show();
    bbOk_->setEnabled(found > 0);
    if (found == 0) return;
    lvFind_->setCurrentItem(lvFind_->topLevelItem(0));
    lvFind_->setFocus();
}

// The remembered row, or, when the list changed since the search, the row that now shows the same text.
int TfmFind::ResolveRow(int position, const QString& text) const {
    const int rows = target_->model()->rowCount();
    if (position >= 0 && position < rows && RowText(position) == text) return position;
    for (int row = 0; row < rows; ++row)
        if (RowText(row) == text) return row;
    return -1;
}

void TfmFind::Choose() {
    QTreeWidgetItem* item = lvFind_->currentItem();
    if (!item || !target_ || !target_->model()) return;
    const int row = ResolveRow(item->data(0, kRowRole).toInt(), item->data(0, kTextRole).toString());
    if (row >= 0) {
        target_->setFocus();
        target_->clearSelection();
        const QModelIndex index = target_->model()->index(row, 0);
        target_->setCurrentIndex(index);
        target_->scrollTo(index, QAbstractItemView::PositionAtCenter);
    }
    accept();
}

void TfmFind::ClearSearch() {
    edFindStr_->clear();
    edFindStr_->setFocus();
}

void TfmFind::done(int result) {
    ClearResults();
    QDialog::done(result);
}

void TfmFind::ClearResults() {
    lvFind_->clear();
    lbFoundCaption_->hide();
    lbFoundCount_->hide();
    bbOk_->setEnabled(false);
}

void TfmFind::UpdateFindButton() {
    bbFind_->setEnabled(!edFindStr_->text().trimmed().isEmpty());
}

void TfmFind::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F2) {
        ClearSearch();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfmFind::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    edFindStr_->setFixedWidth(std::max(width() - 115, 60));
    lvFind_->setColumnWidth(0, std::max(width() - 30, 60));
}

// While the result list has the focus, Enter chooses; elsewhere it searches. F2 reaches the dialog from
// the result list as well.
bool TfmFind::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lvFind_) {
        if (event->type() == QEvent::FocusIn) {
            bbOk_->setDefault(true);
        } else if (event->type() == QEvent::FocusOut) {
            bbFind_->setDefault(true);
        } else if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_F2) {
                ClearSearch();
                return true;
            }
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && bbOk_->isEnabled()) {
                Choose();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zelk::ui
