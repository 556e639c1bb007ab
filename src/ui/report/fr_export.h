// Exports of prepared pages: plain text and CSV (Windows-1251, CR LF), HTML pages, an HTML table, a
// spreadsheet (SpreadsheetML, the XML spreadsheet that Excel and LibreOffice Calc both open), PDF and
// PNG or JPEG page images. Every file is written through a temporary file and renamed into place.
#pragma once

#include "ui/report/fr_prepared.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <string>
#include <vector>

class QIODevice;

namespace zelk::rep {

enum class TfrExportFormat { Text, Csv, Html, HtmlTable, Spreadsheet, Pdf, Png, Jpeg };

struct TfrExportFormatInfo {
    TfrExportFormat Format;
    QString Caption;   // "Текстовый файл"
    QString Extension; // "txt"
};
// The formats in the order the preview offers them.
const std::vector<TfrExportFormatInfo>& ExportFormats();
const TfrExportFormatInfo& ExportFormatInfo(TfrExportFormat format);

// A plain-text picture of the pages: every text item at its column (2 mm a character) and line (5 mm),
// pages separated by a form feed; Windows-1251 with CR LF line ends, trailing blanks removed.
std::string ExportText(const TfrPreparedReport& report);

// The table exports hold one record per printed band that has items, with the items as fields from left
// to right: the report title, the page header of the first page (the column captions), the data rows and
// the report summary. Page footers and the page headers of later pages are left out.
struct TfrTableRecord {
    TfrBandKind Kind = TfrBandKind::MasterData;
    std::vector<QString> Fields; // line ends inside a text become blanks
};
std::vector<TfrTableRecord> TableRecords(const TfrPreparedReport& report);
// CSV with ";" between fields; a field with ";", a quote or a blank at an end is quoted ("" inside).
std::string ExportCsv(const TfrPreparedReport& report);
QByteArray ExportHtmlTable(const TfrPreparedReport& report);
QByteArray ExportSpreadsheet(const TfrPreparedReport& report);

// HTML that shows each page as a box of its size with the items placed on it.
QByteArray ExportHtml(const TfrPreparedReport& report);

// PDF of all pages to a device; false when the PDF could not be made.
bool WritePdf(const TfrPreparedReport& report, QIODevice* device);
// A page as an image at `dpi` dots per inch.
QImage PageImage(const TfrPreparedPage& page, double dpi);
// The file names of page images: `path` itself for a single page, otherwise `path` with "_1", "_2", ...
// before its extension.
std::vector<QString> PageImagePaths(const QString& path, int pageCount);

// Writes the export of `format` to `path` (page images to PageImagePaths). Throws TZelkError naming the
// file when it cannot be written; a file already there is then left as it was.
void ExportToFile(const TfrPreparedReport& report, TfrExportFormat format, const QString& path);

} // namespace zelk::rep
