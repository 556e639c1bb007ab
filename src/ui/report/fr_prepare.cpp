// The preparation of pages from a layout: band placement, page breaks and the resolution of names.
#include "ui/report/fr_prepare.h"

#include "logs/error.h"
#include "logs/text.h"
#include "script/format.h"
#include "script/user_locale.h"
#include "ui/qt_text.h"
#include "ui/report/fr_expression.h"

#include <QDateTime>

#include <cmath>

namespace zelk::rep {
namespace {

// Ends a preparation that reached the page limit of its options.
struct TPageLimitReached {};

double ClockNow() {
    const QDateTime now = QDateTime::currentDateTime();
    return static_cast<double>(QDate(1899, 12, 30).daysTo(now.date())) +
           now.time().msecsSinceStartOfDay() / 86400000.0;
}

bool MentionsTotalPages(const TfrLayout& layout) {
    for (const TfrBand& band : layout.Bands)
        for (const TfrTextObject& o : band.Objects)
            if (o.Text.contains(QLatin1String(kVarTotalPages.data(), kVarTotalPages.size()),
                                Qt::CaseInsensitive))
                return true;
    return false;
}

class TPreparer {
  public:
    TPreparer(const TfrLayout& layout, const TfrDataSources& sources, const TfrPrepareOptions& options,
              int totalPages, bool evaluate)
        : layout_(layout), sources_(sources), options_(options), totalPages_(totalPages), evaluate_(evaluate),
          evaluator_([this](const std::string& name, ScriptValue& value) { return Resolve(name, value); }) {
        now_ = options.Now >= 0 ? options.Now : ClockNow();
        for (const TfrBand& band : layout_.Bands)
            if (band.Kind == TfrBandKind::PageFooter) footerHeight_ += band.Height;
    }

    TfrPreparedReport Run() {
        try {
            StartPage(true);
            PrintBands(TfrBandKind::ReportTitle);
            for (std::size_t i = 0; i < layout_.Bands.size(); ++i)
                if (layout_.Bands[i].Kind == TfrBandKind::MasterData) PrintRows(static_cast<int>(i));
            PrintBands(TfrBandKind::ReportSummary);
            EndPage();
        } catch (const TPageLimitReached&) {
        }
        return std::move(out_);
    }

  private:
    const TfrPageSetup& Page() const { return layout_.Page; }
    double BodyBottom() const { return Page().Height - Page().BottomMargin - footerHeight_; }

    // The title opens the first page, above its page header.
    void StartPage(bool first) {
        if (options_.MaxPages > 0 && out_.PageCount() >= options_.MaxPages) throw TPageLimitReached{};
        if (out_.PageCount() >= options_.PageLimit)
            throw TZelkError(FormatText("Отчёт слишком велик: больше %d страниц"_cp, options_.PageLimit));
        out_.Pages.push_back({Page().Width, Page().Height, {}});
        y_ = Page().TopMargin;
        bodyPrinted_ = false;
        if (first) return;
        PrintBands(TfrBandKind::PageHeader);
    }

    // The page footers stand at the bottom of the printable area, in layout order.
    void EndPage() {
        double y = BodyBottom();
        for (std::size_t i = 0; i < layout_.Bands.size(); ++i) {
            const TfrBand& band = layout_.Bands[i];
            if (band.Kind != TfrBandKind::PageFooter) continue;
            Place(static_cast<int>(i), y);
            y += band.Height;
        }
    }

    // Prints every band of a kind in layout order. The page header of the first page follows its title.
    void PrintBands(TfrBandKind kind) {
        for (std::size_t i = 0; i < layout_.Bands.size(); ++i)
            if (layout_.Bands[i].Kind == kind) Print(static_cast<int>(i));
        if (kind == TfrBandKind::ReportTitle && !headerDone_) {
            headerDone_ = true;
            PrintBands(TfrBandKind::PageHeader);
        }
    }

    void PrintRows(int bandIndex) {
        const TfrBand& band = layout_.Bands[bandIndex];
        TfrDataset* dataset = sources_.Find(ui::Cp(band.Dataset));
        line_ = 0;
        if (!dataset) return;
        dataset->First();
        while (!dataset->Eof()) {
            ++line_;
            rowDataset_ = dataset;
            Print(bandIndex);
            rowDataset_ = nullptr;
            dataset->Next();
        }
    }

    // Places a body band at the current position, first going to a new page when it does not fit. A band
    // taller than a whole page is placed on a page of its own and cut at the page's end.
    void Print(int bandIndex) {
        const TfrBand& band = layout_.Bands[bandIndex];
        const bool pageBand = band.Kind == TfrBandKind::PageHeader;
        if (!pageBand && bodyPrinted_ && y_ + band.Height > BodyBottom() + 1e-9) {
            TfrDataset* row = rowDataset_;
            rowDataset_ = nullptr; // the footer and the next header belong to no row
            EndPage();
            StartPage(false);
            rowDataset_ = row;
        }
        Place(bandIndex, y_);
        y_ += band.Height;
        if (!pageBand) bodyPrinted_ = true;
    }

    void Place(int bandIndex, double top) {
        if (++bandCount_ > options_.BandLimit)
            throw TZelkError(FormatText("Отчёт слишком велик: больше %d полос"_cp, options_.BandLimit));
        const TfrBand& band = layout_.Bands[bandIndex];
        TfrPreparedBand printed{band.Kind, top, band.Height, {}};
        printed.Items.reserve(band.Objects.size());
        for (std::size_t k = 0; k < band.Objects.size(); ++k) {
            const TfrTextObject& o = band.Objects[k];
            TfrPreparedItem item;
            item.Rect = QRectF(Page().LeftMargin + o.Left, top + o.Top, o.Width, o.Height);
            item.Style = o.Style;
            item.Source = TfrSourceIndex(bandIndex, static_cast<int>(k));
            if (evaluate_) item.Text = ExpandOf(o);
            printed.Items.push_back(std::move(item));
        }
        out_.Pages.back().Bands.push_back(std::move(printed));
    }

    QString ExpandOf(const TfrTextObject& o) {
        try {
            return evaluator_.Expand(o.Text);
        } catch (const TZelkError& e) {
            throw TZelkError("Объект "_cp + ui::Cp(o.Name) + ": " + e.what());
        }
    }

    // Names in the order: a field qualified by its dataset ("frMTDataSet.CALLSIGN"), a field of the row
    // being printed, the program's variables, the engine's own variables.
    bool Resolve(const std::string& name, ScriptValue& value) {
        if (ResolveQualified(name, value)) return true;
        if (rowDataset_ && rowDataset_->FieldValue(name, value)) return true;
        if (sources_.Variables && sources_.Variables(name, value)) return true;
        return ResolveOwn(name, value);
    }

    bool ResolveQualified(const std::string& name, ScriptValue& value) const {
        const std::size_t dot = name.find('.');
        if (dot == std::string::npos) return false;
        TfrDataset* dataset = sources_.Find(std::string_view(name).substr(0, dot));
        if (!dataset) return false;
        if (!dataset->FieldValue(name.substr(dot + 1), value)) value = ScriptValue::Null();
        return true;
    }

    bool ResolveOwn(const std::string& name, ScriptValue& value) const {
        if (SameText(name, kVarPage)) {
            value = ScriptValue::Integer(out_.PageCount());
        } else if (SameText(name, kVarTotalPages)) {
            value = ScriptValue::Integer(totalPages_ > 0 ? totalPages_ : out_.PageCount());
        } else if (SameText(name, kVarDate)) {
            value = ScriptValue::Date(std::floor(now_));
        } else if (SameText(name, kVarTime)) {
            value = ScriptValue::Text(FormatDateTime(UserLocale().LongTimeFormat, now_ - std::floor(now_)));
        } else if (SameText(name, kVarLine)) {
            value = ScriptValue::Integer(line_);
        } else {
            return false;
        }
        return true;
    }

    const TfrLayout& layout_;
    const TfrDataSources& sources_;
    const TfrPrepareOptions& options_;
    const int totalPages_;
    const bool evaluate_;
    TfrTextEvaluator evaluator_;
    TfrPreparedReport out_;
    double now_ = 0;
    double footerHeight_ = 0;
    double y_ = 0;
    bool bodyPrinted_ = false;
    bool headerDone_ = false;
    int line_ = 0;
    int bandCount_ = 0;
    TfrDataset* rowDataset_ = nullptr;
};

} // namespace

TfrDataset* TfrDataSources::Find(std::string_view name) const {
    for (const auto& [n, dataset] : Datasets)
        if (SameText(n, name)) return dataset;
    return nullptr;
}

void TfrDataSources::Set(const std::string& name, TfrDataset* dataset) {
    for (auto it = Datasets.begin(); it != Datasets.end(); ++it) {
        if (!SameText(it->first, name)) continue;
        if (dataset)
            it->second = dataset;
        else
            Datasets.erase(it);
        return;
    }
    if (dataset) Datasets.emplace_back(name, dataset);
}

TfrPreparedReport PrepareReport(const TfrLayout& source, const TfrDataSources& sources,
                                const TfrPrepareOptions& options) {
    TfrLayout layout = source;
    NormalizeLayout(layout);
    TfrPrepareOptions fixed = options;
    if (fixed.Now < 0) fixed.Now = ClockNow();
    // Page breaks depend only on band heights and row counts, so a first pass without evaluating any
    // text counts the pages when a text asks for their number.
    int total = 0;
    if (MentionsTotalPages(layout)) total = TPreparer(layout, sources, fixed, 0, false).Run().PageCount();
    return TPreparer(layout, sources, fixed, total, true).Run();
}

} // namespace zelk::rep
