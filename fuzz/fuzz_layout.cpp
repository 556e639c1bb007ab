// libFuzzer target for the report layout reader: the input is a layout file. A layout read must come out
// normalised (a printable page, sizes and fonts in range), and saving it, opening the saved text and
// saving again must give the same text, so that the designer never writes a file it cannot open.
#include "ui/report/fr_layout.h"

#include <QByteArray>
#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz_layout: %s\n", what);
    std::abort();
}

bool Within(double v, double low, double high) {
    return std::isfinite(v) && v >= low && v <= high;
}

void CheckNormalised(const zelk::rep::TfrLayout& layout) {
    using namespace zelk::rep;
    const TfrPageSetup& p = layout.Page;
    Check(Within(p.Width, kMinPageSide, kMaxPageSide) && Within(p.Height, kMinPageSide, kMaxPageSide),
          "a page side out of range");
    Check(p.PrintWidth() > 0 && p.PrintHeight() > 0, "no printable area");
    Check(p.LeftMargin >= 0 && p.RightMargin >= 0 && p.TopMargin >= 0 && p.BottomMargin >= 0,
          "a negative margin");
    for (const TfrBand& band : layout.Bands) {
        Check(Within(band.Height, 0, kMaxPageSide), "a band height out of range");
        for (const TfrTextObject& o : band.Objects) {
            Check(Within(o.Width, 0, kMaxPageSide) && Within(o.Height, 0, kMaxPageSide),
                  "an object size out of range");
            Check(Within(o.Left, -kMaxPageSide, kMaxPageSide) && Within(o.Top, -kMaxPageSide, kMaxPageSide),
                  "an object position out of range");
            Check(Within(o.Style.FontSize, 1, 200), "a font size out of range");
            Check((o.Style.Frame & ~frAll) == 0, "unknown frame bits");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelk::rep;
    const QByteArray xml(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TfrLayout layout;
    QString error;
    if (!LayoutFromXml(xml, layout, error)) {
        Check(!error.isEmpty(), "a refused layout without a message");
        Check(layout == TfrLayout(), "a refused layout changed the one given");
        return 0;
    }
    CheckNormalised(layout);
    (void)layout.NewObjectName();
    const QByteArray saved = LayoutToXml(layout);
    TfrLayout reopened;
    Check(LayoutFromXml(saved, reopened, error), "a saved layout does not open again");
    Check(LayoutToXml(reopened) == saved, "saving an opened layout again changes it");
    return 0;
}
