// TfrInterpretator: the statement half of the script language. CompileScript turns script text into a
// TfrScript (a flat list of lines with jump targets and classified expressions, or error lines);
// RunScript executes it. Variables and functions are a subclass's business (TZelkScriptEngine).
#pragma once

#include "script/fr_parser.h"

#include <cstdint>
#include <functional>

#include <string>
#include <vector>

namespace zelk {

enum class TfrLineKind : std::uint8_t {
    Assign,    // evaluate and write the variable
    Condition, // evaluate; equal to 0: go to target, else go on
    Jump,      // go to target
    Call,      // evaluate and drop the value
    Exit,      // EXIT(0): end the run
};

struct TfrLine {
    TfrLineKind kind = TfrLineKind::Call;
    int target = 0;   // Condition, Jump
    std::string name; // Assign: the variable as written; Jump from GOTO: the label digits
    std::string text; // the expression as written in the script
    TfrCode code;     // the expression in postfix form, classified
    int slot = -1;    // Assign: the variable's slot in the host, when it has slots
};

// A function called by name in a script's source, where the name is written.
struct TfrCallRef {
    std::string Name; // upper-cased
    int Line = 0;     // 1-based, as in error lines
    int Column = 0;
};

// The compiled form of a script. It belongs to whoever compiled it and stays valid while the source is
// unchanged; an owner may keep it and run it again and again.
class TfrScript {
  public:
    const std::vector<TfrLine>& Lines() const { return lines_; }
    // The source lines it was compiled from, so that an owner can tell whether it is still current.
    const std::vector<std::string>& Source() const { return source_; }
    bool IsCompiledFrom(const std::vector<std::string>& source) const {
        return compiled_ && source_ == source;
    }
    // False until a compile succeeded; a script with errors is never run.
    bool IsValid() const { return compiled_; }
    // Every function call the source writes, in the order of the text (EXIT(0) statements are no calls),
    // so that a check can name an unknown function on its line before any run.
    const std::vector<TfrCallRef>& Calls() const { return calls_; }
    // One line per instruction: "0: if not (x 1 >) goto 3", "1: A := 1", "2: goto 4", "3: call F(x)", "4:
    // exit".
    std::string Listing() const;

  private:
    friend class TfrInterpretator;
    friend class TfrCompiler;
    std::vector<TfrLine> lines_;
    std::vector<std::string> source_;
    std::vector<TfrCallRef> calls_;
    bool compiled_ = false;
};

class TfrInterpretator : public TfrParserHost {
  public:
    TfrInterpretator();
    ~TfrInterpretator() override;
    TfrInterpretator(const TfrInterpretator&) = delete;
    TfrInterpretator& operator=(const TfrInterpretator&) = delete;

    // The evaluator's variable reader; the base leaves the value null.
    void ReadVariable(std::string_view name, ScriptValue& value) override;
    // Called for every executed assignment; the base does nothing.
    virtual void WriteVariable(std::string_view name, const ScriptValue& value);
    // The evaluator's function caller; the base leaves the result null.
    void CallFunction(const std::string& name, const TfrArgs& args, ScriptValue& result) override;
    // Clears both outputs, then compiles one statement from the start of `source`. Errors come as lines
    // "Line N/C: message"; `compiled` is valid only when there are none.
    virtual void CompileScript(const std::vector<std::string>& source, TfrScript& compiled,
                               std::vector<std::string>& errors);
    // Runs from line 0 until the last line is passed, a jump leaves the list, or EXIT(0) runs. Errors of
    // evaluation and of the virtual operations end the run and pass unchanged.
    virtual void RunScript(const TfrScript& compiled);
    // The variables a compiled script can read (Any when it calls a function that could reach others,
    // or when its expressions cannot be told apart). What it only assigns is not among them.
    TfrReads ScriptReads(const TfrScript& compiled);

    TfrParser& Parser() { return parser_; }
    // Runs longer than this many lines end with an error; 0 (the default) means no limit.
    void SetStepLimit(std::uint64_t steps) { stepLimit_ = steps; }
    // Called before every line of a run when set; it may raise an error to end the run (a watchdog).
    void SetStepHook(std::function<void()> hook) { stepHook_ = std::move(hook); }

  private:
    TfrParser parser_;
    std::uint64_t stepLimit_ = 0;
    std::function<void()> stepHook_;
};

} // namespace zelk
