// Drawing of prepared pages on any paint device - the preview, the printer, PDF and page images - at a
// given number of device pixels per millimetre.
#pragma once

#include "ui/report/fr_prepared.h"

#include <QFont>

class QPainter;

namespace zelk::rep {

// Paints `page` with its top left corner at the painter's origin: white paper, then every item (fill,
// text clipped to its box, frame). `highlight`, when given, is an item of the page drawn as found.
void PaintPage(QPainter& painter, const TfrPreparedPage& page, double pxPerMm,
               const TfrPreparedItem* highlight = nullptr);

// The font of a style for a device whose logical resolution is `deviceDpi`, sized for `pxPerMm`.
QFont StyleFont(const TfrTextStyle& style, double pxPerMm, double deviceDpi);

} // namespace zelk::rep
