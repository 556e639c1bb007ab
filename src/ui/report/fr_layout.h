// TfrLayout: a report layout as the engine holds it - the page, the bands in their order and the text
// objects of each band - with its reading from and writing to the layout file (UTF-8 XML, described in
// docs/report-layout.md). Lengths are millimetres, font sizes points.
#pragma once

#include <QColor>
#include <QString>

#include <optional>
#include <vector>

class QXmlStreamAttributes;
class QXmlStreamWriter;

namespace zelk::rep {

enum class TfrBandKind { ReportTitle, PageHeader, MasterData, ReportSummary, PageFooter };

// The kind's name in the layout file ("reportTitle", ...) and its caption in the designer.
QString BandKindName(TfrBandKind kind);
QString BandKindCaption(TfrBandKind kind);
std::optional<TfrBandKind> BandKindFromName(const QString& name);

enum class TfrHAlign { Left, Center, Right };
enum class TfrVAlign { Top, Center, Bottom };

// Sides of a frame, combined as bits.
enum TfrFrameSide { frNone = 0, frLeft = 1, frTop = 2, frRight = 4, frBottom = 8, frAll = 15 };

// How a text is drawn; shared by the objects of a layout and the items of prepared pages.
struct TfrTextStyle {
    QString FontName = QStringLiteral("Arial");
    double FontSize = 10; // points
    bool Bold = false, Italic = false, Underline = false;
    TfrHAlign HAlign = TfrHAlign::Left;
    TfrVAlign VAlign = TfrVAlign::Top;
    bool WordWrap = false;
    int Frame = frNone;      // TfrFrameSide bits
    double FrameWidth = 0.2; // millimetres
    QColor TextColor = Qt::black;
    QColor FillColor; // invalid: no fill

    bool operator==(const TfrTextStyle&) const = default;
};

// A text object: a box on its band whose text may hold [expressions].
struct TfrTextObject {
    QString Name;
    double Left = 0, Top = 0, Width = 30, Height = 5; // relative to the band's top left corner
    QString Text;
    TfrTextStyle Style;

    bool operator==(const TfrTextObject&) const = default;
};

struct TfrBand {
    TfrBandKind Kind = TfrBandKind::MasterData;
    double Height = 10;
    QString Dataset; // master data: the name of the dataset the band prints a row of
    std::vector<TfrTextObject> Objects;

    bool operator==(const TfrBand&) const = default;
};

struct TfrPageSetup {
    double Width = 210, Height = 297; // A4 portrait
    double LeftMargin = 10, TopMargin = 10, RightMargin = 10, BottomMargin = 10;

    double PrintWidth() const { return Width - LeftMargin - RightMargin; }
    double PrintHeight() const { return Height - TopMargin - BottomMargin; }
    bool operator==(const TfrPageSetup&) const = default;
};

// Smallest and largest page sides the engine accepts, in millimetres.
inline constexpr double kMinPageSide = 20;
inline constexpr double kMaxPageSide = 2000;

struct TfrLayout {
    TfrPageSetup Page;
    std::vector<TfrBand> Bands; // in the order the designer shows them; master data bands print in it

    bool operator==(const TfrLayout&) const = default;
    // The first band of a kind, or nullptr.
    const TfrBand* FindBand(TfrBandKind kind) const;
    // A name for a new object that no object of the layout has yet ("Text1", "Text2", ...).
    QString NewObjectName() const;
};

// The layout as the text of its file.
QByteArray LayoutToXml(const TfrLayout& layout);
// Reads a layout file's text; false (with `error` set and `layout` untouched) when it is not one.
bool LayoutFromXml(const QByteArray& xml, TfrLayout& layout, QString& error);

// The style's attributes of a <text> element (only those that differ from the defaults), and their
// reading; a faulty value sets `error` (when it is still empty) and keeps the default.
void WriteStyleAttributes(QXmlStreamWriter& w, const TfrTextStyle& style);
TfrTextStyle ReadStyleAttributes(const QXmlStreamAttributes& attributes, QString& error);
// A length or a font size as the files write it ("12.5").
QString LayoutNumber(double value);

// Makes a layout safe to prepare: the page within kMinPageSide..kMaxPageSide with margins that leave a
// printable area, band heights and object sizes not negative, font sizes within 1..200 points.
void NormalizeLayout(TfrLayout& layout);

} // namespace zelk::rep
