// TZelkContest: the open contest as the main window shows it - the log list of the contest folder, the
// header and QSO lists of the selected log, its descriptor, the status texts - as plain data that the
// checks, the reports and the window share, over the contest model that holds the logs themselves.
#pragma once

#include "logs/cabrillo_file.h"
#include "logs/contest_model.h"
#include "logs/list_rows.h"

#include <array>
#include <string>
#include <vector>

namespace zelk {

// Status bar panels of the main window.
enum TStatusPanel : int { spFiles = 0, spRecords, spResultLabel, spScore, spMulti, spTotal, spSpare };

class TZelkContest {
  public:
    TZelkContestModel Model;      // the logs of the contest folder, kept between commands
    std::vector<TLogRow> Logs;    // the log list, in enumeration or sort order
    int SelectedLog = -1;         // selected row of the log list
    int FocusedLog = -1;          // row with the focus mark
    std::vector<TListRow> Header; // header rows of the selected log
    // The selected log's problems (its row's Problems) as comment rows, which the header list shows above
    // the tag rows; they are no part of the log's header (the UBN report leaves them out).
    std::vector<TListRow> ProblemRows;
    std::vector<TListRow> QSOs; // QSO rows of the selected log
    // What the QSO rows do not show of each contact: the sender's call and the transmitter, as the QSO
    // line template named them (parallel to QSOs).
    struct TSender {
        std::string MyCall, Tx;
    };
    std::vector<TSender> QSOSenders;
    int SelectedQSO = -1;     // QSO row chosen by the pending search text
    TZelkCurrentFile Current; // descriptor of the selected log
    std::array<std::string, 7> Status;
    std::string HeaderCaption; // " " + CallSign + " " + Name + " " + Club
    int SortColumn = -1;
    std::string PendingSearchText; // handed over by the QSO search
    // Stations without a log that enough logs mention, with their counts, in alphabetical order;
    // rebuilt with the log list while NoFileIncludeResults is on.
    std::vector<std::pair<std::string, int>> NoFileCalls;

    // Lists the logs of `folder` as `reading` finds them (every row with "-" results) and updates the file
    // count. The contest folder's own settings are the caller's to bring into force first; selection and
    // loading are its next steps.
    void ListLogs(const std::string& folder, const TContestReading& reading);
    // Looks for the problems of every listed log (FindLogProblems, with the model's reading) and keeps
    // them in their rows; a log with a callsign and problems shows imgLogProblem. A log read this way is
    // read once more, apart from the model.
    void MarkLogProblems();
    // Selects the row whose caption begins with `lastCall` (the log loaded last), or else the first row;
    // false with no rows.
    bool SelectInitialLog(const std::string& lastCall);

    const std::string& Folder() const { return Model.Folder(); }

    std::string SelectedLogPath() const;
    // The path of row `i`, or empty text when `i` is outside the list.
    std::string LogPathAt(int i) const;
    // The model's log of row `i` (as the model last saw the folder), or nullptr outside the list.
    const TContestLog* LogAt(int i) const;
    // Selects and focuses the first row whose caption begins with `name`, letter case ignored.
    bool SelectLogByName(std::string_view name);
    void UpdateFileCount();
    // Reorders the log list once by column 0 (file name, ascending) or 1-3 (number, descending; logs
    // without an owner callsign last).
    void SortLogs(int column);

    // The contact of QSO row `row` as the checks judge it: the row's cells (TQSORecord::LoadFromRow) and
    // the sender's call and transmitter of the line it was read from.
    TQSORecord QSORecord(size_t row) const;

    // Fills the header and QSO lists and the descriptor from the log at `path`, and sets LoadedName. A
    // log of the contest folder comes from the model, read again when its file changed.
    void LoadLog(std::string_view path);
    // The caption of the log that LoadLog found on disk (the window remembers it as QLastCall); empty
    // when the file was missing.
    std::string LoadedName;
    // Empties what LoadLog filled (header and QSO lists, descriptor, header caption, the log's status
    // panels): a log list left without a selection shows no log of another folder or a deleted file.
    void ClearLoadedLog();
};

} // namespace zelk
