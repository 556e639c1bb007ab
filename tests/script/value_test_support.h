// Helpers of the script value tests: short constructors, a readable description of a value, and a
// fixture that runs every test under the default locale.
#pragma once

#include "logs/error.h"
#include "script/script_value.h"
#include "script/user_locale.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace zelk::test {

inline ScriptValue I(std::int32_t v) {
    return ScriptValue::Integer(v);
}
inline ScriptValue L(std::int64_t v) {
    return ScriptValue::Int64(v);
}
inline ScriptValue F(double v) {
    return ScriptValue::Double(v);
}
inline ScriptValue T(std::string_view v) {
    return ScriptValue::Text(v);
}
inline ScriptValue B(bool v) {
    return ScriptValue::Boolean(v);
}
inline ScriptValue D(double v) {
    return ScriptValue::Date(v);
}
inline ScriptValue N() {
    return ScriptValue::Null();
}
inline ScriptValue E() {
    return ScriptValue();
}

// The shortest text of a double that reads back exactly, independent of the code under test.
inline std::string ExactText(double v) {
    if (v == std::trunc(v) && std::fabs(v) < 1e17) return std::to_string(static_cast<long long>(v));
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

// "Integer 5", "Double 3.5", "String 53", "Boolean true", "Date 38395.5", "Null", "Empty".
inline std::string Describe(const ScriptValue& v) {
    const std::string kind = KindName(v.Kind());
    switch (v.Kind()) {
    case TValueKind::Integer:
    case TValueKind::Int64:
        return kind + " " + std::to_string(v.RawInt());
    case TValueKind::Double:
    case TValueKind::Date:
        return kind + " " + ExactText(v.RawDouble());
    case TValueKind::String:
        return kind + " " + v.RawText();
    case TValueKind::Boolean:
        return kind + (v.RawInt() ? " true" : " false");
    default:
        return kind;
    }
}

// The description of what `compute` gives, or "!" followed by the message of the error it raises.
inline std::string Outcome(const std::function<std::string()>& compute) {
    try {
        return compute();
    } catch (const TZelkError& e) {
        return std::string("!") + e.what();
    }
}

class DefaultLocaleTest : public ::testing::Test {
  protected:
    TUserLocaleOverride locale_{TUserLocale{}};
};

} // namespace zelk::test
