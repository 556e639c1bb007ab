// The completion list of the script editor.
#include "ui/script_editor_completion.h"

#include "ui/qt_text.h"
#include "ui/script_editor_text.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zelk::ui {
namespace {

using Sci = QsciScintillaBase;

long CaretPos(QsciScintilla* editor) {
    return editor->SendScintilla(Sci::SCI_GETCURRENTPOS);
}

bool IsNameKey(const QString& text) {
    return !text.isEmpty() && (text[0].isLetterOrNumber() || text[0] == u'_');
}

} // namespace

TScriptCompletion::TScriptCompletion(QsciScintilla* editor)
    : QFrame(editor, Qt::Popup), editor_(editor), title_(new QLabel(QStringLiteral("Список функций"), this)),
      list_(new QTreeWidget(this)), timer_(new QTimer(this)) {
    setObjectName(QStringLiteral("synCompletion"));
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    title_->setObjectName(QStringLiteral("lbCompletionTitle"));
    title_->setAutoFillBackground(true);
    title_->setContentsMargins(4, 1, 4, 1);
    QPalette titlePalette = title_->palette();
    titlePalette.setColor(QPalette::Window, QColor(0, 0, 128));
    titlePalette.setColor(QPalette::WindowText, Qt::white);
    title_->setPalette(titlePalette);

    list_->setObjectName(QStringLiteral("lvCompletion"));
    list_->setColumnCount(2);
    list_->setHeaderHidden(true);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setFrameShape(QFrame::NoFrame);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list_->setColumnWidth(0, list_->fontMetrics().horizontalAdvance(QStringLiteral("function")) + 12);
    list_->installEventFilter(this);
    connect(list_, &QTreeWidget::itemActivated, this, [this] { Accept(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(title_);
    layout->addWidget(list_);
    setFocusProxy(list_);

    timer_->setObjectName(QStringLiteral("tmrCompletion"));
    timer_->setSingleShot(true);
    timer_->setInterval(kDelayMs);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (editor_->isVisible()) Execute();
    });
    // A "." starts the delay; any other character typed before it ends cancels it.
    connect(editor_, &QsciScintillaBase::SCN_CHARADDED, this, [this](int c) {
        if (c == '.')
            timer_->start();
        else
            timer_->stop();
    });
    editor_->installEventFilter(this);
}

void TScriptCompletion::SetEntries(const std::vector<TCompletionEntry>& entries) {
    entries_.clear();
    list_->clear();
    for (const TCompletionEntry& e : entries) {
        const QString display = Qs(e.display);
        const qsizetype tab = display.indexOf(u'\t');
        TEntry entry{tab < 0 ? QString() : display.left(tab), tab < 0 ? display : display.mid(tab + 1),
                     Qs(e.insert)};
        auto* item = new QTreeWidgetItem(list_, {entry.Kind, entry.Signature});
        item->setForeground(0, QColor(0, 0, 128));
        item->setToolTip(1, entry.Signature);
        entries_.push_back(std::move(entry));
    }
}

QString TScriptCompletion::Prefix() const {
    const long pos = CaretPos(editor_);
    const long line = editor_->SendScintilla(Sci::SCI_LINEFROMPOSITION, pos);
    const long start = editor_->SendScintilla(Sci::SCI_POSITIONFROMLINE, line);
    QByteArray before = editor_->bytes(static_cast<int>(start), static_cast<int>(pos));
    before.truncate(pos - start); // the editor adds a closing NUL
    return CompletionPrefix(QString::fromUtf8(before));
}

bool TScriptCompletion::Filter(const QString& prefix) {
    QTreeWidgetItem* first = nullptr;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list_->topLevelItem(i);
        const bool fits = entries_[static_cast<size_t>(i)].Insert.startsWith(prefix, Qt::CaseInsensitive);
        item->setHidden(!fits);
        if (fits && !first) first = item;
    }
    list_->setCurrentItem(first);
    if (first) list_->scrollToItem(first, QAbstractItemView::PositionAtTop);
    return first != nullptr;
}

void TScriptCompletion::Execute() {
    timer_->stop();
    if (!Filter(Prefix())) {
        hide();
        return;
    }
    PlaceAtCaret();
    show();
    list_->setFocus();
}

QStringList TScriptCompletion::Offered() const {
    QStringList names;
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        if (!list_->topLevelItem(i)->isHidden()) names << entries_[static_cast<size_t>(i)].Insert;
    return names;
}

QString TScriptCompletion::Current() const {
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    return row < 0 || !isVisible() ? QString() : entries_[static_cast<size_t>(row)].Insert;
}

// Below the caret, ten rows high and 300 pixels wide; above it when the screen ends below.
void TScriptCompletion::PlaceAtCaret() {
    const int rowHeight = std::max(list_->sizeHintForRow(0), list_->fontMetrics().height());
    resize(kWidth, title_->sizeHint().height() + kVisibleRows * rowHeight + 2 * list_->frameWidth() + 2);
    list_->setColumnWidth(1, kWidth);

    const long pos = CaretPos(editor_);
    const long line = editor_->SendScintilla(Sci::SCI_LINEFROMPOSITION, pos);
    const int x = static_cast<int>(editor_->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, pos));
    const int y = static_cast<int>(editor_->SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, pos));
    const int lineHeight = static_cast<int>(editor_->SendScintilla(Sci::SCI_TEXTHEIGHT, line));
    QPoint at = editor_->viewport()->mapToGlobal(QPoint(x, y + lineHeight));
    if (const QScreen* screen = editor_->screen()) {
        const QRect area = screen->availableGeometry();
        if (at.y() + height() > area.bottom()) at.setY(at.y() - lineHeight - height());
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width())));
    }
    move(at);
}

void TScriptCompletion::Accept() {
    const QString insert = Current();
    hide();
    if (insert.isEmpty()) return;
    const long pos = CaretPos(editor_);
    const long start = pos - Prefix().toUtf8().size();
    editor_->SendScintilla(Sci::SCI_SETSEL, start, pos);
    editor_->replaceSelectedText(insert);
}

// While the list is open it has the keyboard: moving keys move in the list, Enter and Tab choose, Escape
// closes, and every other key goes on to the editor, after which the list follows the word typed.
bool TScriptCompletion::HandleListKey(QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return false;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
        Accept();
        return true;
    case Qt::Key_Escape:
        hide();
        return true;
    default:
        break;
    }
    const QString text = key->text();
    QApplication::sendEvent(editor_, key);
    // A character that cannot be part of a name ends the word, and with it the list.
    if (!text.isEmpty() && !IsNameKey(text) && key->key() != Qt::Key_Backspace) {
        hide();
        return true;
    }
    if (!Filter(Prefix())) hide();
    return true;
}

bool TScriptCompletion::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QFrame::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == list_) return HandleListKey(key);
    if (watched == editor_ && key->key() == Qt::Key_Space && key->modifiers() == Qt::ControlModifier) {
        Execute();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace zelk::ui
