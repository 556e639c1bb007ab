// TfrPageView: one prepared page on screen at a zoom, as the preview and the designer's live preview show
// it. It reports clicks on items, and in the designer lets the judge drag an item's object elsewhere.
#pragma once

#include "ui/report/fr_prepared.h"

#include <QWidget>

namespace zelk::rep {

class TfrPageView : public QWidget {
    Q_OBJECT
  public:
    explicit TfrPageView(QWidget* parent = nullptr);

    // The page shown (not owned; nullptr for none) and the found item to mark on it.
    void SetPage(const TfrPreparedPage* page, const TfrPreparedItem* highlight = nullptr);
    const TfrPreparedPage* Page() const { return page_; }
    const TfrPreparedItem* Highlight() const { return highlight_; }

    // 1 shows the page in its real size on the screen.
    void SetZoom(double zoom);
    double Zoom() const { return zoom_; }
    // Screen pixels per millimetre at zoom 1.
    double ScreenPxPerMm() const;
    // The zoom at which a page of `pageMm` fills `available` pixels.
    double ZoomToFit(double pageMm, int available) const;

    // Whether items can be dragged (the designer).
    void SetDraggable(bool draggable) { draggable_ = draggable; }
    // The item under a point of the widget, or nullptr.
    const TfrPreparedItem* ItemAt(const QPoint& pos) const;

  signals:
    void ItemClicked(int source);
    // An item was dragged by `deltaMm` millimetres and dropped.
    void ItemMoved(int source, QPointF deltaMm);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    double PxPerMm() const { return ScreenPxPerMm() * zoom_; }
    void UpdateSize();

    const TfrPreparedPage* page_ = nullptr;
    const TfrPreparedItem* highlight_ = nullptr;
    double zoom_ = 1;
    bool draggable_ = false;
    const TfrPreparedItem* dragged_ = nullptr;
    QPoint dragStart_, dragNow_;
};

} // namespace zelk::rep
