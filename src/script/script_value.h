// ScriptValue: the tagged value the script language computes with (empty, null, integer, int64,
// float, text, truth value, date-time), its conversions and the rules of its operators.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zelk {

enum class TValueKind : std::uint8_t { Empty, Null, Integer, Int64, Double, String, Boolean, Date };

// "Empty", "Null", "Integer", "Int64", "Double", "String", "Boolean", "Date".
const char* KindName(TValueKind kind);

enum class TBinaryOp : std::uint8_t { Add, Sub, Mul, Div, Mod, And, Or };
enum class TCompareOp : std::uint8_t { Less, Equal, Greater, GreaterEqual, LessEqual, NotEqual };

// Raise "Could not convert variant of type (%s) into type (%s)" and "Overflow while converting variant
// of type (%s) into type (%s)" with the names of the two kinds.
[[noreturn]] void ThrowConversionError(TValueKind from, TValueKind to);
[[noreturn]] void ThrowOverflowError(TValueKind from, TValueKind to);

// Rounds to the nearest whole number, a half going to the even neighbour (2.5 gives 2, 3.5 gives 4).
double RoundHalfEven(double value);

// A value is 40 bytes and never allocates for numbers. Texts of up to 15 bytes live inside the value;
// longer texts sit in one immutable block that copies share.
class ScriptValue {
  public:
    ScriptValue() noexcept : int_(0) {} // empty
    ScriptValue(const ScriptValue& other) noexcept;
    ScriptValue(ScriptValue&& other) noexcept;
    ScriptValue& operator=(const ScriptValue& other) noexcept;
    ScriptValue& operator=(ScriptValue&& other) noexcept;
    ~ScriptValue() { Release(); }

    static ScriptValue Null();
    static ScriptValue Integer(std::int32_t v);
    static ScriptValue Int64(std::int64_t v);
    static ScriptValue Double(double v);
    static ScriptValue Text(std::string v);
    static ScriptValue Text(std::string_view v);
    static ScriptValue Text(const char* v) { return Text(std::string_view(v)); }
    static ScriptValue Boolean(bool v);
    static ScriptValue Date(double days);

    TValueKind Kind() const { return kind_; }
    bool IsNull() const { return kind_ == TValueKind::Null; }
    bool IsEmpty() const { return kind_ == TValueKind::Empty; }

    // Conversions; each raises TZelkError with the conversion or overflow message when it cannot.
    std::string AsText() const;
    double AsFloat() const;
    std::int32_t AsInteger() const;
    std::int64_t AsInt64() const;
    bool AsBoolean() const;
    double AsDate() const;

    // The payload as stored (valid only for the matching kind).
    std::int64_t RawInt() const { return int_; }
    double RawDouble() const { return double_; }
    const std::string& RawText() const;

  private:
    void Release() noexcept;
    void CopyFrom(const ScriptValue& other) noexcept;
    void MoveFrom(ScriptValue& other) noexcept;

    TValueKind kind_ = TValueKind::Empty;
    bool isShared_ = false; // String: the text is held by shared_, else by small_
    union {
        std::int64_t int_; // Integer, Int64 and Boolean (0 or 1)
        double double_;    // Double and Date
        std::string small_;
        std::shared_ptr<const std::string> shared_;
    };
};

// The two-operand operators; the result takes the place of the left operand.
ScriptValue ApplyOperator(TBinaryOp op, const ScriptValue& left, const ScriptValue& right);
// A comparison: the integer 1 when it holds, else the integer 0.
ScriptValue CompareValues(TCompareOp op, const ScriptValue& left, const ScriptValue& right);
// The order of two values under the comparison rules: negative, 0 or positive.
int CompareOrder(const ScriptValue& left, const ScriptValue& right);
// Unary minus.
ScriptValue Negate(const ScriptValue& v);
// True when `v` compares equal to the integer 0 (the test of conditions and of NOT).
bool EqualsZero(const ScriptValue& v);

} // namespace zelk
