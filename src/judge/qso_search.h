// The search for contacts across the contest (the logs holding a callsign text, and the log of the
// station itself) and the test of one contact that the QSO viewer shows.
#pragma once

#include "judge/verdict.h"
#include "logs/qso_record.h"

#include <string>
#include <vector>

namespace zelk {

class TZelkContest;
class IProgress;
struct TJudging;

struct TSearchRow {
    std::string FileName; // the log's caption in the log list
    std::string Comment;  // "Владелец файла" or "QSO: 3,17,42"
    bool Owner = false;
};

// Searches every listed log for contacts whose Call contains `text` (letter case as given); the log
// whose owner callsign equals `text` becomes an owner row at the top. One progress step per log.
std::vector<TSearchRow> SearchContacts(TZelkContest& contest, const std::string& text, IProgress* progress);
// The same search adding its rows to `rows` log by log, so that the rows found before a log that cannot
// be read are still there when that log's error passes.
void SearchContacts(TZelkContest& contest, const std::string& text, IProgress* progress,
                    std::vector<TSearchRow>& rows);

// What the viewer shows after "Проверить" on one QSO row.
struct TQSOViewTest {
    std::string FileName; // the log under check, without folder
    // The log the lookup finds for the contact's Call when the name rule does not give it, else the
    // CorrespondentFileName of the Call.
    std::string CorrespondentFile;
    TQSORecord Viewed;           // the row as a record, QSOIndex = row + 1
    TQSORecord Candidate;        // the record of the other log the check chose, or empty
    bool OwnCallMissing = false; // the log has no usable CALLSIGN: (the error box was shown)
    TRecordVerdict Verdict;      // the judgement the log check gives the row
    // The right column's texts: QSOIndex, Freq, Mode, Date, Time, Call, Send, Receive.
    std::string Index, Freq, Mode, Date, Time, Call, Send, Receive;
};

// The record of QSO row `row` of the selected log (QSOIndex = row + 1).
TQSORecord ViewedRecord(const TZelkContest& contest, int row);
// Judges QSO row `row` of the selected log against its correspondent's log, with the log's owner as the
// check takes it, without clearing the scripts' failure marks.
TQSOViewTest TestQSO(TZelkContest& contest, const TJudging& judging, int row);
// The time box text: the candidate's time, two blanks and the minutes apart, or "[ошибка в дате]".
std::string ViewTimeText(const TQSORecord& viewed, const TQSORecord& candidate);

} // namespace zelk
