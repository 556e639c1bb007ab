// TZelkScriptEngine: the interpreter specialised for the judging scripts. It owns the variable store
// that the entry points fill before a run and read after it, the 24 built-in functions, and the
// completion list of the script editor. ShowMessage goes to the message boxes it was given.
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

    // The function entries in the editor's order.
    void FillCompletion(std::vector<TCompletionEntry>& list) const;

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
