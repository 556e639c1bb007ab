// The exports of prepared pages.
#include "ui/report/fr_export.h"

#include "logs/error.h"
#include "logs/text.h"
#include "ui/qt_text.h"
#include "ui/report/fr_render.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>

namespace zelk::rep {
namespace {

constexpr double kMmPerColumn = 2.0;
constexpr double kMmPerLine = 5.0;
constexpr double kPdfDpi = 300;
constexpr double kImageDpi = 150;
const char* const kCRLF = "\r\n";

// Items of a band in reading order: by line, then from left to right.
std::vector<const TfrPreparedItem*> ReadingOrder(const TfrPreparedBand& band) {
    std::vector<const TfrPreparedItem*> items;
    for (const TfrPreparedItem& item : band.Items)
        items.push_back(&item);
    std::stable_sort(items.begin(), items.end(), [&band](const TfrPreparedItem* a, const TfrPreparedItem* b) {
        const long la = std::lround((a->Rect.top() - band.Top) / kMmPerLine);
        const long lb = std::lround((b->Rect.top() - band.Top) / kMmPerLine);
        return la != lb ? la < lb : a->Rect.left() < b->Rect.left();
    });
    return items;
}

// Breaks a line into pieces of at most `width` characters, at blanks where it can.
QStringList WrapLine(const QString& line, int width) {
    QStringList pieces;
    QString rest = line;
    while (rest.size() > width) {
        qsizetype cut = rest.lastIndexOf(u' ', width);
        if (cut <= 0) cut = width;
        pieces << rest.left(cut).trimmed();
        rest = rest.mid(cut).trimmed();
    }
    pieces << rest;
    return pieces;
}

// Writes `text` into `line` at its column; text already on the line is never overwritten, a later
// item moves right instead, one blank after it.
void PutText(QString& line, int col, int width, TfrHAlign align, const QString& text) {
    int start = col;
    const int len = static_cast<int>(text.size());
    if (len < width) {
        if (align == TfrHAlign::Center) start += (width - len) / 2;
        if (align == TfrHAlign::Right) start += width - len;
    }
    const int used = static_cast<int>(line.size());
    if (used > 0 && start <= used) start = std::max(start, used + 1);
    if (start > used) line += QString(start - used, u' ');
    line += text;
}

void AppendBandText(std::string& out, const TfrPreparedBand& band, double minLeft) {
    std::vector<QString> lines;
    for (const TfrPreparedItem* item : ReadingOrder(band)) {
        if (item->Text.isEmpty()) continue;
        const int col = static_cast<int>(std::lround((item->Rect.left() - minLeft) / kMmPerColumn));
        const int width = std::max(1, static_cast<int>(std::lround(item->Rect.width() / kMmPerColumn)));
        const int first =
            std::max(0, static_cast<int>(std::lround((item->Rect.top() - band.Top) / kMmPerLine)));
        QStringList textLines;
        for (const QString& l : item->Text.split(u'\n'))
            textLines << (item->Style.WordWrap ? WrapLine(l, width) : QStringList{l});
        for (qsizetype k = 0; k < textLines.size(); ++k) {
            const std::size_t index = static_cast<std::size_t>(first + k);
            if (lines.size() <= index) lines.resize(index + 1);
            PutText(lines[index], col, width, item->Style.HAlign, textLines[k]);
        }
    }
    for (const QString& line : lines) {
        out += TrimRight(ui::Cp(line));
        out += kCRLF;
    }
}

QString CsvField(const QString& field) {
    const bool quote =
        field.contains(u';') || field.contains(u'"') || field.startsWith(u' ') || field.endsWith(u' ');
    if (!quote) return field;
    QString quoted = field;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

// A cell text that a spreadsheet should take as a number: an integer or a decimal with a point, without
// leading zeros and of at most 15 digits, so that nothing is lost in the conversion.
bool IsPlainNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^-?(0|[1-9][0-9]*)(\\.[0-9]+)?$"));
    if (!number.match(text).hasMatch()) return false;
    return std::count_if(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }) <= 15;
}

QString Mm(double v) {
    return QString::number(v, 'f', 2) + QStringLiteral("mm");
}

QString ItemCss(const TfrPreparedItem& item) {
    const TfrTextStyle& s = item.Style;
    QString css =
        QStringLiteral("left:%1;top:%2;width:%3;height:%4;")
            .arg(Mm(item.Rect.left()), Mm(item.Rect.top()), Mm(item.Rect.width()), Mm(item.Rect.height()));
    css += QStringLiteral("font-family:'%1';font-size:%2pt;").arg(s.FontName.toHtmlEscaped()).arg(s.FontSize);
    if (s.Bold) css += QStringLiteral("font-weight:bold;");
    if (s.Italic) css += QStringLiteral("font-style:italic;");
    if (s.Underline) css += QStringLiteral("text-decoration:underline;");
    css += s.HAlign == TfrHAlign::Center  ? QStringLiteral("text-align:center;")
           : s.HAlign == TfrHAlign::Right ? QStringLiteral("text-align:right;")
                                          : QString();
    css += s.VAlign == TfrVAlign::Center   ? QStringLiteral("justify-content:center;")
           : s.VAlign == TfrVAlign::Bottom ? QStringLiteral("justify-content:flex-end;")
                                           : QString();
    if (s.WordWrap) css += QStringLiteral("white-space:pre-wrap;");
    if (s.TextColor != Qt::black) css += QStringLiteral("color:%1;").arg(s.TextColor.name());
    if (s.FillColor.isValid()) css += QStringLiteral("background:%1;").arg(s.FillColor.name());
    const QString border = QStringLiteral("%1 solid #000;").arg(Mm(s.FrameWidth));
    if (s.Frame & frLeft) css += QStringLiteral("border-left:") + border;
    if (s.Frame & frTop) css += QStringLiteral("border-top:") + border;
    if (s.Frame & frRight) css += QStringLiteral("border-right:") + border;
    if (s.Frame & frBottom) css += QStringLiteral("border-bottom:") + border;
    return css;
}

QByteArray HtmlHead(const QString& style) {
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"
                          "<title>Отчёт</title>\n<style>\n%1</style>\n</head>\n<body>\n")
        .arg(style)
        .toUtf8();
}

[[noreturn]] void ThrowWriteError(const QString& path, const QString& reason) {
    throw TZelkError("Не удалось записать файл "_cp + ui::Cp(path) + ": " + ui::Cp(reason));
}

// Writes through a temporary file beside `path` that replaces it only when everything was written.
template <class F> void WriteAtomically(const QString& path, F&& fill) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) ThrowWriteError(path, file.errorString());
    if (!fill(file)) {
        file.cancelWriting();
        ThrowWriteError(path, file.errorString());
    }
    if (!file.commit()) ThrowWriteError(path, file.errorString());
}

bool WriteAll(QIODevice& device, const QByteArray& bytes) {
    return device.write(bytes) == bytes.size();
}

} // namespace

const std::vector<TfrExportFormatInfo>& ExportFormats() {
    static const std::vector<TfrExportFormatInfo> formats = {
        {TfrExportFormat::Pdf, QStringLiteral("Документ PDF"), QStringLiteral("pdf")},
        {TfrExportFormat::Text, QStringLiteral("Текстовый файл"), QStringLiteral("txt")},
        {TfrExportFormat::Html, QStringLiteral("Страницы HTML"), QStringLiteral("html")},
        {TfrExportFormat::HtmlTable, QStringLiteral("Таблица HTML"), QStringLiteral("htm")},
        {TfrExportFormat::Csv, QStringLiteral("Таблица CSV (разделитель \";\")"), QStringLiteral("csv")},
        {TfrExportFormat::Spreadsheet, QStringLiteral("Электронная таблица XML (Excel, Calc)"),
         QStringLiteral("xml")},
        {TfrExportFormat::Png, QStringLiteral("Рисунки страниц PNG"), QStringLiteral("png")},
        {TfrExportFormat::Jpeg, QStringLiteral("Рисунки страниц JPEG"), QStringLiteral("jpg")},
    };
    return formats;
}

const TfrExportFormatInfo& ExportFormatInfo(TfrExportFormat format) {
    const auto& formats = ExportFormats();
    return *std::find_if(formats.begin(), formats.end(),
                         [format](const auto& f) { return f.Format == format; });
}

std::string ExportText(const TfrPreparedReport& report) {
    double minLeft = 0;
    bool any = false;
    for (const TfrPreparedPage& page : report.Pages)
        for (const TfrPreparedBand& band : page.Bands)
            for (const TfrPreparedItem& item : band.Items) {
                minLeft = any ? std::min(minLeft, item.Rect.left()) : item.Rect.left();
                any = true;
            }
    std::string out;
    for (std::size_t p = 0; p < report.Pages.size(); ++p) {
        if (p > 0) {
            out += '\f';
            out += kCRLF;
        }
        for (const TfrPreparedBand& band : report.Pages[p].Bands)
            AppendBandText(out, band, minLeft);
    }
    return out;
}

std::vector<TfrTableRecord> TableRecords(const TfrPreparedReport& report) {
    std::vector<TfrTableRecord> records;
    bool headerTaken = false;
    for (const TfrPreparedPage& page : report.Pages) {
        for (const TfrPreparedBand& band : page.Bands) {
            if (band.Kind == TfrBandKind::PageFooter || band.Items.empty()) continue;
            if (band.Kind == TfrBandKind::PageHeader) {
                if (headerTaken) continue;
                headerTaken = true;
            }
            TfrTableRecord record{band.Kind, {}};
            for (const TfrPreparedItem* item : ReadingOrder(band))
                record.Fields.push_back(QString(item->Text).replace(u'\n', u' '));
            records.push_back(std::move(record));
        }
    }
    return records;
}

std::string ExportCsv(const TfrPreparedReport& report) {
    std::string out;
    for (const TfrTableRecord& record : TableRecords(report)) {
        QStringList fields;
        for (const QString& f : record.Fields)
            fields << CsvField(f);
        out += ui::Cp(fields.join(u';'));
        out += kCRLF;
    }
    return out;
}

QByteArray ExportHtmlTable(const TfrPreparedReport& report) {
    QByteArray html =
        HtmlHead(QStringLiteral("table{border-collapse:collapse;font-family:Arial,sans-serif;"
                                "font-size:10pt}\ntd,th{border:1px solid #888;padding:2px 6px}\n"
                                "th{background:#eee}\n"));
    html += "<table>\n";
    for (const TfrTableRecord& record : TableRecords(report)) {
        const bool head = record.Kind != TfrBandKind::MasterData;
        html += "<tr>";
        for (const QString& f : record.Fields)
            html += (head ? QStringLiteral("<th>%1</th>") : QStringLiteral("<td>%1</td>"))
                        .arg(f.toHtmlEscaped())
                        .toUtf8();
        html += "</tr>\n";
    }
    html += "</table>\n</body>\n</html>\n";
    return html;
}

QByteArray ExportSpreadsheet(const TfrPreparedReport& report) {
    QByteArray xml;
    QXmlStreamWriter w(&xml);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(1);
    w.writeStartDocument();
    w.writeProcessingInstruction(QStringLiteral("mso-application"), QStringLiteral("progid=\"Excel.Sheet\""));
    // Elements in the default namespace and attributes with the "ss" prefix, as spreadsheet programs write
    // it.
    const QString ns = QStringLiteral("urn:schemas-microsoft-com:office:spreadsheet");
    w.writeStartElement(QStringLiteral("Workbook"));
    w.writeAttribute(QStringLiteral("xmlns"), ns);
    w.writeAttribute(QStringLiteral("xmlns:ss"), ns);
    w.writeStartElement(QStringLiteral("Styles"));
    w.writeStartElement(QStringLiteral("Style"));
    w.writeAttribute(QStringLiteral("ss:ID"), QStringLiteral("head"));
    w.writeEmptyElement(QStringLiteral("Font"));
    w.writeAttribute(QStringLiteral("ss:Bold"), QStringLiteral("1"));
    w.writeEndElement();
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("Worksheet"));
    w.writeAttribute(QStringLiteral("ss:Name"), QStringLiteral("Отчёт"));
    w.writeStartElement(QStringLiteral("Table"));
    for (const TfrTableRecord& record : TableRecords(report)) {
        w.writeStartElement(QStringLiteral("Row"));
        for (const QString& f : record.Fields) {
            w.writeStartElement(QStringLiteral("Cell"));
            if (record.Kind != TfrBandKind::MasterData)
                w.writeAttribute(QStringLiteral("ss:StyleID"), QStringLiteral("head"));
            w.writeStartElement(QStringLiteral("Data"));
            w.writeAttribute(QStringLiteral("ss:Type"),
                             IsPlainNumber(f) ? QStringLiteral("Number") : QStringLiteral("String"));
            w.writeCharacters(f);
            w.writeEndElement();
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndDocument();
    return xml;
}

QByteArray ExportHtml(const TfrPreparedReport& report) {
    QByteArray html = HtmlHead(QStringLiteral(
        "body{background:#888;margin:0;padding:8mm 0}\n"
        ".page{position:relative;background:#fff;margin:0 auto 8mm;overflow:hidden}\n"
        ".item{position:absolute;display:flex;flex-direction:column;overflow:hidden;box-sizing:border-box;"
        "padding:0 0.5mm;white-space:pre;line-height:1.15}\n"));
    for (const TfrPreparedPage& page : report.Pages) {
        html += QStringLiteral("<div class=\"page\" style=\"width:%1;height:%2\">\n")
                    .arg(Mm(page.Width), Mm(page.Height))
                    .toUtf8();
        for (const TfrPreparedBand& band : page.Bands)
            for (const TfrPreparedItem& item : band.Items)
                html += QStringLiteral("<div class=\"item\" style=\"%1\"><div>%2</div></div>\n")
                            .arg(ItemCss(item), item.Text.toHtmlEscaped())
                            .toUtf8();
        html += "</div>\n";
    }
    html += "</body>\n</html>\n";
    return html;
}

bool WritePdf(const TfrPreparedReport& report, QIODevice* device) {
    QPdfWriter writer(device);
    writer.setCreator(QStringLiteral("Zelkon"));
    writer.setResolution(static_cast<int>(kPdfDpi));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    auto sizeOf = [](const TfrPreparedPage& page) {
        return QPageSize(QSizeF(page.Width, page.Height), QPageSize::Millimeter, QString(),
                         QPageSize::ExactMatch);
    };
    if (!report.Pages.empty()) writer.setPageSize(sizeOf(report.Pages.front()));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    for (std::size_t i = 0; i < report.Pages.size(); ++i) {
        if (i > 0) {
            writer.setPageSize(sizeOf(report.Pages[i]));
            if (!writer.newPage()) return false;
        }
        PaintPage(painter, report.Pages[i], kPdfDpi / 25.4);
    }
    return painter.end();
}

QImage PageImage(const TfrPreparedPage& page, double dpi) {
    const double pxPerMm = dpi / 25.4;
    QImage image(static_cast<int>(std::ceil(page.Width * pxPerMm)),
                 static_cast<int>(std::ceil(page.Height * pxPerMm)), QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintPage(painter, page, pxPerMm);
    return image;
}

std::vector<QString> PageImagePaths(const QString& path, int pageCount) {
    if (pageCount == 1) return {path};
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    const QString base = suffix.isEmpty() ? path : path.left(path.size() - suffix.size() - 1);
    std::vector<QString> paths;
    for (int i = 1; i <= pageCount; ++i)
        paths.push_back(suffix.isEmpty() ? QStringLiteral("%1_%2").arg(base).arg(i)
                                         : QStringLiteral("%1_%2.%3").arg(base).arg(i).arg(suffix));
    return paths;
}

void ExportToFile(const TfrPreparedReport& report, TfrExportFormat format, const QString& path) {
    auto bytes = [&](const QByteArray& data) {
        WriteAtomically(path, [&](QIODevice& f) { return WriteAll(f, data); });
    };
    switch (format) {
    case TfrExportFormat::Text:
        return bytes(QByteArray::fromStdString(ExportText(report)));
    case TfrExportFormat::Csv:
        return bytes(QByteArray::fromStdString(ExportCsv(report)));
    case TfrExportFormat::Html:
        return bytes(ExportHtml(report));
    case TfrExportFormat::HtmlTable:
        return bytes(ExportHtmlTable(report));
    case TfrExportFormat::Spreadsheet:
        return bytes(ExportSpreadsheet(report));
    case TfrExportFormat::Pdf:
        return WriteAtomically(path, [&](QIODevice& f) { return WritePdf(report, &f); });
    case TfrExportFormat::Png:
    case TfrExportFormat::Jpeg: {
        const bool png = format == TfrExportFormat::Png;
        const char* kind = png ? "PNG" : "JPEG";
        const int quality = png ? -1 : 90; // PNG at its usual compression, JPEG sharp enough for text
        const auto paths = PageImagePaths(path, report.PageCount());
        for (int i = 0; i < report.PageCount(); ++i)
            WriteAtomically(paths[i], [&](QIODevice& f) {
                return PageImage(report.Pages[i], kImageDpi).save(&f, kind, quality);
            });
        return;
    }
    }
}

} // namespace zelk::rep
