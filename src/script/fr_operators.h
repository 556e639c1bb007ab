// The operators of the expression language in one table: how each is written (a character, a pair or a
// word), its byte in a postfix text, how tightly it binds and what it computes. The conversion to
// postfix, the evaluator, the script editor's colouring and the report engine's expressions all read
// their operators from here.
#pragma once

#include "script/script_value.h"

#include <cstdint>
#include <string_view>

namespace zelk {

enum class TUnaryOp : std::uint8_t { Neg, Plus, Not, Int, Frac, Round, Str };

namespace fr {

// The one-byte operators of a postfix text besides "+", "-", "*", "/", "<", "=" and ">".
enum TPostfixOp : char {
    opGreaterEqual = 1,
    opLessEqual = 2,
    opNotEqual = 3,
    opOr = 4,
    opAnd = 5,
    opInt = 6,
    opFrac = 7,
    opNeg = 9,
    opPlus = 10,
    opStr = 11,
    opNot = 12,
    opMod = 13,
    opRound = 14,
};

enum class TOperatorKind : std::uint8_t {
    Binary,  // arithmetic and logic of two operands: Code is a TBinaryOp
    Compare, // a comparison of two operands: Code is a TCompareOp
    Prefix,  // one operand written after it: Code is a TUnaryOp
};

struct TOperator {
    std::string_view Written; // "+", "<>", "AND" (a word in capitals, matched in any letter case)
    char Byte;                // its byte in a postfix text
    int Level;                // binding: 0 tightest (INT...), 1 like "*", 2 like "+", 3 comparisons
    TOperatorKind Kind;
    std::uint8_t Code;
    std::string_view Listing; // how a compiled listing writes it
};

// Precedence of "(" while it waits on the operator stack: below every operator.
inline constexpr int kGroupLevel = 5;

// The operator of a postfix byte, or nullptr.
const TOperator* OperatorOfByte(char byte);
// INT, FRAC, ROUND, STR, NOT, AND, OR and MOD in any letter case, or nullptr.
const TOperator* OperatorOfWord(std::string_view word);
// The operator written as the one character or the pair at the start of `text` ("<>" before "<"), with
// `length` set to the characters it takes; nullptr when the text starts with no operator character. A
// "-" or "+" is always the two-operand one here: whether it is a sign depends on what came before.
const TOperator* OperatorOfSymbol(std::string_view text, std::size_t& length);

bool IsBinaryOpByte(unsigned char c);
bool IsUnaryOpByte(unsigned char c);
// "*", "+", "-", "/", "<", "=" and ">": the characters operators are written with.
bool IsOperatorChar(char c);
// The words the evaluator never takes for names: the operator words, TRUE and FALSE, any letter case.
bool IsExpressionKeyword(std::string_view word);
bool IsTruthWord(std::string_view word);

} // namespace fr
} // namespace zelk
