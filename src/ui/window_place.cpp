// Placing windows whole on their owner's screen.
#include "ui/window_place.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace zelk::ui {

QScreen* ScreenOf(const QRect& frame) {
    if (QScreen* screen = QGuiApplication::screenAt(frame.center())) return screen;
    return QGuiApplication::primaryScreen();
}

QRect FitInto(QRect frame, const QRect& area) {
    frame.setSize(frame.size().boundedTo(area.size()));
    frame.moveLeft(std::clamp(frame.left(), area.left(), area.right() + 1 - frame.width()));
    frame.moveTop(std::clamp(frame.top(), area.top(), area.bottom() + 1 - frame.height()));
    return frame;
}

// The frame of a window not yet shown is its bare geometry: the title bar comes when the system shows
// it, so room for one is kept.
void KeepWholeOnScreen(QWidget* window, const QRect& owner) {
    const QScreen* screen = ScreenOf(owner);
    if (!screen) return;
    QRect frame = window->frameGeometry();
    if (!window->isVisible() && frame.size() == window->size())
        frame.setHeight(frame.height() + window->style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const QRect fitted = FitInto(frame, screen->availableGeometry());
    const QSize border = frame.size() - window->size();
    if (fitted.size() != frame.size()) window->resize(fitted.size() - border);
    if (fitted.topLeft() != frame.topLeft()) window->move(fitted.topLeft());
}

void CentreOver(QWidget* window, const QRect& owner) {
    const QSize frame = window->frameGeometry().size();
    window->move(owner.center() - QPoint(frame.width() / 2, frame.height() / 2));
    KeepWholeOnScreen(window, owner);
}

} // namespace zelk::ui
