// zelkon-cli eval, compile and run: the script language from the command line, for trying expressions
// and scripts and for end-to-end tests. Expressions on the command line are UTF-8; script files are
// Windows-1251; everything printed is UTF-8.
#include "cli/command.h"
#include "logs/error.h"
#include "logs/file_io.h"
#include "logs/text.h"
#include "script/user_locale.h"
#include "script/zelk_script_engine.h"

#include <iostream>

namespace zelk::cli {

namespace {

// "Kind: text", with nothing after the colon for Empty and Null.
std::string ValueLine(const ScriptValue& v) {
    std::string line = KindName(v.Kind());
    line += ':';
    if (v.Kind() == TValueKind::Boolean)
        line += v.AsBoolean() ? " True" : " False";
    else if (!v.IsEmpty() && !v.IsNull())
        line += " " + v.AsText();
    return line;
}

void ApplyDecimalSeparator(std::vector<std::string>& args) {
    const auto sep = TakeOption(args, "decimal-separator");
    if (!sep) return;
    const std::string c = FromUtf8(*sep);
    if (c.size() != 1 || !SetDecimalSeparator(c[0]))
        throw UsageError{"--decimal-separator takes one character that is no digit, sign, blank or letter"};
}

// Each --var NAME=EXPR is evaluated and defined in order.
void DefineVariables(TZelkScriptEngine& engine, const std::vector<std::string>& vars) {
    for (const auto& v : vars) {
        const auto eq = v.find('=');
        if (eq == std::string::npos || eq == 0) throw UsageError{"--var takes NAME=EXPR, not '" + v + "'"};
        engine.SetVariable(FromUtf8(v.substr(0, eq)), engine.Parser().Evaluate(FromUtf8(v.substr(eq + 1))));
    }
}

std::string TakeSingleArgument(std::vector<std::string>& args, const char* what) {
    RejectUnknownOptions(args);
    if (args.size() != 1) throw UsageError{std::string("expects exactly one ") + what};
    return args[0];
}

std::vector<std::string> ReadScriptFile(const std::string& path) {
    return TextLines(ReadFileBytes(FromUtf8(path)));
}

// Compiles (`check`: with the script editor's check of function names); on errors prints them and
// returns false.
bool CompileOrReport(TZelkScriptEngine& engine, const std::vector<std::string>& source, TfrScript& script,
                     bool check) {
    std::vector<std::string> errors;
    if (check)
        engine.CheckScript(source, script, errors);
    else
        engine.CompileScript(source, script, errors);
    for (const auto& e : errors)
        PrintText(e + "\n");
    return errors.empty();
}

int RunEval(std::vector<std::string>& args) {
    ApplyDecimalSeparator(args);
    const auto vars = TakeOptions(args, "var");
    const std::string expr = TakeSingleArgument(args, "EXPR");
    TZelkScriptEngine engine;
    DefineVariables(engine, vars);
    PrintText(ValueLine(engine.Parser().Evaluate(FromUtf8(expr))) + "\n");
    return 0;
}

int RunCompile(std::vector<std::string>& args) {
    ApplyDecimalSeparator(args);
    const std::string file = TakeSingleArgument(args, "FILE");
    TZelkScriptEngine engine;
    TfrScript script;
    if (!CompileOrReport(engine, ReadScriptFile(file), script, true)) return 1;
    PrintText(script.Listing());
    return 0;
}

int RunRun(std::vector<std::string>& args) {
    ApplyDecimalSeparator(args);
    const auto vars = TakeOptions(args, "var");
    const std::string file = TakeSingleArgument(args, "FILE");
    const auto source = ReadScriptFile(file);
    TZelkScriptEngine engine;
    DefineVariables(engine, vars);
    TfrScript script;
    if (!CompileOrReport(engine, source, script, false)) return 1;
    std::string failure;
    bool failed = false;
    try {
        engine.RunScript(script);
    } catch (const TZelkError& e) {
        failed = true;
        failure = e.what();
    }
    const TfrVariables& store = engine.Variables();
    for (std::size_t i = 0; i < store.Count(); ++i)
        PrintText(store.NameAt(i) + "\t" + ValueLine(store.ValueAt(i)) + "\n");
    if (!failed) return 0;
    std::cout.flush();
    std::cerr << "Error: " << ToUtf8(failure) << "\n";
    return 1;
}

const CommandRegistrar kEval{{"eval", "eval EXPR [--var NAME=EXPR]... [--decimal-separator C]",
                              "Evaluates one expression with the judging engine's functions and prints\n"
                              "\"Kind: text\". Each --var is evaluated and defined first, in order.",
                              RunEval}};
const CommandRegistrar kCompile{{"compile", "compile FILE [--decimal-separator C]",
                                 "Checks a script file (Windows-1251) as the script editor does: prints its\n"
                                 "error lines (a call of an unknown function among them) and exits 1, or\n"
                                 "prints the compiled lines.",
                                 RunCompile}};
const CommandRegistrar kRun{{"run", "run FILE [--var NAME=EXPR]... [--decimal-separator C]",
                             "Defines the variables, compiles and runs a script file, then prints every\n"
                             "variable of the store as NAME<TAB>Kind: text. A run error ends with\n"
                             "\"Error: message\" on standard error and status 1.",
                             RunRun}};

} // namespace

} // namespace zelk::cli
