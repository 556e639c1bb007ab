// Preparation: runs a layout over its datasets and fills pages - the report title first, the page header
// at the top and the page footer at the bottom of every page, a master data band per row of its dataset
// with a new page when a row no longer fits, and the report summary after the last row. It needs no
// window, so the program's tests can inspect and export what it made.
#pragma once

#include "ui/report/fr_layout.h"
#include "ui/report/fr_prepared.h"
#include "ui/report/fr_report.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zelk::rep {

// The engine's own variables, answered after the program's callback.
inline constexpr std::string_view kVarPage = "PAGE";             // number of the page being printed
inline constexpr std::string_view kVarTotalPages = "TOTALPAGES"; // number of pages of the report
inline constexpr std::string_view kVarDate = "DATE";             // the day of the preparation (date-time)
inline constexpr std::string_view kVarTime = "TIME";             // its time of day (text, locale's format)
inline constexpr std::string_view kVarLine = "LINE";             // number of the row in its master data band

// What a preparation reads: the datasets by name (matched without regard to letter case) and the
// program's variable callback.
struct TfrDataSources {
    std::vector<std::pair<std::string, TfrDataset*>> Datasets;
    TfrVariableCallback Variables;

    TfrDataset* Find(std::string_view name) const;
    // Adds or replaces (nullptr removes) the dataset of a name.
    void Set(const std::string& name, TfrDataset* dataset);
};

// Limits that keep a dataset that never ends from taking all memory: more bands or pages than these end
// the preparation with an error.
inline constexpr int kMaxPreparedPages = 100000;
inline constexpr int kMaxPreparedBands = 1000000;

struct TfrPrepareOptions {
    int MaxPages = 0;                  // stop after this many pages (the designer's preview); 0: all
    double Now = -1;                   // the moment DATE and TIME show, as a day count; negative: the clock's
    int PageLimit = kMaxPreparedPages; // more pages than this are an error
    int BandLimit = kMaxPreparedBands; // more printed bands than this are an error
};

// Prepares the pages. Errors of expressions (naming the object) and the limits above raise TZelkError.
TfrPreparedReport PrepareReport(const TfrLayout& layout, const TfrDataSources& sources,
                                const TfrPrepareOptions& options = {});

} // namespace zelk::rep
