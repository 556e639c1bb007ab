// Reading a compiled script for the planner: the functions it calls, and the straight run of lines from
// its start up to the first line whose outcome is not known for every pair of records. Every rule here
// answers "unknown" when in doubt, which sends the judgement to the full scan.
#include "script/script_shape.h"

#include "logs/qso_record.h"
#include "logs/text.h"
#include "script/fr_interpretator.h"
#include "script/zelk_script_engine.h"
#include "settings/platform.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace zelk {

const std::string& RecordText(const TQSORecord& r, int field) {
    static constexpr std::array<std::string TQSORecord::*, kRecordTextFields> kFields = {
        &TQSORecord::Freq, &TQSORecord::Mode,    &TQSORecord::SDate, &TQSORecord::STime,  &TQSORecord::Call,
        &TQSORecord::Send, &TQSORecord::Receive, &TQSORecord::Score, &TQSORecord::Comment};
    return r.*kFields[static_cast<std::size_t>(field)];
}

namespace {

constexpr std::array<std::string_view, kRecordTextFields> kFieldNames = {
    "FREQ", "MODE", "SDATE", "STIME", "CALL", "SEND", "RECEIVE", "SCORE", "COMMENT"};

// Argument texts are compiled again for every level of nesting; deeper calls are simply not read.
constexpr int kMaxDepth = 32;

class TSilentMessages : public IMessages {
  public:
    void Info(const std::string&, const std::string&) override {}
    void Error(const std::string&, const std::string&) override {}
    bool Ask(const std::string&) override { return false; }
    void Plain(const std::string&) override {}
};

// A text field variable: its field and whether it has the suffix "2"; -1 for any other name.
int FieldOf(std::string_view upperName, bool& other) {
    other = !upperName.empty() && upperName.back() == '2';
    if (other) upperName.remove_suffix(1);
    for (int f = 0; f < kRecordTextFields; ++f)
        if (upperName == kFieldNames[static_cast<std::size_t>(f)]) return f;
    return -1;
}

// What a value is known to be on every pair of records: a text, a truth (the integer 0 or 1), or
// unknown (anything else, including a value whose computation may raise an error).
enum class TKind : std::uint8_t { Unknown, Text, Truth };

// One value of an expression as a tree over its postfix code.
struct TNode {
    const TfrInstr* instr = nullptr;
    int left = -1, right = -1;
};

class TExpression {
  public:
    TExpression(const TfrCode& code, TfrParser& parser, bool callSign, int depth)
        : code_(code), parser_(parser), callSign_(callSign), depth_(depth) {
        Build();
    }

    TKind Kind() const { return root_ < 0 ? TKind::Unknown : KindOf(root_); }

    // The equalities a true value needs: those of the comparisons joined by AND at the top.
    void Keys(std::vector<TKeyPart>& keys) const {
        if (root_ >= 0 && KindOf(root_) == TKind::Truth) AddKeys(root_, keys);
    }

    // A constant that is false: FALSE or the number 0.
    bool IsFalseConstant() const {
        if (root_ < 0 || nodes_[static_cast<std::size_t>(root_)].instr->kind != TfrInstrKind::PushConst)
            return false;
        const ScriptValue& v = code_.Consts()[nodes_[static_cast<std::size_t>(root_)].instr->index];
        return (v.Kind() == TValueKind::Boolean || v.Kind() == TValueKind::Integer ||
                v.Kind() == TValueKind::Double) &&
               !v.AsBoolean();
    }

  private:
    void Build() {
        std::vector<int> stack;
        for (const TfrInstr& in : code_.Instrs()) {
            TNode node{&in};
            int operands = 0;
            switch (in.kind) {
            case TfrInstrKind::Compare:
            case TfrInstrKind::Binary:
                operands = 2;
                break;
            case TfrInstrKind::Unary:
                operands = 1;
                break;
            case TfrInstrKind::BadNumber:
            case TfrInstrKind::Unclosed:
                return;
            default:
                break;
            }
            if (static_cast<int>(stack.size()) < operands) return; // "Missing operand" at run time
            if (operands == 2) {
                node.right = stack.back();
                stack.pop_back();
            }
            if (operands >= 1) {
                node.left = stack.back();
                stack.pop_back();
            }
            stack.push_back(static_cast<int>(nodes_.size()));
            nodes_.push_back(node);
        }
        if (stack.size() == 1) root_ = stack.back();
    }

    const TNode& At(int i) const { return nodes_[static_cast<std::size_t>(i)]; }

    TKind KindOf(int i) const {
        const TNode& n = At(i);
        const TfrInstr& in = *n.instr;
        switch (in.kind) {
        case TfrInstrKind::PushConst:
            return code_.Consts()[in.index].Kind() == TValueKind::String ? TKind::Text : TKind::Unknown;
        case TfrInstrKind::PushSlot:
        case TfrInstrKind::PushName:
            return IsInputText(code_.Names()[in.index]) ? TKind::Text : TKind::Unknown;
        case TfrInstrKind::Compare: {
            const auto op = static_cast<TCompareOp>(in.op);
            // Two texts are equal when their bytes are; every other comparison may convert.
            const bool equality = op == TCompareOp::Equal || op == TCompareOp::NotEqual;
            return equality && KindOf(n.left) == TKind::Text && KindOf(n.right) == TKind::Text
                       ? TKind::Truth
                       : TKind::Unknown;
        }
        case TfrInstrKind::Binary: {
            const auto op = static_cast<TBinaryOp>(in.op);
            const bool logic = op == TBinaryOp::And || op == TBinaryOp::Or;
            return logic && KindOf(n.left) == TKind::Truth && KindOf(n.right) == TKind::Truth
                       ? TKind::Truth
                       : TKind::Unknown;
        }
        case TfrInstrKind::Unary: {
            const auto op = static_cast<TUnaryOp>(in.op);
            if (op == TUnaryOp::Plus) return KindOf(n.left);
            return op == TUnaryOp::Not && KindOf(n.left) == TKind::Truth ? TKind::Truth : TKind::Unknown;
        }
        case TfrInstrKind::Call:
            return CallKind(code_.CallAt(in.index));
        default:
            return TKind::Unknown;
        }
    }

    // The text functions that cannot fail on a text: they read only their first argument.
    TKind CallKind(const TfrCallSite& site) const {
        static constexpr std::string_view kTextOfText[] = {"UPPERCASE", "LOWERCASE", "NAMECASE",
                                                           "TRIM",      "BAND",      "NOZEROS"};
        if (site.builtin != TfrCallSite::None || depth_ >= kMaxDepth) return TKind::Unknown;
        const bool text =
            std::find(std::begin(kTextOfText), std::end(kTextOfText), site.name) != std::end(kTextOfText);
        if (!text && site.name != "ISCALL") return TKind::Unknown;
        try {
            const TfrCode arg = parser_.CompileExpression(site.args[0].RawText());
            if (TExpression(arg, parser_, callSign_, depth_ + 1).Kind() != TKind::Text) return TKind::Unknown;
        } catch (const std::exception&) {
            return TKind::Unknown;
        }
        return text ? TKind::Text : TKind::Truth;
    }

    bool IsInputText(const std::string& upperName) const {
        bool other = false;
        if (FieldOf(upperName, other) >= 0) return true;
        return callSign_ && upperName == "CALLSIGN";
    }

    void AddKeys(int i, std::vector<TKeyPart>& keys) const {
        const TNode& n = At(i);
        if (n.instr->kind == TfrInstrKind::Binary && static_cast<TBinaryOp>(n.instr->op) == TBinaryOp::And) {
            AddKeys(n.left, keys);
            AddKeys(n.right, keys);
            return;
        }
        if (n.instr->kind != TfrInstrKind::Compare ||
            static_cast<TCompareOp>(n.instr->op) != TCompareOp::Equal)
            return;
        TKeyPart part;
        if (KeyOf(n.left, n.right, part) || KeyOf(n.right, n.left, part)) {
            if (std::find(keys.begin(), keys.end(), part) == keys.end()) keys.push_back(part);
        }
    }

    // `otherSide` a field of the other record and `ownSide` a field of the record under check, CallSign
    // or a text constant.
    bool KeyOf(int otherSide, int ownSide, TKeyPart& part) const {
        const TfrInstr& o = *At(otherSide).instr;
        if (o.kind != TfrInstrKind::PushSlot && o.kind != TfrInstrKind::PushName) return false;
        bool other = false;
        part.OtherField = FieldOf(code_.Names()[o.index], other);
        if (part.OtherField < 0 || !other) return false;
        const TfrInstr& v = *At(ownSide).instr;
        if (v.kind == TfrInstrKind::PushConst) {
            const ScriptValue& c = code_.Consts()[v.index];
            if (c.Kind() != TValueKind::String) return false;
            part.Source = TKeySource::Literal;
            part.Literal = c.RawText();
            return true;
        }
        if (v.kind != TfrInstrKind::PushSlot && v.kind != TfrInstrKind::PushName) return false;
        const std::string& name = code_.Names()[v.index];
        if (callSign_ && name == "CALLSIGN") {
            part.Source = TKeySource::CallSign;
            return true;
        }
        part.Field = FieldOf(name, other);
        part.Source = TKeySource::Field;
        return part.Field >= 0 && !other;
    }

    const TfrCode& code_;
    TfrParser& parser_;
    bool callSign_;
    int depth_;
    std::vector<TNode> nodes_;
    int root_ = -1;
};

bool IsQuietCode(const TfrCode& code, TfrParser& parser, int depth);

bool IsQuietCall(const TfrCallSite& site, TfrParser& parser, int depth) {
    if (depth >= kMaxDepth || site.builtin == TfrCallSite::EvalText) return false;
    if (site.builtin == TfrCallSite::None && !IsQuietFunction(site.name)) return false;
    for (const ScriptValue& arg : site.args) {
        try {
            if (!IsQuietCode(parser.CompileExpression(arg.RawText()), parser, depth + 1)) return false;
        } catch (const std::exception&) {
            return false;
        }
    }
    return true;
}

bool IsQuietCode(const TfrCode& code, TfrParser& parser, int depth) {
    for (const TfrInstr& in : code.Instrs())
        if (in.kind == TfrInstrKind::Call && !IsQuietCall(code.CallAt(in.index), parser, depth)) return false;
    return true;
}

// The variables the entry point of a pair test defines for the script, and Result.
bool IsEntryVariable(const std::string& upperName, bool callSign) {
    bool other = false;
    if (FieldOf(upperName, other) >= 0) return true;
    return upperName == "DATETIME" || upperName == "DATETIME2" || upperName == "RESULT" ||
           (callSign && upperName == "CALLSIGN");
}

// The keys proven by the straight run of lines from the start: a condition that ends the run when it
// fails while Result is still false, and a last line Result := E. Each line before must be unable to
// fail and must leave the record variables alone.
std::vector<TKeyPart> StraightKeys(const TfrScript& script, TfrParser& parser, bool callSign) {
    std::vector<TKeyPart> keys;
    const auto& lines = script.Lines();
    const std::size_t n = lines.size();
    bool resultFalse = true; // a pair test starts with Result = False
    for (std::size_t pc = 0; pc < n; ++pc) {
        const TfrLine& line = lines[pc];
        const TExpression e(line.code, parser, callSign, 0);
        switch (line.kind) {
        case TfrLineKind::Assign: {
            const std::string name = UpperCase(Trim(line.name));
            if (name != "RESULT" && IsEntryVariable(name, callSign)) return keys;
            if (name == "RESULT" && pc + 1 == n) {
                e.Keys(keys);
                return keys;
            }
            const bool falseConstant = e.IsFalseConstant();
            if (!falseConstant && e.Kind() == TKind::Unknown) return keys;
            if (name == "RESULT") resultFalse = falseConstant;
            break;
        }
        case TfrLineKind::Call:
            if (e.Kind() == TKind::Unknown) return keys;
            break;
        case TfrLineKind::Condition:
            if (e.Kind() != TKind::Truth) return keys;
            if (static_cast<std::size_t>(line.target) < n || !resultFalse) return keys;
            e.Keys(keys);
            break;
        case TfrLineKind::Jump:
        case TfrLineKind::Exit:
            return keys;
        }
    }
    return keys;
}

} // namespace

TScriptShape ShapeOfScript(const std::vector<std::string>& source, bool pair, bool callSign) {
    TScriptShape shape;
    TSilentMessages silent;
    TZelkScriptEngine engine(silent);
    TfrScript script;
    std::vector<std::string> errors;
    engine.CompileScript(source, script, errors);
    if (!errors.empty() || !script.IsValid()) return shape;
    shape.Compiles = true;
    TfrParser& parser = engine.Parser();
    shape.Quiet = true;
    for (const TfrLine& line : script.Lines())
        if (!IsQuietCode(line.code, parser, 0)) shape.Quiet = false;
    if (!pair || !shape.Quiet) return shape;
    // A script that reads a variable this reading does not know (one a later version of the entry point
    // may define) keeps the full scan; so does one that reads variables by computed names.
    const TfrReads reads = engine.ScriptReads(script);
    if (reads.Any) return shape;
    for (const std::string& name : reads.Names) {
        if (IsEntryVariable(name, callSign)) continue;
        const bool assigned =
            std::any_of(script.Lines().begin(), script.Lines().end(), [&](const TfrLine& l) {
                return l.kind == TfrLineKind::Assign && UpperCase(Trim(l.name)) == name;
            });
        if (!assigned) return shape;
    }
    shape.Keys = StraightKeys(script, parser, callSign);
    return shape;
}

} // namespace zelk
