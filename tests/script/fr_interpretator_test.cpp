// The statement compiler and the run of compiled scripts: statement forms, error lines and their
// positions, labels and jumps, and very large or malformed scripts.
#include "script/fr_interpretator.h"
#include "script/zelk_script_engine.h"

#include "logs/error.h"
#include "logs/text.h"

#include <gtest/gtest.h>

using namespace zelk;

namespace {

// Compiles `source` (lines separated by "\n") and gives the listing, or the error line.
std::string CompileText(const std::vector<std::string>& source) {
    TZelkScriptEngine engine;
    TfrScript script;
    std::vector<std::string> errors;
    engine.CompileScript(source, script, errors);
    if (!errors.empty()) {
        EXPECT_EQ(errors.size(), 1u);
        EXPECT_FALSE(script.IsValid());
        return errors[0];
    }
    return script.Listing();
}

std::string Compile(std::string_view text) {
    std::vector<std::string> source;
    std::size_t start = 0;
    for (;;) {
        const auto nl = text.find('\n', start);
        source.emplace_back(
            text.substr(start, nl == std::string_view::npos ? std::string_view::npos : nl - start));
        if (nl == std::string_view::npos) break;
        start = nl + 1;
    }
    return CompileText(source);
}

// Runs a script in a fresh engine and gives "NAME=Kind: text" of every variable, or the run error.
struct RunResult {
    std::string vars;
    std::string error;
};

RunResult RunText(std::string_view text, TZelkScriptEngine& engine) {
    TfrScript script;
    std::vector<std::string> errors;
    engine.CompileScript({std::string(text)}, script, errors);
    if (!errors.empty()) return {"", "compile: " + errors[0]};
    RunResult r;
    try {
        engine.RunScript(script);
    } catch (const TZelkError& e) {
        r.error = e.what();
    }
    const auto& store = engine.Variables();
    for (std::size_t i = 0; i < store.Count(); ++i) {
        const ScriptValue& v = store.ValueAt(i);
        if (!r.vars.empty()) r.vars += ' ';
        r.vars += store.NameAt(i) + "=" + (v.IsNull() ? std::string("null") : v.AsText());
    }
    return r;
}

RunResult RunText(std::string_view text) {
    TZelkScriptEngine engine;
    return RunText(text, engine);
}

} // namespace

TEST(FrCompiler, StatementsCompileToTheirLines) {
    struct Case {
        std::string_view source, listing;
    };
    const Case cases[] = {
        {"begin Result := 1; end;", "0: Result := 1\n"},
        {"Result := 5", "0: Result := 5\n"},
        {"Result := 5; X := 1", "0: Result := 5\n"},
        {"begin end", ""},
        {"", ""},
        {"begin ; ; end", ""},
        {"if X > 1 then A := 1 else A := 2", "0: if not (X 1 >) goto 3\n1: A := 1\n2: goto 4\n3: A := 2\n"},
        {"if X then A := 1", "0: if not (X) goto 2\n1: A := 1\n"},
        {"while I < 3 do I := I + 1", "0: if not (I 3 <) goto 3\n1: I := I 1 +\n2: goto 0\n"},
        {"repeat I := I + 1 until I >= 3", "0: I := I 1 +\n1: if not (I 3 >=) goto 0\n"},
        {"for I := 1 to N do S := S + I",
         "0: I := 1\n1: if not (I N <=) goto 5\n2: S := S I +\n3: I := I 1 +\n4: goto 1\n"},
        {"begin 10: x := 1; goto 10 end", "0: x := 1\n1: goto 0\n"},
        {"begin goto 20; 20: 20: end", "0: goto 1\n"},
        {"BEGIN Exit END", "0: exit\n"},
        {"begin exit(0); EXIT( 0 ) end", "0: exit\n1: call EXIT( 0 )\n"},
        {"begin exit(1) end", "0: call exit(1)\n"},
        {"begin ShowMessage('a;b') end", "0: call ShowMessage('a;b')\n"},
        {"begin a[1] := 2 end", "0: call SETARRAY(a, 1,  2)\n"},
        {"begin x:=1 end", "0: x := 1\n"},
        {"x := (a = 1) or (b <> 2) and not c", "0: x := a 1 = b 2 <> or c not and\n"},
        {"x := a mod b", "0: x := a b mod\n"},
        {"x := -'a' + [b c]", "0: x := 'a' neg [b c] +\n"},
        {"begin if a then begin x := 1; y := 2 end else z := 3; w := 4 end",
         "0: if not (a) goto 4\n1: x := 1\n2: y := 2\n3: goto 5\n4: z := 3\n5: w := 4\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Compile(c.source), c.listing) << c.source;
}

TEST(FrCompiler, ErrorsNameLineAndColumn) {
    struct Case {
        std::string_view source, error;
    };
    const Case cases[] = {
        {"begin x := 1 y := 2 end", "Line 1/14: Need \";\" or \"end\" here"},
        {"begin\n  x := 1\n  y := 2\nend", "Line 3/3: Need \";\" or \"end\" here"},
        {"begin { a comment } x := 1 y := 2 end", "Line 1/28: Need \";\" or \"end\" here"},
        {"begin // note\n  x := 1 // note\n  y := 2\nend", "Line 3/3: Need \";\" or \"end\" here"},
        {"begin {a\nb} x := 1 y := 2 end", "Line 2/11: Need \";\" or \"end\" here"},
        {"begin x := 1", "Line 2/0: Need \";\" or \"end\" here"},
        {"begin x := 1 end.", "Line 1/14: Need \";\" or \"end\" here"},
        {"if x then", "0: if not (x) goto 1\n"}, // an empty THEN statement

        {"if x y := 1", "Line 1/6: Need \"then\" here"},
        {"repeat x := 1 x := 2 until x", "Line 1/15: Need \";\" or \"until\" here"},
        {"while x x := 1", "Line 1/9: Need \"do\" here"},
        {"for i := 1 do x := 1", "Line 1/12: Need \"to\" here"},
        {"for i := 1 to 3 x := 1", "Line 1/17: Need \"do\" here"},
        {"for 1 to 3 do x := 1", "Line 1/5: Need \":=\" here"},
        {"goto x", "Line 1/6: \"goto\" label must be a number"},
        {"goto 5", "Line 1/6: Undefined label \"5\""},
        {"x = 1", "Line 1/3: Need \":=\" here"},
        {"begin exit;end", "Line 1/11: Need \":=\" here"},
        {"x := (1 + 2", "Line 2/0: Need \")\" here"},
        {"x := [abc", "Line 1/6: Need \"]\" here"},
        {"x := a[1", "Line 2/0: Need \"]\" here"},
        {"ShowMessage('x' end", "Line 1/17: Need \",\" or \")\" here"},
        {"x := 1 +", "Line 2/0: Need an operand here"},
        {"x := * 2", "Line 1/6: Need an operand here"},
        {"x := \xef\xf0\xe8\xe2\xe5\xf2", "Line 1/6: Need an operand here"}, // Cyrillic
        {"x := F([a(b])", "Line 1/6: Need \",\" or \")\" here"},
        {"begin\tx := 1\ty := 2 end", "Line 1/14: Need \";\" or \"end\" here"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Compile(c.source), c.error) << c.source;
}

TEST(FrCompiler, CommentMarksInsideTextLiteralsStayText) {
    EXPECT_EQ(Compile("x := '{a} // b'"), "0: x := '{a} // b'\n");
    EXPECT_EQ(RunText("begin x := '{a}' + '//' end").vars, "x={a}//");
}

TEST(FrCompiler, RecompilingReplacesTheOldForm) {
    TZelkScriptEngine engine;
    TfrScript script;
    std::vector<std::string> errors{"old"};
    engine.CompileScript({"x := 1"}, script, errors);
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(script.IsCompiledFrom({"x := 1"}));
    engine.CompileScript(script.Source(), script, errors); // the old form's own source
    EXPECT_TRUE(script.IsCompiledFrom({"x := 1"}));
    engine.CompileScript({"x := "}, script, errors);
    EXPECT_FALSE(script.IsValid());
    EXPECT_EQ(errors.size(), 1u);
}

TEST(FrInterpretator, StatementsRunAsCompiled) {
    struct Case {
        std::string_view source, vars, error;
    };
    const Case cases[] = {
        {"begin S := 0; for I := 1 to 3 do S := S + I end", "S=6 I=4", ""},
        {"begin S := 0; for I := 5 to 1 do S := 1 end", "S=0 I=5", ""},
        {"begin I := 0; repeat I := I + 1 until I >= 3 end", "I=3", ""},
        {"begin I := 0; N := 0; repeat I := I + 1; N := N + 1 until I >= 3 end", "I=3 N=3", ""},
        {"begin I := 0; while I < 3 do I := I + 1 end", "I=3", ""},
        {"begin if x then y := 1; end", "y=1", ""},
        {"begin if 0 then y := 1 else y := 2 end", "y=2", ""},
        {"begin if '0' then y := 1 else y := 2 end", "y=2", ""},
        {"begin if FALSE then y := 1 else y := 2 end", "y=2", ""},
        {"begin if 'abc' then y := 1 end", "",
         "Could not convert variant of type (String) into type (Double)"},
        {"begin x := 1; exit; x := 2 end", "x=1", ""},
        {"begin x := 1; EXIT(0); x := 2 end", "x=1", ""},
        {"begin x := 1; exit(1); x := 2 end", "x=1",
         "\xcd\xe5\xe8\xe7\xe2\xe5\xf1\xf2\xed\xe0\xff \xf4\xf3\xed\xea\xf6\xe8\xff : EXIT"},
        {"begin x := 1; goto 10; x := 2; 10: y := 3 end", "x=1 y=3", ""},
        {"begin n := 0; 5: n := n + 1; goto 7; 5: n := 100; 7: if n < 3 then goto 5 end", "n=3", ""},
        {"begin n := 0; 1: n := n + 1; if n < 5 then goto 1 end", "n=5", ""},
        {"begin a[1] := 2 end", "",
         "\xcd\xe5\xe8\xe7\xe2\xe5\xf1\xf2\xed\xe0\xff \xf4\xf3\xed\xea\xf6\xe8\xff : SETARRAY"},
        {"begin x := 1; y := 1 / 0; z := 2 end", "x=1", "Floating point division by zero"},
        {"begin result := 1; Result := 2; RESULT := Result + 1 end", "result=3", ""},
    };
    for (const auto& c : cases) {
        RunResult r = RunText(c.source);
        EXPECT_EQ(r.vars, c.vars) << c.source;
        EXPECT_EQ(r.error, c.error) << c.source;
    }
}

TEST(FrInterpretator, StepLimitEndsEndlessLoops) {
    TZelkScriptEngine engine;
    engine.SetStepLimit(1000);
    EXPECT_EQ(RunText("while 1 do x := 1", engine).error, "Script step limit exceeded");
}

TEST(FrInterpretator, BaseClassHasNoVariablesOrFunctions) {
    TfrInterpretator interp;
    TfrScript script;
    std::vector<std::string> errors;
    interp.CompileScript({"begin x := Foo(1) + y; if x then z := 1 end"}, script, errors);
    ASSERT_TRUE(errors.empty());
    EXPECT_NO_THROW(interp.RunScript(script));
    interp.RunScript(TfrScript()); // a form that never compiled runs nothing
}

TEST(FrCompiler, LargeAndHostileScriptsEndInErrorsNotCrashes) {
    // A million characters of statements.
    std::string big = "begin ";
    while (big.size() < 1000000)
        big += "x := x + 1; ";
    big += "end";
    EXPECT_EQ(Compile(big).substr(0, 12), "0: x := x 1 ");

    // One word of a million characters without blanks.
    std::string glued = "begin ";
    while (glued.size() < 1000000)
        glued += "x:=1;";
    glued += "end";
    EXPECT_EQ(Compile(glued).substr(0, 10), "0: x := 1\n");

    const std::string deepParens = "x := " + std::string(100000, '(') + "1" + std::string(100000, ')');
    EXPECT_EQ(Compile(deepParens), "Line 1/206: Expression is nested too deeply");

    std::string deepBlocks;
    for (int i = 0; i < 10000; ++i)
        deepBlocks += "begin ";
    EXPECT_EQ(Compile(deepBlocks).substr(Compile(deepBlocks).find(':') + 2),
              "Statements are nested too deeply");

    std::string deepIf;
    for (int i = 0; i < 10000; ++i)
        deepIf += "if x then ";
    EXPECT_NE(Compile(deepIf).find("nested too deeply"), std::string::npos);

    std::string minus = "x := " + std::string(100000, '-') + "1";
    EXPECT_NE(Compile(minus).find("Expression is nested too deeply"), std::string::npos);

    std::string longSum = "x := 1";
    for (int i = 0; i < 10000; ++i)
        longSum += " + 1";
    TZelkScriptEngine engine;
    EXPECT_EQ(RunText(longSum, engine).vars, "x=10001");

    std::string labels = "begin ";
    for (int i = 0; i < 10000; ++i)
        labels += std::to_string(i) + ": x := " + std::to_string(i) + "; ";
    labels += "goto 9999 end";
    const std::string listing = Compile(labels);
    EXPECT_NE(listing.find("10000: goto 9999\n"), std::string::npos);

    // NUL counts as a blank between words and stays inside a text literal.
    const std::string nul("begin x := '\0'; y\0 := 1 end", 27);
    EXPECT_EQ(Compile(nul), std::string("0: x := '\0'\n1: y := 1\n", 22));
}

TEST(FrCompiler, LabelsAreKeptFromTheFirstDefinitionAndLongLabelsWork) {
    EXPECT_EQ(
        RunText("begin x := 0; goto 12345678901234567890; x := 1; 12345678901234567890: y := 2 end").vars,
        "x=0 y=2");
}
