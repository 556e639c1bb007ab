// The row sources and variables of the printed reports, over the rows of the open contest.
#include "reports/report_sources.h"

#include "logs/contest.h"
#include "logs/text.h"
#include "reports/standings.h"
#include "script/judging_scripts.h"

#include <array>

namespace zelk {

namespace {

// The variable names of the check report's QSO row, in the order of the row's cells.
constexpr std::array<std::string_view, 9> kQSOCellVariables = {"QSO_FREQ",    "QSO_MODE",  "QSO_DATE",
                                                               "QSO_TIME",    "QSO_CALL",  "QSO_SEND",
                                                               "QSO_RECEIVE", "QSO_SCORE", "QSO_COMMENT"};

const std::string kNoText;

} // namespace

void TZelkFilesListSource::First() {
    contest_.Model.Refresh();
    std::vector<std::optional<int>> totals;
    totals.reserve(contest_.Logs.size());
    for (const TLogRow& row : contest_.Logs)
        totals.push_back(StandingsTotal(row));
    places_ = StandingsPlaces(totals);
    cursor_.First();
    ReadSummary();
}

void TZelkFilesListSource::Next() {
    cursor_.Next();
    ReadSummary();
}

bool TZelkFilesListSource::Eof() const {
    return cursor_.Eof(contest_.Logs.size());
}

void TZelkFilesListSource::ReadSummary() {
    if (Eof()) {
        summary_.Clear();
        return;
    }
    const TContestLog* log = contest_.LogAt(cursor_.Index());
    summary_.TakeSummary(log ? log->Content() : TLogContent());
}

bool TZelkFilesListSource::Variable(std::string_view name, ScriptValue& value) const {
    const std::string upper = UpperCase(name);
    const TLogRow* row = Eof() ? nullptr : &contest_.Logs[static_cast<size_t>(cursor_.Index())];
    const auto cell = [row](size_t i) -> const std::string& { return row ? row->Cell(i) : kNoText; };
    if (upper == "FILE")
        value = ScriptValue::Text(row ? row->Caption : kNoText);
    else if (upper == "SCORE")
        value = ScriptValue::Text(cell(0));
    else if (upper == "MULTIPLIER")
        value = ScriptValue::Text(cell(1));
    else if (upper == "CLAIMED_SCORE")
        value = ScriptValue::Text(cell(2));
    else if (upper == "FOLDER")
        value = ScriptValue::Text(contest_.Folder());
    else if (upper == "CALLSIGN")
        value = ScriptValue::Text(summary_.CallSign);
    else if (upper == "NAME")
        value = ScriptValue::Text(summary_.Name);
    else if (upper == "CLUB")
        value = ScriptValue::Text(summary_.Club);
    else if (upper == "QSO")
        value = ScriptValue::Integer(summary_.QSOCount);
    else if (upper == "PLACE")
        value = Place();
    else
        return false;
    return true;
}

ScriptValue TZelkFilesListSource::Place() const {
    const size_t i = static_cast<size_t>(cursor_.Index());
    if (Eof() || i >= places_.size() || places_[i] == 0) return ScriptValue::Text(kNoText);
    return ScriptValue::Integer(places_[i]);
}

bool TZelkCalcSource::Eof() const {
    return cursor_.Eof(contest_.QSOs.size());
}

bool TZelkCalcSource::Variable(std::string_view name, ScriptValue& value) {
    const std::string upper = UpperCase(name);
    for (size_t i = 0; i < kQSOCellVariables.size(); ++i) {
        if (upper != kQSOCellVariables[i]) continue;
        value = ScriptValue::Text(Eof() ? kNoText : contest_.QSOs[static_cast<size_t>(Index())].Cell(i));
        return true;
    }
    TZelkCurrentFile& log = contest_.Current;
    if (upper == "FILE") {
        const int selected = contest_.SelectedLog;
        const bool listed = selected >= 0 && static_cast<size_t>(selected) < contest_.Logs.size();
        value = ScriptValue::Text(listed ? contest_.Logs[static_cast<size_t>(selected)].Caption : kNoText);
    } else if (upper == "FOLDER") {
        value = ScriptValue::Text(contest_.Folder());
    } else if (upper == "CALLSIGN") {
        value = ScriptValue::Text(log.CallSign);
    } else if (upper == "NAME") {
        value = ScriptValue::Text(log.Name);
    } else if (upper == "CLUB") {
        value = ScriptValue::Text(log.Club);
    } else if (upper == "QSO") {
        value = ScriptValue::Integer(static_cast<int>(contest_.QSOs.size()));
    } else if (upper == "SCORE") {
        value = ScriptValue::Integer(log.Score);
    } else if (upper == "MULTI") {
        value = ScriptValue::Integer(log.Multi);
    } else if (upper == "CLAIMED_SCORE") {
        value = ScriptValue::Integer(GetTotal(scripts_, log));
    } else {
        return false;
    }
    return true;
}

bool EditFileVariable(std::string_view name, const std::string& fileName,
                      const std::vector<std::string>& lines, int index, ScriptValue& value) {
    if (name == "Файл"_cp) {
        value = ScriptValue::Text(fileName);
        return true;
    }
    if (name == "Строка"_cp) {
        const bool inside = index >= 0 && static_cast<size_t>(index) < lines.size();
        value = ScriptValue::Text(inside ? lines[static_cast<size_t>(index)] : kNoText);
        return true;
    }
    return false;
}

} // namespace zelk
