// The operator table of the expression language and its look-ups.
#include "script/fr_operators.h"

#include "logs/text.h"

#include <array>

namespace zelk::fr {

namespace {

constexpr auto B = TOperatorKind::Binary;
constexpr auto C = TOperatorKind::Compare;
constexpr auto P = TOperatorKind::Prefix;

template <class E> constexpr std::uint8_t Code(E e) {
    return static_cast<std::uint8_t>(e);
}

// Levels: the smaller binds the tighter. OR binds like "*" and every comparison more loosely than AND
// and OR, so a = 1 or b = 2 reads a = (1 or b) = 2; the help pages tell the judge to bracket.
constexpr int kFunctionLevel = 0; // INT FRAC ROUND STR
constexpr int kProductLevel = 1;  // * / MOD AND OR NOT
constexpr int kSumLevel = 2;      // + - and the signs
constexpr int kCompareLevel = 3;  // = <> < > <= >=

constexpr TOperator kOperators[] = {
    {"INT", opInt, kFunctionLevel, P, Code(TUnaryOp::Int), "int"},
    {"FRAC", opFrac, kFunctionLevel, P, Code(TUnaryOp::Frac), "frac"},
    {"ROUND", opRound, kFunctionLevel, P, Code(TUnaryOp::Round), "round"},
    {"STR", opStr, kFunctionLevel, P, Code(TUnaryOp::Str), "str"},
    {"*", '*', kProductLevel, B, Code(TBinaryOp::Mul), "*"},
    {"/", '/', kProductLevel, B, Code(TBinaryOp::Div), "/"},
    {"MOD", opMod, kProductLevel, B, Code(TBinaryOp::Mod), "mod"},
    {"AND", opAnd, kProductLevel, B, Code(TBinaryOp::And), "and"},
    {"OR", opOr, kProductLevel, B, Code(TBinaryOp::Or), "or"},
    {"NOT", opNot, kProductLevel, P, Code(TUnaryOp::Not), "not"},
    {"+", '+', kSumLevel, B, Code(TBinaryOp::Add), "+"},
    {"-", '-', kSumLevel, B, Code(TBinaryOp::Sub), "-"},
    {"-", opNeg, kSumLevel, P, Code(TUnaryOp::Neg), "neg"},
    {"+", opPlus, kSumLevel, P, Code(TUnaryOp::Plus), "pos"},
    {"<>", opNotEqual, kCompareLevel, C, Code(TCompareOp::NotEqual), "<>"},
    {"<=", opLessEqual, kCompareLevel, C, Code(TCompareOp::LessEqual), "<="},
    {">=", opGreaterEqual, kCompareLevel, C, Code(TCompareOp::GreaterEqual), ">="},
    {"<", '<', kCompareLevel, C, Code(TCompareOp::Less), "<"},
    {"=", '=', kCompareLevel, C, Code(TCompareOp::Equal), "="},
    {">", '>', kCompareLevel, C, Code(TCompareOp::Greater), ">"},
};

// Index into kOperators by postfix byte, -1 for bytes that are no operator.
constexpr std::array<std::int8_t, 256> kByByte = [] {
    std::array<std::int8_t, 256> index{};
    for (auto& i : index)
        i = -1;
    for (std::size_t i = 0; i < std::size(kOperators); ++i)
        index[static_cast<unsigned char>(kOperators[i].Byte)] = static_cast<std::int8_t>(i);
    return index;
}();

bool IsWord(std::string_view written) {
    return written[0] >= 'A' && written[0] <= 'Z';
}

} // namespace

const TOperator* OperatorOfByte(char byte) {
    const int i = kByByte[static_cast<unsigned char>(byte)];
    return i < 0 ? nullptr : &kOperators[i];
}

const TOperator* OperatorOfWord(std::string_view word) {
    if (word.size() < 2 || word.size() > 5) return nullptr;
    for (const TOperator& op : kOperators)
        if (IsWord(op.Written) && SameText(word, op.Written)) return &op;
    return nullptr;
}

const TOperator* OperatorOfSymbol(std::string_view text, std::size_t& length) {
    if (text.empty() || !IsOperatorChar(text[0])) return nullptr;
    // The table lists "<>", "<=" and ">=" before "<" and ">", and the two-operand "+" and "-" before the
    // signs, so the first match is the one meant.
    for (const TOperator& op : kOperators) {
        if (IsWord(op.Written) || text.substr(0, op.Written.size()) != op.Written) continue;
        length = op.Written.size();
        return &op;
    }
    return nullptr;
}

bool IsBinaryOpByte(unsigned char c) {
    const TOperator* op = OperatorOfByte(static_cast<char>(c));
    return op && op->Kind != TOperatorKind::Prefix;
}

bool IsUnaryOpByte(unsigned char c) {
    const TOperator* op = OperatorOfByte(static_cast<char>(c));
    return op && op->Kind == TOperatorKind::Prefix;
}

bool IsOperatorChar(char c) {
    switch (c) {
    case '*':
    case '+':
    case '-':
    case '/':
    case '<':
    case '=':
    case '>':
        return true;
    default:
        return false;
    }
}

bool IsTruthWord(std::string_view word) {
    return SameText(word, "TRUE") || SameText(word, "FALSE");
}

bool IsExpressionKeyword(std::string_view word) {
    return OperatorOfWord(word) || IsTruthWord(word);
}

} // namespace zelk::fr
