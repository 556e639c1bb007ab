// The six judging scripts: default texts, files, the typed entry points and the cached record results.
#include "script/judging_scripts.h"

#include "logs/cabrillo_file.h"
#include "logs/file_io.h"
#include "logs/qso_record.h"
#include "logs/text.h"
#include "script/fr_interpretator.h"
#include "script/script_value.h"
#include "script/zelk_script_engine.h"
#include "settings/app_paths.h"
#include "settings/platform.h"

#include <array>

namespace zelk {

namespace {

struct TScriptInfo {
    const std::string& caption;
    const char* file;
    const char* topic;
};

const std::string& RecordFieldsHelp() {
    return "// Внутренние переменные (распознанные поля текущей записи):\r\n"
           "// Freq,Mode,SDate,STime,Call,Send,Receive,Score,Comment: String;\r\n"
           "// DateTime: TDateTime;\r\n"_cp;
}

const std::string& PairHelp() {
    return "// Внутренние переменные:\r\n"
           "// CallSign: String; позывной владельца проверяемого файла\r\n"
           "// [поля проверяемой записи]\r\n"
           "// Freq,Mode,SDate,STime,Call,Send,Receive,Score,Comment: String;\r\n"
           "// DateTime: TDateTime;\r\n"
           "// [поля подтверждающей записи]\r\n"
           "// Freq2,Mode2,SDate2,STime2,Call2,Send2,Receive2,Score2,Comment2: String;\r\n"
           "// DateTime2: TDateTime;\r\n"
           "// Результат должен быть помещён в переменную\r\n"
           "// Result: Boolean;\r\n"
           "begin\r\n"_cp;
}

std::string DefaultText(TScriptKind kind) {
    switch (kind) {
    case TScriptKind::CalcQSO:
        return RecordFieldsHelp() + "// Результат должен быть помещён в переменную\r\n"
                                    "// Result: Integer;\r\n"
                                    "begin\r\n"
                                    "  Result := 1;\r\n"
                                    "end;"_cp;
    case TScriptKind::CalcMultiplier:
        return RecordFieldsHelp() + "// Результат (критерий) должен быть помещён в переменную\r\n"
                                    "// Result: String;\r\n"
                                    "begin\r\n"
                                    "  Result := Call;\r\n"
                                    "end;"_cp;
    case TScriptKind::CalcTotal:
        return "// Внутренние переменные (количество очков и множитель):\r\n"
               "// Score, Multi: Integer;\r\n"
               "// Результат должен быть помещён в переменную\r\n"
               "// Result: Integer;\r\n"
               "begin\r\n"
               "  Result := Score * Multi;\r\n"
               "end;"_cp;
    case TScriptKind::IsConfirmative:
        return PairHelp() + "  Result := ((Call2 = CallSign) and\r\n"
                            "             (Mode2 = Mode) and\r\n"
                            "             (Freq2 = Freq));\r\n"
                            "end;";
    case TScriptKind::IsValidReceive:
        return PairHelp() + "  Result := (Receive = Send2);\r\n"
                            "end;";
    case TScriptKind::IsDuplicate:
        return "// Внутренние переменные:\r\n"
               "// [поля проверяемой записи]\r\n"
               "// Freq,Mode,SDate,STime,Call,Send,Receive,Score,Comment: String;\r\n"
               "// DateTime: TDateTime;\r\n"
               "// [поля сравниваемой записи]\r\n"
               "// Freq2,Mode2,SDate2,STime2,Call2,Send2,Receive2,Score2,Comment2: String;\r\n"
               "// DateTime2: TDateTime;\r\n"
               "// Результат должен быть помещён в переменную\r\n"
               "// Result: Boolean;\r\n"
               "begin\r\n"
               "  Result := (\r\n"
               "    (Freq = Freq2) and\r\n"
               "    (Mode = Mode2) and\r\n"
               "    (Call = Call2)\r\n"
               "  )\r\n"
               "end;"_cp;
    }
    return {};
}

TScriptInfo Info(TScriptKind kind) {
    switch (kind) {
    case TScriptKind::CalcQSO:
        return {"Расчёт очков для QSO-записи"_cp, "CalcQSO.txt", "script_CalcQSO"};
    case TScriptKind::CalcMultiplier:
        return {"Критерий для расчёта множителя"_cp, "CalcMultiplier.txt", "script_CalcMultiplier"};
    case TScriptKind::CalcTotal:
        return {"Расчёт итога"_cp, "CalcTotal.txt", "script_CalcTotal"};
    case TScriptKind::IsConfirmative:
        return {"Подтверждение QSO-записи"_cp, "IsConfirmative.txt", "script_IsConfirmative"};
    case TScriptKind::IsValidReceive:
        return {"Подтверждение приёма"_cp, "IsValidReceive.txt", "script_IsValidReceive"};
    case TScriptKind::IsDuplicate:
        return {"Проверка на повтор"_cp, "IsDuplicate.txt", "script_IsDuplicate"};
    }
    return {"Расчёт очков для QSO-записи"_cp, "CalcQSO.txt", "script_CalcQSO"};
}

// The record fields every entry point may read: the nine columns, the moment, and the two pieces of the
// QSO line that only its template names.
constexpr std::array<const char*, 12> kFieldNames = {"Freq",    "Mode",     "SDate",   "STime",
                                                     "Call",    "Send",     "Receive", "Score",
                                                     "Comment", "DateTime", "MyCall",  "Tx"};
constexpr int kFieldCount = static_cast<int>(kFieldNames.size());
constexpr int kScoreField = 7;
constexpr int kDateTimeField = 9;

// The bits of the entry points' inputs: field f of the record without suffix, of the record with "2",
// CallSign, Multi (CalcTotal's Score is the bit of the field Score), Accepted2, Reason and
// MaxMinutesDifference.
constexpr std::uint32_t FieldBit(int suffix, int field) {
    return std::uint32_t{1} << (suffix * kFieldCount + field);
}
constexpr std::uint32_t kCallSignBit = std::uint32_t{1} << 24;
constexpr std::uint32_t kMultiBit = std::uint32_t{1} << 25;
constexpr std::uint32_t kAccepted2Bit = std::uint32_t{1} << 26;
constexpr std::uint32_t kReasonBit = std::uint32_t{1} << 27;
constexpr std::uint32_t kMaxMinutesBit = std::uint32_t{1} << 28;

// The record's text fields in the order of kFieldNames (the moment, which is no text, left out).
std::array<const std::string*, 12> FieldTexts(const TQSORecord& r) {
    return {&r.Freq,    &r.Mode,  &r.SDate,   &r.STime, &r.Call,   &r.Send,
            &r.Receive, &r.Score, &r.Comment, nullptr,  &r.MyCall, &r.Tx};
}

// The inputs among what a compiled script can read.
std::uint32_t InputsOf(const TfrReads& reads) {
    if (reads.Any) return ~0u;
    std::uint32_t inputs = 0;
    for (const std::string& name : reads.Names) {
        for (int s = 0; s < 2; ++s)
            for (int f = 0; f < kFieldCount; ++f)
                if (name == UpperCase(std::string(kFieldNames[static_cast<size_t>(f)]) + (s ? "2" : "")))
                    inputs |= FieldBit(s, f);
        if (name == "CALLSIGN") inputs |= kCallSignBit;
        if (name == "MULTI") inputs |= kMultiBit;
        if (name == "ACCEPTED2") inputs |= kAccepted2Bit;
        if (name == "REASON") inputs |= kReasonBit;
        if (name == "MAXMINUTESDIFFERENCE") inputs |= kMaxMinutesBit;
    }
    return inputs;
}

} // namespace

// Fixed handles of the variables every entry point defines, so a run never searches the store by name.
struct TZelkScript::Handles {
    int result = -1, callSign = -1, score = -1, multi = -1, accepted2 = -1, reason = -1, maxMinutes = -1;
    std::array<std::array<int, kFieldCount>, 2> fields{}; // suffix "" and "2"
    std::array<std::array<std::string, kFieldCount>, 2> names;
};

TScriptFileLocation TScriptFiles::Locate(const std::string& fileName) const {
    if (!Folder.empty() || !Paths) {
        const std::string file = JoinPath(Folder, fileName);
        return {file, file};
    }
    return JudgingScriptFile(*Paths, {}, fileName);
}

TZelkScriptItem::TZelkScriptItem(TScriptKind kind, TScriptFiles files)
    : kind_(kind), files_(std::move(files)), compiled_(std::make_unique<TfrScript>()) {}
TZelkScriptItem::~TZelkScriptItem() = default;

std::string TZelkScriptItem::GetCaption() const {
    return Info(kind_).caption;
}
std::string TZelkScriptItem::GetDefaultText() const {
    return DefaultText(kind_);
}
std::string TZelkScriptItem::GetHelpTopic() const {
    return Info(kind_).topic;
}

std::string TZelkScriptItem::GetFileName() const {
    return files_.Locate(Info(kind_).file).Write;
}

void TZelkScriptItem::Load() {
    const std::string file = files_.Locate(Info(kind_).file).Read;
    lines_ = TextLines(FileExists(file) ? ReadFileBytes(file) : GetDefaultText());
    compiledCurrent_ = false;
    Failed = false;
}

std::string TZelkScriptItem::GetText() const {
    std::string text;
    for (const auto& line : lines_)
        text += line + "\r\n";
    return text;
}

void TZelkScriptItem::SetText(const std::string& text) {
    lines_ = TextLines(text);
    compiledCurrent_ = false;
    Failed = false;
}

bool TZelkScriptItem::Prepare(TZelkScriptEngine& engine, IMessages& messages) {
    if (Failed) return false;
    if (compiledCurrent_) return true;
    std::vector<std::string> errors;
    engine.CompileScript(lines_, *compiled_, errors);
    if (!errors.empty()) {
        std::string text = FormatText("Ошибка в скрипте [%s]:"_cp, GetCaption()) + "\r\r";
        for (const auto& e : errors)
            text += e + "\r\n";
        Failed = true;
        messages.Plain(text);
        return false;
    }
    inputs_ = InputsOf(engine.ScriptReads(*compiled_));
    compiledCurrent_ = true;
    return true;
}

void TZelkScriptItem::Execute(TZelkScriptEngine& engine, IMessages& messages) {
    try {
        engine.RunScript(*compiled_);
    } catch (const std::exception&) {
        Failed = true;
        messages.Plain(FormatText("Ошибка в скрипте [%s]"_cp, GetCaption()));
    }
}

void TZelkScriptItem::Run(TZelkScriptEngine& engine, IMessages& messages) {
    if (Prepare(engine, messages)) Execute(engine, messages);
}

TZelkScript::TZelkScript(TScriptFiles files, IMessages& messages)
    : TZelkScript(std::move(files), messages, TNoFiles()) {
    for (auto& item : items_)
        item->Load();
}

TZelkScript::TZelkScript(TScriptFiles files, IMessages& messages, TNoFiles)
    : files_(std::move(files)), messages_(messages), engine_(std::make_unique<TZelkScriptEngine>(messages)),
      handles_(std::make_unique<Handles>()) {
    for (auto kind : {TScriptKind::CalcQSO, TScriptKind::CalcMultiplier, TScriptKind::CalcTotal,
                      TScriptKind::IsConfirmative, TScriptKind::IsValidReceive, TScriptKind::IsDuplicate})
        items_.push_back(std::make_unique<TZelkScriptItem>(kind, files_));
    Handles& h = *handles_;
    h.result = engine_->VariableHandle("Result");
    h.callSign = engine_->VariableHandle("CallSign");
    h.score = engine_->VariableHandle("Score");
    h.multi = engine_->VariableHandle("Multi");
    h.accepted2 = engine_->VariableHandle("Accepted2");
    h.reason = engine_->VariableHandle("Reason");
    h.maxMinutes = engine_->VariableHandle("MaxMinutesDifference");
    for (int s = 0; s < 2; ++s) {
        for (size_t f = 0; f < kFieldNames.size(); ++f) {
            h.names[s][f] = std::string(kFieldNames[f]) + (s ? "2" : "");
            h.fields[s][f] = engine_->VariableHandle(h.names[s][f]);
        }
    }
}

TZelkScript::~TZelkScript() = default;

void TZelkScript::Load(TScriptFiles files) {
    files_ = std::move(files);
    for (auto& item : items_) {
        item->files_ = files_;
        item->Load();
    }
}

std::unique_ptr<TZelkScript> TZelkScript::Clone() const {
    return Clone(messages_);
}

bool TZelkScript::AnyFailed() const {
    for (const auto& item : items_)
        if (item->Failed) return true;
    return false;
}

std::unique_ptr<TZelkScript> TZelkScript::Clone(IMessages& messages) const {
    std::unique_ptr<TZelkScript> copy(new TZelkScript(files_, messages, TNoFiles()));
    for (size_t i = 0; i < items_.size(); ++i) {
        copy->items_[i]->SetText(items_[i]->GetText());
        copy->items_[i]->Failed = items_[i]->Failed;
    }
    copy->maxMinutes_ = maxMinutes_;
    return copy;
}

TZelkScriptItem* TZelkScript::FindItem(TScriptKind kind) {
    for (auto& item : items_)
        if (item->Kind() == kind) return item.get();
    return nullptr;
}

void TZelkScript::ResetFailed() {
    for (auto& item : items_)
        item->Failed = false;
}

template <class Define>
ScriptValue TZelkScript::RunEntry(TScriptKind kind, const ScriptValue& initial, Define&& define,
                                  std::string* reason) {
    engine_->ClearVariables();
    engine_->SetVariable(handles_->result, "Result", initial);
    if (reason) reason->clear();
    TZelkScriptItem& item = *FindItem(kind);
    if (item.Prepare(*engine_, messages_)) {
        const std::uint32_t inputs = item.Inputs();
        if (inputs & kMaxMinutesBit)
            engine_->DefineVariable(handles_->maxMinutes, "MaxMinutesDifference") =
                ScriptValue::Integer(maxMinutes_);
        // Reason starts empty; an entry point that has none leaves the name to the script.
        if (reason && (inputs & kReasonBit))
            engine_->DefineVariable(handles_->reason, "Reason").AssignText(std::string());
        define(inputs);
        item.Execute(*engine_, messages_);
        if (reason && !item.Failed)
            if (const ScriptValue* word = engine_->Variables().At(handles_->reason)) *reason = word->AsText();
    }
    const ScriptValue* result = engine_->Variables().At(handles_->result);
    return result ? *result : ScriptValue::Integer(0);
}

void TZelkScript::SetRecord(const TQSORecord& r, int s, std::uint32_t inputs) {
    const auto& h = *handles_;
    const auto texts = FieldTexts(r);
    for (int f = 0; f < kFieldCount; ++f) {
        if (!(inputs & FieldBit(s, f))) continue;
        ScriptValue& value = engine_->DefineVariable(h.fields[s][f], h.names[s][f]);
        // The moment is computed only for a script that can read it.
        if (f == kDateTimeField)
            value.AssignDate(r.DateTime());
        else
            value.AssignText(*texts[static_cast<size_t>(f)]);
    }
}

void TZelkScript::SetRecordVariables(const TQSORecord& record, const std::string& suffix) {
    if (suffix.empty() || suffix == "2") {
        SetRecord(record, suffix.empty() ? 0 : 1, ~0u);
        return;
    }
    const auto texts = FieldTexts(record);
    for (size_t f = 0; f < kFieldNames.size(); ++f)
        engine_->SetVariable(std::string(kFieldNames[f]) + suffix, static_cast<int>(f) == kDateTimeField
                                                                       ? ScriptValue::Date(record.DateTime())
                                                                       : ScriptValue::Text(*texts[f]));
}

int TZelkScript::CalcQSO(const TQSORecord& record, std::string* reason) {
    return RunEntry(
               TScriptKind::CalcQSO, ScriptValue::Integer(0),
               [&](std::uint32_t inputs) { SetRecord(record, 0, inputs); }, reason)
        .AsInteger();
}

std::string TZelkScript::CalcMultiplier(const TQSORecord& record) {
    return RunEntry(TScriptKind::CalcMultiplier, ScriptValue::Text(""),
                    [&](std::uint32_t inputs) { SetRecord(record, 0, inputs); })
        .AsText();
}

int TZelkScript::CalcTotal(int score, int multi) {
    return RunEntry(TScriptKind::CalcTotal, ScriptValue::Integer(0),
                    [&](std::uint32_t inputs) {
                        if (inputs & FieldBit(0, kScoreField))
                            engine_->SetVariable(handles_->score, "Score", ScriptValue::Integer(score));
                        if (inputs & kMultiBit)
                            engine_->SetVariable(handles_->multi, "Multi", ScriptValue::Integer(multi));
                    })
        .AsInteger();
}

bool TZelkScript::RunPairTest(TScriptKind kind, const std::string* callSign, const TQSORecord& record,
                              const TQSORecord& other, const bool* accepted2, std::string* reason) {
    return RunEntry(
               kind, ScriptValue::Boolean(false),
               [&](std::uint32_t inputs) {
                   if (callSign && (inputs & kCallSignBit))
                       engine_->DefineVariable(handles_->callSign, "CallSign").AssignText(*callSign);
                   if (accepted2 && (inputs & kAccepted2Bit))
                       engine_->DefineVariable(handles_->accepted2, "Accepted2") =
                           ScriptValue::Boolean(*accepted2);
                   SetRecord(record, 0, inputs);
                   SetRecord(other, 1, inputs);
               },
               reason)
        .AsBoolean();
}

void TZelkScript::SetMaxMinutesDifference(int minutes) {
    maxMinutes_ = minutes;
}

bool TZelkScript::IsDuplicateReadsAccepted2() {
    TZelkScriptItem& item = *FindItem(TScriptKind::IsDuplicate);
    return item.Prepare(*engine_, messages_) && (item.Inputs() & kAccepted2Bit);
}

bool TZelkScript::IsConfirmative(const std::string& callSign, const TQSORecord& record,
                                 const TQSORecord& candidate) {
    return RunPairTest(TScriptKind::IsConfirmative, &callSign, record, candidate, nullptr, nullptr);
}

bool TZelkScript::IsValidReceive(const std::string& callSign, const TQSORecord& record,
                                 const TQSORecord& candidate, std::string* reason) {
    return RunPairTest(TScriptKind::IsValidReceive, &callSign, record, candidate, nullptr, reason);
}

bool TZelkScript::IsDuplicate(const TQSORecord& record, const TQSORecord& earlier, const bool* accepted2,
                              std::string* reason) {
    return RunPairTest(TScriptKind::IsDuplicate, nullptr, record, earlier, accepted2, reason);
}

int Points(TZelkScript& scripts, TQSORecord& record) {
    if (record.CachedPoints < 0) record.CachedPoints = scripts.CalcQSO(record, &record.CachedReason);
    return record.CachedPoints;
}

std::string Criterion(TZelkScript& scripts, TQSORecord& record) {
    if (!record.CriterionKnown) {
        record.CachedCriterion = scripts.CalcMultiplier(record);
        record.CriterionKnown = true;
    }
    return record.CachedCriterion;
}

bool IsConfirmedBy(TZelkScript& scripts, const TQSORecord& record, const std::string& ownerCall,
                   const TQSORecord& other) {
    return scripts.IsConfirmative(ownerCall, record, other);
}

bool IsReceiveValid(TZelkScript& scripts, const TQSORecord& record, const std::string& ownerCall,
                    const TQSORecord& other, std::string* reason) {
    return scripts.IsValidReceive(ownerCall, record, other, reason);
}

bool IsDuplicateOf(TZelkScript& scripts, const TQSORecord& record, const TQSORecord& earlier,
                   const bool* accepted2, std::string* reason) {
    return scripts.IsDuplicate(record, earlier, accepted2, reason);
}

int GetTotal(TZelkScript& scripts, TZelkCurrentFile& file) {
    if (!file.TotalKnown) {
        file.CachedTotal = scripts.CalcTotal(file.Score, file.Multi);
        file.TotalKnown = true;
    }
    return file.CachedTotal;
}

} // namespace zelk
