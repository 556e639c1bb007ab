// The judgement of one contact against the correspondent's log, and what one check run may keep
// between contacts: the folder index and the parsed records of every log it has read.
#pragma once

#include "judge/judging.h"
#include "logs/contest_folder.h"
#include "logs/qso_record.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zelk {

// The file name of a station's log: the call trimmed, cut at its first "/", plus the files mask
// without its first character ("Q1AB/P" and "*.CBR" give "Q1AB.CBR").
std::string CorrespondentFileName(std::string_view call, std::string_view filesMask);

// Outcome of judging one record.
struct TJudgement {
    bool Rejected = false;
    int Points = 0;
    std::string Comment; // reason words, each followed by "; "
};

// Reason words of the check comment.
const std::string& WordNoConfirmation();
const std::string& WordReceiveError();
const std::string& WordTimeMismatch();
const std::string& WordRepeat();
const std::string& WordNoFile();
const std::string& WordConditional();

// The error box of a log that has no usable CALLSIGN: and so cannot be checked.
void ReportMissingCallSign(IMessages& messages);

// One check run over a contest folder. Each log is read and parsed at most once per run; the scripts
// are still asked about the same pairs, in the same order and with the same stop rules as a reading of
// the files record by record would ask them.
class TZelkCheckRun {
  public:
    // `noFileCalls`: stations without a log credited conditionally (sorted, letter case ignored).
    TZelkCheckRun(const std::string& folder, const TJudging& judging,
                  const std::vector<std::pair<std::string, int>>* noFileCalls);

    const TFolderIndex& Index() const { return index_; }
    // The path of the correspondent's log of `call`, or empty text when the folder holds no such file.
    std::string CorrespondentPath(std::string_view call) const;
    using TRecords = std::shared_ptr<const std::vector<TQSORecord>>;
    // The QSO records of the log at `path` in file order, QSOIndex numbered from 1; null when the file
    // does not exist. Read errors raise TZelkError.
    TRecords Records(const std::string& path);
    // Without the cache every request reads the file again, as a plain reading record by record would
    // (the baseline of the benchmarks).
    void SetCaching(bool on) { caching_ = on; }

    // Searches the correspondent's log and runs the receive, time and repeat tests; appends reason
    // words to `result`, copies the chosen candidate into `candidate` when given.
    void FindConfirmation(const std::string& ownPath, const std::string& correspondentPath,
                          const std::string& ownCall, TQSORecord& record, int index, TQSORecord* candidate,
                          TJudgement& result);
    // The judgement of one record of the log at `ownPath`, at QSO position `index` (from 0).
    TJudgement JudgeRecord(const std::string& ownPath, const std::string& ownCall, TQSORecord& record,
                           int index, TQSORecord* candidate = nullptr);

  private:
    bool IsCreditedWithoutLog(const std::string& call) const;

    TFolderIndex index_;
    const TJudging& judging_;
    const std::vector<std::pair<std::string, int>>* noFileCalls_;
    std::map<std::string, TRecords> records_; // by path; null = no file
    bool caching_ = true;
};

} // namespace zelk
