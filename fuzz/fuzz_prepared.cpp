// libFuzzer target for the prepared-report reader: the input is a prepared-report file. What it reads
// must be safe to page through and paint (sizes and fonts in range), and saving it, opening the saved
// text and saving again must give the same text.
#include "ui/report/fr_prepared.h"

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
    std::fprintf(stderr, "fuzz_prepared: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelk::rep;
    const QByteArray xml(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TfrPreparedReport report;
    QString error;
    if (!PreparedFromXml(xml, report, error)) {
        Check(!error.isEmpty(), "a refused report without a message");
        Check(report == TfrPreparedReport(), "a refused report changed the one given");
        return 0;
    }
    for (const TfrPreparedPage& page : report.Pages) {
        Check(page.Width >= kMinPageSide && page.Width <= kMaxPageSide && page.Height >= kMinPageSide &&
                  page.Height <= kMaxPageSide,
              "a page size out of range");
        for (const TfrPreparedBand& band : page.Bands)
            for (const TfrPreparedItem& item : band.Items) {
                Check(std::isfinite(item.Rect.width()) && std::isfinite(item.Rect.height()),
                      "an endless item");
                (void)TfrSourceBand(item.Source);
                (void)TfrSourceObject(item.Source);
            }
    }
    const QByteArray saved = PreparedToXml(report);
    TfrPreparedReport reopened;
    Check(PreparedFromXml(saved, reopened, error), "a saved report does not open again");
    Check(PreparedToXml(reopened) == saved, "saving an opened report again changes it");
    return 0;
}
