// Infix to postfix by operator precedence, and the reading of postfix elements. Both scan the text once
// with explicit stacks, so neither long nor deeply nested expressions grow the call stack.
#include "script/fr_postfix.h"

#include "logs/error.h"
#include "logs/text.h"

#include <vector>

namespace zelk::fr {

bool IsDelimiter(unsigned char c) {
    switch (c) {
    case ' ':
    case '\r':
    case '(':
    case ')':
    case '*':
    case '+':
    case '-':
    case '/':
    case '<':
    case '=':
    case '>':
    case '[':
        return true;
    default:
        return false;
    }
}

std::size_t WordEnd(std::string_view s, std::size_t pos) {
    const bool number = pos < s.size() && StartsNumber(static_cast<unsigned char>(s[pos]));
    bool quoted = false;
    for (; pos < s.size(); ++pos) {
        const auto c = static_cast<unsigned char>(s[pos]);
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (IsDelimiter(c) || (c == ',' && !number)))
            break;
    }
    return pos;
}

bool StartsNumber(unsigned char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == ',';
}

std::size_t LiteralEnd(std::string_view s, std::size_t pos) {
    for (++pos; pos < s.size(); ++pos) {
        if (s[pos] != '\'') continue;
        if (pos + 1 < s.size() && s[pos + 1] == '\'') {
            ++pos;
            continue;
        }
        return pos + 1;
    }
    return s.size();
}

std::size_t BracketEnd(std::string_view s, std::size_t pos) {
    const std::size_t end = BracketClose(s, pos);
    return end == kNotFound ? s.size() : end;
}

std::size_t BracketClose(std::string_view s, std::size_t pos) {
    int depth = 0;
    char quote = 0;
    for (; pos < s.size(); ++pos) {
        const char c = s[pos];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '[') {
            ++depth;
        } else if (c == ']' && --depth == 0) {
            return pos + 1;
        }
    }
    return kNotFound;
}

std::size_t CallClose(std::string_view s, std::size_t pos) {
    int depth = 0;
    bool text = false;
    for (; pos < s.size(); ++pos) {
        const char c = s[pos];
        if (c == '\'')
            text = !text;
        else if (text)
            continue;
        else if (c == '(')
            ++depth;
        else if (c == ')' && --depth == 0)
            return pos;
    }
    return kNotFound;
}

std::array<std::string_view, 3> CallArguments(std::string_view s, std::size_t open, std::size_t close,
                                              bool& more) {
    std::array<std::string_view, 3> args{};
    std::size_t count = 0, start = open + 1;
    int depth = 0;
    bool text = false;
    more = false;
    for (std::size_t pos = open + 1; pos <= close; ++pos) {
        const char c = s[pos];
        const bool ends = pos == close || (!text && depth == 0 && c == ',');
        if (ends) {
            if (count < args.size())
                args[count] = s.substr(start, pos - start);
            else
                more = true;
            ++count;
            start = pos + 1;
        } else if (c == '\'') {
            text = !text;
        } else if (!text && c == '(') {
            ++depth;
        } else if (!text && c == ')') {
            --depth;
        }
    }
    return args;
}

std::string LiteralText(std::string_view literal) {
    std::string text;
    std::size_t end = literal.size();
    if (end >= 2 && literal.back() == '\'') --end;
    for (std::size_t i = 1; i < end; ++i) {
        text += literal[i];
        if (literal[i] == '\'' && i + 1 < end && literal[i + 1] == '\'') ++i;
    }
    return text;
}

namespace {

int Level(char op) {
    if (op == '(') return kGroupLevel;
    const TOperator* o = OperatorOfByte(op);
    return o ? o->Level : kGroupLevel;
}

bool IsPrefix(char op) {
    const TOperator* o = OperatorOfByte(op);
    return o && o->Kind == TOperatorKind::Prefix;
}

class TPostfixWriter {
  public:
    explicit TPostfixWriter(std::size_t size) { out_.reserve(size + 8); }

    void Operand(std::string_view text, bool blank) {
        out_ += text;
        if (blank) out_ += ' ';
    }
    void Open() {
        stack_.push_back('(');
        ++open_;
    }
    void Close() {
        if (open_ == 0) return;
        while (stack_.back() != '(')
            Pop();
        stack_.pop_back();
        --open_;
    }
    // Prefix operators wait on the stack; a binary one first moves out whatever binds as tightly or more.
    void Place(char op) {
        if (!IsPrefix(op) && !stack_.empty() && Level(op) >= Level(stack_.back())) {
            Pop();
            while (!stack_.empty() && Level(op) >= Level(stack_.back()))
                Pop();
        }
        stack_.push_back(op);
    }
    std::string Finish() {
        while (!stack_.empty()) {
            if (stack_.back() == '(')
                stack_.pop_back(); // an unclosed group writes nothing
            else
                Pop();
        }
        return std::move(out_);
    }

  private:
    void Pop() {
        out_ += stack_.back();
        stack_.pop_back();
    }

    std::string out_;
    std::vector<char> stack_;
    std::size_t open_ = 0;
};

} // namespace

std::string ToPostfix(std::string_view e) {
    TPostfixWriter w(e.size());
    bool operandSeen = false;
    std::size_t i = 0;
    const std::size_t n = e.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(e[i]);
        if (c <= ' ') {
            ++i; // blanks, CR and other control characters separate elements
        } else if (c == ';') {
            break;
        } else if (c == '(') {
            w.Open();
            operandSeen = false;
            ++i;
        } else if (c == ')') {
            w.Close();
            ++i;
        } else if (IsOperatorChar(static_cast<char>(c))) {
            std::size_t len = 1;
            char op = OperatorOfSymbol(e.substr(i), len)->Byte;
            if (!operandSeen && op == '-') op = opNeg;
            if (!operandSeen && op == '+') op = opPlus;
            w.Place(op);
            operandSeen = false;
            i += len;
        } else if (c == '\'' || c == '[') {
            const std::size_t end = c == '\'' ? LiteralEnd(e, i) : BracketEnd(e, i);
            w.Operand(e.substr(i, end - i), true);
            operandSeen = true;
            i = end;
        } else {
            const std::size_t end = WordEnd(e, i);
            const std::string_view word = e.substr(i, end - i);
            if (const TOperator* op = OperatorOfWord(word)) {
                w.Place(op->Byte);
                operandSeen = false;
                i = end;
                continue;
            }
            const bool name = !IsTruthWord(word);
            std::size_t stop = end;
            bool blank = true;
            if (name && end < n && e[end] == '[') {
                stop = BracketEnd(e, end);
            } else if (name && end < n && e[end] == '(') {
                const std::size_t close = CallClose(e, end);
                if (close == kNotFound) throw TZelkError("");
                stop = close + 1;
                blank = false;
            }
            w.Operand(e.substr(i, stop - i), blank);
            operandSeen = true;
            i = stop;
        }
    }
    return w.Finish();
}

TPostfixElement NextPostfixElement(std::string_view p, std::size_t& pos) {
    TPostfixElement el;
    const std::size_t start = pos;
    if (pos >= p.size()) return el;
    const auto c = static_cast<unsigned char>(p[pos]);
    if (IsBinaryOpByte(c) || IsUnaryOpByte(c)) {
        el.kind = TPostfixElement::Operator;
        el.op = static_cast<char>(c);
        el.text = p.substr(pos++, 1);
        return el;
    }
    if (c == '\'' || c == '[') {
        pos = c == '\'' ? LiteralEnd(p, pos) : BracketEnd(p, pos);
        el.kind = c == '\'' ? TPostfixElement::Literal : TPostfixElement::Bracketed;
        el.text = p.substr(start, pos - start);
        if (c == '[') {
            const bool closed = el.text.size() >= 2 && el.text.back() == ']';
            el.name = el.text.substr(1, el.text.size() - (closed ? 2 : 1));
        }
        return el;
    }
    if (c == ' ') {
        el.kind = TPostfixElement::Skip;
        el.text = p.substr(pos++, 1);
        return el;
    }
    // Control characters that are no operator bytes are skipped before a word.
    std::size_t w = pos;
    while (w < p.size() && static_cast<unsigned char>(p[w]) < ' ' && !IsBinaryOpByte(p[w]) &&
           !IsUnaryOpByte(p[w]))
        ++w;
    const std::size_t end = WordEnd(p, w);
    const std::string_view word = p.substr(w, end - w);
    el.name = word;
    const char after = end < p.size() ? p[end] : 0;
    const auto first = word.empty() ? 0 : static_cast<unsigned char>(word[0]);
    if (word.empty() && after != '(' && after != '[') {
        pos = after == ')' ? end + 1 : end; // a stray ")" or nothing: step over it
        if (pos == start) ++pos;
        el.kind = TPostfixElement::Skip;
    } else if (StartsNumber(first)) {
        el.kind = TPostfixElement::Number;
        pos = end;
    } else if (IsTruthWord(word)) {
        el.kind = TPostfixElement::Truth;
        pos = end;
    } else if (after == '[') {
        pos = BracketEnd(p, end);
        el.kind = TPostfixElement::Indexed;
        const std::string_view brackets = p.substr(end, pos - end);
        const bool closed = brackets.size() >= 2 && brackets.back() == ']';
        el.index = brackets.substr(1, brackets.size() - (closed ? 2 : 1));
    } else if (after == '(') {
        const std::size_t close = CallClose(p, end);
        if (close == kNotFound) {
            el.kind = TPostfixElement::UnclosedCall;
            pos = p.size();
        } else {
            el.kind = TPostfixElement::Call;
            el.open = end;
            el.close = close;
            pos = close + 1;
        }
    } else {
        el.kind = TPostfixElement::Variable;
        pos = end;
    }
    el.text = p.substr(start, pos - start);
    return el;
}

std::string ReadablePostfix(std::string_view postfix) {
    std::string out;
    std::size_t pos = 0;
    while (pos < postfix.size()) {
        const TPostfixElement el = NextPostfixElement(postfix, pos);
        std::string_view piece;
        if (el.kind == TPostfixElement::Skip) continue;
        if (el.kind == TPostfixElement::Operator) {
            piece = OperatorOfByte(el.op)->Listing;
        } else {
            piece = el.text;
            while (!piece.empty() && static_cast<unsigned char>(piece.front()) <= ' ')
                piece.remove_prefix(1);
        }
        if (!out.empty()) out += ' ';
        out += piece;
    }
    return out;
}

} // namespace zelk::fr
