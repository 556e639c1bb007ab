// Painting of prepared pages.
#include "ui/report/fr_render.h"

#include <QPaintDevice>
#include <QPainter>

namespace zelk::rep {
namespace {

// Space between a box's edge and its text, in millimetres, so that text never touches a frame.
constexpr double kTextPadding = 0.5;

const QColor kHighlight(255, 230, 80);

int AlignmentFlags(const TfrTextStyle& s) {
    int flags = s.HAlign == TfrHAlign::Center  ? Qt::AlignHCenter
                : s.HAlign == TfrHAlign::Right ? Qt::AlignRight
                                               : Qt::AlignLeft;
    flags |= s.VAlign == TfrVAlign::Center   ? Qt::AlignVCenter
             : s.VAlign == TfrVAlign::Bottom ? Qt::AlignBottom
                                             : Qt::AlignTop;
    if (s.WordWrap) flags |= Qt::TextWordWrap;
    return flags;
}

void PaintFrame(QPainter& painter, const QRectF& r, const TfrTextStyle& s, double pxPerMm) {
    if (s.Frame == frNone) return;
    QPen pen(Qt::black);
    pen.setWidthF(std::max(1.0, s.FrameWidth * pxPerMm));
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    if (s.Frame & frLeft) painter.drawLine(r.topLeft(), r.bottomLeft());
    if (s.Frame & frTop) painter.drawLine(r.topLeft(), r.topRight());
    if (s.Frame & frRight) painter.drawLine(r.topRight(), r.bottomRight());
    if (s.Frame & frBottom) painter.drawLine(r.bottomLeft(), r.bottomRight());
}

void PaintItem(QPainter& painter, const TfrPreparedItem& item, double pxPerMm, double dpi, bool highlighted) {
    const QRectF r(item.Rect.left() * pxPerMm, item.Rect.top() * pxPerMm, item.Rect.width() * pxPerMm,
                   item.Rect.height() * pxPerMm);
    const TfrTextStyle& s = item.Style;
    if (highlighted)
        painter.fillRect(r, kHighlight);
    else if (s.FillColor.isValid())
        painter.fillRect(r, s.FillColor);
    if (!item.Text.isEmpty()) {
        painter.save();
        painter.setClipRect(r, Qt::IntersectClip);
        painter.setFont(StyleFont(s, pxPerMm, dpi));
        painter.setPen(s.TextColor);
        const double pad = kTextPadding * pxPerMm;
        painter.drawText(r.adjusted(pad, 0, -pad, 0), AlignmentFlags(s), item.Text);
        painter.restore();
    }
    PaintFrame(painter, r, s, pxPerMm);
}

} // namespace

QFont StyleFont(const TfrTextStyle& style, double pxPerMm, double deviceDpi) {
    QFont font(style.FontName);
    // A point is 25.4 / 72 mm; the device turns points into pixels by its own resolution.
    font.setPointSizeF(std::max(0.5, style.FontSize * 25.4 / 72.0 * pxPerMm * 72.0 / deviceDpi));
    font.setBold(style.Bold);
    font.setItalic(style.Italic);
    font.setUnderline(style.Underline);
    return font;
}

void PaintPage(QPainter& painter, const TfrPreparedPage& page, double pxPerMm,
               const TfrPreparedItem* highlight) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(QRectF(0, 0, page.Width * pxPerMm, page.Height * pxPerMm), Qt::white);
    const double dpi = painter.device() ? painter.device()->logicalDpiY() : 96.0;
    for (const TfrPreparedBand& band : page.Bands)
        for (const TfrPreparedItem& item : band.Items)
            PaintItem(painter, item, pxPerMm, dpi, &item == highlight);
    painter.restore();
}

} // namespace zelk::rep
