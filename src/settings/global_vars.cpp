// The settings object: defaults, the two zelk.ini files, the per-user store and the program's paths.
#include "settings/global_vars.h"

#include "logs/error.h"
#include "logs/file_io.h"
#include "logs/text.h"
#include "settings/ini_file.h"
#include "settings/platform.h"

#include <filesystem>
#include <string_view>
#include <system_error>
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

// Layout file keys of the program file's ReportFileName section and their defaults, report kinds 1..5.
struct LayoutName {
    const char* key;
    const char* fileName;
};
const LayoutName kLayoutNames[] = {
    {"RepEditFile", "EditFile.frf"},       {"RepTournament", "Tournament.frf"},
    {"RepFilesExists", "FilesExists.frf"}, {"RepQSOCalc", "QSOCalc.frf"},
    {"RepNoFile", "NoFile.frf"},
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

std::string ExecutableFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return TextFromPath(exe.parent_path());
    // Without /proc the program is taken to run from the current folder.
    const auto cwd = std::filesystem::current_path(ec);
    return ec ? std::string(".") : TextFromPath(cwd);
}

// Rewrites our keys of the ini file at `path`, keeping everything else the file holds. Nothing is
// written when the file's folder does not exist; an existing file that cannot be read is left alone,
// since writing it anew would throw away what we did not read.
template <class Fill> void UpdateIniFile(const std::string& path, Fill fill) {
    const std::string folder = ExtractFilePath(path);
    if (!DirectoryExists(folder.empty() ? "." : folder)) return;
    TZelkIniFile ini;
    try {
        ini = TZelkIniFile::Load(path);
    } catch (const TZelkError&) {
        throw TZelkError(FormatText(kUnableToWrite, path));
    }
    fill(ini);
    ini.Save(path);
}

} // namespace

TZelkGlobalVars::TZelkGlobalVars() : TZelkGlobalVars(ExecutableFolder()) {}

TZelkGlobalVars::TZelkGlobalVars(const std::string& exeFolder) : appFolder_(NativePath(exeFolder)) {
    while (!appFolder_.empty() && appFolder_.back() == '/')
        appFolder_.pop_back();
    ExePath = appFolder_ + "/";
    HelpFile = AppPath(HelpFile);
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
    return JoinPath(ExePath, IniName);
}

std::string TZelkGlobalVars::ContestIniPath() const {
    return CurrentFolder.empty() ? std::string() : JoinPath(CurrentFolder, IniName);
}

std::string TZelkGlobalVars::ReportLayoutFile(int kind) const {
    if (kind < rkEditFile || kind > rkNoFile) return {};
    const LayoutName& layout = kLayoutNames[kind - rkEditFile];
    const std::string name =
        TZelkIniFile::Load(ProgramIniPath()).ReadString("ReportFileName", layout.key, layout.fileName);
    if (name.empty()) return {};
    return NativePath(JoinPath(ExePath + ReportsFolder, name));
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
    const TZelkIniFile ini = TZelkIniFile::Load(ProgramIniPath());
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
    FilesMask = ini.ReadString(kSettings, "FilesMask", FilesMask);
    UBNExt = ini.ReadString(kSettings, "UBNExt", UBNExt);
    MaxMinutesDifference = ini.ReadInteger(kSettings, "MaxMinutesDifference", MaxMinutesDifference);
    NoFileMinMentionCount = ini.ReadInteger(kSettings, "NoFileMinMentionCount", NoFileMinMentionCount);
    NoFileIncludeResults = ini.ReadBool(kSettings, "NoFileIncludeResults", NoFileIncludeResults);
    QLastCall = ini.ReadString(kSettings, "QLastCall", QLastCall);
    const int report = ini.ReadInteger(kSettings, "QLastReport", QLastReport);
    if (report >= rkNone && report <= rkNoFile) QLastReport = static_cast<std::uint8_t>(report);
}

void TZelkGlobalVars::WriteProgramFile() const {
    UpdateIniFile(ProgramIniPath(), [&](TZelkIniFile& ini) {
        ini.WriteString(kSettings, "CurrentFolder", CurrentFolder);
        WriteCommonKeys(ini);
    });
}

void TZelkGlobalVars::WriteContestFile() const {
    const std::string path = ContestIniPath();
    if (path.empty()) return;
    UpdateIniFile(path, [&](TZelkIniFile& ini) { WriteCommonKeys(ini); });
}

void TZelkGlobalVars::WriteCommonKeys(TZelkIniFile& ini) const {
    ini.WriteString(kSettings, "CurrentUBNFolder", CurrentUBNFolder);
    ini.WriteString(kSettings, "FilesMask", FilesMask);
    ini.WriteString(kSettings, "UBNExt", UBNExt);
    ini.WriteInteger(kSettings, "MaxMinutesDifference", MaxMinutesDifference);
    ini.WriteInteger(kSettings, "NoFileMinMentionCount", NoFileMinMentionCount);
    ini.WriteBool(kSettings, "NoFileIncludeResults", NoFileIncludeResults);
    ini.WriteString(kSettings, "QLastCall", QLastCall);
    ini.WriteInteger(kSettings, "QLastReport", QLastReport);
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
