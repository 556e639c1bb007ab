// TfrParser: the expression evaluator of the script language. It turns infix text into postfix text,
// classifies postfix text once into a TfrCode, and runs that code on a stack of ScriptValue. Variables
// and functions it does not know itself go to a TfrParserHost.
#pragma once

#include "script/fr_operators.h"
#include "script/script_value.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zelk {

class TfrParser;
class TfrVariables;
struct TfrCallSite;

// The arguments of one function call. A function receives the raw texts and evaluates an argument only
// when, and as often as, it asks for its value.
class TfrArgs {
  public:
    TfrArgs(TfrParser& parser, const TfrCallSite& site) : parser_(parser), site_(site) {}
    // The raw text of argument `i` (0 to 2) as written in the call, as a text value; empty when missing.
    const ScriptValue& Text(int i) const;
    // Evaluates argument `i` now; a missing argument evaluates to the integer 0.
    ScriptValue Value(int i) const;

  private:
    TfrParser& parser_;
    const TfrCallSite& site_;
};

// Answers the names that the evaluator does not know itself.
class TfrParserHost {
  public:
    virtual ~TfrParserHost() = default;
    // The variable reader: `value` arrives null; leave it or set it.
    virtual void ReadVariable(std::string_view name, ScriptValue& value);
    // The function caller: `name` is upper-cased, `result` arrives null.
    virtual void CallFunction(const std::string& name, const TfrArgs& args, ScriptValue& result);
    // A host that keeps its variables in a TfrVariables store may offer it: compiled code then finds
    // every variable by a slot fixed at compile time and reads and writes it in place, instead of
    // calling ReadVariable and WriteVariable with the name. Such a host's ReadVariable and WriteVariable
    // must be plain reads and writes of that store.
    virtual TfrVariables* SlotStore();
    // True when the host's function `name` (upper-cased) reaches variables only through its arguments,
    // never by a name it computes and never by going through all of them. The base knows no function.
    virtual bool ReadsOnlyArguments(const std::string& name) const;
};

// What compiled code can read: the variables it names, or anything (Any) when it calls a function that
// could reach a variable it does not name.
struct TfrReads {
    bool Any = false;
    std::vector<std::string> Names; // upper-cased, each once
    void Add(std::string name);
};

// One classified element of a postfix text.
enum class TfrInstrKind : std::uint8_t {
    PushConst, // a number, text or truth literal
    PushSlot,  // a variable resolved to a host slot (falls back to its name)
    PushName,  // a variable read through ReadVariable
    Binary,    // op: TBinaryOp
    Compare,   // op: TCompareOp
    Unary,     // op: TUnaryOp
    Call,      // a function call, a built-in or an indexed name
    BadNumber, // a number element that cannot be read; raises when reached
    Unclosed,  // a call whose argument list never closes; raises when reached
};

struct TfrInstr {
    TfrInstrKind kind;
    std::uint8_t op = 0;
    std::int32_t slot = -1;
    std::uint32_t index = 0; // into the code's constants, names or calls
};

// A postfix text classified once: numbers read, names upper-cased and resolved, calls cut into
// arguments. Running it behaves exactly as scanning the postfix text would.
class TfrCode {
  public:
    TfrCode();
    ~TfrCode();
    TfrCode(TfrCode&&) noexcept;
    TfrCode& operator=(TfrCode&&) noexcept;

    const std::string& Postfix() const { return postfix_; }
    // The id of the parser whose host resolved the variable slots (0: none were resolved).
    std::uint64_t ResolvedBy() const { return resolvedBy_; }
    // The classified elements, for an analysis that reads the code without running it.
    const std::vector<TfrInstr>& Instrs() const { return instrs_; }
    const std::vector<ScriptValue>& Consts() const { return consts_; }
    const std::vector<std::string>& Names() const { return names_; }
    const TfrCallSite& CallAt(std::size_t i) const { return *calls_[i]; }

  private:
    friend class TfrParser;
    std::string postfix_;
    std::vector<TfrInstr> instrs_;
    std::vector<ScriptValue> consts_;
    std::vector<std::string> names_;
    std::vector<std::unique_ptr<TfrCallSite>> calls_;
    std::uint64_t resolvedBy_ = 0; // the parser whose host gave the slots
    std::size_t pushes_ = 0;       // elements that push a value: the most the code can need
};

// A call as the evaluator meets it: the upper-cased name, its argument texts and, made on first use,
// the code of each argument.
struct TfrCallSite {
    enum Builtin : std::uint8_t { None, Copy, If, StrToDate, StrToTime, EvalText };
    std::string name;
    Builtin builtin = None;
    std::string evalText; // EvalText: the expression evaluated in place of the element
    std::array<ScriptValue, 3> args;
    mutable std::array<std::unique_ptr<TfrCode>, 3> code;
};

class TfrParser {
  public:
    TfrParser();
    TfrParser(const TfrParser&) = delete;
    TfrParser& operator=(const TfrParser&) = delete;

    // The variable reader and function caller; nullptr for none.
    void SetHost(TfrParserHost* host) { host_ = host; }
    TfrParserHost* Host() const { return host_; }
    // Tells compiled code whose slots belong to this parser's host from code compiled elsewhere.
    std::uint64_t Id() const { return id_; }

    static std::string ToPostfix(std::string_view expression);
    ScriptValue EvalPostfix(std::string_view postfix);
    ScriptValue Evaluate(std::string_view expression);

    // The classified form of a postfix text or of an expression, for evaluation again and again.
    TfrCode CompilePostfix(std::string postfix);
    TfrCode CompileExpression(std::string_view expression) { return CompilePostfix(ToPostfix(expression)); }
    ScriptValue Execute(const TfrCode& code);
    // Execute without the copy: the value stays valid until the next evaluation by this parser.
    const ScriptValue& Run(const TfrCode& code);
    // COPY, IF, STRTODATE and STRTOTIME, which the evaluator answers itself.
    ScriptValue CallBuiltin(TfrCallSite::Builtin builtin, const TfrArgs& args);
    // Adds what `code` can read to `reads`: the variables it names and those of the arguments of its
    // calls (compiled here from their texts, as a run would compile them), asking the host about every
    // function that is not the evaluator's own.
    void CollectReads(const TfrCode& code, TfrReads& reads);

    // Nesting of evaluations through function arguments beyond this depth is an error, so that no
    // expression can exhaust the call stack.
    static constexpr int kMaxNesting = 200;

  private:
    friend class TfrArgs;
    struct TEntry {
        const ScriptValue* ref = nullptr; // a constant or a stored variable, read in place
        ScriptValue own;                  // the value when `ref` is null
    };
    class TFrame;

    const ScriptValue& At(std::size_t i) const { return stack_[i].ref ? *stack_[i].ref : stack_[i].own; }
    void PushOwn(ScriptValue&& value);
    void SetOwn(std::size_t i, ScriptValue&& value);
    void SetTruth(std::size_t i, bool holds);
    void Materialize(std::size_t base);
    void RequireOperands(std::size_t base, std::size_t count) const;
    void AddElement(TfrCode& code, std::string_view postfix, std::size_t& pos);
    void AddName(TfrCode& code, std::string name);
    ScriptValue Call(const TfrCallSite& site);
    ScriptValue EvaluateArgument(const TfrCallSite& site, int i);
    const TfrCode& ArgumentCode(const TfrCallSite& site, int i);

    TfrVariables* Store() const { return host_ ? host_->SlotStore() : nullptr; }

    TfrParserHost* host_ = nullptr;
    std::uint64_t id_;
    std::vector<TEntry> stack_;
    std::size_t top_ = 0;
    int depth_ = 0;
    const ScriptValue null_ = ScriptValue::Null();
    const ScriptValue zero_ = ScriptValue::Integer(0);
    const ScriptValue one_ = ScriptValue::Integer(1);
};

// INT, FRAC and ROUND of the language: the value as a float made whole in their ways.
double IntOf(double x);
double FracOf(double x);

} // namespace zelk
