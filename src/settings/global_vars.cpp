// The settings object: defaults, the two zelk.ini files, the per-user store and the program's paths.
#include "settings/global_vars.h"

#include "logs/error.h"
#include "logs/file_io.h"
#include "logs/text.h"
#include "settings/ini_file.h"
#include "settings/platform.h"

#include <string_view>
#include <variant>

namespace zelk {
namespace {

constexpr std::string_view kSettings = "Settings";

// Values of the per-user store, in the order they are written.
using FieldRef =
    std::variant<int TZelkGlobalVars::*, bool TZelkGlobalVars::*, std::string TZelkGlobalVars::*>;
struct UserValue {
    const char* name;
    FieldRef field;
};
using V = TZelkGlobalVars;
const UserValue kUserValues[] = {
    {"WExTop", &V::WExTop},
    {"WExLeft", &V::WExLeft},
    {"WExHeight", &V::WExHeight},
    {"WExWidth", &V::WExWidth},
    {"WExSplit", &V::WExSplit},
    {"WExHdrHeight", &V::WExHdrHeight},
    {"WVFTop", &V::WVFTop},
    {"WVFLeft", &V::WVFLeft},
    {"WVFHeight", &V::WVFHeight},
    {"WVFWidth", &V::WVFWidth},
    {"WSETop", &V::WSETop},
    {"WSELeft", &V::WSELeft},
    {"WSEHeight", &V::WSEHeight},
    {"WSEWidth", &V::WSEWidth},
    {"WFindQSOTop", &V::WFindQSOTop},
    {"WFindQSOLeft", &V::WFindQSOLeft},
    {"WFindQSOHeight", &V::WFindQSOHeight},
    {"WFindQSOWidth", &V::WFindQSOWidth},
    {"WFindQSOCall", &V::WFindQSOCall},
    {"WVFSyntax", &V::WVFSyntax},
    {"WVFFontName", &V::WVFFontName},
    {"WVFFontSize", &V::WVFFontSize},
    {"AutoCalcQSO", &V::AutoCalcQSO},
};

// Layout file keys of the program file's ReportFileName section and their defaults, report kinds 1..7.
struct LayoutName {
    const char* key;
    const char* fileName;
};
const LayoutName kLayoutNames[] = {
    {"RepEditFile", "EditFile.frf"},       {"RepTournament", "Tournament.frf"},
    {"RepFilesExists", "FilesExists.frf"}, {"RepQSOCalc", "QSOCalc.frf"},
    {"RepNoFile", "NoFile.frf"},           {"RepCategories", "Categories.frf"},
    {"RepLogCheck", "LogCheck.frf"},
};

template <class... F> struct Overloaded : F... { using F::operator()...; };
// Older compilers still need the deduction guide for aggregates.
template <class... F> Overloaded(F...) -> Overloaded<F...>;

// Runs every step even when an earlier one fails, and raises the failures together at the end, so
// that a file that cannot be written never keeps the other stores from being saved.
class TFailures {
  public:
    template <class F> void Run(F&& step) {
        try {
            step();
        } catch (const TZelkError& e) {
            if (!text_.empty()) text_ += '\n';
            text_ += e.what();
        }
    }
    void RaiseAny() const {
        if (!text_.empty()) throw TZelkError(text_);
    }

  private:
    std::string text_;
};

// The keys of the judging table, read with the field's value as default and written by their type.
void ReadKey(const TZelkIniFile& ini, std::string_view key, std::string& field) {
    field = ini.ReadString(kSettings, key, field);
}
void ReadKey(const TZelkIniFile& ini, std::string_view key, int& field) {
    field = ini.ReadInteger(kSettings, key, field);
}
void ReadKey(const TZelkIniFile& ini, std::string_view key, bool& field) {
    field = ini.ReadBool(kSettings, key, field);
}
void WriteKey(TZelkIniFile& ini, std::string_view key, const std::string& field) {
    ini.WriteString(kSettings, key, field);
}
void WriteKey(TZelkIniFile& ini, std::string_view key, int field) {
    ini.WriteInteger(kSettings, key, field);
}
void WriteKey(TZelkIniFile& ini, std::string_view key, bool field) {
    ini.WriteBool(kSettings, key, field);
}

// Rewrites our keys of the ini file read from `from` into `path`, keeping everything else the file holds.
// Unless `always`, nothing is written when the file's folder does not exist; an existing file that cannot
// be read is left alone, since writing it anew would throw away what we did not read.
template <class Fill>
void UpdateIniFile(const std::string& from, const std::string& path, bool always, Fill fill) {
    const std::string folder = ExtractFilePath(path);
    if (!always && !DirectoryExists(folder.empty() ? "." : folder)) return;
    TZelkIniFile ini;
    try {
        ini = TZelkIniFile::Load(from);
    } catch (const TZelkError&) {
        throw TZelkError(FormatText(kUnableToWrite, path));
    }
    fill(ini);
    ini.Save(path);
}

} // namespace

TZelkGlobalVars::TZelkGlobalVars() : TZelkGlobalVars(TZelkAppPaths::ForThisProgram()) {}

TZelkGlobalVars::TZelkGlobalVars(const std::string& exeFolder)
    : TZelkGlobalVars(TZelkAppPaths::Portable(exeFolder)) {}

TZelkGlobalVars::TZelkGlobalVars(const TZelkAppPaths& paths)
    : paths_(paths), appFolder_(paths.ProgramFolder()) {
    while (!appFolder_.empty() && appFolder_.back() == '/')
        appFolder_.pop_back();
    ExePath = appFolder_ + "/";
    HelpFile = paths_.DataFile(HelpFile);
}

std::string TZelkGlobalVars::AppFolder() const {
    return appFolder_;
}

std::string TZelkGlobalVars::AppPath(const std::string& relative) const {
    std::string_view r = relative;
    if (!r.empty() && (r.front() == '/' || r.front() == '\\')) r.remove_prefix(1);
    return appFolder_ + "/" + NativePath(r);
}

std::string TZelkGlobalVars::ProgramIniPath() const {
    return paths_.UserFile(IniName);
}

std::string TZelkGlobalVars::ProgramIniReadPath() const {
    return paths_.ReadFile(IniName);
}

std::string TZelkGlobalVars::ContestIniPath() const {
    return CurrentFolder.empty() ? std::string() : JoinPath(CurrentFolder, IniName);
}

// The layout file name of a report kind, relative to the reports folder; empty for none.
std::string TZelkGlobalVars::LayoutRelativePath(int kind) const {
    if (kind < rkEditFile || kind > rkLastKind) return {};
    const auto& layout = kLayoutNames[kind - rkEditFile];
    const std::string name =
        TZelkIniFile::Load(ProgramIniReadPath()).ReadString("ReportFileName", layout.key, layout.fileName);
    if (name.empty()) return {};
    return NativePath(JoinPath(ReportsFolder, name));
}

std::string TZelkGlobalVars::ReportLayoutFile(int kind) const {
    const std::string name = LayoutRelativePath(kind);
    return name.empty() ? name : paths_.ReadFile(name);
}

std::string TZelkGlobalVars::ReportLayoutSaveFile(int kind) const {
    const std::string name = LayoutRelativePath(kind);
    return name.empty() ? name : paths_.UserFile(name);
}

void TZelkGlobalVars::LoadSettings() {
    TFailures failures;
    failures.Run([&] { ReadProgramFile(); });
    failures.Run([&] { ReadContestFile(); });
    failures.Run([&] { ReadUserStore(); });
    failures.RaiseAny();
}

void TZelkGlobalVars::LoadContestSettings() {
    ReadContestFile();
}

void TZelkGlobalVars::SaveSettings() {
    TFailures failures;
    failures.Run([&] { WriteProgramFile(); });
    failures.Run([&] { WriteContestFile(); });
    failures.Run([&] { WriteUserStore(); });
    failures.RaiseAny();
}

void TZelkGlobalVars::ReadProgramFile() {
    const TZelkIniFile ini = TZelkIniFile::Load(ProgramIniReadPath());
    ReportsFolder = NativePath(ini.ReadString("Path", "reports", ReportsFolder));
    AppName = ini.ReadString("Name", "AppName", AppName);
    CurrentFolder = NativePath(ini.ReadString(kSettings, "CurrentFolder", CurrentFolder));
    ReadCommonKeys(ini);
}

void TZelkGlobalVars::ReadContestFile() {
    const std::string path = ContestIniPath();
    if (!path.empty()) ReadCommonKeys(TZelkIniFile::Load(path));
    if (!overrides_.empty()) ReadCommonKeys(TZelkIniFile(overrides_));
}

void TZelkGlobalVars::ReadCommonKeys(const TZelkIniFile& ini) {
    CurrentUBNFolder = NativePath(ini.ReadString(kSettings, "CurrentUBNFolder", CurrentUBNFolder));
#define ZELK_READ_KEY(type, name, value) ReadKey(ini, #name, name);
    ZELK_JUDGING_SETTINGS(ZELK_READ_KEY)
#undef ZELK_READ_KEY
    QLastCall = ini.ReadString(kSettings, "QLastCall", QLastCall);
    const int report = ini.ReadInteger(kSettings, "QLastReport", QLastReport);
    if (report >= rkNone && report <= rkLastKind) QLastReport = static_cast<std::uint8_t>(report);
    FindLogByCallSign = ini.ReadBool(kSettings, "FindLogByCallSign", FindLogByCallSign);
    QSOSplitTabs = ini.ReadBool(kSettings, "QSOSplitTabs", QSOSplitTabs);
    QSOTemplate = ini.ReadString(kSettings, "QSOTemplate", QSOTemplate);
    LCRExt = ini.ReadString(kSettings, "LCRExt", LCRExt);
    CategoryTags = ini.ReadString(kSettings, "CategoryTags", CategoryTags);
    TieBreakByAccuracy = ini.ReadBool(kSettings, "TieBreakByAccuracy", TieBreakByAccuracy);
}

void TZelkGlobalVars::WriteProgramFile() const {
    // The user's folder is made for the first save; one that cannot be made is an error, not a reason to
    // drop the settings quietly.
    paths_.MakeUserFolder();
    UpdateIniFile(ProgramIniReadPath(), ProgramIniPath(), paths_.SeparateUserFolder(),
                  [&](TZelkIniFile& ini) {
                      ini.WriteString(kSettings, "CurrentFolder", CurrentFolder);
                      WriteCommonKeys(ini);
                  });
}

void TZelkGlobalVars::WriteContestFile() const {
    const std::string path = ContestIniPath();
    if (path.empty()) return;
    UpdateIniFile(path, path, false, [&](TZelkIniFile& ini) { WriteCommonKeys(ini); });
}

void TZelkGlobalVars::WriteCommonKeys(TZelkIniFile& ini) const {
    ini.WriteString(kSettings, "CurrentUBNFolder", CurrentUBNFolder);
#define ZELK_WRITE_KEY(type, name, value) WriteKey(ini, #name, name);
    ZELK_JUDGING_SETTINGS(ZELK_WRITE_KEY)
#undef ZELK_WRITE_KEY
    ini.WriteString(kSettings, "QLastCall", QLastCall);
    ini.WriteInteger(kSettings, "QLastReport", QLastReport);
    // The keys of reading real logs go into a file once they are set or when the file has them already, so
    // that the files of a judge who never uses them stay as they were.
    if (FindLogByCallSign || ini.ValueExists(kSettings, "FindLogByCallSign"))
        ini.WriteBool(kSettings, "FindLogByCallSign", FindLogByCallSign);
    if (QSOSplitTabs || ini.ValueExists(kSettings, "QSOSplitTabs"))
        ini.WriteBool(kSettings, "QSOSplitTabs", QSOSplitTabs);
    if (!QSOTemplate.empty() || ini.ValueExists(kSettings, "QSOTemplate"))
        ini.WriteString(kSettings, "QSOTemplate", QSOTemplate);
    const TZelkJudgingSettings defaults;
    if (LCRExt != defaults.LCRExt || ini.ValueExists(kSettings, "LCRExt"))
        ini.WriteString(kSettings, "LCRExt", LCRExt);
    if (CategoryTags != defaults.CategoryTags || ini.ValueExists(kSettings, "CategoryTags"))
        ini.WriteString(kSettings, "CategoryTags", CategoryTags);
    if (TieBreakByAccuracy || ini.ValueExists(kSettings, "TieBreakByAccuracy"))
        ini.WriteBool(kSettings, "TieBreakByAccuracy", TieBreakByAccuracy);
}

void TZelkGlobalVars::ReadUserStore() {
    if (!store_) return;
    for (const auto& v : kUserValues) {
        std::visit(Overloaded{
                       [&](int V::*f) {
                           if (auto i = store_->ReadInteger(v.name)) this->*f = *i;
                       },
                       [&](bool V::*f) {
                           if (auto i = store_->ReadInteger(v.name)) this->*f = *i != 0;
                       },
                       [&](std::string V::*f) {
                           if (auto s = store_->ReadString(v.name)) this->*f = *s;
                       },
                   },
                   v.field);
    }
}

void TZelkGlobalVars::WriteUserStore() const {
    if (!store_) return;
    for (const auto& v : kUserValues) {
        std::visit(Overloaded{
                       [&](int V::*f) { store_->WriteInteger(v.name, this->*f); },
                       [&](bool V::*f) { store_->WriteInteger(v.name, this->*f ? 1 : 0); },
                       [&](std::string V::*f) { store_->WriteString(v.name, this->*f); },
                   },
                   v.field);
    }
}

void TZelkGlobalVars::LoadColumnWidths(std::vector<int>& widths, const std::string& name) const {
    if (!store_) return;
    const auto text = store_->ReadString(name);
    if (!text || text->empty()) return;
    const std::vector<std::string> items = SplitString(*text, ',');
    for (size_t i = 0; i < widths.size() && i < items.size(); ++i) {
        if (Trim(items[i]).empty()) continue;
        int width = 0;
        if (!TryStrToInt(items[i], width))
            throw TZelkError(FormatText("'%s' is not a valid integer value", items[i]));
        widths[i] = width;
    }
}

void TZelkGlobalVars::SaveColumnWidths(const std::vector<int>& widths, const std::string& name) const {
    if (!store_) return;
    std::string text;
    for (size_t i = 0; i < widths.size(); ++i) {
        if (i > 0) text += ',';
        if (widths[i] >= 0) text += std::to_string(widths[i]);
    }
    store_->WriteString(name, text);
}

TZelkGlobalVars& Vars() {
    static TZelkGlobalVars vars;
    return vars;
}

TZelkGlobalVars ResetVars(const TZelkGlobalVars& fresh) {
    TZelkGlobalVars previous = Vars();
    Vars() = fresh;
    return previous;
}

} // namespace zelk
