// Script values: storage, the five conversions, operators, comparisons, negation and the condition test.
#include "script/script_value.h"

#include "logs/text.h"
#include "value_test_support.h"

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

using namespace zelk;
using namespace zelk::test;

namespace {

constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();

std::string Conversion(const char* from, const char* to) {
    return std::string("!Could not convert variant of type (") + from + ") into type (" + to + ")";
}

std::string Overflow(const char* from, const char* to) {
    return std::string("!Overflow while converting variant of type (") + from + ") into type (" + to + ")";
}

const char* OpName(TBinaryOp op) {
    static const char* names[] = {"+", "-", "*", "/", "MOD", "AND", "OR"};
    return names[static_cast<int>(op)];
}

const char* OpName(TCompareOp op) {
    static const char* names[] = {"<", "=", ">", ">=", "<=", "<>"};
    return names[static_cast<int>(op)];
}

class ScriptValueTest : public DefaultLocaleTest {};

// ---- Storage ----

TEST_F(ScriptValueTest, CopiesAndMovesKeepEveryKind) {
    const std::string longText(40, 'x');
    const std::vector<ScriptValue> values = {E(),
                                             N(),
                                             I(-7),
                                             L(kInt64Min),
                                             F(2.5),
                                             T("Q1AA"),
                                             T(""),
                                             T(longText),
                                             B(true),
                                             D(38395.5),
                                             T(std::string(15, 'a')),
                                             T(std::string(16, 'b'))};
    for (const auto& v : values) {
        const std::string expected = Describe(v);
        ScriptValue copy(v);
        EXPECT_EQ(Describe(copy), expected);
        ScriptValue assigned = I(1);
        assigned = v;
        EXPECT_EQ(Describe(assigned), expected);
        ScriptValue moved(std::move(copy));
        EXPECT_EQ(Describe(moved), expected);
        EXPECT_TRUE(copy.IsEmpty()) << expected; // a moved-from value is empty
        assigned = std::move(moved);
        EXPECT_EQ(Describe(assigned), expected);
        const ScriptValue& same = assigned;
        assigned = same; // self-assignment
        EXPECT_EQ(Describe(assigned), expected);
        EXPECT_EQ(Describe(v), expected); // the source is untouched by all of it
    }
}

TEST_F(ScriptValueTest, LongTextOutlivesTheValueItWasCopiedFrom) {
    std::string text = "the comment of a contact that is longer than a small buffer";
    std::string big;
    big.reserve(100); // a short text in a large buffer still fits the value itself
    big = "short";
    ScriptValue copy;
    {
        const ScriptValue original = ScriptValue::Text(text);
        copy = original;
        ScriptValue other = ScriptValue::Text(big);
        copy = other;
        copy = original;
    }
    EXPECT_EQ(copy.RawText(), text);
    EXPECT_EQ(ScriptValue::Text(big).RawText(), "short");
    EXPECT_EQ(ScriptValue::Text(std::move(text)).AsText(),
              "the comment of a contact that is longer than a small buffer");
    EXPECT_EQ(I(5).RawText(), ""); // no text payload
}

// ---- Conversions ----

TEST_F(ScriptValueTest, ConversionsFollowTheTableOfKinds) {
    struct Case {
        ScriptValue value;
        std::string text, toFloat, toInteger, toBoolean, toDate;
    };
    const Case cases[] = {
        {E(), "", "0", "0", "false", "0"},
        {N(), Conversion("Null", "String"), Conversion("Null", "Double"), Conversion("Null", "Integer"),
         Conversion("Null", "Boolean"), Conversion("Null", "Date")},
        {I(-5), "-5", "-5", "-5", "true", "-5"},
        {I(0), "0", "0", "0", "false", "0"},
        {L(5000000000), "5000000000", "5000000000", Overflow("Int64", "Integer"), "true", "5000000000"},
        {L(-7), "-7", "-7", "-7", "true", "-7"},
        {F(2.5), "2.5", "2.5", "2", "true", "2.5"},
        {F(3.5), "3.5", "3.5", "4", "true", "3.5"},
        {F(-2.5), "-2.5", "-2.5", "-2", "true", "-2.5"},
        {F(0), "0", "0", "0", "false", "0"},
        {F(2147483647.5), "2147483647.5", "2147483647.5", Overflow("Double", "Integer"), "true",
         "2147483647.5"},
        {F(-2147483648.4), "-2147483648.4", "-2147483648.4", "-2147483648", "true", "-2147483648.4"},
        {T("12"), "12", "12", "12", "true", Conversion("String", "Date")},
        {T(" 2.25 "), " 2.25 ", "2.25", "2", "true", Conversion("String", "Date")},
        {T("2.5e0"), "2.5e0", "2.5", "2", "true", Conversion("String", "Date")},
        {T("-3E2"), "-3E2", "-300", "-300", "true", Conversion("String", "Date")},
        {T("0"), "0", "0", "0", "false", Conversion("String", "Date")},
        {T("abc"), "abc", Conversion("String", "Double"), Conversion("String", "Integer"),
         Conversion("String", "Boolean"), Conversion("String", "Date")},
        {T(""), "", Conversion("String", "Double"), Conversion("String", "Integer"),
         Conversion("String", "Boolean"), Conversion("String", "Date")},
        {T("True"), "True", Conversion("String", "Double"), "1", "true", Conversion("String", "Date")},
        {T("fAlSe"), "fAlSe", Conversion("String", "Double"), "0", "false", Conversion("String", "Date")},
        {T("1E400"), "1E400", Overflow("String", "Double"), Overflow("String", "Integer"), "true",
         Conversion("String", "Date")},
        {T("3000000000"), "3000000000", "3000000000", Overflow("String", "Integer"), "true",
         Conversion("String", "Date")},
        {T("12.02.2005"), "12.02.2005", Conversion("String", "Double"), Conversion("String", "Integer"),
         Conversion("String", "Boolean"), "38395"},
        {T("12.02.2005 18:00"), "12.02.2005 18:00", Conversion("String", "Double"),
         Conversion("String", "Integer"), Conversion("String", "Boolean"), "38395.75"},
        {B(true), "True", "-1", "-1", "true", "-1"},
        {B(false), "False", "0", "0", "false", "0"},
        {D(38395.5), "12.02.2005 12:00:00", "38395.5", "38396", "true", "38395.5"},
        {D(38395), "12.02.2005", "38395", "38395", "true", "38395"},
        {D(0.75), "18:00:00", "0.75", "1", "true", "0.75"},
        {D(0), "30.12.1899", "0", "0", "false", "0"},
        {D(1e10), Conversion("Date", "String"), "10000000000", Overflow("Date", "Integer"), "true",
         "10000000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Describe(c.value));
        const ScriptValue& v = c.value;
        EXPECT_EQ(Outcome([&] { return v.AsText(); }), c.text);
        EXPECT_EQ(Outcome([&] { return ExactText(v.AsFloat()); }), c.toFloat);
        EXPECT_EQ(Outcome([&] { return std::to_string(v.AsInteger()); }), c.toInteger);
        EXPECT_EQ(Outcome([&] { return std::string(v.AsBoolean() ? "true" : "false"); }), c.toBoolean);
        EXPECT_EQ(Outcome([&] { return ExactText(v.AsDate()); }), c.toDate);
    }
}

TEST_F(ScriptValueTest, Int64ConversionUsesTheWholeRange) {
    EXPECT_EQ(L(kInt64Min).AsInt64(), kInt64Min);
    EXPECT_EQ(T("9223372036854775807").AsInt64(), kInt64Max); // exact, not through a double
    EXPECT_EQ(F(-2.5).AsInt64(), -2);
    EXPECT_EQ(B(true).AsInt64(), -1);
    EXPECT_EQ(Outcome([] { return std::to_string(F(1e19).AsInt64()); }), Overflow("Double", "Int64"));
    EXPECT_EQ(Outcome([] { return std::to_string(T("1e19").AsInt64()); }), Overflow("String", "Int64"));
    EXPECT_EQ(Outcome([] { return std::to_string(N().AsInt64()); }), Conversion("Null", "Int64"));
}

TEST_F(ScriptValueTest, LocaleDecidesSeparatorsAndTruthWords) {
    TUserLocale russian;
    russian.DecimalSeparator = ',';
    russian.TrueWord = "Истина"_cp;
    russian.FalseWord = "Ложь"_cp;
    TUserLocaleOverride scope(russian);
    EXPECT_EQ(F(2.5).AsText(), "2,5");
    EXPECT_EQ(F(1.5e-7).AsText(), "1,5E-7");
    EXPECT_EQ(T("1,5").AsFloat(), 1.5);
    EXPECT_EQ(Outcome([] { return ExactText(T("1.5").AsFloat()); }), Conversion("String", "Double"));
    EXPECT_EQ(B(true).AsText(), "Истина"_cp);
    EXPECT_TRUE(T("истина"_cp).AsBoolean());
    EXPECT_FALSE(T("ЛОЖЬ"_cp).AsBoolean());
    EXPECT_TRUE(T("true").AsBoolean()); // the program's own words always work
    EXPECT_EQ(Describe(ApplyOperator(TBinaryOp::Add, T("1,5"), F(1))), "Double 2.5");
}

// ---- Operators ----

TEST_F(ScriptValueTest, OperatorsFollowTheRuleOfTheOperandClasses) {
    struct Case {
        ScriptValue left;
        TBinaryOp op;
        ScriptValue right;
        std::string expected;
    };
    using O = TBinaryOp;
    const Case cases[] = {
        // Texts: "+" joins, the other operators need numbers.
        {T("5"), O::Add, T("3"), "String 53"},
        {T("5"), O::Sub, T("3"), "Double 2"},
        {T("5"), O::Mul, I(2), "Double 10"},
        {T("a"), O::Mul, I(2), Conversion("String", "Double")},
        {T("2"), O::Add, F(0), "Double 2"},
        {F(2), O::Add, T("3"), "Double 5"},
        {T("5"), O::Mod, T("3"), "Integer 2"},
        {T("2.5"), O::Mod, I(2), "Integer 0"},
        {T("abc"), O::Add, I(1), Conversion("String", "Double")},
        {T("2"), O::Add, B(true), "Double 1"},
        {T("true"), O::And, B(true), "Boolean true"},
        // Integers: 32 bits, falling back to floats when the exact result does not fit.
        {I(100), O::Add, I(1), "Integer 101"},
        {I(kInt32Max), O::Add, I(1), "Double 2147483648"},
        {I(kInt32Min), O::Sub, I(1), "Double -2147483649"},
        {I(65536), O::Mul, I(65536), "Double 4294967296"},
        {I(-46341), O::Mul, I(46341), "Double -2147488281"},
        {I(7), O::Div, I(2), "Double 3.5"},
        {I(7), O::Mod, I(2), "Integer 1"},
        {I(-7), O::Mod, I(2), "Integer -1"},
        {I(7), O::Mod, I(-2), "Integer 1"},
        {I(kInt32Min), O::Mod, I(-1), "Integer 0"},
        {I(7), O::Mod, I(0), "!Division by zero"},
        {I(1), O::And, I(2), "Integer 0"},
        {I(6), O::And, I(3), "Integer 2"},
        {I(3), O::Or, I(4), "Integer 7"},
        {I(0), O::Div, I(0), "!Invalid floating point operation"},
        // Floats.
        {F(7), O::Div, F(2), "Double 3.5"},
        {F(7.5), O::Mod, F(2), "Integer 0"},
        {F(6.5), O::Mod, F(4), "Integer 2"},
        {F(3e9), O::And, I(1), Overflow("Double", "Integer")},
        {F(1), O::Div, F(0), "!Floating point division by zero"},
        {F(-1), O::Div, I(0), "!Floating point division by zero"},
        {F(0), O::Div, F(0), "!Invalid floating point operation"},
        {F(1e308), O::Mul, F(10), "!Floating point overflow"},
        {F(-1e308), O::Sub, F(1e308), "!Floating point overflow"},
        {F(1e-308), O::Mul, F(1e-308), "Double 0"},
        // Truth values: AND and OR logical, arithmetic with true as -1.
        {B(true), O::And, B(false), "Boolean false"},
        {B(true), O::Or, B(false), "Boolean true"},
        {B(true), O::And, I(1), "Integer 1"},
        {B(true), O::Add, I(1), "Integer 0"},
        {B(true), O::Add, F(1.5), "Double 0.5"},
        {B(true), O::Add, B(true), "Double -2"},
        {B(true), O::Mod, I(2), "Integer -1"},
        // 64-bit integers: + and - wrap, * falls back to floats.
        {L(kInt64Max), O::Add, L(1), "Int64 " + std::to_string(kInt64Min)},
        {L(kInt64Min), O::Sub, I(1), "Int64 " + std::to_string(kInt64Max)},
        {L(3000000000), O::Mul, L(4000000000), "Double 1.2e+19"},
        {L(10), O::Mul, I(3), "Int64 30"},
        {I(3), O::Sub, L(10), "Int64 -7"},
        {L(7), O::Div, L(2), "Double 3.5"},
        {L(-7), O::Mod, I(2), "Int64 -1"},
        {L(5000000000), O::Mod, I(3), "Int64 2"},
        {L(kInt64Min), O::Mod, L(-1), "Int64 0"},
        {L(7), O::Mod, L(0), "!Division by zero"},
        {L(12), O::And, B(true), "Int64 12"},
        {L(5000000000), O::Mod, F(2), Overflow("Int64", "Integer")},
        // Date-times.
        {D(38395.5), O::Add, I(1), "Date 38396.5"},
        {I(1), O::Add, D(38395.5), "Date 38396.5"},
        {D(38395.5), O::Sub, F(0.5), "Date 38395"},
        {D(38396.75), O::Sub, D(38395.5), "Double 1.25"},
        {D(2), O::Mul, I(3), "Double 6"},
        {D(7.4), O::Mod, I(4), "Integer 3"},
        {D(0), O::Add, T("12.02.2005"), "Date 38395"},
        // Null: unknown except for deciding operands of AND and OR.
        {N(), O::Add, I(1), "Null"},
        {I(1), O::Sub, N(), "Null"},
        {N(), O::Div, I(0), "Null"},
        {N(), O::Mod, I(0), "Null"},
        {E(), O::Add, N(), "Null"},
        {N(), O::And, N(), "Null"},
        {N(), O::Or, N(), "Null"},
        {N(), O::And, B(false), "Boolean false"},
        {N(), O::And, B(true), "Null"},
        {B(false), O::And, N(), "Boolean false"},
        {I(0), O::And, N(), "Integer 0"},
        {N(), O::Or, B(true), "Boolean true"},
        {N(), O::Or, B(false), "Null"},
        {I(5), O::Or, N(), "Integer 5"},
        {N(), O::Or, T("abc"), Conversion("String", "Boolean")},
        // Empty.
        {E(), O::Add, E(), "Empty"},
        {E(), O::Mul, E(), "Empty"},
        {E(), O::And, E(), "Empty"},
        {E(), O::Div, E(), "!Floating point division by zero"},
        {E(), O::Mod, E(), "!Division by zero"},
        {E(), O::Add, I(5), "Integer 5"},
        {E(), O::Add, T("x"), "String x"},
        {E(), O::Sub, T("x"), Conversion("String", "Double")},
        {E(), O::Div, I(5), "Double 0"},
        {I(5), O::Div, E(), "!Floating point division by zero"},
    };
    for (const auto& c : cases) {
        const auto got = Outcome([&] { return Describe(ApplyOperator(c.op, c.left, c.right)); });
        EXPECT_EQ(got, c.expected) << Describe(c.left) << " " << OpName(c.op) << " " << Describe(c.right);
    }
}

TEST_F(ScriptValueTest, RecordFieldsAreTextsUntilANumberJoinsThem) {
    const ScriptValue score = T("2"), score2 = T("3");
    EXPECT_EQ(Describe(ApplyOperator(TBinaryOp::Add, score, score2)), "String 23");
    const auto sum = ApplyOperator(TBinaryOp::Add, ApplyOperator(TBinaryOp::Add, score, F(0)), score2);
    EXPECT_EQ(Describe(sum), "Double 5");
}

TEST_F(ScriptValueTest, DateTimePlusOneIsTheNextDayAtTheSameTime) {
    const auto next = ApplyOperator(TBinaryOp::Add, D(38395.75), F(1));
    EXPECT_EQ(next.AsText(), "13.02.2005 18:00:00");
}

// ---- Comparisons ----

TEST_F(ScriptValueTest, ComparisonsFollowTheRuleOfTheOperandClasses) {
    struct Case {
        ScriptValue left;
        TCompareOp op;
        ScriptValue right;
        std::string expected; // "1", "0" or an error
    };
    using C = TCompareOp;
    const Case cases[] = {
        // A text against a number is compared as numbers, two texts byte by byte.
        {T("2"), C::Equal, I(2), "1"},
        {T("2"), C::Equal, T("2"), "1"},
        {T("2"), C::Equal, T("02"), "0"},
        {T("02"), C::Equal, F(2), "1"},
        {T("10"), C::Greater, T("9"), "0"},
        {T("10"), C::Greater, I(9), "1"},
        {T("abc"), C::Equal, I(1), Conversion("String", "Double")},
        {T("Q1AA"), C::Equal, T("q1aa"), "0"},
        {T("Q1AA"), C::Equal, T("Q1AA"), "1"},
        {T("a"), C::Less, T("b"), "1"},
        {T("ab"), C::Less, T("abc"), "1"},
        {T("abc"), C::GreaterEqual, T("ab"), "1"},
        {T("Z"), C::Less, T("a"), "1"},
        {T("я"_cp), C::Greater, T("z"), "1"},
        {T("А"_cp), C::Less, T("а"_cp), "1"},
        {T(""), C::Less, T("a"), "1"},
        {T("a"), C::NotEqual, T("a "), "1"},
        // Integers and truth values: true counts -1.
        {I(1), C::Equal, B(true), "0"},
        {I(-1), C::Equal, B(true), "1"},
        {B(false), C::Less, B(true), "1"},
        {B(true), C::LessEqual, B(false), "0"},
        {T("True"), C::Equal, B(true), "1"},
        {I(3), C::LessEqual, I(3), "1"},
        {I(3), C::Less, I(3), "0"},
        // Numbers of other kinds.
        {F(2.5), C::Equal, I(2), "0"},
        {F(2.5), C::Greater, I(2), "1"},
        {I(1), C::Equal, F(1), "1"},
        {L(5000000000), C::Greater, I(1), "1"},
        {L(5000000000), C::Equal, F(5e9), "1"},
        {L(kInt64Max), C::Greater, L(kInt64Max - 1), "1"},
        {D(38395), C::Equal, I(38395), "1"},
        {D(1.5), C::Less, D(2), "1"},
        {D(38395), C::Equal, T("12.02.2005"), "1"},
        // Null is equal only to null and less than everything else.
        {N(), C::Equal, N(), "1"},
        {N(), C::NotEqual, I(5), "1"},
        {N(), C::Equal, I(5), "0"},
        {N(), C::Less, I(5), "1"},
        {N(), C::Greater, I(5), "0"},
        {I(5), C::Greater, N(), "1"},
        {I(5), C::LessEqual, N(), "0"},
        {N(), C::GreaterEqual, N(), "1"},
        {N(), C::Less, N(), "0"},
        {N(), C::Equal, E(), "0"},
        {N(), C::Less, T("abc"), "1"},
        // Empty is 0, an empty text, false.
        {E(), C::Equal, E(), "1"},
        {E(), C::Equal, I(0), "1"},
        {E(), C::Equal, T(""), "1"},
        {E(), C::Less, I(1), "1"},
        {E(), C::Equal, B(false), "1"},
    };
    for (const auto& c : cases) {
        const auto got = Outcome([&] {
            const ScriptValue r = CompareValues(c.op, c.left, c.right);
            EXPECT_EQ(r.Kind(), TValueKind::Integer);
            return std::to_string(r.RawInt());
        });
        EXPECT_EQ(got, c.expected) << Describe(c.left) << " " << OpName(c.op) << " " << Describe(c.right);
    }
}

// ---- Negation and conditions ----

TEST_F(ScriptValueTest, NegationChangesSignByKind) {
    const std::pair<ScriptValue, std::string> cases[] = {
        {I(5), "Integer -5"},
        {I(kInt32Min), "Integer " + std::to_string(kInt32Min)},
        {L(kInt64Min), "Int64 " + std::to_string(kInt64Min)},
        {L(7), "Int64 -7"},
        {F(2.5), "Double -2.5"},
        {D(1.5), "Date -1.5"},
        {T("3"), "Double -3"},
        {T("x"), Conversion("String", "Double")},
        {B(true), "Integer -1"},
        {B(false), "Integer 0"},
        {N(), "Null"},
        {E(), "Integer 0"},
    };
    for (const auto& [input, expected] : cases) {
        const ScriptValue& value = input; // a plain reference: lambdas may not capture a binding
        EXPECT_EQ(Outcome([&] { return Describe(Negate(value)); }), expected) << Describe(value);
    }
}

TEST_F(ScriptValueTest, ConditionTestIsEqualityWithIntegerZero) {
    const std::pair<ScriptValue, std::string> cases[] = {
        {E(), "1"},
        {N(), "0"},
        {I(0), "1"},
        {I(5), "0"},
        {L(0), "1"},
        {F(0), "1"},
        {F(0.5), "0"},
        {T("0"), "1"},
        {T(" 0.0 "), "1"},
        {T("2"), "0"},
        {B(false), "1"},
        {B(true), "0"},
        {D(0), "1"},
        {D(38395), "0"},
        {T("abc"), Conversion("String", "Double")},
        {T(""), Conversion("String", "Double")},
    };
    for (const auto& [input, expected] : cases) {
        const ScriptValue& value = input; // a plain reference: lambdas may not capture a binding
        EXPECT_EQ(Outcome([&] { return std::string(EqualsZero(value) ? "1" : "0"); }), expected)
            << Describe(value);
        // The shortcut must agree with the comparison it stands for.
        EXPECT_EQ(
            Outcome([&] { return std::to_string(CompareValues(TCompareOp::Equal, value, I(0)).RawInt()); }),
            expected)
            << Describe(value);
    }
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, double> cases[] = {{2.5, 2},
                                               {3.5, 4},
                                               {-2.5, -2},
                                               {-3.5, -4},
                                               {0.5, 0},
                                               {1.5, 2},
                                               {2.4999, 2},
                                               {2.6, 3},
                                               {-0.4, -0},
                                               {1e300, 1e300},
                                               {4503599627370497.0, 4503599627370497.0}};
    for (const auto& [x, expected] : cases)
        EXPECT_EQ(RoundHalfEven(x), expected) << x;
}

} // namespace
