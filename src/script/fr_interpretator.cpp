// Running compiled scripts, and the interpreter's default (empty) variable and function operations.
#include "script/fr_interpretator.h"

#include "logs/error.h"
#include "script/fr_compiler.h"
#include "script/fr_postfix.h"
#include "script/script_variables.h"

namespace zelk {

TfrInterpretator::TfrInterpretator() {
    parser_.SetHost(this);
}
TfrInterpretator::~TfrInterpretator() = default;

void TfrInterpretator::ReadVariable(std::string_view, ScriptValue&) {}
void TfrInterpretator::WriteVariable(std::string_view, const ScriptValue&) {}
void TfrInterpretator::CallFunction(const std::string&, const TfrArgs&, ScriptValue&) {}

void TfrInterpretator::CompileScript(const std::vector<std::string>& source, TfrScript& compiled,
                                     std::vector<std::string>& errors) {
    TfrScript fresh; // `source` may be the old compiled form's own copy
    std::vector<std::string> messages;
    TfrCompiler(parser_, source).Compile(fresh, messages);
    compiled = std::move(fresh);
    errors = std::move(messages);
}

void TfrInterpretator::RunScript(const TfrScript& compiled) {
    const auto& lines = compiled.lines_;
    if (!compiled.compiled_) return;
    std::size_t pc = 0;
    std::uint64_t steps = 0;
    TfrVariables* store = SlotStore();
    while (pc < lines.size()) {
        if (stepLimit_ && ++steps > stepLimit_) throw TZelkError("Script step limit exceeded");
        if (stepHook_) stepHook_();

        const TfrLine& line = lines[pc];
        switch (line.kind) {
        case TfrLineKind::Condition:
            pc = EqualsZero(parser_.Run(line.code)) ? static_cast<std::size_t>(line.target) : pc + 1;
            break;
        case TfrLineKind::Jump:
            pc = static_cast<std::size_t>(line.target);
            break;
        case TfrLineKind::Call:
            parser_.Run(line.code);
            ++pc;
            break;
        case TfrLineKind::Exit:
            return;
        case TfrLineKind::Assign: {
            const ScriptValue& value = parser_.Run(line.code);
            if (store && line.slot >= 0 && line.code.ResolvedBy() == parser_.Id())
                store->SetAt(line.slot, line.name, value);
            else
                WriteVariable(line.name, value);
            ++pc;
            break;
        }
        }
    }
}

TfrReads TfrInterpretator::ScriptReads(const TfrScript& compiled) {
    TfrReads reads;
    try {
        for (const TfrLine& line : compiled.lines_)
            if (line.kind != TfrLineKind::Jump && line.kind != TfrLineKind::Exit)
                parser_.CollectReads(line.code, reads);
    } catch (const TZelkError&) {
        reads.Any = true;
    }
    return reads;
}

std::string TfrScript::Listing() const {
    std::string out;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const TfrLine& line = lines_[i];
        out += std::to_string(i) + ": ";
        const std::string expr = fr::ReadablePostfix(line.code.Postfix());
        switch (line.kind) {
        case TfrLineKind::Condition:
            out += "if not (" + expr + ") goto " + std::to_string(line.target);
            break;
        case TfrLineKind::Jump:
            out += "goto " + std::to_string(line.target);
            break;
        case TfrLineKind::Call:
            out += "call " + expr;
            break;
        case TfrLineKind::Exit:
            out += "exit";
            break;
        case TfrLineKind::Assign:
            out += line.name + " := " + expr;
            break;
        }
        out += '\n';
    }
    return out;
}

} // namespace zelk
