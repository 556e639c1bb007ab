// The prepared-report file: <preparedReport> with <page> elements, each holding its printed <band>s and
// their <item>s, styles written as in the layout file.
#include "ui/report/fr_prepared.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>

namespace zelk::rep {
namespace {

const QString kRoot = QStringLiteral("preparedReport");

double ReadNumber(const QXmlStreamAttributes& a, const char* name, double def, QString& error) {
    const QStringView v = a.value(QLatin1String(name));
    if (v.isNull()) return def;
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (ok && std::isfinite(d)) return d;
    if (error.isEmpty()) error = QStringLiteral("неверное значение атрибута %1").arg(QLatin1String(name));
    return def;
}

// An attribute that holds a whole number, such as an item's source (any number beyond int would be
// undefined to convert).
int ReadInteger(const QXmlStreamAttributes& a, const char* name, int def, QString& error) {
    const QStringView v = a.value(QLatin1String(name));
    if (v.isNull()) return def;
    bool ok = false;
    const int n = v.toInt(&ok);
    if (ok) return n;
    if (error.isEmpty()) error = QStringLiteral("неверное значение атрибута %1").arg(QLatin1String(name));
    return def;
}

void WriteItem(QXmlStreamWriter& w, const TfrPreparedItem& item) {
    w.writeStartElement(QStringLiteral("item"));
    w.writeAttribute(QStringLiteral("left"), LayoutNumber(item.Rect.left()));
    w.writeAttribute(QStringLiteral("top"), LayoutNumber(item.Rect.top()));
    w.writeAttribute(QStringLiteral("width"), LayoutNumber(item.Rect.width()));
    w.writeAttribute(QStringLiteral("height"), LayoutNumber(item.Rect.height()));
    if (item.Source >= 0) w.writeAttribute(QStringLiteral("source"), QString::number(item.Source));
    WriteStyleAttributes(w, item.Style);
    w.writeCharacters(item.Text);
    w.writeEndElement();
}

TfrPreparedItem ReadItem(QXmlStreamReader& r, QString& error) {
    const QXmlStreamAttributes a = r.attributes();
    TfrPreparedItem item;
    item.Rect = QRectF(ReadNumber(a, "left", 0, error), ReadNumber(a, "top", 0, error),
                       ReadNumber(a, "width", 0, error), ReadNumber(a, "height", 0, error));
    item.Source = ReadInteger(a, "source", -1, error);
    item.Style = ReadStyleAttributes(a, error);
    item.Text = r.readElementText(QXmlStreamReader::IncludeChildElements);
    return item;
}

TfrPreparedBand ReadBand(QXmlStreamReader& r, QString& error) {
    const QXmlStreamAttributes a = r.attributes();
    TfrPreparedBand band;
    if (const auto kind = BandKindFromName(a.value(QStringLiteral("kind")).toString()))
        band.Kind = *kind;
    else if (error.isEmpty())
        error = QStringLiteral("неизвестный вид полосы");
    band.Top = ReadNumber(a, "top", 0, error);
    band.Height = ReadNumber(a, "height", 0, error);
    while (r.readNextStartElement()) {
        if (r.name() == u"item")
            band.Items.push_back(ReadItem(r, error));
        else
            r.skipCurrentElement();
    }
    return band;
}

TfrPreparedPage ReadPage(QXmlStreamReader& r, QString& error) {
    const QXmlStreamAttributes a = r.attributes();
    TfrPreparedPage page;
    page.Width = ReadNumber(a, "width", page.Width, error);
    page.Height = ReadNumber(a, "height", page.Height, error);
    if (page.Width < kMinPageSide || page.Width > kMaxPageSide || page.Height < kMinPageSide ||
        page.Height > kMaxPageSide)
        error = QStringLiteral("неверный размер страницы");
    while (r.readNextStartElement()) {
        if (r.name() == u"band")
            page.Bands.push_back(ReadBand(r, error));
        else
            r.skipCurrentElement();
    }
    return page;
}

} // namespace

QByteArray PreparedToXml(const TfrPreparedReport& report) {
    QByteArray xml;
    QXmlStreamWriter w(&xml);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(1);
    w.writeStartDocument();
    w.writeStartElement(kRoot);
    w.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    for (const TfrPreparedPage& page : report.Pages) {
        w.writeStartElement(QStringLiteral("page"));
        w.writeAttribute(QStringLiteral("width"), LayoutNumber(page.Width));
        w.writeAttribute(QStringLiteral("height"), LayoutNumber(page.Height));
        for (const TfrPreparedBand& band : page.Bands) {
            w.writeStartElement(QStringLiteral("band"));
            w.writeAttribute(QStringLiteral("kind"), BandKindName(band.Kind));
            w.writeAttribute(QStringLiteral("top"), LayoutNumber(band.Top));
            w.writeAttribute(QStringLiteral("height"), LayoutNumber(band.Height));
            for (const TfrPreparedItem& item : band.Items)
                WriteItem(w, item);
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    return xml;
}

bool PreparedFromXml(const QByteArray& xml, TfrPreparedReport& report, QString& error) {
    error.clear();
    QXmlStreamReader r(xml);
    if (!r.readNextStartElement() || r.name() != kRoot) {
        error = r.hasError() ? r.errorString() : QStringLiteral("это не файл подготовленного отчёта");
        return false;
    }
    TfrPreparedReport read;
    while (error.isEmpty() && r.readNextStartElement()) {
        if (r.name() == u"page")
            read.Pages.push_back(ReadPage(r, error));
        else
            r.skipCurrentElement();
    }
    if (error.isEmpty() && r.hasError())
        error = QStringLiteral("строка %1: %2").arg(r.lineNumber()).arg(r.errorString());
    if (!error.isEmpty()) return false;
    report = std::move(read);
    return true;
}

} // namespace zelk::rep
