// The QSO search of one contest and the viewer's test of one contact.
#include "judge/qso_search.h"

#include "judge/cross_check.h"
#include "judge/progress_guard.h"
#include "judge/scoring.h"
#include "logs/contest.h"
#include "logs/file_io.h"
#include "logs/log_lookup.h"
#include "logs/text.h"
#include "settings/platform.h"

namespace zelk {

std::vector<TSearchRow> SearchContacts(TZelkContest& contest, const std::string& text, IProgress* progress) {
    std::vector<TSearchRow> rows;
    SearchContacts(contest, text, progress, rows);
    return rows;
}

void SearchContacts(TZelkContest& contest, const std::string& text, IProgress* progress,
                    std::vector<TSearchRow>& rows) {
    if (contest.Logs.empty()) return;
    TProgressGuard guard(progress, static_cast<int>(contest.Logs.size()));
    contest.Model.Refresh();
    // With the lookup by callsign the station's own log is the one its contacts are checked against
    // (Q1AB finds the log of Q1AB/P); without it, only a log whose owner is exactly the text.
    const TContestLog* station =
        contest.Model.Reading().FindByCallSign ? contest.Model.FindLog(text) : nullptr;
    for (size_t i = 0; i < contest.Logs.size(); ++i) {
        const TContestLog* log = contest.LogAt(static_cast<int>(i));
        const std::string& name = contest.Logs[i].Caption;
        if (log && log->Exists()) {
            if (log->OwnerCall() == text || log == station) {
                rows.insert(rows.begin(), {name, "Владелец файла"_cp, true});
            } else {
                std::string numbers;
                for (const TQSORecord& record : log->Records()) {
                    if (record.Call.find(text) == std::string::npos) continue;
                    numbers += (numbers.empty() ? "" : ",") + std::to_string(record.QSOIndex);
                }
                if (!numbers.empty()) rows.push_back({name, "QSO: " + numbers, false});
            }
        }
        guard.Step(static_cast<int>(i));
    }
}

TQSORecord ViewedRecord(const TZelkContest& contest, int row) {
    TQSORecord record;
    if (row >= 0 && static_cast<size_t>(row) < contest.QSOs.size()) {
        record = contest.QSORecord(static_cast<size_t>(row));
        record.QSOIndex = row + 1;
    }
    return record;
}

std::string ViewTimeText(const TQSORecord& viewed, const TQSORecord& candidate) {
    const int d = viewed.STime.empty() || candidate.STime.empty() ? -1 : TimeDifference(viewed, candidate);
    if (d >= 1440) return "[ошибка в дате]"_cp;
    std::string text = (candidate.STime.empty() ? std::string("-") : candidate.STime) + "  ";
    if (d >= 0) text += FormatText("[ %d мин ]"_cp, d);
    return text;
}

TQSOViewTest TestQSO(TZelkContest& contest, const TJudging& judging, int row) {
    TQSOViewTest t;
    t.Viewed = ViewedRecord(contest, row);
    contest.Model.Refresh();
    const TContestLog* own = contest.LogAt(contest.SelectedLog);
    // The owner as the check takes it (upper-cased), so that a log written in small letters is shown
    // the same confirmation the check gave it.
    const std::string ownCall = own ? own->OwnerCall() : std::string();
    t.FileName = contest.SelectedLog >= 0 ? contest.Logs[static_cast<size_t>(contest.SelectedLog)].Caption
                                          : ExtractFileName(contest.SelectedLogPath());
    t.CorrespondentFile = CorrespondentFileName(t.Viewed.Call, judging.Settings.FilesMask);
    // The log the lookup finds when it is not the one the name rule gives (another mask's extension, a
    // wildcard mask, a log found by its callsign).
    if (const TContestLog* theirs = contest.Model.FindLog(t.Viewed.Call);
        theirs && !SameText(theirs->DiskName(), t.CorrespondentFile))
        t.CorrespondentFile = UpperCase(theirs->DiskName());
    if (!ownCall.empty()) {
        TLogJudge judge(contest.Model, judging, &contest.NoFileCalls);
        TakeUnshownPieces(own, t.Viewed, row);
        // A repeat test that reads Accepted2 needs the verdicts the log check gives the rows above.
        std::vector<TRecordVerdict> given;
        if (judge.NeedsGivenVerdicts()) {
            for (int i = 0; i < row; ++i) {
                TQSORecord earlier = ViewedRecord(contest, i);
                TakeUnshownPieces(own, earlier, i);
                given.push_back(judge.JudgeRecord(*own, ownCall, earlier, i, nullptr, &given));
            }
        }
        t.Verdict = judge.JudgeRecord(*own, ownCall, t.Viewed, row, &t.Candidate, &given);
    } else {
        t.OwnCallMissing = true;
        ReportMissingCallSign(judging.Messages);
    }
    const auto orDash = [](const std::string& s) { return s.empty() ? std::string("-") : s; };
    const TQSORecord& c = t.Candidate;
    t.Index = c.QSOIndex > 0 ? std::to_string(c.QSOIndex) : "-";
    t.Freq = orDash(c.Freq);
    t.Mode = orDash(c.Mode);
    t.Date = orDash(c.SDate);
    t.Time = ViewTimeText(t.Viewed, c);
    t.Call = orDash(c.Call);
    t.Send = orDash(c.Send);
    t.Receive = orDash(c.Receive);
    return t;
}

} // namespace zelk
