// The rows of the main window's lists as plain data: the log list, the header list and the QSO list.
// The loader, the checks and the reports read and write these; a window only displays them.
#pragma once

#include <string>
#include <vector>

namespace zelk {

// Image indexes of the shared small-image list.
enum ListImage : int {
    imgLog = 0,          // log with an owner callsign
    imgTag = 1,          // known tag
    imgBadTag = 2,       // unknown tag, or error row
    imgLogNoCall = 3,    // log without an owner callsign
    imgLogProblem = 4,   // log with problems (TZelkContest::MarkLogProblems), or one of its problems
    imgQSOUnchecked = 5, // contact not yet checked
    imgQSOAccepted = 6,  // contact accepted
    imgQSORejected = 7,  // contact rejected
    imgTagMissing = 8,   // required tag missing or empty
    imgCallSign = 9,     // owner callsign tag
};

struct TListRow {
    std::string Caption;
    std::vector<std::string> Cells;
    int ImageIndex = -1;

    // Cell `i`, or empty text when the row has no such cell.
    const std::string& Cell(size_t i) const;
    void SetCell(size_t i, std::string text);
};

// A log-list row also remembers the entry's name as stored on disk, for opening and deleting, and what
// is wrong with the log once the problems were looked for.
struct TLogRow : TListRow {
    std::string DiskName;
    std::vector<std::string> Problems;
};

} // namespace zelk
