// One contact of a log: the fields of a "QSO:" line, its moment, and the caches of its judged results.
#pragma once

#include <string>
#include <vector>

namespace zelk {

struct TListRow;
struct TLogFormat;

class TQSORecord {
  public:
    std::string Freq, Mode, SDate, STime, Call, Send, Receive, Score, Comment;
    // The sender's own call and the transmitter number, upper-cased, as the line's template names them;
    // a record made from a QSO row has neither.
    std::string MyCall, Tx;
    int CachedPoints = -1;
    std::string CachedReason; // the Reason CalcQSO left with CachedPoints: the record is rejected with it
    std::string CachedCriterion;
    bool CriterionKnown = false;
    int QSOIndex = -1;

    TQSORecord() = default;
    // A record parsed from the text after "QSO:".
    explicit TQSORecord(std::string_view line) { ParseQSOLine(line); }

    void Clear();
    void ResetResults();
    // Copies the texts and QSOIndex; results are never copied.
    void Assign(const TQSORecord& other);
    // Assign, with the fields the QSO list shows trimmed as LoadFromRow trims them, so that a record
    // judged straight from its log is the record the log check reads back from the list.
    void AssignAsListed(const TQSORecord& other);
    // Fills the record from the text that follows the four characters "QSO:" of a line, read as the
    // documented layout with blanks between the pieces.
    void ParseQSOLine(std::string_view text);
    // The same with the pieces named by `format`'s template and split by its separators.
    void ParseQSOLine(std::string_view text, const TLogFormat& format);
    // Takes the nine cells of a QSO row back (trimmed); no row leaves the record cleared.
    void LoadFromRow(const TListRow* row);

    // Days since 30 December 1899, the fraction being the time of day.
    double DateTime() const;
    // True when the moments differ by at most `maxMinutes` whole minutes (the setting
    // MaxMinutesDifference).
    bool IsTimeClose(const TQSORecord& other, int maxMinutes) const;
};

// Whole minutes between the moments of two records, independent of their order.
int TimeDifference(const TQSORecord& a, const TQSORecord& b);
// The same for two moments given as day counts: each is taken as its calendar day and its minute of the
// day (seconds dropped), so 12:00:59 and 12:01:00 are one minute apart.
int MinutesBetween(double a, double b);

// The calendar day (as a day count) of a date text yyyy-mm-dd; 0 when it gives no valid date.
int DateTextToDays(std::string_view text);
// Day count of a calendar date, 0 being 30 December 1899; false for an invalid date.
bool EncodeDate(int year, int month, int day, int& days);
// The calendar date of a day count.
void DecodeDate(int days, int& year, int& month, int& day);

} // namespace zelk
