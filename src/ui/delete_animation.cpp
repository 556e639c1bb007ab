// Drawing of the delete animation: the page leaves the folder on the left, arcs over and falls into the
// bin on the right, shrinking as it goes; the bin's lid lifts while the page passes over it.
#include "ui/delete_animation.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace zelk::ui {
namespace {

void DrawFolder(QPainter& p, const QRectF& r) {
    p.setPen(QPen(QColor(0x9a, 0x6c, 0x10), 1.5));
    p.setBrush(QColor(0xf2, 0xc1, 0x4e));
    QPainterPath path;
    path.moveTo(r.left(), r.top() + 6);
    path.lineTo(r.left() + r.width() * 0.4, r.top() + 6);
    path.lineTo(r.left() + r.width() * 0.5, r.top());
    path.lineTo(r.right(), r.top());
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.drawPath(path);
}

void DrawBin(QPainter& p, const QRectF& r, double lid) {
    p.setPen(QPen(QColor(0x4a, 0x5a, 0x70), 1.5));
    p.setBrush(QColor(0xc9, 0xd3, 0xdf));
    QPainterPath body;
    body.moveTo(r.left(), r.top() + 8);
    body.lineTo(r.right(), r.top() + 8);
    body.lineTo(r.right() - 4, r.bottom());
    body.lineTo(r.left() + 4, r.bottom());
    body.closeSubpath();
    p.drawPath(body);
    for (int i = 1; i < 4; ++i) {
        const double x = r.left() + r.width() * i / 4.0;
        p.drawLine(QPointF(x, r.top() + 14), QPointF(x, r.bottom() - 5));
    }
    p.save();
    p.translate(r.right(), r.top() + 6);
    p.rotate(-35 * lid);
    p.drawRect(QRectF(-r.width() - 3, -5, r.width() + 6, 5));
    p.restore();
}

void DrawPage(QPainter& p, const QPointF& centre, double scale, double angle) {
    p.save();
    p.translate(centre);
    p.rotate(angle);
    p.scale(scale, scale);
    p.setPen(QPen(QColor(0x4a, 0x5a, 0x70), 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(-10, -13, 20, 26));
    p.setPen(QPen(QColor(0x2f, 0x6f, 0xc0), 1.5));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(-6, -7 + i * 5), QPointF(6 - (i == 3 ? 5 : 0), -7 + i * 5));
    p.restore();
}

} // namespace

TDeleteAnimation::TDeleteAnimation(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("aniDelete"));
    setMinimumSize(220, 110);
    animation_.setStartValue(0.0);
    animation_.setEndValue(1.0);
    connect(&animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        progress_ = v.toDouble();
        update();
    });
    connect(&animation_, &QVariantAnimation::finished, this, &TDeleteAnimation::Finished);
}

void TDeleteAnimation::Play(int durationMs) {
    animation_.stop();
    animation_.setDuration(std::max(durationMs, 1));
    progress_ = 0;
    animation_.start();
}

void TDeleteAnimation::Stop() {
    animation_.stop();
}

void TDeleteAnimation::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = width(), h = height();
    const QRectF folder(w * 0.08, h - 40, 46, 34);
    const QRectF bin(w * 0.92 - 40, h - 50, 40, 44);
    DrawFolder(p, folder);
    const double lid = std::sin(std::min(progress_ * 1.3, 1.0) * 3.14159);
    DrawBin(p, bin, lid);
    if (progress_ >= 1.0) return;
    const double x0 = folder.center().x(), x1 = bin.center().x();
    const double x = x0 + (x1 - x0) * progress_;
    const double arc = 4 * progress_ * (1 - progress_);
    const double y = folder.top() - arc * (h - 60) + progress_ * (bin.top() - folder.top() + 8);
    DrawPage(p, QPointF(x, y), 1.0 - 0.45 * progress_, progress_ * 200);
}

} // namespace zelk::ui
