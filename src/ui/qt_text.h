// Conversion between the core's Windows-1251 texts and the QStrings of the screen, done only at the
// window's edge.
#pragma once

#include "logs/text.h"

#include <QString>

#include <string>
#include <string_view>

namespace zelk::ui {

// Windows-1251 bytes of the core as a QString.
inline QString Qs(std::string_view cp1251) {
    return QString::fromStdString(ToUtf8(cp1251));
}

// A QString of the screen as Windows-1251 bytes for the core.
inline std::string Cp(const QString& text) {
    return FromUtf8(text.toStdString());
}

} // namespace zelk::ui
