// What the QSO viewer shows beside its test of one contact: why it was rejected, and the records of the
// correspondent's log (or of the log of the call it was probably meant to be) nearest in time.
#pragma once

#include <string>

namespace zelk {

class TZelkContest;
struct TJudging;

// Lines of text (Windows-1251, LF between them): the class of QSO row `row` of the selected log with its
// suggestion, then up to three records of the partner's log nearest in time with the minutes to each.
// Empty without a selected log with a usable CALLSIGN:.
std::string ViewedQSOAnalysis(TZelkContest& contest, const TJudging& judging, int row);

} // namespace zelk
