// TZelkScriptEngine: the interpreter specialised for the judging scripts. It owns the variable store
// that the entry points fill before a run and read after it, the built-in functions, the completion
// list of the script editor and the editor's check of a script.
#pragma once

#include "script/fr_interpretator.h"
#include "script/script_variables.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelk {

class IMessages;

// One entry of the editor's completion list: "function<TAB>IntToStr(<value>)" shown, "IntToStr" inserted.
struct TCompletionEntry {
    std::string display;
    std::string insert;
};

// True when `name` (any letter case) is one of the engine's built-in functions.
bool IsScriptFunction(std::string_view name);
// True when `name` (any letter case) is one of the variables contest rules are written with
// (MaxMinutesDifference, MyCall, MyCall2, Tx, Tx2, Reason, Accepted2).
bool IsRuleVariable(std::string_view name);
// True when `name` (any letter case) is a built-in function whose only effect is its value or an error:
// every one but ShowMessage. A function that shows anything or keeps anything beyond the run must stay
// out of this list, or the planner of the judging runs would skip its calls.
bool IsQuietFunction(std::string_view name);

class TZelkScriptEngine : public TfrInterpretator {
  public:
    // ShowMessage writes to standard error.
    TZelkScriptEngine();
    // ShowMessage shows its box through `messages`, which must outlive the engine.
    explicit TZelkScriptEngine(IMessages& messages);

    // Removes every variable.
    void ClearVariables() { variables_.Clear(); }
    // Defines or replaces a variable (through WriteVariable).
    void SetVariable(std::string_view name, const ScriptValue& value) { WriteVariable(name, value); }
    // The integer 0 when no such variable exists, else its value (through ReadVariable).
    ScriptValue GetVariable(std::string_view name);

    // A fixed handle of a variable name, for callers that define the same names before every run.
    int VariableHandle(std::string_view name) { return variables_.Intern(name); }
    // SetVariable by handle; `name` is the spelling a new definition takes.
    void SetVariable(int handle, std::string_view name, const ScriptValue& value) {
        variables_.SetAt(handle, name, value);
    }

    // Defines the variable of a handle and hands its value over to be set in place.
    ScriptValue& DefineVariable(int handle, std::string_view name) {
        return variables_.DefineAt(handle, name);
    }

    // The function entries in the editor's order, then the variables of contest rules
    // ("variable<TAB>Accepted2: Boolean").
    void FillCompletion(std::vector<TCompletionEntry>& list) const;

    // The check of the script editor and of `zelkon-cli compile`: CompileScript, and when that finds
    // nothing, the first call of a function the engine lacks as an error line "Line N/C: Неизвестная
    // функция : NAME", the message a run would raise, at the name. Running does not need this: a call
    // that is never reached does no harm.
    void CheckScript(const std::vector<std::string>& source, TfrScript& compiled,
                     std::vector<std::string>& errors);

    const TfrVariables& Variables() const { return variables_; }

    void ReadVariable(std::string_view name, ScriptValue& value) override;
    void WriteVariable(std::string_view name, const ScriptValue& value) override;
    void CallFunction(const std::string& name, const TfrArgs& args, ScriptValue& result) override;
    TfrVariables* SlotStore() override { return &variables_; }
    bool ReadsOnlyArguments(const std::string& name) const override;

  private:
    IMessages& messages_;
    TfrVariables variables_;
    std::unordered_map<std::string, int> functions_; // upper-cased name to number
};

} // namespace zelk
