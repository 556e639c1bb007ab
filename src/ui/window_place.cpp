// Placing windows whole on their owner's screen.
#include "ui/window_place.h"

#include <QApplication>
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

namespace {

QMargins FrameMargins(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

// The decorations the system puts round `window`. Before it is shown they are not known yet; they will be
// like those of the window it belongs to (or of the active one), or at least a title bar.
QMargins Decorations(const QWidget* window) {
    if (window->isVisible()) return FrameMargins(window);
    const QWidget* owner =
        window->parentWidget() ? window->parentWidget()->window() : QApplication::activeWindow();
    if (owner && owner != window && owner->isVisible()) return FrameMargins(owner);
    return {0, window->style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0};
}

} // namespace

void KeepWholeOnScreen(QWidget* window, const QRect& owner) {
    const QScreen* screen = ScreenOf(owner);
    if (!screen) return;
    const QMargins decorations = Decorations(window);
    // A window's position is its frame's, shown or not.
    const QRect frame(window->pos(), window->size().grownBy(decorations));
    const QRect fitted = FitInto(frame, screen->availableGeometry());
    if (fitted.size() != frame.size()) window->resize(fitted.size().shrunkBy(decorations));
    if (fitted.topLeft() != frame.topLeft()) window->move(fitted.topLeft());
}

void CentreOver(QWidget* window, const QRect& owner) {
    const QSize frame = window->size().grownBy(Decorations(window));
    window->move(owner.center() - QPoint(frame.width() / 2, frame.height() / 2));
    KeepWholeOnScreen(window, owner);
}

} // namespace zelk::ui
