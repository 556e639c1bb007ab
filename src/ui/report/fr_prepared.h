// TfrPreparedReport: the pages a preparation produced - every band printed, with its text items placed on
// the page and their expressions already replaced by values. The preview, printing and every export work
// from it; it is also saved to and loaded from a prepared-report file of its own (UTF-8 XML).
#pragma once

#include "ui/report/fr_layout.h"

#include <QRectF>
#include <QString>

#include <vector>

namespace zelk::rep {

struct TfrPreparedItem {
    QRectF Rect; // millimetres from the page's top left corner
    QString Text;
    TfrTextStyle Style;
    int Source = -1; // index of the layout object it came from (TfrSourceIndex), -1 when unknown

    bool operator==(const TfrPreparedItem&) const = default;
};

// One printing of a band.
struct TfrPreparedBand {
    TfrBandKind Kind = TfrBandKind::MasterData;
    double Top = 0, Height = 0; // millimetres from the page's top
    std::vector<TfrPreparedItem> Items;

    bool operator==(const TfrPreparedBand&) const = default;
};

struct TfrPreparedPage {
    double Width = 210, Height = 297;
    std::vector<TfrPreparedBand> Bands; // in printing order, top to bottom

    bool operator==(const TfrPreparedPage&) const = default;
};

struct TfrPreparedReport {
    std::vector<TfrPreparedPage> Pages;

    bool operator==(const TfrPreparedReport&) const = default;
    int PageCount() const { return static_cast<int>(Pages.size()); }
};

// The band and object of a layout as one number, so that prepared items point back at their objects.
// The object number kBandSource stands for the band itself (the designer's band areas).
inline constexpr int kBandSource = 9999;
inline int TfrSourceIndex(int band, int object) {
    return band * 10000 + object;
}
inline int TfrSourceBand(int source) {
    return source < 0 ? -1 : source / 10000;
}
inline int TfrSourceObject(int source) {
    return source < 0 ? -1 : source % 10000;
}

QByteArray PreparedToXml(const TfrPreparedReport& report);
// False (with `error` set and `report` untouched) when `xml` is no prepared report.
bool PreparedFromXml(const QByteArray& xml, TfrPreparedReport& report, QString& error);

} // namespace zelk::rep
