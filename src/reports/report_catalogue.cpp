// The report dialog's entries and the stored report kind.
#include "reports/report_catalogue.h"

namespace zelk {

int DialogEntryForKind(int kind, int current) {
    if (kind == rkNone) return -1;
    for (std::size_t i = 0; i < kDialogReportKinds.size(); ++i)
        if (kDialogReportKinds[i] == kind) return static_cast<int>(i);
    return current;
}

int KindOfDialogEntry(int entry) {
    if (entry < 0 || static_cast<std::size_t>(entry) >= kDialogReportKinds.size()) return rkNone;
    return kDialogReportKinds[static_cast<std::size_t>(entry)];
}

} // namespace zelk
