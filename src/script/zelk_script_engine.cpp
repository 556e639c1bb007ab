// The judging engine's variables and functions. A function evaluates exactly the arguments it uses,
// each once, in the order of its parameters.
#include "script/zelk_script_engine.h"

#include "logs/callsign.h"
#include "logs/error.h"
#include "logs/qso_record.h"
#include "logs/text.h"
#include "script/format.h"
#include "script/rule_functions.h"
#include "settings/platform.h"

#include <cmath>

namespace zelk {

namespace {

enum TFunction {
    fnIntToStr,
    fnPos,
    fnCopy,
    fnTrim,
    fnIf,
    fnUpperCase,
    fnLowerCase,
    fnNameCase,
    fnStrToDate,
    fnStrToTime,
    fnLength,
    fnFormatFloat,
    fnFormatDateTime,
    fnTrunc,
    fnFrac,
    fnRound,
    fnMinNum,
    fnMaxNum,
    fnMod,
    fnDayOf,
    fnMonthOf,
    fnYearOf,
    fnShowMessage,
    fnStrToInt,
    // The helpers that contest rules need; scripts written before them never call these names.
    fnBand,
    fnMinutes,
    fnWord,
    fnNoZeros,
    fnIsCall,
    kFunctionCount
};

constexpr std::string_view kFunctionNames[kFunctionCount] = {
    "IntToStr", "Pos",         "Copy",      "Trim",   "If",          "UpperCase",      "LowerCase",
    "NameCase", "StrToDate",   "StrToTime", "Length", "FormatFloat", "FormatDateTime", "Trunc",
    "Frac",     "Round",       "MinNum",    "MaxNum", "Mod",         "DayOf",          "MonthOf",
    "YearOf",   "ShowMessage", "StrToInt",  "Band",   "Minutes",     "Word",           "NoZeros",
    "IsCall"};

// The functions that reach variables only through their arguments: none computes a variable's name or
// goes through the store. A script calling any other function is given every variable its entry point
// defines, so a new function belongs here only once that holds for it.
constexpr TFunction kReadsOnlyArguments[] = {
    fnIntToStr, fnPos,         fnCopy,      fnTrim,   fnIf,          fnUpperCase,      fnLowerCase,
    fnNameCase, fnStrToDate,   fnStrToTime, fnLength, fnFormatFloat, fnFormatDateTime, fnTrunc,
    fnFrac,     fnRound,       fnMinNum,    fnMaxNum, fnMod,         fnDayOf,          fnMonthOf,
    fnYearOf,   fnShowMessage, fnStrToInt,  fnBand,   fnMinutes,     fnWord,           fnNoZeros,
    fnIsCall};

struct TSignature {
    TFunction function;
    std::string_view signature;
};

// The completion list puts StrToInt before ShowMessage.
constexpr TSignature kCompletion[kFunctionCount] = {
    {fnIntToStr, "IntToStr(<value>)"},
    {fnPos, "Pos(<substring>, <string>)"},
    {fnCopy, "Copy(<string>, <from>, <count>)"},
    {fnTrim, "Trim(<string>)"},
    {fnIf, "If(<expression>, <string1>, <string2>)"},
    {fnUpperCase, "UpperCase(<value>)"},
    {fnLowerCase, "LowerCase(<value>)"},
    {fnNameCase, "NameCase(<value>)"},
    {fnStrToDate, "StrToDate(<value>)"},
    {fnStrToTime, "StrToTime(<value>)"},
    {fnLength, "Length(<string>)"},
    {fnFormatFloat, "FormatFloat(<formatstr>, <value>)"},
    {fnFormatDateTime, "FormatDateTime(<formatstr>, <value>)"},
    {fnTrunc, "Trunc(<value>)"},
    {fnFrac, "Frac(<value>)"},
    {fnRound, "Round(<value>, <digits>)"},
    {fnMinNum, "MinNum(<value1>, <value2>)"},
    {fnMaxNum, "MaxNum(<value1>, <value2>)"},
    {fnMod, "Mod(<value1>, <value2>)"},
    {fnDayOf, "DayOf(<date>)"},
    {fnMonthOf, "MonthOf(<date>)"},
    {fnYearOf, "YearOf(<date>)"},
    {fnStrToInt, "StrToInt(<value>)"},
    {fnShowMessage, "ShowMessage(<text>)"},
    {fnBand, "Band(<freq>)"},
    {fnMinutes, "Minutes(<datetime1>, <datetime2>)"},
    {fnWord, "Word(<string>, <n>)"},
    {fnNoZeros, "NoZeros(<string>)"},
    {fnIsCall, "IsCall(<string>)"},
};

struct TVariableEntry {
    std::string_view name;
    std::string_view signature;
};

// The variables that contest rules are written with, after the functions; their scripts are named in the
// help pages.
constexpr TVariableEntry kRuleVariables[] = {
    {"MaxMinutesDifference", "MaxMinutesDifference: Integer"},
    {"MyCall", "MyCall: String"},
    {"MyCall2", "MyCall2: String"},
    {"Tx", "Tx: String"},
    {"Tx2", "Tx2: String"},
    {"Reason", "Reason: String"},
    {"Accepted2", "Accepted2: Boolean"},
};

calendar::TDateTimeParts DateParts(const ScriptValue& v) {
    calendar::TDateTimeParts parts;
    if (!calendar::TrySplitDateTime(v.AsFloat(), parts))
        ThrowConversionError(TValueKind::Double, TValueKind::Date);
    return parts;
}

// A moment for Minutes: a date-time of the years 1 to 9999, as DayOf and its kin demand.
double Moment(const ScriptValue& v) {
    const double days = v.AsDate();
    calendar::TDateTimeParts parts;
    if (!calendar::TrySplitDateTime(days, parts)) ThrowConversionError(TValueKind::Double, TValueKind::Date);
    return days;
}

std::int64_t TruncToInt64(double x) {
    const double t = std::trunc(x);
    // 2^63 is the first double beyond the 64-bit range.
    if (!(t >= -9223372036854775808.0 && t < 9223372036854775808.0))
        throw TZelkError("Invalid floating point operation");
    return static_cast<std::int64_t>(t);
}

std::string NameCase(std::string_view s) {
    std::string text = LowerCase(s);
    if (!text.empty()) text[0] = static_cast<char>(UpperChar(static_cast<unsigned char>(text[0])));
    return text;
}

ScriptValue Text(std::string s) {
    return ScriptValue::Text(std::move(s));
}

StderrMessages& StandardError() {
    static StderrMessages messages;
    return messages;
}

} // namespace

TZelkScriptEngine::TZelkScriptEngine() : TZelkScriptEngine(StandardError()) {}

TZelkScriptEngine::TZelkScriptEngine(IMessages& messages) : messages_(messages) {
    for (int i = 0; i < kFunctionCount; ++i)
        functions_.emplace(UpperCase(Trim(kFunctionNames[i])), i);
}

bool IsScriptFunction(std::string_view name) {
    for (std::string_view known : kFunctionNames)
        if (SameText(name, known)) return true;
    return false;
}

bool IsRuleVariable(std::string_view name) {
    for (const TVariableEntry& v : kRuleVariables)
        if (SameText(name, v.name)) return true;
    return false;
}

bool IsQuietFunction(std::string_view name) {
    for (int i = 0; i < kFunctionCount; ++i)
        if (SameText(name, kFunctionNames[i])) return i != fnShowMessage;
    return false;
}

ScriptValue TZelkScriptEngine::GetVariable(std::string_view name) {
    if (!variables_.Find(name)) return ScriptValue::Integer(0);
    ScriptValue value = ScriptValue::Null();
    ReadVariable(name, value);
    return value;
}

void TZelkScriptEngine::ReadVariable(std::string_view name, ScriptValue& value) {
    if (const ScriptValue* v = variables_.Find(name)) value = *v;
}

void TZelkScriptEngine::WriteVariable(std::string_view name, const ScriptValue& value) {
    variables_.Set(name, value);
}

bool TZelkScriptEngine::ReadsOnlyArguments(const std::string& name) const {
    const auto it = functions_.find(name);
    if (it == functions_.end()) return false;
    for (const TFunction f : kReadsOnlyArguments)
        if (f == it->second) return true;
    return false;
}

void TZelkScriptEngine::FillCompletion(std::vector<TCompletionEntry>& list) const {
    list.clear();
    for (const auto& e : kCompletion)
        list.push_back({"function\t" + std::string(e.signature), std::string(kFunctionNames[e.function])});
    for (const auto& v : kRuleVariables)
        list.push_back({"variable\t" + std::string(v.signature), std::string(v.name)});
}

void TZelkScriptEngine::CheckScript(const std::vector<std::string>& source, TfrScript& compiled,
                                    std::vector<std::string>& errors) {
    CompileScript(source, compiled, errors);
    if (!errors.empty()) return;
    for (const TfrCallRef& call : compiled.Calls()) {
        if (IsScriptFunction(call.Name)) continue;
        errors.push_back("Line " + std::to_string(call.Line) + "/" + std::to_string(call.Column) + ": " +
                         FormatText("Неизвестная функция : %s"_cp, call.Name));
        return;
    }
}

void TZelkScriptEngine::CallFunction(const std::string& name, const TfrArgs& args, ScriptValue& result) {
    const auto it = functions_.find(name);
    if (it == functions_.end()) throw TZelkError(FormatText("Неизвестная функция : %s"_cp, name));
    auto arg = [&args](int i) { return args.Value(i); };
    switch (static_cast<TFunction>(it->second)) {
    case fnIntToStr:
        result = Text(std::to_string(arg(0).AsInteger()));
        break;
    case fnPos: {
        const std::string sub = arg(0).AsText();
        const std::string s = arg(1).AsText();
        const std::size_t at = sub.empty() ? std::string::npos : s.find(sub);
        result = ScriptValue::Integer(at == std::string::npos ? 0 : static_cast<std::int32_t>(at + 1));
        break;
    }
    case fnTrim:
        result = Text(Trim(arg(0).AsText()));
        break;
    case fnUpperCase:
        result = Text(UpperCase(arg(0).AsText()));
        break;
    case fnLowerCase:
        result = Text(LowerCase(arg(0).AsText()));
        break;
    case fnNameCase:
        result = Text(NameCase(arg(0).AsText()));
        break;
    case fnLength:
        result = ScriptValue::Integer(static_cast<std::int32_t>(arg(0).AsText().size()));
        break;
    case fnFormatFloat: {
        const std::string pattern = arg(0).AsText();
        result = Text(FormatFloat(pattern, arg(1).AsFloat()));
        break;
    }
    case fnFormatDateTime: {
        const std::string pattern = arg(0).AsText();
        result = Text(FormatDateTime(pattern, arg(1).AsFloat()));
        break;
    }
    case fnTrunc:
        result = ScriptValue::Int64(TruncToInt64(arg(0).AsFloat()));
        break;
    case fnMinNum:
    case fnMaxNum: {
        ScriptValue a = arg(0);
        ScriptValue b = arg(1);
        const TCompareOp op = it->second == fnMinNum ? TCompareOp::Less : TCompareOp::Greater;
        result = EqualsZero(CompareValues(op, a, b)) ? std::move(b) : std::move(a);
        break;
    }
    case fnDayOf:
        result = ScriptValue::Integer(DateParts(arg(0)).Day);
        break;
    case fnMonthOf:
        result = ScriptValue::Integer(DateParts(arg(0)).Month);
        break;
    case fnYearOf:
        result = ScriptValue::Integer(DateParts(arg(0)).Year);
        break;
    case fnShowMessage:
        messages_.Plain(arg(0).AsText());
        break;
    case fnStrToInt: {
        int n = 0;
        result = ScriptValue::Integer(TryStrToInt(arg(0).AsText(), n) ? n : 0);
        break;
    }
    case fnBand:
        result = Text(BandOfFrequency(arg(0).AsText()));
        break;
    case fnMinutes: {
        const double a = Moment(arg(0));
        result = ScriptValue::Integer(MinutesBetween(a, Moment(arg(1))));
        break;
    }
    case fnWord: {
        const std::string text = arg(0).AsText();
        result = Text(WordOf(text, arg(1).AsInteger()));
        break;
    }
    case fnNoZeros:
        result = Text(WithoutLeadingZeros(arg(0).AsText()));
        break;
    // 1 or 0 like a comparison, so that it serves in If() and in every script's Result alike.
    case fnIsCall:
        result = ScriptValue::Integer(IsCallSignShape(arg(0).AsText()) ? 1 : 0);
        break;
    // The evaluator answers these names (or treats them as operators) before they can get here; a
    // hand-made postfix text still gets the same meaning.
    case fnCopy:
        result = Parser().CallBuiltin(TfrCallSite::Copy, args);
        break;
    case fnIf:
        result = Parser().CallBuiltin(TfrCallSite::If, args);
        break;
    case fnStrToDate:
        result = Parser().CallBuiltin(TfrCallSite::StrToDate, args);
        break;
    case fnStrToTime:
        result = Parser().CallBuiltin(TfrCallSite::StrToTime, args);
        break;
    case fnFrac:
        result = ScriptValue::Double(FracOf(arg(0).AsFloat()));
        break;
    case fnRound:
        result = ScriptValue::Double(RoundHalfEven(arg(0).AsFloat()));
        break;
    case fnMod: {
        ScriptValue a = arg(0);
        result = ApplyOperator(TBinaryOp::Mod, a, arg(1));
        break;
    }
    case kFunctionCount:
        break;
    }
}

} // namespace zelk
