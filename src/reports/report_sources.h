// The row sources of the printed reports and the variables they supply: the log list (standings and logs
// received), the QSO rows of the selected log (its check report) and the lines of the log editor. Each
// source is a cursor that the report engine moves with First and Next and asks for the end of its data;
// the variables describe the row at the cursor. Layouts may write a variable's name in any letter case.
#pragma once

#include "logs/cabrillo_file.h"
#include "script/script_value.h"

#include <string>
#include <string_view>
#include <vector>

namespace zelk {

class TZelkContest;
class TZelkScript;

// A row index: First sets 0, Next adds 1; the data has ended once the index reaches the row count.
class TZelkReportCursor {
  public:
    void First() { index_ = 0; }
    void Next() { ++index_; }
    bool Eof(size_t rows) const { return index_ < 0 || static_cast<size_t>(index_) >= rows; }
    int Index() const { return index_; }

  private:
    int index_ = 0;
};

// The rows of the log list in their current order. Each move of the cursor takes the summary of the new
// row's log (owner, name, club, number of contacts) from the contest model, which First lets look at the
// folder again; past the last row the summary is only cleared.
class TZelkFilesListSource {
  public:
    explicit TZelkFilesListSource(TZelkContest& contest) : contest_(contest) {}

    void First();
    void Next();
    bool Eof() const;
    int Index() const { return cursor_.Index(); }
    // The summary of the log at the cursor.
    const TZelkCurrentFile& Summary() const { return summary_; }

    // FILE, SCORE, MULTIPLIER, CLAIMED_SCORE (the row's cells as shown), FOLDER, and CALLSIGN, NAME, CLUB,
    // QSO from the summary; PLACE, the row's place in the standings by its judged total (equal totals
    // share a place), as an integer, or empty text for a log that has not been or cannot be judged.
    // Outside a row the row's values are empty text and 0. False for other names.
    bool Variable(std::string_view name, ScriptValue& value) const;

  private:
    void ReadSummary();
    ScriptValue Place() const;

    TZelkContest& contest_;
    TZelkReportCursor cursor_;
    TZelkCurrentFile summary_;
    std::vector<int> places_; // of every row, taken at First
};

// The QSO rows of the selected log, with the selected log's identity and results.
class TZelkCalcSource {
  public:
    // CLAIMED_SCORE runs CalcTotal of `scripts` when the selected log's total is not known yet.
    TZelkCalcSource(TZelkContest& contest, TZelkScript& scripts) : contest_(contest), scripts_(scripts) {}

    void First() { cursor_.First(); }
    void Next() { cursor_.Next(); }
    bool Eof() const;
    int Index() const { return cursor_.Index(); }

    // FILE, FOLDER, CALLSIGN, NAME, CLUB, QSO, SCORE, MULTI, CLAIMED_SCORE of the selected log (the last
    // three integers from its last check; the total through CalcTotal), and the cells of the QSO row at
    // the cursor as QSO_FREQ, QSO_MODE, QSO_DATE, QSO_TIME, QSO_CALL, QSO_SEND, QSO_RECEIVE, QSO_SCORE and
    // QSO_COMMENT (empty text outside a row). False for other names.
    bool Variable(std::string_view name, ScriptValue& value);

  private:
    TZelkContest& contest_;
    TZelkScript& scripts_;
    TZelkReportCursor cursor_;
};

// The printout of the log editor: "Файл" is the file name, "Строка" the line at `index` (empty text
// outside the lines). The two names are matched exactly; false for any other.
bool EditFileVariable(std::string_view name, const std::string& fileName,
                      const std::vector<std::string>& lines, int index, ScriptValue& value);

} // namespace zelk
