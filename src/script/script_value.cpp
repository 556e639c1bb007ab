// ScriptValue: storage, the five conversions, and the operator and comparison rules chosen by the
// classes of the two operands.
#include "script/script_value.h"

#include "logs/error.h"
#include "logs/text.h"
#include "script/format.h"
#include "script/user_locale.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <new>
#include <utility>

namespace zelk {
namespace {

using K = TValueKind;

// Texts up to this length fit the small buffer of std::string and are copied without allocating.
constexpr std::size_t kInlineText = 15;

static_assert(sizeof(ScriptValue) <= 40, "values are copied all the time and must stay small");

const std::string kNoText;

// The rule that a pair of operand classes selects, for operators and comparisons alike.
enum class TRule : std::uint8_t { Empty, Null, Int, Int64, Float, Text, Bool, Date };

constexpr TRule kRules[8][8] = {
    // right: Empty, Null, Integer, Int64, Double, String, Boolean, Date
    {TRule::Empty, TRule::Null, TRule::Int, TRule::Int64, TRule::Float, TRule::Text, TRule::Bool,
     TRule::Date},
    {TRule::Null, TRule::Null, TRule::Null, TRule::Null, TRule::Null, TRule::Null, TRule::Null, TRule::Null},
    {TRule::Int, TRule::Null, TRule::Int, TRule::Int64, TRule::Float, TRule::Float, TRule::Int, TRule::Date},
    {TRule::Int64, TRule::Null, TRule::Int64, TRule::Int64, TRule::Float, TRule::Float, TRule::Int64,
     TRule::Date},
    {TRule::Float, TRule::Null, TRule::Float, TRule::Float, TRule::Float, TRule::Float, TRule::Float,
     TRule::Date},
    {TRule::Text, TRule::Null, TRule::Float, TRule::Float, TRule::Float, TRule::Text, TRule::Bool,
     TRule::Date},
    {TRule::Bool, TRule::Null, TRule::Int, TRule::Int64, TRule::Float, TRule::Bool, TRule::Bool, TRule::Date},
    {TRule::Date, TRule::Null, TRule::Date, TRule::Date, TRule::Date, TRule::Date, TRule::Date, TRule::Date},
};

TRule RuleOf(const ScriptValue& left, const ScriptValue& right) {
    return kRules[static_cast<int>(left.Kind())][static_cast<int>(right.Kind())];
}

[[noreturn]] void Fail(const char* message) {
    throw TZelkError(message);
}

bool FitsInt32(std::int64_t v) {
    return v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max();
}

// A rounded float inside [-2^63, 2^63) converts to int64 without overflow.
bool FitsInt64(double r) {
    return r >= -9223372036854775808.0 && r < 9223372036854775808.0;
}

std::int64_t RoundToInt64(double x, TValueKind from, TValueKind to) {
    const double r = RoundHalfEven(x);
    if (!FitsInt64(r)) ThrowOverflowError(from, to);
    const auto v = static_cast<std::int64_t>(r);
    if (to == K::Integer && !FitsInt32(v)) ThrowOverflowError(from, to);
    return v;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// A plain decimal integer (blanks, optional sign, digits); false when it is none or beyond 64 bits.
bool ReadWholeNumber(std::string_view s, std::int64_t& value) {
    s = TrimBlanks(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty() || s.front() == '+') return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size();
}

// The words of truth values: the locale's, then "True" and "False", in any letter case.
bool ReadTruthWord(std::string_view s, bool& value) {
    s = TrimBlanks(s);
    const TUserLocale& locale = UserLocale();
    if (SameText(s, locale.TrueWord) || SameText(s, "True")) return value = true, true;
    if (SameText(s, locale.FalseWord) || SameText(s, "False")) return value = false, true;
    return false;
}

double TextToFloat(const std::string& text) {
    double value = 0;
    switch (ReadFloat(text, UserLocale().DecimalSeparator, value)) {
    case TNumberReading::Ok:
        return value;
    case TNumberReading::Overflow:
        ThrowOverflowError(K::String, K::Double);
    case TNumberReading::NotNumber:
        break;
    }
    ThrowConversionError(K::String, K::Double);
}

// Text to Integer or Int64: a whole number, a number rounded, or a truth word (1 or 0).
std::int64_t TextToWhole(const std::string& text, TValueKind to) {
    std::int64_t whole = 0;
    if (ReadWholeNumber(text, whole)) {
        if (to == K::Integer && !FitsInt32(whole)) ThrowOverflowError(K::String, to);
        return whole;
    }
    double value = 0;
    switch (ReadFloat(text, UserLocale().DecimalSeparator, value)) {
    case TNumberReading::Ok:
        return RoundToInt64(value, K::String, to);
    case TNumberReading::Overflow:
        ThrowOverflowError(K::String, to);
    case TNumberReading::NotNumber:
        break;
    }
    bool truth = false;
    if (ReadTruthWord(text, truth)) return truth ? 1 : 0;
    ThrowConversionError(K::String, to);
}

bool TextToBoolean(const std::string& text) {
    bool truth = false;
    if (ReadTruthWord(text, truth)) return truth;
    double value = 0;
    switch (ReadFloat(text, UserLocale().DecimalSeparator, value)) {
    case TNumberReading::Ok:
        return value != 0;
    case TNumberReading::Overflow:
        return true;
    case TNumberReading::NotNumber:
        break;
    }
    ThrowConversionError(K::String, K::Boolean);
}

// ---- Operator rules ----

double FloatArithmetic(TBinaryOp op, double a, double b) {
    double x = 0;
    switch (op) {
    case TBinaryOp::Add:
        x = a + b;
        break;
    case TBinaryOp::Sub:
        x = a - b;
        break;
    case TBinaryOp::Mul:
        x = a * b;
        break;
    case TBinaryOp::Div:
        if (b == 0)
            Fail(a == 0 || std::isnan(a) ? "Invalid floating point operation"
                                         : "Floating point division by zero");
        x = a / b;
        break;
    default:
        break;
    }
    if (std::isnan(x)) Fail("Invalid floating point operation");
    if (std::isinf(x)) Fail("Floating point overflow");
    return x;
}

ScriptValue IntRule(TBinaryOp op, const ScriptValue& l, const ScriptValue& r);

bool IsPlainNumber(const ScriptValue& v) {
    return v.Kind() == K::Double || v.Kind() == K::Integer;
}
double NumberOf(const ScriptValue& v) {
    return v.Kind() == K::Double ? v.RawDouble() : static_cast<double>(v.RawInt());
}

ScriptValue FloatRule(TBinaryOp op, const ScriptValue& l, const ScriptValue& r) {
    if (op == TBinaryOp::Mod || op == TBinaryOp::And || op == TBinaryOp::Or) return IntRule(op, l, r);
    const double a = l.AsFloat();
    const double b = r.AsFloat();
    return ScriptValue::Double(FloatArithmetic(op, a, b));
}

// MOD, AND and OR of two whole numbers; the remainder takes the sign of the dividend.
std::int64_t WholeArithmetic(TBinaryOp op, std::int64_t a, std::int64_t b) {
    switch (op) {
    case TBinaryOp::Mod:
        if (b == 0) Fail("Division by zero");
        return b == -1 ? 0 : a % b;
    case TBinaryOp::And:
        return a & b;
    default:
        return a | b;
    }
}

ScriptValue IntRule(TBinaryOp op, const ScriptValue& l, const ScriptValue& r) {
    if (op == TBinaryOp::Div) return FloatRule(op, l, r);
    const std::int64_t a = l.AsInteger();
    const std::int64_t b = r.AsInteger();
    std::int64_t exact = 0;
    switch (op) {
    case TBinaryOp::Add:
        exact = a + b;
        break;
    case TBinaryOp::Sub:
        exact = a - b;
        break;
    case TBinaryOp::Mul:
        exact = a * b;
        break;
    default:
        return ScriptValue::Integer(static_cast<std::int32_t>(WholeArithmetic(op, a, b)));
    }
    if (FitsInt32(exact)) return ScriptValue::Integer(static_cast<std::int32_t>(exact));
    // The operands of this rule are integers, truth values or empty, all exact as floats.
    return ScriptValue::Double(FloatArithmetic(op, static_cast<double>(a), static_cast<double>(b)));
}

ScriptValue Int64Rule(TBinaryOp op, const ScriptValue& l, const ScriptValue& r) {
    if (op == TBinaryOp::Div) return FloatRule(op, l, r);
    const std::int64_t a = l.AsInt64();
    const std::int64_t b = r.AsInt64();
    const auto ua = static_cast<std::uint64_t>(a);
    const auto ub = static_cast<std::uint64_t>(b);
    switch (op) {
    case TBinaryOp::Add:
        return ScriptValue::Int64(static_cast<std::int64_t>(ua + ub));
    case TBinaryOp::Sub:
        return ScriptValue::Int64(static_cast<std::int64_t>(ua - ub));
    case TBinaryOp::Mul: {
        std::int64_t product = 0;
        if (!__builtin_mul_overflow(a, b, &product)) return ScriptValue::Int64(product);
        return ScriptValue::Double(FloatArithmetic(op, static_cast<double>(a), static_cast<double>(b)));
    }
    default:
        return ScriptValue::Int64(WholeArithmetic(op, a, b));
    }
}

void AppendText(std::string& out, const ScriptValue& v) {
    if (v.Kind() == K::String)
        out += v.RawText();
    else
        out += v.AsText();
}

ScriptValue TextRule(TBinaryOp op, const ScriptValue& l, const ScriptValue& r) {
    if (op == TBinaryOp::Add) {
        std::string joined;
        AppendText(joined, l);
        AppendText(joined, r);
        return ScriptValue::Text(std::move(joined));
    }
    if (op == TBinaryOp::Mod || op == TBinaryOp::And || op == TBinaryOp::Or) return IntRule(op, l, r);
    return FloatRule(op, l, r);
}

ScriptValue BoolRule(TBinaryOp op, const ScriptValue& l, const ScriptValue& r) {
    if (op == TBinaryOp::And || op == TBinaryOp::Or) {
        const bool a = l.AsBoolean();
        const bool b = r.AsBoolean();
        return ScriptValue::Boolean(op == TBinaryOp::And ? a && b : a || b);
    }
    if (op == TBinaryOp::Mod) return IntRule(op, l, r);
    return FloatRule(op, l, r);
}

ScriptValue DateRule(TBinaryOp op, const ScriptValue& l, const ScriptValue& r) {
    if (op != TBinaryOp::Add && op != TBinaryOp::Sub) return FloatRule(op, l, r);
    const double x = FloatArithmetic(op, l.AsDate(), r.AsDate());
    // The distance between two moments is a number of days, not a moment.
    if (op == TBinaryOp::Sub && l.Kind() == K::Date && r.Kind() == K::Date) return ScriptValue::Double(x);
    return ScriptValue::Date(x);
}

// AND and OR with null follow three-valued logic: a deciding operand (false for AND, true for OR)
// gives itself, anything else leaves the result unknown.
ScriptValue NullRule(TBinaryOp op, const ScriptValue& l, const ScriptValue& r) {
    if (op != TBinaryOp::And && op != TBinaryOp::Or) return ScriptValue::Null();
    if (l.IsNull() && r.IsNull()) return ScriptValue::Null();
    const ScriptValue& known = l.IsNull() ? r : l;
    const bool truth = known.AsBoolean();
    const bool decides = op == TBinaryOp::And ? !truth : truth;
    return decides ? known : ScriptValue::Null();
}

ScriptValue EmptyRule(TBinaryOp op) {
    if (op == TBinaryOp::Div) Fail("Floating point division by zero");
    if (op == TBinaryOp::Mod) Fail("Division by zero");
    return ScriptValue();
}

// ---- Comparison rules ----

template <typename T> int Order(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// NaN cannot come out of the operators; should one be stored it sorts below every number.
int FloatOrder(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return Order(!std::isnan(a), !std::isnan(b));
    return Order(a, b);
}

std::string_view TextOf(const ScriptValue& v) {
    return v.Kind() == K::String ? std::string_view(v.RawText()) : std::string_view();
}

// Byte order of unsigned Windows-1251 codes; a prefix is less than the longer text.
int TextOrder(std::string_view a, std::string_view b) {
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool Holds(TCompareOp op, int order) {
    switch (op) {
    case TCompareOp::Less:
        return order < 0;
    case TCompareOp::Equal:
        return order == 0;
    case TCompareOp::Greater:
        return order > 0;
    case TCompareOp::GreaterEqual:
        return order >= 0;
    case TCompareOp::LessEqual:
        return order <= 0;
    case TCompareOp::NotEqual:
        return order != 0;
    }
    return false;
}

std::string KindMessage(const char* head, TValueKind from, TValueKind to) {
    return std::string(head) + " variant of type (" + KindName(from) + ") into type (" + KindName(to) + ")";
}

} // namespace

const char* KindName(TValueKind kind) {
    switch (kind) {
    case K::Empty:
        return "Empty";
    case K::Null:
        return "Null";
    case K::Integer:
        return "Integer";
    case K::Int64:
        return "Int64";
    case K::Double:
        return "Double";
    case K::String:
        return "String";
    case K::Boolean:
        return "Boolean";
    case K::Date:
        return "Date";
    }
    return "Unknown";
}

void ThrowConversionError(TValueKind from, TValueKind to) {
    throw TZelkError(KindMessage("Could not convert", from, to));
}

void ThrowOverflowError(TValueKind from, TValueKind to) {
    throw TZelkError(KindMessage("Overflow while converting", from, to));
}

double RoundHalfEven(double value) {
    const double r = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5) return 2.0 * std::round(value / 2.0);
    return r;
}

// ---- Storage ----

const std::string& ScriptValue::EmptyText() {
    return kNoText;
}

ScriptValue ScriptValue::Text(std::string_view s) {
    ScriptValue v;
    if (s.size() <= kInlineText) {
        new (&v.small_) std::string(s);
    } else {
        new (&v.shared_) std::shared_ptr<const std::string>(std::make_shared<const std::string>(s));
        v.isShared_ = true;
    }
    v.kind_ = K::String;
    return v;
}

void ScriptValue::AssignText(std::string_view text) {
    if (kind_ == K::String && !isShared_ && text.size() <= kInlineText) {
        small_.assign(text);
        return;
    }
    *this = Text(text);
}

ScriptValue ScriptValue::Text(std::string s) {
    if (s.size() <= kInlineText) return Text(std::string_view(s));
    ScriptValue v;
    new (&v.shared_) std::shared_ptr<const std::string>(std::make_shared<const std::string>(std::move(s)));
    v.isShared_ = true;
    v.kind_ = K::String;
    return v;
}

// ---- Conversions ----

std::string ScriptValue::AsText() const {
    switch (kind_) {
    case K::Empty:
        return {};
    case K::Integer:
    case K::Int64:
        return std::to_string(int_);
    case K::Double:
        return FloatToText(double_);
    case K::String:
        return RawText();
    case K::Boolean:
        return int_ ? UserLocale().TrueWord : UserLocale().FalseWord;
    case K::Date: {
        std::string text;
        if (!TryDateTimeToText(double_, text)) ThrowConversionError(K::Date, K::String);
        return text;
    }
    default:
        ThrowConversionError(kind_, K::String);
    }
}

double ScriptValue::AsFloat() const {
    switch (kind_) {
    case K::Empty:
        return 0;
    case K::Integer:
    case K::Int64:
        return static_cast<double>(int_);
    case K::Double:
    case K::Date:
        return double_;
    case K::String:
        return TextToFloat(RawText());
    case K::Boolean:
        return int_ ? -1 : 0;
    default:
        ThrowConversionError(kind_, K::Double);
    }
}

std::int32_t ScriptValue::AsInteger() const {
    switch (kind_) {
    case K::Empty:
        return 0;
    case K::Integer:
        return static_cast<std::int32_t>(int_);
    case K::Int64:
        if (!FitsInt32(int_)) ThrowOverflowError(K::Int64, K::Integer);
        return static_cast<std::int32_t>(int_);
    case K::Double:
    case K::Date:
        return static_cast<std::int32_t>(RoundToInt64(double_, kind_, K::Integer));
    case K::String:
        return static_cast<std::int32_t>(TextToWhole(RawText(), K::Integer));
    case K::Boolean:
        return int_ ? -1 : 0;
    default:
        ThrowConversionError(kind_, K::Integer);
    }
}

std::int64_t ScriptValue::AsInt64() const {
    switch (kind_) {
    case K::Empty:
        return 0;
    case K::Integer:
    case K::Int64:
        return int_;
    case K::Double:
    case K::Date:
        return RoundToInt64(double_, kind_, K::Int64);
    case K::String:
        return TextToWhole(RawText(), K::Int64);
    case K::Boolean:
        return int_ ? -1 : 0;
    default:
        ThrowConversionError(kind_, K::Int64);
    }
}

bool ScriptValue::AsBoolean() const {
    switch (kind_) {
    case K::Empty:
        return false;
    case K::Integer:
    case K::Int64:
    case K::Boolean:
        return int_ != 0;
    case K::Double:
    case K::Date:
        return double_ != 0;
    case K::String:
        return TextToBoolean(RawText());
    default:
        ThrowConversionError(kind_, K::Boolean);
    }
}

double ScriptValue::AsDate() const {
    switch (kind_) {
    case K::Empty:
        return 0;
    case K::Integer:
    case K::Int64:
        return static_cast<double>(int_);
    case K::Double:
    case K::Date:
        return double_;
    case K::String: {
        double days = 0;
        if (!TryStrToDateTime(RawText(), days)) ThrowConversionError(K::String, K::Date);
        return days;
    }
    case K::Boolean:
        return int_ ? -1 : 0;
    default:
        ThrowConversionError(kind_, K::Date);
    }
}

// ---- Operators ----

ScriptValue ApplyOperator(TBinaryOp op, const ScriptValue& left, const ScriptValue& right) {
    // The most frequent case first: scripts add and multiply integer counts.
    if (left.Kind() == K::Integer && right.Kind() == K::Integer && op <= TBinaryOp::Mul &&
        op != TBinaryOp::Div) {
        const std::int64_t a = left.RawInt(), b = right.RawInt();
        const std::int64_t exact = op == TBinaryOp::Add ? a + b : (op == TBinaryOp::Sub ? a - b : a * b);
        if (FitsInt32(exact)) return ScriptValue::Integer(static_cast<std::int32_t>(exact));
    }
    // Number literals are floats, so float-with-float and float-with-integer come next.
    if (op <= TBinaryOp::Div && IsPlainNumber(left) && IsPlainNumber(right) &&
        (left.Kind() == K::Double || right.Kind() == K::Double))
        return ScriptValue::Double(FloatArithmetic(op, NumberOf(left), NumberOf(right)));
    switch (RuleOf(left, right)) {
    case TRule::Empty:
        return EmptyRule(op);
    case TRule::Null:
        return NullRule(op, left, right);
    case TRule::Int:
        return IntRule(op, left, right);
    case TRule::Int64:
        return Int64Rule(op, left, right);
    case TRule::Float:
        return FloatRule(op, left, right);
    case TRule::Text:
        return TextRule(op, left, right);
    case TRule::Bool:
        return BoolRule(op, left, right);
    case TRule::Date:
        return DateRule(op, left, right);
    }
    return ScriptValue::Null();
}

int CompareOrder(const ScriptValue& left, const ScriptValue& right) {
    if (left.Kind() == right.Kind()) {
        switch (left.Kind()) {
        case K::Integer:
        case K::Int64:
            return Order(left.RawInt(), right.RawInt());
        case K::String:
            return TextOrder(left.RawText(), right.RawText());
        default:
            break;
        }
    }
    switch (RuleOf(left, right)) {
    case TRule::Empty:
        return 0;
    case TRule::Null:
        return Order(!left.IsNull(), !right.IsNull());
    case TRule::Int:
        return Order(left.AsInteger(), right.AsInteger());
    case TRule::Int64:
        return Order(left.AsInt64(), right.AsInt64());
    case TRule::Float:
        return FloatOrder(left.AsFloat(), right.AsFloat());
    case TRule::Text:
        return TextOrder(TextOf(left), TextOf(right));
    case TRule::Bool:
        return Order(left.AsBoolean(), right.AsBoolean());
    case TRule::Date:
        return FloatOrder(left.AsDate(), right.AsDate());
    }
    return 0;
}

ScriptValue CompareValues(TCompareOp op, const ScriptValue& left, const ScriptValue& right) {
    return ScriptValue::Integer(Holds(op, CompareOrder(left, right)) ? 1 : 0);
}

ScriptValue Negate(const ScriptValue& v) {
    switch (v.Kind()) {
    case K::Empty:
        return ScriptValue::Integer(0);
    case K::Null:
        return ScriptValue::Null();
    case K::Integer:
        return ScriptValue::Integer(static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(v.RawInt())));
    case K::Int64:
        return ScriptValue::Int64(static_cast<std::int64_t>(0ull - static_cast<std::uint64_t>(v.RawInt())));
    case K::Double:
        return ScriptValue::Double(-v.RawDouble());
    case K::Date:
        return ScriptValue::Date(-v.RawDouble());
    case K::String:
        return ScriptValue::Double(-v.AsFloat());
    case K::Boolean:
        return ScriptValue::Integer(v.RawInt() ? -1 : 0);
    }
    return ScriptValue::Null();
}

// The same answer as CompareValues(Equal, v, Integer(0)), without building the comparison.
bool EqualsZero(const ScriptValue& v) {
    switch (v.Kind()) {
    case K::Empty:
        return true;
    case K::Null:
        return false;
    case K::Integer:
    case K::Int64:
    case K::Boolean:
        return v.RawInt() == 0;
    case K::Double:
    case K::Date:
        return v.RawDouble() == 0;
    case K::String:
        return v.AsFloat() == 0;
    }
    return false;
}

} // namespace zelk
