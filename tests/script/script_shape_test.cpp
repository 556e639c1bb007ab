// What the planner reads from a script: which scripts are quiet, and which equalities every true answer
// of a pair test needs. Each case states the keys in a short form: "Call2=CallSign", "Mode2=Mode",
// "Mode2='CW'", in the order the script names them.
#include "logs/file_io.h"
#include "script/script_shape.h"

#include <gtest/gtest.h>

using namespace zelk;

namespace {

const char* const kFields[] = {"Freq", "Mode",    "SDate", "STime",  "Call",
                               "Send", "Receive", "Score", "Comment"};

std::string KeysText(const TScriptShape& shape) {
    std::string out;
    for (const TKeyPart& k : shape.Keys) {
        if (!out.empty()) out += ' ';
        out += std::string(kFields[k.OtherField]) + "2=";
        switch (k.Source) {
        case TKeySource::Field:
            out += kFields[k.Field];
            break;
        case TKeySource::CallSign:
            out += "CallSign";
            break;
        case TKeySource::Literal:
            out += "'" + k.Literal + "'";
            break;
        }
    }
    return out;
}

struct TShapeCase {
    const char* script;
    bool quiet;
    const char* keys; // as KeysText writes them
};

// Pair tests with CallSign defined (IsConfirmative).
const TShapeCase kConfirmative[] = {
    // The default script and its guarded form.
    {"begin Result := ((Call2 = CallSign) and (Mode2 = Mode) and (Freq2 = Freq)); end;", true,
     "Call2=CallSign Mode2=Mode Freq2=Freq"},
    {"begin Result := false; if (Call2 = CallSign) and (Mode2 = Mode) then begin "
     "Result := Minutes(DateTime, DateTime2) <= 5 end; end;",
     true, "Call2=CallSign Mode2=Mode"},
    // Nested guards both end the run when they fail; a guard with an else branch does not.
    {"begin if Call2 = CallSign then if Mode = Mode2 then Result := true; end;", true,
     "Call2=CallSign Mode2=Mode"},
    {"begin if Call2 = CallSign then Result := true else Result := false; end;", true, ""},
    // The comparison sides may come either way round; a literal is a key as well.
    {"begin Result := (CallSign = Call2) and (Mode2 = 'CW'); end;", true, "Call2=CallSign Mode2='CW'"},
    // Safe text functions may stand beside the keys but are no keys themselves.
    {"begin Result := (Call2 = CallSign) and (Band(Freq2) = Band(Freq)); end;", true, "Call2=CallSign"},
    {"begin Result := (UpperCase(Call2) = UpperCase(CallSign)) and (Mode2 = Mode); end;", true, "Mode2=Mode"},
    // Number and text comparisons may convert or fail: nothing is proven before them.
    {"begin Result := (Call2 = CallSign) and (Freq2 = Freq + 0); end;", true, ""},
    {"begin Result := (Call2 = CallSign) and (StrToInt(Freq2) > 0); end;", true, ""},
    {"begin Result := false; if Freq2 + 0 = Freq + 0 then if Call2 = CallSign then Result := true; end;",
     true, ""},
    // A key before an unsafe guard stands; OR and NOT give none.
    {"begin Result := false; if Call2 = CallSign then if Freq2 + 0 = Freq then Result := true; end;", true,
     "Call2=CallSign"},
    {"begin Result := (Call2 = CallSign) or (Mode2 = Mode); end;", true, ""},
    {"begin Result := not (Call2 <> CallSign); end;", true, ""},
    // A guard reached while Result may be true proves nothing.
    {"begin Result := true; if Call2 = CallSign then Result := Mode2 = Mode; end;", true, ""},
    // Record variables changed before the test are not the record's values any more.
    {"begin Freq := Freq2; Result := (Call2 = CallSign) and (Freq2 = Freq); end;", true, ""},
    {"begin x := Trim(Call2); Result := (Call2 = CallSign) and (Mode2 = Mode); end;", true,
     "Call2=CallSign Mode2=Mode"},
    // Messages make a script loud wherever they stand; unknown functions and indexed names as well.
    {"begin Result := (Call2 = CallSign); if Result then ShowMessage(Call2); end;", false, ""},
    {"begin Result := (Call2 = CallSign) and (Frob(Mode2) = Mode); end;", false, ""},
    {"begin Result := (Call2 = CallSign) and (IntToStr(StrToInt(ShowMessage('x'))) = Mode); end;", false, ""},
    // A variable the entry point may define in a later version keeps the full scan.
    {"begin Result := (Call2 = CallSign) and (Accepted2 = 1); end;", true, ""},
    // A run after the keys does not matter; a jump before them does.
    {"begin Result := false; if Call2 = CallSign then begin while Mode2 <> Mode do Result := 1 / 0; end; "
     "end;",
     true, "Call2=CallSign"},
};

TEST(ScriptShapeTest, ConfirmativeKeysAndQuietness) {
    for (const TShapeCase& c : kConfirmative) {
        const TScriptShape shape = ShapeOfScript(TextLines(c.script), true, true);
        EXPECT_TRUE(shape.Compiles) << c.script;
        EXPECT_EQ(shape.Quiet, c.quiet) << c.script;
        EXPECT_EQ(KeysText(shape), c.keys) << c.script;
    }
}

TEST(ScriptShapeTest, CallSignIsNoValueOfTheRepeatTest) {
    // IsDuplicate is run without CallSign: it is undefined there, so no key can rest on it.
    const TScriptShape dup =
        ShapeOfScript(TextLines("begin Result := (Call2 = CallSign) and (Mode2 = Mode); end;"), true, false);
    EXPECT_EQ(KeysText(dup), "");
    const TScriptShape plain = ShapeOfScript(
        TextLines("begin Result := ((Freq = Freq2) and (Mode = Mode2) and (Call = Call2)) end;"), true,
        false);
    EXPECT_EQ(KeysText(plain), "Freq2=Freq Mode2=Mode Call2=Call");
}

TEST(ScriptShapeTest, ScriptThatDoesNotCompileHasNoShape) {
    const TScriptShape shape = ShapeOfScript(TextLines("begin Result := ( end"), true, true);
    EXPECT_FALSE(shape.Compiles);
    EXPECT_FALSE(shape.Quiet);
    EXPECT_TRUE(shape.Keys.empty());
}

} // namespace
