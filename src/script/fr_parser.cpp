// The evaluator: classifying postfix text into TfrCode and running it. The value stack is one vector
// shared by nested evaluations (function arguments), each using the part above its caller's top; it
// keeps its storage between runs, so steady evaluation does not allocate.
#include "script/fr_parser.h"

#include "logs/error.h"
#include "logs/text.h"
#include "script/format.h"
#include "script/fr_postfix.h"
#include "script/script_variables.h"
#include "script/user_locale.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace zelk {

using fr::TPostfixElement;

void TfrParserHost::ReadVariable(std::string_view, ScriptValue&) {}
void TfrParserHost::CallFunction(const std::string&, const TfrArgs&, ScriptValue&) {}
TfrVariables* TfrParserHost::SlotStore() {
    return nullptr;
}
bool TfrParserHost::ReadsOnlyArguments(const std::string&) const {
    return false;
}

void TfrReads::Add(std::string name) {
    name = UpperCase(name);
    if (std::find(Names.begin(), Names.end(), name) == Names.end()) Names.push_back(std::move(name));
}

TfrCode::TfrCode() = default;
TfrCode::~TfrCode() = default;
TfrCode::TfrCode(TfrCode&&) noexcept = default;
TfrCode& TfrCode::operator=(TfrCode&&) noexcept = default;

const ScriptValue& TfrArgs::Text(int i) const {
    return site_.args.at(static_cast<std::size_t>(i));
}
ScriptValue TfrArgs::Value(int i) const {
    return parser_.EvaluateArgument(site_, i);
}

double IntOf(double x) {
    const double r = RoundHalfEven(x);
    return std::fabs(r - x) < 1e-10 ? r : std::trunc(x);
}

double FracOf(double x) {
    const double r = RoundHalfEven(x);
    if (std::fabs(r - x) < 1e-10) x = r;
    return x - std::trunc(x);
}

namespace {

std::uint64_t NextParserId() {
    static std::atomic<std::uint64_t> next{1};
    return next++;
}

// A number element: digits with at most one "." or "," as the decimal point and an optional exponent.
// Both points mean the same whatever the user's separator, so the value is read once here.
bool ReadNumberElement(std::string_view word, double& value) {
    std::string text(word);
    bool point = false, digits = false, exponent = false, expDigits = false;
    for (char& c : text) {
        if (c >= '0' && c <= '9') {
            (exponent ? expDigits : digits) = true;
        } else if ((c == '.' || c == ',') && !point && !exponent) {
            point = true;
            c = '.';
        } else if ((c == 'E' || c == 'e') && digits && !exponent) {
            exponent = true;
        } else {
            return false;
        }
    }
    if (!digits || (exponent && !expDigits)) return false;
    return ReadFloat(text, '.', value) == TNumberReading::Ok;
}

// The element as the error message shows it: every point replaced by the user's separator.
std::string WithUserSeparator(std::string_view word) {
    std::string text(word);
    const char sep = UserLocale().DecimalSeparator;
    for (char& c : text)
        if (c == '.' || c == ',') c = sep;
    return text;
}

TfrCallSite::Builtin BuiltinOf(std::string_view upperName) {
    if (upperName == "COPY") return TfrCallSite::Copy;
    if (upperName == "IF") return TfrCallSite::If;
    if (upperName == "STRTODATE") return TfrCallSite::StrToDate;
    if (upperName == "STRTOTIME") return TfrCallSite::StrToTime;
    return TfrCallSite::None;
}

bool OperatorInstr(char byte, TfrInstr& in) {
    const fr::TOperator* op = fr::OperatorOfByte(byte);
    if (!op) return false;
    switch (op->Kind) {
    case fr::TOperatorKind::Binary:
        in.kind = TfrInstrKind::Binary;
        break;
    case fr::TOperatorKind::Compare:
        in.kind = TfrInstrKind::Compare;
        break;
    case fr::TOperatorKind::Prefix:
        in.kind = TfrInstrKind::Unary;
        break;
    }
    in.op = op->Code;
    return true;
}

ScriptValue ApplyUnary(TUnaryOp op, const ScriptValue& v) {
    switch (op) {
    case TUnaryOp::Neg:
        return Negate(v);
    case TUnaryOp::Plus:
        return v;
    case TUnaryOp::Not:
        return ScriptValue::Integer(EqualsZero(v) ? 1 : 0);
    case TUnaryOp::Int:
        return ScriptValue::Double(IntOf(v.AsFloat()));
    case TUnaryOp::Frac:
        return ScriptValue::Double(FracOf(v.AsFloat()));
    case TUnaryOp::Round:
        return ScriptValue::Double(RoundHalfEven(v.AsFloat()));
    case TUnaryOp::Str:
        return v.IsNull() ? ScriptValue::Text(std::string_view()) : ScriptValue::Text(v.AsText());
    }
    return v;
}

// The judging scripts mostly compare texts for equality: that case is answered here directly (texts
// are equal when their bytes are), every other one by the value rules.

bool Compare(TCompareOp op, const ScriptValue& a, const ScriptValue& b) {
    if ((op == TCompareOp::Equal || op == TCompareOp::NotEqual) && a.Kind() == TValueKind::String &&
        b.Kind() == TValueKind::String)
        return (a.RawText() == b.RawText()) == (op == TCompareOp::Equal);
    return CompareValues(op, a, b).RawInt() != 0;
}

int ReadIntegerArgument(const ScriptValue& v) {
    const std::string text = v.AsText();
    int n = 0;
    if (!TryStrToInt(text, n)) throw TZelkError(FormatText("'%s' is not a valid integer value", text));
    return n;
}

} // namespace

// Enters one level of evaluation and leaves the stack as it found it, also when an error passes.
class TfrParser::TFrame {
  public:
    explicit TFrame(TfrParser& p) : p_(p), base_(p.top_) {
        if (p.depth_ >= kMaxNesting) throw TZelkError("Expression is nested too deeply");
        ++p.depth_;
    }
    ~TFrame() {
        p_.top_ = base_;
        --p_.depth_;
    }
    std::size_t Base() const { return base_; }

  private:
    TfrParser& p_;
    std::size_t base_;
};

TfrParser::TfrParser() : id_(NextParserId()) {}

std::string TfrParser::ToPostfix(std::string_view expression) {
    return fr::ToPostfix(expression);
}

ScriptValue TfrParser::EvalPostfix(std::string_view postfix) {
    return Execute(CompilePostfix(std::string(postfix)));
}

ScriptValue TfrParser::Evaluate(std::string_view expression) {
    return Execute(CompileExpression(expression));
}

TfrCode TfrParser::CompilePostfix(std::string postfix) {
    TfrCode code;
    code.postfix_ = std::move(postfix);
    code.resolvedBy_ = Store() ? id_ : 0;
    const std::string_view p = code.postfix_;
    std::size_t pos = 0;
    while (pos < p.size())
        AddElement(code, p, pos);
    for (const TfrInstr& in : code.instrs_)
        if (in.kind == TfrInstrKind::PushConst || in.kind == TfrInstrKind::PushSlot ||
            in.kind == TfrInstrKind::PushName || in.kind == TfrInstrKind::Call)
            ++code.pushes_;
    return code;
}

void TfrParser::AddName(TfrCode& code, std::string name) {
    TfrInstr in{TfrInstrKind::PushName};
    if (TfrVariables* store = Store()) in.slot = store->Intern(name);
    if (in.slot >= 0) in.kind = TfrInstrKind::PushSlot;
    in.index = static_cast<std::uint32_t>(code.names_.size());
    code.names_.push_back(std::move(name));
    code.instrs_.push_back(in);
}

void TfrParser::AddElement(TfrCode& code, std::string_view p, std::size_t& pos) {
    const TPostfixElement el = fr::NextPostfixElement(p, pos);
    auto addConst = [&code](ScriptValue v) {
        code.instrs_.push_back(
            {TfrInstrKind::PushConst, 0, -1, static_cast<std::uint32_t>(code.consts_.size())});
        code.consts_.push_back(std::move(v));
    };
    auto addCall = [&code](std::unique_ptr<TfrCallSite> site) {
        code.instrs_.push_back({TfrInstrKind::Call, 0, -1, static_cast<std::uint32_t>(code.calls_.size())});
        code.calls_.push_back(std::move(site));
    };
    switch (el.kind) {
    case TPostfixElement::End:
    case TPostfixElement::Skip:
        return;
    case TPostfixElement::Operator: {
        TfrInstr in{TfrInstrKind::Unary};
        if (OperatorInstr(el.op, in)) code.instrs_.push_back(in);
        return;
    }
    case TPostfixElement::Literal:
        addConst(ScriptValue::Text(fr::LiteralText(el.text)));
        return;
    case TPostfixElement::Bracketed:
        AddName(code, std::string(el.name));
        return;
    case TPostfixElement::Variable:
        AddName(code, UpperCase(el.name));
        return;
    case TPostfixElement::Truth:
        addConst(ScriptValue::Boolean(SameText(el.name, "TRUE")));
        return;
    case TPostfixElement::Number: {
        double value = 0;
        if (ReadNumberElement(el.name, value)) {
            addConst(ScriptValue::Double(value));
        } else {
            code.instrs_.push_back(
                {TfrInstrKind::BadNumber, 0, -1, static_cast<std::uint32_t>(code.names_.size())});
            code.names_.emplace_back(el.name);
        }
        return;
    }
    case TPostfixElement::Indexed: {
        // An indexed name is read through a function GETARRAY(name, index) of the host.
        auto site = std::make_unique<TfrCallSite>();
        site->builtin = TfrCallSite::EvalText;
        site->evalText = "GETARRAY(" + std::string(el.name) + ", " + std::string(el.index) + ")";
        addCall(std::move(site));
        return;
    }
    case TPostfixElement::Call: {
        auto site = std::make_unique<TfrCallSite>();
        site->name = UpperCase(el.name);
        site->builtin = BuiltinOf(site->name);
        bool more = false;
        const auto args = fr::CallArguments(p, el.open, el.close, more);
        for (std::size_t i = 0; i < args.size(); ++i)
            site->args[i] = ScriptValue::Text(args[i]);
        addCall(std::move(site));
        return;
    }
    case TPostfixElement::UnclosedCall:
        code.instrs_.push_back({TfrInstrKind::Unclosed});
        return;
    }
}

void TfrParser::PushOwn(ScriptValue&& value) {
    if (top_ == stack_.size()) stack_.emplace_back();
    SetOwn(top_++, std::move(value));
}

void TfrParser::SetOwn(std::size_t i, ScriptValue&& value) {
    stack_[i].own = std::move(value);
    stack_[i].ref = nullptr;
}

// A comparison gives the integer 1 or 0: the slot then refers to one of two constants instead of
// holding a value of its own.
void TfrParser::SetTruth(std::size_t i, bool holds) {
    stack_[i].ref = holds ? &one_ : &zero_;
}

// Values read in place become copies before anything runs that could change a variable.
void TfrParser::Materialize(std::size_t base) {
    for (std::size_t i = base; i < top_; ++i)
        if (stack_[i].ref && stack_[i].ref != &one_ && stack_[i].ref != &zero_)
            SetOwn(i, ScriptValue(*stack_[i].ref));
}

void TfrParser::RequireOperands(std::size_t base, std::size_t count) const {
    if (top_ - base < count) throw TZelkError("Missing operand");
}

ScriptValue TfrParser::Execute(const TfrCode& code) {
    return Run(code);
}

const ScriptValue& TfrParser::Run(const TfrCode& code) {
    TFrame frame(*this);
    const std::size_t base = frame.Base();
    // Every push is counted at compile time, so the stack grows (if at all) once per evaluation.
    if (stack_.size() < base + code.pushes_) stack_.resize(base + code.pushes_);
    const TfrVariables* store = code.resolvedBy_ == id_ ? Store() : nullptr;
    for (const TfrInstr& in : code.instrs_) {
        switch (in.kind) {
        case TfrInstrKind::PushConst:
            stack_[top_++].ref = &code.consts_[in.index];
            break;
        case TfrInstrKind::PushSlot:
            if (store) {
                const ScriptValue* v = store->At(in.slot);
                stack_[top_++].ref = v ? v : &null_;
                break;
            }
            [[fallthrough]];
        case TfrInstrKind::PushName: {
            ScriptValue v = ScriptValue::Null();
            if (host_) host_->ReadVariable(code.names_[in.index], v);
            PushOwn(std::move(v));
            break;
        }
        case TfrInstrKind::Compare: {
            RequireOperands(base, 2);
            const std::size_t l = top_ - 2;
            SetTruth(l, Compare(static_cast<TCompareOp>(in.op), At(l), At(l + 1)));
            --top_;
            break;
        }
        case TfrInstrKind::Binary: {
            RequireOperands(base, 2);
            const std::size_t l = top_ - 2;
            const ScriptValue &a = At(l), &b = At(l + 1);
            const auto op = static_cast<TBinaryOp>(in.op);
            if ((op == TBinaryOp::And || op == TBinaryOp::Or) && a.Kind() == TValueKind::Integer &&
                b.Kind() == TValueKind::Integer && (a.RawInt() | b.RawInt()) <= 1 && a.RawInt() >= 0 &&
                b.RawInt() >= 0) {
                // The answers of comparisons joined by AND and OR: bit by bit on 0 and 1.
                SetTruth(l, op == TBinaryOp::And ? (a.RawInt() & b.RawInt()) : (a.RawInt() | b.RawInt()));
            } else {
                SetOwn(l, ApplyOperator(op, a, b));
            }
            --top_;
            break;
        }
        case TfrInstrKind::Unary: {
            RequireOperands(base, 1);
            if (static_cast<TUnaryOp>(in.op) != TUnaryOp::Plus)
                SetOwn(top_ - 1, ApplyUnary(static_cast<TUnaryOp>(in.op), At(top_ - 1)));
            break;
        }
        case TfrInstrKind::Call: {
            Materialize(base);
            ScriptValue v = Call(*code.calls_[in.index]);
            PushOwn(std::move(v));
            break;
        }
        case TfrInstrKind::BadNumber:
            throw TZelkError(FormatText("'%s' is not a valid floating point value",
                                        WithUserSeparator(code.names_[in.index])));
        case TfrInstrKind::Unclosed:
            throw TZelkError("");
        }
    }
    // The value is the bottom slot, however many values are left above it; nothing pushed means 0.
    // The frame gives the slots back, but their values stay in place until the next evaluation.
    return top_ > base ? At(base) : zero_;
}

const TfrCode& TfrParser::ArgumentCode(const TfrCallSite& site, int i) {
    auto& slot = site.code[static_cast<std::size_t>(i)];
    if (!slot || slot->resolvedBy_ != (Store() ? id_ : 0)) {
        const std::string_view text = site.builtin == TfrCallSite::EvalText
                                          ? site.evalText
                                          : site.args[static_cast<std::size_t>(i)].RawText();
        slot = std::make_unique<TfrCode>(CompileExpression(text));
    }
    return *slot;
}

ScriptValue TfrParser::EvaluateArgument(const TfrCallSite& site, int i) {
    if (i < 0 || i > 2) return zero_;
    return Execute(ArgumentCode(site, i));
}

ScriptValue TfrParser::Call(const TfrCallSite& site) {
    if (site.builtin == TfrCallSite::EvalText) return Execute(ArgumentCode(site, 0));
    TfrArgs args(*this, site);
    if (site.builtin != TfrCallSite::None) return CallBuiltin(site.builtin, args);
    ScriptValue result = ScriptValue::Null();
    if (host_) host_->CallFunction(site.name, args, result);
    return result;
}

void TfrParser::CollectReads(const TfrCode& code, TfrReads& reads) {
    TFrame frame(*this); // nesting is bounded as a run's is
    for (const TfrInstr& in : code.instrs_) {
        if (reads.Any) return;
        if (in.kind == TfrInstrKind::PushSlot || in.kind == TfrInstrKind::PushName) {
            reads.Add(code.names_[in.index]);
            continue;
        }
        if (in.kind != TfrInstrKind::Call) continue;
        const TfrCallSite& site = *code.calls_[in.index];
        if (site.builtin == TfrCallSite::None && (!host_ || !host_->ReadsOnlyArguments(site.name))) {
            reads.Any = true;
            return;
        }
        // An indexed name is its text GETARRAY(name, index), a call of the host's like any other.
        const int arguments = site.builtin == TfrCallSite::EvalText ? 1 : 3;
        try {
            for (int i = 0; i < arguments && !reads.Any; ++i)
                CollectReads(ArgumentCode(site, i), reads);
        } catch (const TZelkError&) {
            // An argument that does not even convert to postfix, or one nested too deeply.
            reads.Any = true;
        }
    }
}

ScriptValue TfrParser::CallBuiltin(TfrCallSite::Builtin builtin, const TfrArgs& args) {
    switch (builtin) {
    case TfrCallSite::Copy: {
        int index = ReadIntegerArgument(args.Value(1));
        const int count = ReadIntegerArgument(args.Value(2));
        const std::string s = args.Value(0).AsText();
        if (index < 1) index = 1;
        if (count < 0 || static_cast<std::size_t>(index) > s.size())
            return ScriptValue::Text(std::string_view());
        return ScriptValue::Text(
            std::string_view(s).substr(static_cast<std::size_t>(index) - 1, static_cast<std::size_t>(count)));
    }
    case TfrCallSite::If: {
        const std::string cond = args.Value(0).AsText();
        double d = 0;
        if (!TryStrToFloat(cond, d))
            throw TZelkError(FormatText("'%s' is not a valid floating point value", cond));
        return std::trunc(d) != 0 ? args.Value(1) : args.Value(2);
    }
    case TfrCallSite::StrToDate:
        return ScriptValue::Date(zelk::StrToDate(args.Value(0).AsText()));
    case TfrCallSite::StrToTime:
        return ScriptValue::Date(zelk::StrToTime(args.Value(0).AsText()));
    case TfrCallSite::EvalText:
    case TfrCallSite::None:
        break;
    }
    return ScriptValue::Null();
}

} // namespace zelk
