// The progress display of a long pass and the holding back of input while it runs.
#include "ui/progress_panel.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace zelk::ui {

namespace {

bool IsInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

TProgressPanel::TProgressPanel(const QString& barName, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("paPassProgress"));
    bar_ = new QProgressBar(this);
    bar_->setObjectName(barName);
    bar_->setTextVisible(false);
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("lbPassCount"));
    count_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    cancel_ = new QPushButton(QStringLiteral("Отмена"), this);
    cancel_->setObjectName(QStringLiteral("btnPassCancel"));
    cancel_->setAutoDefault(false);
    cancel_->setToolTip(QStringLiteral("Остановить после файла, который проверяется сейчас (Esc)"));
    connect(cancel_, &QPushButton::clicked, this, &TProgressPanel::Cancel);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar_, 1);
    layout->addWidget(count_);
    layout->addWidget(cancel_);
    hide();
}

TProgressPanel::~TProgressPanel() {
    if (running_) qApp->removeEventFilter(this);
}

void TProgressPanel::Start(int count) {
    if (running_) return;
    running_ = true;
    cancelled_ = false;
    done_ = 0;
    total_ = std::max(count, 0);
    bar_->setRange(0, std::max(count - 1, 0));
    bar_->setValue(0);
    cancel_->setEnabled(true);
    // Wide enough for the largest count from the start, so that the bar does not jump as digits grow.
    count_->setMinimumWidth(count_->fontMetrics().horizontalAdvance(QStringLiteral("%1 из %1").arg(total_)));
    ShowCount();
    held_.clear();
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible()) held_.emplace_back(window);
    focusBefore_ = QApplication::focusWidget();
    show();
    if (window()->isVisible()) cancel_->setFocus();
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    emit Advanced(done_, total_);
    QCoreApplication::processEvents();
}

void TProgressPanel::Step(int position) {
    done_ = std::clamp(position + 1, 0, total_);
    bar_->setValue(position);
    ShowCount();
    emit Advanced(done_, total_);
    QCoreApplication::processEvents();
}

void TProgressPanel::Wait() {
    QCoreApplication::processEvents();
}

void TProgressPanel::Finish() {
    if (!running_) return;
    bar_->setValue(bar_->maximum());
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    running_ = false;
    held_.clear();
    hide();
    if (focusBefore_ && focusBefore_->isVisible()) focusBefore_->setFocus();
    focusBefore_ = nullptr;
}

void TProgressPanel::Cancel() {
    if (!running_) return;
    cancelled_ = true;
    cancel_->setEnabled(false);
    ShowCount();
}

void TProgressPanel::Forget() {
    done_ = total_ = 0;
}

void TProgressPanel::ShowCount() {
    const QString count = QStringLiteral("%1 из %2").arg(done_).arg(total_);
    count_->setText(cancelled_ ? count + QStringLiteral(", останавливается") : count);
}

bool TProgressPanel::IsHeld(const QWidget* widget) const {
    const QWidget* window = widget->window();
    return std::any_of(held_.begin(), held_.end(),
                       [window](const QPointer<QWidget>& w) { return w == window; });
}

bool TProgressPanel::HeldWindowActive() const {
    const QWidget* active = QApplication::activeWindow();
    return !active || IsHeld(active);
}

// Input reaches a held window only through the cancel button; the shortcuts of a held window do not fire.
bool TProgressPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Shortcut) return HeldWindowActive();
    if (!IsInput(event->type()) || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!IsHeld(widget) || widget == cancel_) return false;
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        Cancel();
    return true;
}

} // namespace zelk::ui
