// Listing, selecting, sorting and loading the logs of the open contest.
#include "logs/contest.h"

#include "logs/error.h"
#include "logs/file_io.h"
#include "logs/log_content.h"
#include "logs/log_problems.h"
#include "logs/text.h"

#include <algorithm>

namespace zelk {

namespace {

const std::string& kUnknownTag = "неизвестный тэг"_cp;
const std::string& kMissingTag = "нет обязательного тэга"_cp;
const std::string& kProblemCaption = "Проблема"_cp;

// The owner's CALLSIGN: value for the log-list icon; an unreadable file counts as having none.
bool HasOwnerCallSign(std::string_view path) {
    try {
        TZelkCabrilloFile file;
        file.FileName = path;
        return !file.GetTagValue("CALLSIGN:").empty();
    } catch (const TZelkError&) {
        return false;
    }
}

int CellNumber(const TLogRow& row, size_t cell) {
    return StrToIntDef(row.Cell(cell), 0);
}

} // namespace

void TZelkContest::ListLogs(const std::string& folder, const TContestReading& reading) {
    Model.Open(folder, reading);
    Logs.clear();
    SelectedLog = FocusedLog = -1;
    for (const auto& entry : Model.Listed()) {
        TLogRow row;
        row.Caption = UpperCase(entry.Name);
        row.DiskName = entry.Name;
        row.Cells = {"-", "-", "-"};
        row.ImageIndex =
            entry.IsFile && HasOwnerCallSign(JoinPath(folder, row.DiskName)) ? imgLog : imgLogNoCall;
        Logs.push_back(std::move(row));
    }
    UpdateFileCount();
}

void TZelkContest::MarkLogProblems() {
    std::vector<std::string> names;
    for (const TLogRow& row : Logs)
        names.push_back(row.DiskName);
    const TContestReading& reading = Model.Reading();
    const std::vector<TLogProblem> problems =
        FindLogProblems(Folder(), names, {reading.Format, reading.FilesMask, reading.FindByCallSign});
    for (TLogRow& row : Logs)
        row.Problems.clear();
    // FindLogProblems gives the logs' problems in the order of `names`, which is the order of the rows.
    size_t i = 0;
    for (const TLogProblem& p : problems) {
        while (i < Logs.size() && Logs[i].DiskName != p.FileName)
            ++i;
        if (i == Logs.size()) break;
        Logs[i].Problems.push_back(p.Text);
    }
    for (TLogRow& row : Logs)
        if (row.ImageIndex == imgLog && !row.Problems.empty()) row.ImageIndex = imgLogProblem;
}

bool TZelkContest::SelectInitialLog(const std::string& lastCall) {
    if (Logs.empty()) return false;
    if (!lastCall.empty() && SelectLogByName(lastCall)) return true;
    SelectedLog = 0;
    return true;
}

std::string TZelkContest::SelectedLogPath() const {
    return LogPathAt(SelectedLog);
}

std::string TZelkContest::LogPathAt(int i) const {
    if (i < 0 || static_cast<size_t>(i) >= Logs.size()) return {};
    return JoinPath(Model.Folder(), Logs[static_cast<size_t>(i)].DiskName);
}

const TContestLog* TZelkContest::LogAt(int i) const {
    if (i < 0 || static_cast<size_t>(i) >= Logs.size()) return nullptr;
    return Model.Log(Logs[static_cast<size_t>(i)].DiskName);
}

bool TZelkContest::SelectLogByName(std::string_view name) {
    const std::string want = UpperCase(name);
    for (size_t i = 0; i < Logs.size(); ++i) {
        if (Logs[i].Caption.compare(0, want.size(), want) != 0) continue;
        SelectedLog = FocusedLog = static_cast<int>(i);
        return true;
    }
    return false;
}

void TZelkContest::UpdateFileCount() {
    Status[spFiles] = Logs.empty() ? " " + Model.FilesMask() : " " + std::to_string(Logs.size()) + " file(s)";
}

void TZelkContest::SortLogs(int column) {
    SortColumn = column;
    const std::string selected = SelectedLog >= 0 ? Logs[static_cast<size_t>(SelectedLog)].DiskName : "";
    const std::string focused = FocusedLog >= 0 ? Logs[static_cast<size_t>(FocusedLog)].DiskName : "";
    if (column == 0) {
        std::stable_sort(Logs.begin(), Logs.end(), [](const TLogRow& a, const TLogRow& b) {
            return CompareText(a.Caption, b.Caption) < 0;
        });
    } else if (column >= 1 && column <= 3) {
        // A log without an owner callsign cannot be judged; its zeros go after every judged log's
        // numbers, negative ones included.
        const auto cell = static_cast<size_t>(column - 1);
        std::stable_sort(Logs.begin(), Logs.end(), [cell](const TLogRow& a, const TLogRow& b) {
            const bool aJudged = a.ImageIndex != imgLogNoCall, bJudged = b.ImageIndex != imgLogNoCall;
            if (aJudged != bJudged) return aJudged;
            return CellNumber(a, cell) > CellNumber(b, cell);
        });
    }
    const auto indexOf = [this](const std::string& disk) {
        if (disk.empty()) return -1;
        for (size_t i = 0; i < Logs.size(); ++i)
            if (Logs[i].DiskName == disk) return static_cast<int>(i);
        return -1;
    };
    SelectedLog = indexOf(selected);
    FocusedLog = indexOf(focused);
}

TQSORecord TZelkContest::QSORecord(size_t row) const {
    TQSORecord record;
    record.LoadFromRow(row < QSOs.size() ? &QSOs[row] : nullptr);
    if (row < QSOSenders.size()) {
        record.MyCall = QSOSenders[row].MyCall;
        record.Tx = QSOSenders[row].Tx;
    }
    return record;
}

void TZelkContest::LoadLog(std::string_view path) {
    Header.clear();
    ProblemRows.clear();
    QSOs.clear();
    QSOSenders.clear();
    SelectedQSO = -1;
    Current.Clear();
    Status[spRecords].clear();
    LoadedName.clear();

    Model.Refresh();
    const TContestLog* log = Model.LogAtPath(path);
    if (log ? !log->Exists() : !FileExists(path)) {
        // The caption would otherwise go on naming the log shown before.
        HeaderCaption.clear();
        TListRow row;
        row.Caption = "Error";
        row.Cells = {"File not found", FormatText("Файл не найден %s"_cp, path)};
        row.ImageIndex = imgBadTag;
        Header.push_back(std::move(row));
        return;
    }

    const std::string listed =
        SelectedLog >= 0 ? Logs[static_cast<size_t>(SelectedLog)].Caption : UpperCase(ExtractFileName(path));
    Current.CallSign = listed;
    LoadedName = listed;
    // A missing owner needs no problem row: the header's CALLSIGN: row says so.
    if (SelectedLog >= 0)
        for (const std::string& problem : Logs[static_cast<size_t>(SelectedLog)].Problems)
            if (problem != NoCallSignProblem())
                ProblemRows.push_back({kProblemCaption, {"", problem}, imgLogProblem});
    // A file outside the contest folder is read for this once.
    TLogContent outside;
    if (!log) outside = ReadLogContent(path, Model.Reading().Format);
    const TLogContent& content = log ? log->Content() : outside;

    for (const TLogTag& tag : content.Tags) {
        TListRow row;
        row.Caption = tag.Tag;
        row.Cells = {tag.Value, ""};
        if (tag.Tag == "CALLSIGN:") {
            row.ImageIndex = tag.Value.empty() ? imgTagMissing : imgCallSign;
            if (tag.Value.empty()) row.Cells[1] = kMissingTag;
        } else if (!IsKnownTag(tag.Tag)) {
            row.ImageIndex = imgBadTag;
            row.Cells[1] = kUnknownTag;
        } else {
            row.ImageIndex = imgTag;
        }
        Header.push_back(std::move(row));
    }
    if (content.HasCallSignTag) Current.CallSign = content.CallSign;
    Current.Name = content.Name;
    Current.Club = content.Club;
    for (const TQSORecord& record : content.Records) {
        TListRow row;
        row.Caption = std::to_string(record.QSOIndex);
        row.Cells = {record.Freq,    record.Mode, record.SDate,
                     record.STime,   record.Call, record.Send,
                     record.Receive, "-",         ""};
        row.ImageIndex = imgQSOUnchecked;
        if (!PendingSearchText.empty() && SelectedQSO < 0 &&
            record.Call.find(PendingSearchText) != std::string::npos)
            SelectedQSO = static_cast<int>(QSOs.size());
        QSOs.push_back(std::move(row));
        QSOSenders.push_back({record.MyCall, record.Tx});
    }

    HeaderCaption = " " + Current.CallSign + " " + Current.Name + " " + Current.Club;
    Status[spRecords] = " QSO Record(s) : " + std::to_string(content.Records.size());
    for (int p = spResultLabel; p <= spTotal; ++p)
        Status[static_cast<size_t>(p)].clear();
    if (!content.HasCallSignTag) {
        TListRow row;
        row.Caption = "CALLSIGN:";
        row.Cells = {"", kMissingTag};
        row.ImageIndex = imgTagMissing;
        Header.insert(Header.begin(), std::move(row));
    }
    if (SelectedQSO >= 0) PendingSearchText.clear();
}

void TZelkContest::ClearLoadedLog() {
    Header.clear();
    ProblemRows.clear();
    QSOs.clear();
    QSOSenders.clear();
    SelectedQSO = -1;
    Current.Clear();
    HeaderCaption.clear();
    for (int p = spRecords; p <= spTotal; ++p)
        Status[static_cast<size_t>(p)].clear();
}

} // namespace zelk
