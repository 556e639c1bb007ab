// ScriptValue: the tagged value the script language computes with (empty, null, integer, int64,
// float, text, truth value, date-time), its conversions and the rules of its operators.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
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
    ScriptValue(const ScriptValue& other) noexcept { CopyFrom(other); }
    ScriptValue(ScriptValue&& other) noexcept { MoveFrom(other); }
    ScriptValue& operator=(const ScriptValue& other) noexcept {
        if (this != &other) {
            Release();
            CopyFrom(other);
        }
        return *this;
    }
    // A moved-from value is empty.
    ScriptValue& operator=(ScriptValue&& other) noexcept {
        if (this != &other) {
            Release();
            MoveFrom(other);
        }
        return *this;
    }
    ~ScriptValue() { Release(); }

    static ScriptValue Null() { return ScriptValue(TValueKind::Null, std::int64_t{0}); }
    static ScriptValue Integer(std::int32_t v) { return ScriptValue(TValueKind::Integer, std::int64_t{v}); }
    static ScriptValue Int64(std::int64_t v) { return ScriptValue(TValueKind::Int64, v); }
    static ScriptValue Double(double v) { return ScriptValue(TValueKind::Double, v); }
    static ScriptValue Text(std::string v);
    static ScriptValue Text(std::string_view v);
    static ScriptValue Text(const char* v) { return Text(std::string_view(v)); }
    static ScriptValue Boolean(bool v) { return ScriptValue(TValueKind::Boolean, std::int64_t{v ? 1 : 0}); }
    static ScriptValue Date(double days) { return ScriptValue(TValueKind::Date, days); }

    // Turns the value into a text or a date-time in place, reusing the text buffer it may already hold:
    // the judging scripts' inputs are set this way before every run.
    void AssignText(std::string_view text);
    void AssignDate(double days) noexcept {
        Release();
        kind_ = TValueKind::Date;
        double_ = days;
    }

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

    // The payload as stored (valid only for the matching kind; RawText is empty for other kinds).
    std::int64_t RawInt() const { return int_; }
    double RawDouble() const { return double_; }
    const std::string& RawText() const {
        if (kind_ != TValueKind::String) return EmptyText();
        return isShared_ ? *shared_ : small_;
    }

  private:
    ScriptValue(TValueKind kind, std::int64_t v) noexcept : kind_(kind), int_(v) {}
    ScriptValue(TValueKind kind, double v) noexcept : kind_(kind), double_(v) {}
    static const std::string& EmptyText();

    void Release() noexcept {
        if (kind_ == TValueKind::String) {
            if (isShared_)
                shared_.~shared_ptr();
            else
                small_.~basic_string();
            isShared_ = false;
        }
        kind_ = TValueKind::Empty;
        int_ = 0;
    }

    // Copying a short text never allocates: it fits the small buffer of the new string.
    void CopyFrom(const ScriptValue& other) noexcept {
        kind_ = other.kind_;
        if (kind_ == TValueKind::String) {
            isShared_ = other.isShared_;
            if (isShared_)
                new (&shared_) std::shared_ptr<const std::string>(other.shared_);
            else
                new (&small_) std::string(other.small_);
        } else if (kind_ == TValueKind::Double || kind_ == TValueKind::Date) {
            double_ = other.double_;
        } else {
            int_ = other.int_;
        }
    }

    void MoveFrom(ScriptValue& other) noexcept {
        kind_ = other.kind_;
        if (kind_ == TValueKind::String) {
            isShared_ = other.isShared_;
            if (isShared_)
                new (&shared_) std::shared_ptr<const std::string>(std::move(other.shared_));
            else
                new (&small_) std::string(std::move(other.small_));
        } else if (kind_ == TValueKind::Double || kind_ == TValueKind::Date) {
            double_ = other.double_;
        } else {
            int_ = other.int_;
        }
        other.Release();
    }

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
