// libFuzzer target for the script language: the input is compiled and run as a script, evaluated as
// an expression and scanned as a postfix text. Any crash, sanitizer report or hang is a fault; errors
// with a message are the expected outcome of bad input.
#include "logs/error.h"
#include "script/zelk_script_engine.h"
#include "settings/platform.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// Message boxes of ShowMessage go nowhere.
struct SilentMessages : zelk::IMessages {
    void Info(const std::string&, const std::string&) override {}
    void Error(const std::string&, const std::string&) override {}
    bool Ask(const std::string&) override { return false; }
    void Plain(const std::string&) override {}
};

// Scripts may loop for ever or double a text on every pass; both are legal, so a run is bounded in
// steps and in the size of the texts it keeps.
void Watch(const zelk::TZelkScriptEngine& engine) {
    const auto& store = engine.Variables();
    for (std::size_t i = 0; i < store.Count(); ++i) {
        const auto& v = store.ValueAt(i);
        if (v.Kind() == zelk::TValueKind::String && v.RawText().size() > 4096)
            throw zelk::TZelkError("text limit of the fuzz run");
    }
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const auto nl = text.find('\n', start);
        lines.push_back(text.substr(start, nl == std::string::npos ? std::string::npos : nl - start));
        if (nl == std::string::npos) return lines;
        start = nl + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static SilentMessages silent;
    const std::string text(reinterpret_cast<const char*>(data), size);

    zelk::TZelkScriptEngine engine(silent);
    engine.SetStepLimit(2000);
    engine.SetStepHook([&engine] { Watch(engine); });
    zelk::TfrScript script;
    std::vector<std::string> errors;
    engine.CompileScript(SplitLines(text), script, errors);
    if (errors.empty()) {
        try {
            engine.RunScript(script);
            engine.RunScript(script); // a second run reuses the compiled form and the store's slots
        } catch (const zelk::TZelkError&) {
        }
    }
    // Expressions are evaluated without the statement checks, so they reach the evaluator unfiltered.
    // Texts in one expression grow at most by the length of the input per operator, so no watch is
    // needed here.
    try {
        engine.Parser().Evaluate(text);
    } catch (const zelk::TZelkError&) {
    }
    try {
        engine.Parser().EvalPostfix(text);
    } catch (const zelk::TZelkError&) {
    }
    return 0;
}
