// The layout model and its XML file: <reportLayout> with one <page>, and <band> elements holding
// <text> elements. Unknown elements and attributes are skipped so that newer files still open.
#include "ui/report/fr_layout.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <array>
#include <cmath>

namespace zelk::rep {
namespace {

constexpr int kFormatVersion = 1;
const QString kRoot = QStringLiteral("reportLayout");

struct TKindName {
    TfrBandKind Kind;
    const char* Name;
    const char* Caption;
};
// Captions in UTF-8, as the designer shows them.
const std::array<TKindName, 5> kKinds = {{
    {TfrBandKind::ReportTitle, "reportTitle", "Заголовок отчёта"},
    {TfrBandKind::PageHeader, "pageHeader", "Заголовок страницы"},
    {TfrBandKind::MasterData, "masterData", "Данные"},
    {TfrBandKind::ReportSummary, "reportSummary", "Итог отчёта"},
    {TfrBandKind::PageFooter, "pageFooter", "Подвал страницы"},
}};

const std::array<std::pair<int, const char*>, 4> kSides = {
    {{frLeft, "left"}, {frTop, "top"}, {frRight, "right"}, {frBottom, "bottom"}}};

QString Number(double v) {
    return LayoutNumber(v);
}

QString HAlignName(TfrHAlign a) {
    return a == TfrHAlign::Center  ? QStringLiteral("center")
           : a == TfrHAlign::Right ? QStringLiteral("right")
                                   : QStringLiteral("left");
}

QString VAlignName(TfrVAlign a) {
    return a == TfrVAlign::Center   ? QStringLiteral("center")
           : a == TfrVAlign::Bottom ? QStringLiteral("bottom")
                                    : QStringLiteral("top");
}

QString FrameText(int frame) {
    if ((frame & frAll) == frAll) return QStringLiteral("all");
    QStringList sides;
    for (const auto& [bit, name] : kSides)
        if (frame & bit) sides << QString::fromLatin1(name);
    return sides.join(u' ');
}

// "#rrggbb", or "#aarrggbb" for a colour that is not opaque, so that what was read is written back.
QString ColorText(const QColor& c) {
    return c.alpha() == 255 ? c.name() : c.name(QColor::HexArgb);
}

} // namespace

void WriteStyleAttributes(QXmlStreamWriter& w, const TfrTextStyle& s) {
    const TfrTextStyle d;
    if (s.FontName != d.FontName) w.writeAttribute(QStringLiteral("font"), s.FontName);
    if (s.FontSize != d.FontSize) w.writeAttribute(QStringLiteral("size"), Number(s.FontSize));
    if (s.Bold) w.writeAttribute(QStringLiteral("bold"), QStringLiteral("true"));
    if (s.Italic) w.writeAttribute(QStringLiteral("italic"), QStringLiteral("true"));
    if (s.Underline) w.writeAttribute(QStringLiteral("underline"), QStringLiteral("true"));
    if (s.HAlign != d.HAlign) w.writeAttribute(QStringLiteral("align"), HAlignName(s.HAlign));
    if (s.VAlign != d.VAlign) w.writeAttribute(QStringLiteral("valign"), VAlignName(s.VAlign));
    if (s.WordWrap) w.writeAttribute(QStringLiteral("wrap"), QStringLiteral("true"));
    if (s.Frame != frNone) w.writeAttribute(QStringLiteral("frame"), FrameText(s.Frame));
    if (s.FrameWidth != d.FrameWidth) w.writeAttribute(QStringLiteral("frameWidth"), Number(s.FrameWidth));
    if (s.TextColor != d.TextColor) w.writeAttribute(QStringLiteral("color"), ColorText(s.TextColor));
    if (s.FillColor.isValid()) w.writeAttribute(QStringLiteral("fill"), ColorText(s.FillColor));
}

namespace {

// Reads attributes, collecting the first fault so that one message names it.
class TAttrReader {
  public:
    TAttrReader(const QXmlStreamAttributes& a, QString& error) : a_(a), error_(error) {}

    double Number(const char* name, double def) {
        const QStringView v = a_.value(QLatin1String(name));
        if (v.isNull()) return def;
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok || !std::isfinite(d)) Fail(name, v);
        return ok && std::isfinite(d) ? d : def;
    }
    bool Flag(const char* name, bool def) {
        const QStringView v = a_.value(QLatin1String(name));
        if (v.isNull()) return def;
        if (v == u"true" || v == u"1") return true;
        if (v == u"false" || v == u"0") return false;
        Fail(name, v);
        return def;
    }
    QString Text(const char* name, const QString& def = {}) {
        return a_.hasAttribute(QLatin1String(name)) ? a_.value(QLatin1String(name)).toString() : def;
    }
    QColor Color(const char* name, const QColor& def) {
        const QStringView v = a_.value(QLatin1String(name));
        if (v.isNull()) return def;
        const QColor c = QColor::fromString(v);
        if (!c.isValid()) Fail(name, v);
        return c.isValid() ? c : def;
    }
    template <class E>
    E Choice(const char* name, E def, std::initializer_list<std::pair<const char*, E>> options) {
        const QStringView v = a_.value(QLatin1String(name));
        if (v.isNull()) return def;
        for (const auto& [text, value] : options)
            if (v == QLatin1String(text)) return value;
        Fail(name, v);
        return def;
    }
    int Frame(const char* name) {
        const QString v = Text(name);
        int frame = frNone;
        for (const QString& part : v.split(u' ', Qt::SkipEmptyParts)) {
            if (part == u"all") {
                frame = frAll;
                continue;
            }
            const auto it = std::find_if(kSides.begin(), kSides.end(), [&](const auto& side) {
                return part == QLatin1String(side.second);
            });
            if (it == kSides.end())
                Fail(name, part);
            else
                frame |= it->first;
        }
        return frame;
    }

  private:
    void Fail(const char* name, QStringView value) {
        if (error_.isEmpty())
            error_ = QStringLiteral("неверное значение атрибута %1: \"%2\"").arg(QLatin1String(name), value);
    }
    const QXmlStreamAttributes a_; // a copy: the reader's attributes are a temporary
    QString& error_;
};

TfrTextObject ReadTextObject(QXmlStreamReader& r, QString& error) {
    TAttrReader a(r.attributes(), error);
    TfrTextObject o;
    o.Name = a.Text("name");
    o.Left = a.Number("left", o.Left);
    o.Top = a.Number("top", o.Top);
    o.Width = a.Number("width", o.Width);
    o.Height = a.Number("height", o.Height);
    o.Style = ReadStyleAttributes(r.attributes(), error);
    // Line ends inside the text are kept as LF whatever the file used.
    o.Text = r.readElementText(QXmlStreamReader::IncludeChildElements);
    o.Text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return o;
}

bool ReadBand(QXmlStreamReader& r, TfrBand& band, QString& error) {
    TAttrReader a(r.attributes(), error);
    const QString kind = a.Text("kind");
    const auto parsed = BandKindFromName(kind);
    if (!parsed) {
        error = QStringLiteral("неизвестный вид полосы \"%1\"").arg(kind);
        return false;
    }
    band.Kind = *parsed;
    band.Height = a.Number("height", band.Height);
    band.Dataset = a.Text("dataset");
    while (r.readNextStartElement()) {
        if (r.name() == u"text")
            band.Objects.push_back(ReadTextObject(r, error));
        else
            r.skipCurrentElement();
    }
    return error.isEmpty();
}

void ReadPage(QXmlStreamReader& r, TfrPageSetup& page, QString& error) {
    TAttrReader a(r.attributes(), error);
    page.Width = a.Number("width", page.Width);
    page.Height = a.Number("height", page.Height);
    page.LeftMargin = a.Number("left", page.LeftMargin);
    page.TopMargin = a.Number("top", page.TopMargin);
    page.RightMargin = a.Number("right", page.RightMargin);
    page.BottomMargin = a.Number("bottom", page.BottomMargin);
    r.skipCurrentElement();
}

} // namespace

QString LayoutNumber(double v) {
    return QString::number(v, 'g', 10);
}

TfrTextStyle ReadStyleAttributes(const QXmlStreamAttributes& attributes, QString& error) {
    TAttrReader a(attributes, error);
    TfrTextStyle s;
    s.FontName = a.Text("font", s.FontName);
    s.FontSize = a.Number("size", s.FontSize);
    s.Bold = a.Flag("bold", false);
    s.Italic = a.Flag("italic", false);
    s.Underline = a.Flag("underline", false);
    s.HAlign =
        a.Choice("align", TfrHAlign::Left,
                 {{"left", TfrHAlign::Left}, {"center", TfrHAlign::Center}, {"right", TfrHAlign::Right}});
    s.VAlign =
        a.Choice("valign", TfrVAlign::Top,
                 {{"top", TfrVAlign::Top}, {"center", TfrVAlign::Center}, {"bottom", TfrVAlign::Bottom}});
    s.WordWrap = a.Flag("wrap", false);
    s.Frame = a.Frame("frame");
    s.FrameWidth = a.Number("frameWidth", s.FrameWidth);
    s.TextColor = a.Color("color", s.TextColor);
    s.FillColor = a.Color("fill", QColor());
    return s;
}

QString BandKindName(TfrBandKind kind) {
    for (const auto& k : kKinds)
        if (k.Kind == kind) return QString::fromLatin1(k.Name);
    return {};
}

QString BandKindCaption(TfrBandKind kind) {
    for (const auto& k : kKinds)
        if (k.Kind == kind) return QString::fromUtf8(k.Caption);
    return {};
}

std::optional<TfrBandKind> BandKindFromName(const QString& name) {
    for (const auto& k : kKinds)
        if (name == QLatin1String(k.Name)) return k.Kind;
    return std::nullopt;
}

const TfrBand* TfrLayout::FindBand(TfrBandKind kind) const {
    const auto it =
        std::find_if(Bands.begin(), Bands.end(), [kind](const TfrBand& b) { return b.Kind == kind; });
    return it == Bands.end() ? nullptr : &*it;
}

QString TfrLayout::NewObjectName() const {
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("Text%1").arg(n);
        const bool taken = std::any_of(Bands.begin(), Bands.end(), [&](const TfrBand& b) {
            return std::any_of(b.Objects.begin(), b.Objects.end(), [&](const TfrTextObject& o) {
                return o.Name.compare(name, Qt::CaseInsensitive) == 0;
            });
        });
        if (!taken) return name;
    }
}

QByteArray LayoutToXml(const TfrLayout& layout) {
    QByteArray xml;
    QXmlStreamWriter w(&xml);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    w.writeStartDocument();
    w.writeStartElement(kRoot);
    w.writeAttribute(QStringLiteral("version"), QString::number(kFormatVersion));
    const TfrPageSetup& p = layout.Page;
    w.writeEmptyElement(QStringLiteral("page"));
    w.writeAttribute(QStringLiteral("width"), Number(p.Width));
    w.writeAttribute(QStringLiteral("height"), Number(p.Height));
    w.writeAttribute(QStringLiteral("left"), Number(p.LeftMargin));
    w.writeAttribute(QStringLiteral("top"), Number(p.TopMargin));
    w.writeAttribute(QStringLiteral("right"), Number(p.RightMargin));
    w.writeAttribute(QStringLiteral("bottom"), Number(p.BottomMargin));
    for (const TfrBand& band : layout.Bands) {
        w.writeStartElement(QStringLiteral("band"));
        w.writeAttribute(QStringLiteral("kind"), BandKindName(band.Kind));
        w.writeAttribute(QStringLiteral("height"), Number(band.Height));
        if (!band.Dataset.isEmpty()) w.writeAttribute(QStringLiteral("dataset"), band.Dataset);
        for (const TfrTextObject& o : band.Objects) {
            w.writeStartElement(QStringLiteral("text"));
            w.writeAttribute(QStringLiteral("name"), o.Name);
            w.writeAttribute(QStringLiteral("left"), Number(o.Left));
            w.writeAttribute(QStringLiteral("top"), Number(o.Top));
            w.writeAttribute(QStringLiteral("width"), Number(o.Width));
            w.writeAttribute(QStringLiteral("height"), Number(o.Height));
            WriteStyleAttributes(w, o.Style);
            w.writeCharacters(o.Text);
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    return xml;
}

bool LayoutFromXml(const QByteArray& xml, TfrLayout& layout, QString& error) {
    error.clear();
    QXmlStreamReader r(xml);
    if (!r.readNextStartElement() || r.name() != kRoot) {
        error = r.hasError() ? r.errorString() : QStringLiteral("это не файл макета отчёта");
        return false;
    }
    TfrLayout read;
    while (error.isEmpty() && r.readNextStartElement()) {
        if (r.name() == u"page") {
            ReadPage(r, read.Page, error);
        } else if (r.name() == u"band") {
            TfrBand band;
            if (ReadBand(r, band, error)) read.Bands.push_back(std::move(band));
        } else {
            r.skipCurrentElement();
        }
    }
    if (error.isEmpty() && r.hasError())
        error = QStringLiteral("строка %1: %2").arg(r.lineNumber()).arg(r.errorString());
    if (!error.isEmpty()) return false;
    NormalizeLayout(read);
    layout = std::move(read);
    return true;
}

void NormalizeLayout(TfrLayout& layout) {
    TfrPageSetup& p = layout.Page;
    p.Width = std::clamp(p.Width, kMinPageSide, kMaxPageSide);
    p.Height = std::clamp(p.Height, kMinPageSide, kMaxPageSide);
    // Margins may take at most all but a tenth of a side, so that a printable area always remains.
    auto fitMargins = [](double& a, double& b, double side) {
        a = std::max(0.0, a);
        b = std::max(0.0, b);
        const double room = side * 0.9;
        if (a + b > room) {
            // Shrunk in proportion and cut to a thousandth of a millimetre, which the file holds exactly:
            // a layout opened again then fits as it is and is not shrunk anew.
            const double k = room / (a + b);
            a = std::floor(a * k * 1000) / 1000;
            b = std::floor(b * k * 1000) / 1000;
        }
    };
    fitMargins(p.LeftMargin, p.RightMargin, p.Width);
    fitMargins(p.TopMargin, p.BottomMargin, p.Height);
    for (TfrBand& band : layout.Bands) {
        band.Height = std::clamp(band.Height, 0.0, kMaxPageSide);
        for (TfrTextObject& o : band.Objects) {
            o.Left = std::clamp(o.Left, -kMaxPageSide, kMaxPageSide);
            o.Top = std::clamp(o.Top, -kMaxPageSide, kMaxPageSide);
            o.Width = std::clamp(o.Width, 0.0, kMaxPageSide);
            o.Height = std::clamp(o.Height, 0.0, kMaxPageSide);
            o.Style.FontSize = std::clamp(o.Style.FontSize, 1.0, 200.0);
            o.Style.FrameWidth = std::clamp(o.Style.FrameWidth, 0.0, 10.0);
            o.Style.Frame &= frAll;
        }
    }
}

} // namespace zelk::rep
