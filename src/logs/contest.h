// TZelkContest: the open contest as the main window shows it - the log list of the contest folder, the
// header and QSO lists of the selected log, its descriptor, the status texts - as plain data that the
// checks, the reports and the window share.
#pragma once

#include "logs/cabrillo_file.h"
#include "logs/list_rows.h"

#include <array>
#include <string>
#include <vector>

namespace zelk {

// Status bar panels of the main window.
enum TStatusPanel : int { spFiles = 0, spRecords, spResultLabel, spScore, spMulti, spTotal, spSpare };

class TZelkContest {
  public:
    std::vector<TLogRow> Logs;    // the log list, in enumeration or sort order
    int SelectedLog = -1;         // selected row of the log list
    int FocusedLog = -1;          // row with the focus mark
    std::vector<TListRow> Header; // header rows of the selected log
    std::vector<TListRow> QSOs;   // QSO rows of the selected log
    int SelectedQSO = -1;         // QSO row chosen by the pending search text
    TZelkCurrentFile Current;     // descriptor of the selected log
    std::array<std::string, 7> Status;
    std::string HeaderCaption; // " " + CallSign + " " + Name + " " + Club
    int SortColumn = -1;
    std::string PendingSearchText; // handed over by the QSO search
    // Stations without a log that enough logs mention, with their counts, in alphabetical order;
    // rebuilt with the log list while NoFileIncludeResults is on.
    std::vector<std::pair<std::string, int>> NoFileCalls;

    // Brings the contest folder's own settings into force, lists the folder by the files mask (every
    // row with "-" results) and updates the file count. Selection and loading are the caller's next steps.
    void ListLogs();
    // Selects the row of the log loaded last (QLastCall), or else the first row; false with no rows.
    bool SelectInitialLog();

    std::string SelectedLogPath() const;
    // The path of row `i`, or empty text when `i` is outside the list.
    std::string LogPathAt(int i) const;
    // Selects and focuses the first row whose caption begins with `name`, letter case ignored.
    bool SelectLogByName(std::string_view name);
    void UpdateFileCount();
    // Reorders the log list once by column 0 (file name, ascending) or 1-3 (number, descending; logs
    // without an owner callsign last).
    void SortLogs(int column);

    // Fills the header and QSO lists and the descriptor from the log at `path`.
    void LoadLog(std::string_view path);
    // Empties what LoadLog filled (header and QSO lists, descriptor, header caption, the log's status
    // panels): a log list left without a selection shows no log of another folder or a deleted file.
    void ClearLoadedLog();
};

} // namespace zelk
