// Where the program's dialogs and secondary windows open: on the screen of the window they belong to,
// and whole - moved inside that screen's available area, and shrunk to it when larger.
#pragma once

#include <QRect>

class QScreen;
class QWidget;

namespace zelk::ui {

// The screen that holds the centre of `frame`, or the primary screen when none does.
QScreen* ScreenOf(const QRect& frame);

// `frame` moved, and first shrunk when it is larger, so that it lies within `area`.
QRect FitInto(QRect frame, const QRect& area);

// Moves (and if need be shrinks) the top-level `window` so that its frame lies whole within the available
// area of the screen of `owner` (a frame in screen coordinates, usually the main window's).
void KeepWholeOnScreen(QWidget* window, const QRect& owner);

// The frame of `window` centred over `owner`, then kept whole on the owner's screen.
void CentreOver(QWidget* window, const QRect& owner);

} // namespace zelk::ui
