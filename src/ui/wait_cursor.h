// TWaitCursor: the hourglass while a command works. The normal cursor comes back however the command
// ends, an error included, and nested commands each put back only their own.
#pragma once

#include <QApplication>

namespace zelk::ui {

class TWaitCursor {
  public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

} // namespace zelk::ui
