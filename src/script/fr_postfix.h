// The lexical rules of expressions and their postfix form: the operator bytes, the delimiters, the
// skipping of literals, bracketed names and call argument lists, and ToPostfix (infix to postfix).
#pragma once

#include "script/fr_operators.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace zelk::fr {

inline constexpr std::size_t kNotFound = std::string_view::npos;

// Blank, CR, "(", ")", "*", "+", "-", "/", "<", "=", ">" and "[" end a name or a number.
bool IsDelimiter(unsigned char c);

// A digit, "." or "," begins a number.
bool StartsNumber(unsigned char c);
// The end of the name or number that starts at `pos`: the first delimiter outside double quotes. A ","
// belongs to a number (1,5) but ends a name, where it begins the next element (Round(x,2) holds x and ,2).
std::size_t WordEnd(std::string_view s, std::size_t pos);
// `pos` is at an opening single quote: the index just after the closing quote (doubled quotes stay
// inside), or the end of the text.
std::size_t LiteralEnd(std::string_view s, std::size_t pos);
// `pos` is at "[": the index just after the matching "]" (nested brackets and quoted parts skipped),
// or the end of the text.
std::size_t BracketEnd(std::string_view s, std::size_t pos);
// The same, but kNotFound when the brackets never close.
std::size_t BracketClose(std::string_view s, std::size_t pos);
// `pos` is at the "(" of a call: the index of its ")" by the argument rules (single quotes switch text
// on and off, parentheses nest outside text), or kNotFound.
std::size_t CallClose(std::string_view s, std::size_t pos);
// The raw texts of the first three arguments of the call whose "(" is at `open` and ")" at `close`;
// missing ones are empty. Sets `more` when the call has more than three.
std::array<std::string_view, 3> CallArguments(std::string_view s, std::size_t open, std::size_t close,
                                              bool& more);
// The content of a text literal (with its quotes) with doubled quotes made single.
std::string LiteralText(std::string_view literal);

// The postfix form of an infix expression. Checks nothing; raises the error with an empty message
// when a call's argument list is not closed.
std::string ToPostfix(std::string_view expression);

// One element of a postfix text, as the evaluator reads it.
struct TPostfixElement {
    enum Kind {
        End,
        Skip,
        Operator,
        Literal,
        Bracketed,
        Number,
        Truth,
        Indexed,
        Call,
        UnclosedCall,
        Variable
    };
    Kind kind = End;
    char op = 0;            // Operator: the operator byte
    std::string_view text;  // the whole element as written
    std::string_view name;  // the word of Number, Truth, Variable, Indexed and Call; inside of Bracketed
    std::string_view index; // Indexed: the text between the brackets
    std::size_t open = 0;   // Call: positions of "(" and ")" in the postfix text
    std::size_t close = 0;
};

// Reads the element at `pos` and moves `pos` past it.
TPostfixElement NextPostfixElement(std::string_view postfix, std::size_t& pos);

// The postfix text with operator bytes written as words ("x 1 > y and"), for listings.
std::string ReadablePostfix(std::string_view postfix);

} // namespace zelk::fr
