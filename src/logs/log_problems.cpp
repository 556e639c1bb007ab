// Looking through the logs of a contest for what would keep them from being judged as their senders meant.
#include "logs/log_problems.h"

#include "logs/cabrillo_file.h"
#include "logs/callsign.h"
#include "logs/error.h"
#include "logs/file_io.h"
#include "logs/log_finder.h"
#include "logs/qso_record.h"
#include "logs/text.h"
#include "logs/text_encoding.h"

namespace zelk {

namespace {

// QSO lines with one kind of fault: how many, the first of them and what it showed.
struct TLineFault {
    int Count = 0;
    int FirstLine = 0;
    std::string Example;

    void Add(int line, std::string_view example = {}) {
        if (Count++ > 0) return;
        FirstLine = line;
        Example = example;
    }
    // " (первая — строка 12: «045»)"
    std::string Where() const {
        std::string text = " (первая — строка "_cp + std::to_string(FirstLine);
        if (!Example.empty()) text += ": " + Example;
        return text + ")";
    }
};

std::string Quoted(std::string_view text) {
    return "«"_cp + std::string(text) + "»"_cp;
}

struct TLogScan {
    std::string Error; // why the log could not be read
    bool HasCallSignLine = false;
    std::string CallSign; // the first CALLSIGN: value, as the check takes it
    TTextEncoding Encoding = TTextEncoding::Cp1251;
    size_t Replaced = 0;
    size_t Required = 0; // pieces the template needs
    int QSOLines = 0;
    TLineFault Separators, FewPieces, NotACall, NotADate, Cut;
};

// The value of the first line that starts with CALLSIGN:, as TZelkCabrilloFile::GetTagValue reads it.
bool CallSignLine(std::string_view raw, std::string& value) {
    static const std::string tag = "CALLSIGN:";
    const std::string t = Trim(raw);
    if (t.size() < tag.size() || UpperCase(std::string_view(t).substr(0, tag.size())) != tag) return false;
    value = Trim(std::string_view(t).substr(tag.size(), 255));
    return true;
}

void ScanContact(const TLogLine& line, int n, const TLogFormat& format, TLogScan& scan) {
    ++scan.QSOLines;
    if (line.Cut) scan.Cut.Add(n);
    // Pieces that run together explain whatever else looks wrong in such a line.
    if (!format.SplitTabs && Trim(line.Text).find_first_of("\t\xA0") != std::string::npos) {
        scan.Separators.Add(n);
        return;
    }
    std::vector<std::string> pieces;
    SplitQSOPieces(line.Text, format.SplitTabs, pieces);
    if (pieces.size() < scan.Required)
        scan.FewPieces.Add(n, "полей "_cp + std::to_string(pieces.size()) + " из "_cp +
                                  std::to_string(scan.Required));
    TQSORecord record;
    record.ParseQSOLine(line.Text, format);
    if (!record.Call.empty() && !IsCallSignShape(record.Call)) scan.NotACall.Add(n, Quoted(record.Call));
    if (!record.SDate.empty() && DateTextToDays(record.SDate) == 0)
        scan.NotADate.Add(n, Quoted(record.SDate));
}

TLogScan ScanLog(const std::string& path, const TLogFormat& format) {
    TLogScan scan;
    scan.Required = format.Template.RequiredPieces();
    try {
        TFileLineReader reader(path);
        std::string raw;
        TLogLine line;
        int n = 0;
        while (reader.Next(raw)) {
            ++n;
            if (!scan.HasCallSignLine) scan.HasCallSignLine = CallSignLine(raw, scan.CallSign);
            ClassifyLogLine(raw, line);
            if (line.Kind == TLineKind::Contact) ScanContact(line, n, format, scan);
        }
        scan.Encoding = reader.Encoding();
        scan.Replaced = reader.Replaced();
    } catch (const TZelkError& e) {
        scan.Error = e.what();
    }
    return scan;
}

// A template fits a log whose lines are written another way; a few odd lines among good ones are slips
// of the sender that no setting mends.
std::string TemplateHint(const TLogScan& scan, const TLineFault& fault) {
    return fault.Count * 2 >= scan.QSOLines ? "; поможет QSOTemplate"_cp : "; строки надо исправить"_cp;
}

void AddLineProblems(const TLogScan& scan, std::vector<std::string>& out) {
    if (scan.Separators.Count > 0)
        out.push_back("табуляция или неразрывный пробел внутри строк QSO, поля сливаются: "_cp +
                      std::to_string(scan.Separators.Count) + scan.Separators.Where() +
                      "; поможет QSOSplitTabs=1"_cp);
    if (scan.FewPieces.Count > 0)
        out.push_back("строк QSO с меньшим числом полей, чем в шаблоне: "_cp +
                      std::to_string(scan.FewPieces.Count) + scan.FewPieces.Where() +
                      TemplateHint(scan, scan.FewPieces));
    if (scan.NotACall.Count > 0)
        out.push_back("строк QSO, где на месте позывного не позывной: "_cp +
                      std::to_string(scan.NotACall.Count) + scan.NotACall.Where() +
                      TemplateHint(scan, scan.NotACall));
    if (scan.NotADate.Count > 0)
        out.push_back("строк QSO, где дата не дата: "_cp + std::to_string(scan.NotADate.Count) +
                      scan.NotADate.Where());
    if (scan.Cut.Count > 0)
        out.push_back("строк QSO длиннее 255 символов, обрезанных при чтении: "_cp +
                      std::to_string(scan.Cut.Count) + scan.Cut.Where());
}

} // namespace

const std::string& NoCallSignProblem() {
    static const std::string text = "нет или пустой тэг CALLSIGN:, лог нельзя проверить"_cp;
    return text;
}

std::vector<TLogProblem> FindLogProblems(std::string_view folder, const std::vector<std::string>& fileNames,
                                         const TLogProblemOptions& options) {
    std::vector<TLogScan> scans;
    std::vector<TListedLog> listed;
    for (const std::string& name : fileNames) {
        scans.push_back(ScanLog(JoinPath(folder, name), options.Format));
        listed.push_back({name, scans.back().CallSign});
    }
    const TLogFinder finder(std::move(listed), {options.FilesMask, options.FindLogByCallSign});
    std::vector<std::string> usedBy(fileNames.size());
    for (const TDuplicateLog& d : finder.Duplicates())
        usedBy[d.Unused] = fileNames[d.Used];

    std::vector<TLogProblem> problems;
    for (size_t i = 0; i < fileNames.size(); ++i) {
        const TLogScan& scan = scans[i];
        std::vector<std::string> texts;
        if (!scan.Error.empty()) {
            texts.push_back(scan.Error);
        } else {
            const std::string call = UpperCase(scan.CallSign);
            if (call.empty())
                texts.push_back(NoCallSignProblem());
            else if (!options.FindLogByCallSign && !finder.NamedAfterItsCallSign(i))
                texts.push_back("CALLSIGN: "_cp + call + " не совпадает с именем файла, связи с "_cp + call +
                                " не найдут этот лог; поможет FindLogByCallSign=1"_cp);
            if (!usedBy[i].empty())
                texts.push_back("тот же CALLSIGN: "_cp + call + ", что в файле "_cp + usedBy[i] +
                                ": два лога одной станции, оставьте один из них"_cp);
            if (scan.Encoding != TTextEncoding::Cp1251) {
                std::string text =
                    "кодировка "_cp + EncodingName(scan.Encoding) + ", прочитан как Windows-1251"_cp;
                if (scan.Replaced > 0)
                    text += "; символов, которых нет в Windows-1251, заменено на «?»: "_cp +
                            std::to_string(scan.Replaced);
                texts.push_back(std::move(text));
            }
            AddLineProblems(scan, texts);
        }
        for (std::string& text : texts)
            problems.push_back({fileNames[i], std::move(text)});
    }
    return problems;
}

} // namespace zelk
