// The page on screen.
#include "ui/report/fr_page_view.h"

#include "ui/report/fr_render.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace zelk::rep {
namespace {

// Grey border around the page, in pixels.
constexpr int kBorder = 12;
constexpr double kMinZoom = 0.1, kMaxZoom = 8;
// A press that moves less than this many pixels is a click, not a drag.
constexpr int kDragThreshold = 3;

} // namespace

TfrPageView::TfrPageView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pvPage"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(p);
    UpdateSize();
}

void TfrPageView::SetPage(const TfrPreparedPage* page, const TfrPreparedItem* highlight) {
    page_ = page;
    highlight_ = highlight;
    dragged_ = nullptr;
    UpdateSize();
    update();
}

void TfrPageView::SetZoom(double zoom) {
    zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
    UpdateSize();
    update();
}

double TfrPageView::ScreenPxPerMm() const {
    return logicalDpiX() / 25.4;
}

double TfrPageView::ZoomToFit(double pageMm, int available) const {
    if (pageMm <= 0) return 1;
    return std::clamp((available - 2.0 * kBorder) / (pageMm * ScreenPxPerMm()), kMinZoom, kMaxZoom);
}

void TfrPageView::UpdateSize() {
    const double w = page_ ? page_->Width : 210, h = page_ ? page_->Height : 297;
    setFixedSize(static_cast<int>(std::ceil(w * PxPerMm())) + 2 * kBorder,
                 static_cast<int>(std::ceil(h * PxPerMm())) + 2 * kBorder);
}

const TfrPreparedItem* TfrPageView::ItemAt(const QPoint& pos) const {
    if (!page_) return nullptr;
    const QPointF mm((pos.x() - kBorder) / PxPerMm(), (pos.y() - kBorder) / PxPerMm());
    // The last item drawn lies on top.
    for (auto band = page_->Bands.rbegin(); band != page_->Bands.rend(); ++band)
        for (auto item = band->Items.rbegin(); item != band->Items.rend(); ++item)
            if (item->Rect.contains(mm)) return &*item;
    return nullptr;
}

void TfrPageView::paintEvent(QPaintEvent*) {
    if (!page_) return;
    QPainter painter(this);
    painter.fillRect(QRectF(kBorder + 3, kBorder + 3, page_->Width * PxPerMm(), page_->Height * PxPerMm()),
                     QColor(60, 60, 60));
    painter.translate(kBorder, kBorder);
    PaintPage(painter, *page_, PxPerMm(), highlight_);
    if (dragged_) {
        const QPointF d = dragNow_ - dragStart_;
        const QRectF r(dragged_->Rect.left() * PxPerMm() + d.x(), dragged_->Rect.top() * PxPerMm() + d.y(),
                       dragged_->Rect.width() * PxPerMm(), dragged_->Rect.height() * PxPerMm());
        painter.setPen(QPen(QColor(0, 90, 200), 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r);
    }
}

void TfrPageView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const TfrPreparedItem* item = ItemAt(event->position().toPoint());
    if (!item) return;
    emit ItemClicked(item->Source);
    if (!draggable_) return;
    dragged_ = item;
    dragStart_ = dragNow_ = event->position().toPoint();
}

void TfrPageView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragged_) return;
    dragNow_ = event->position().toPoint();
    update();
}

void TfrPageView::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragged_) return;
    const QPoint d = event->position().toPoint() - dragStart_;
    const int source = dragged_->Source;
    dragged_ = nullptr;
    update();
    if (d.manhattanLength() >= kDragThreshold)
        emit ItemMoved(source, QPointF(d.x() / PxPerMm(), d.y() / PxPerMm()));
}

} // namespace zelk::rep
