// The statement compiler. It walks the working text with a cursor: words are blank-delimited chunks
// compared without regard to letter case, expressions are checked character by character, and the
// expression texts become classified postfix code as their lines are added.
#include "script/fr_compiler.h"

#include "logs/error.h"
#include "logs/text.h"
#include "script/fr_postfix.h"
#include "script/script_variables.h"

namespace zelk {

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLatin(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsNameChar(char c) {
    return IsLatin(c) || IsDigit(c) || c == '_' || c == '.';
}

bool SameUpper(std::string_view text, std::string_view upper) {
    if (text.size() != upper.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (UpperChar(static_cast<unsigned char>(text[i])) != static_cast<unsigned char>(upper[i]))
            return false;
    return true;
}

constexpr std::string_view kNeedSemicolonOrEnd = "Need \";\" or \"end\" here";
constexpr std::string_view kNeedThen = "Need \"then\" here";
constexpr std::string_view kNeedSemicolonOrUntil = "Need \";\" or \"until\" here";
constexpr std::string_view kNeedDo = "Need \"do\" here";
constexpr std::string_view kNeedTo = "Need \"to\" here";
constexpr std::string_view kGotoNumber = "\"goto\" label must be a number";
constexpr std::string_view kNeedAssign = "Need \":=\" here";
constexpr std::string_view kNeedParen = "Need \")\" here";
constexpr std::string_view kNeedBracket = "Need \"]\" here";
constexpr std::string_view kNeedCommaOrParen = "Need \",\" or \")\" here";
// Faults that the classic messages do not cover.
constexpr std::string_view kNeedOperand = "Need an operand here";
constexpr std::string_view kStatementsTooDeep = "Statements are nested too deeply";
constexpr std::string_view kExpressionTooDeep = "Expression is nested too deeply";
constexpr std::string_view kUndefinedLabel = "Undefined label \"%s\"";

} // namespace

bool TfrCompiler::TWord::Is(std::string_view upper, const std::string& text) const {
    return SameUpper(std::string_view(text).substr(start, end - start), upper);
}

bool TfrCompiler::TWord::StartsWith(std::string_view upper, const std::string& text) const {
    return end - start >= upper.size() &&
           SameUpper(std::string_view(text).substr(start, upper.size()), upper);
}

TfrCompiler::TfrCompiler(TfrParser& parser, const std::vector<std::string>& source)
    : parser_(parser), source_(source) {
    BuildWorkingText(source);
}

// The source lines joined, each followed by CR, TABs made blanks, comments cut out (and remembered so
// that error positions can be mapped back). Quotes switch text literals on and off within a line, so
// "{", "}" and "//" inside a literal stay.
void TfrCompiler::BuildWorkingText(const std::vector<std::string>& source) {
    std::string w;
    for (const auto& line : source) {
        w += line;
        w += '\r';
    }
    for (char& c : w)
        if (c == '\t') c = ' ';
    t_.reserve(w.size());
    bool quoted = false;
    for (std::size_t i = 0; i < w.size();) {
        const char c = w[i];
        if (quoted || c == '\r' || (c != '{' && !(c == '/' && i + 1 < w.size() && w[i + 1] == '/'))) {
            if (c == '\'') quoted = !quoted;
            if (c == '\r') quoted = false;
            t_ += c;
            ++i;
            continue;
        }
        std::size_t end = c == '{' ? w.find('}', i + 1) : w.find('\r', i);
        if (end == std::string::npos)
            end = w.size();
        else if (c == '{')
            ++end;
        comments_.emplace_back(t_.size(), end - i);
        i = end;
    }
    wordEnd_.resize(t_.size() + 1);
    wordEnd_[t_.size()] = t_.size();
    for (std::size_t i = t_.size(); i-- > 0;)
        wordEnd_[i] = IsBlank(t_[i]) ? i : wordEnd_[i + 1];
}

std::size_t TfrCompiler::SkipBlanks(std::size_t p) const {
    while (p < t_.size() && IsBlank(t_[p]))
        ++p;
    return p;
}

TfrCompiler::TWord TfrCompiler::ReadWord() {
    const std::size_t start = SkipBlanks(pos_);
    pos_ = wordEnd_[start];
    return {start, pos_};
}

bool TfrCompiler::PrefixIs(std::size_t p, std::string_view upper) const {
    return p + upper.size() <= t_.size() && SameUpper(std::string_view(t_).substr(p, upper.size()), upper);
}

std::size_t TfrCompiler::NameEnd(std::size_t p) const {
    while (p < t_.size() && IsNameChar(t_[p]))
        ++p;
    return p;
}

// Digits directly followed by ":" make a label; the index after the colon, or 0 when there is none.
std::size_t TfrCompiler::LabelEnd(std::size_t p) const {
    std::size_t q = p;
    while (q < t_.size() && IsDigit(t_[q]))
        ++q;
    return q > p && q < t_.size() && t_[q] == ':' ? q + 1 : 0;
}

void TfrCompiler::Fail(std::size_t pos, std::string_view message) {
    if (failed_) return;
    failed_ = true;
    error_ = ErrorLine(SkipBlanks(pos), message);
}

std::string TfrCompiler::ErrorLine(std::size_t pos, std::string_view message) const {
    const auto [line, column] = SourcePosition(pos);
    return "Line " + std::to_string(line) + "/" + std::to_string(column) + ": " + std::string(message);
}

// Comments cut out before the position count back in; then line and column of the source, each line
// counting its length plus one for the line break. Beyond the last line: the line after it, column 0.
std::pair<int, int> TfrCompiler::SourcePosition(std::size_t pos) const {
    std::size_t original = pos;
    for (const auto& [start, length] : comments_) {
        if (start > pos) break;
        original += length;
    }
    std::size_t line = 1, column = 0;
    std::size_t offset = original;
    bool found = false;
    for (const auto& text : source_) {
        if (offset <= text.size()) {
            column = offset + 1;
            found = true;
            break;
        }
        offset -= text.size() + 1;
        ++line;
    }
    if (!found) column = 0;
    return {static_cast<int>(line), static_cast<int>(column)};
}

void TfrCompiler::Compile(TfrScript& script, std::vector<std::string>& errors) {
    Statement();
    if (!failed_) ResolveLabels();
    if (failed_) {
        errors.push_back(error_);
        return;
    }
    script.lines_ = std::move(lines_);
    script.source_ = source_;
    for (const auto& [start, end] : calls_) {
        const auto [line, column] = SourcePosition(start);
        script.calls_.push_back({UpperCase(std::string_view(t_).substr(start, end - start)), line, column});
    }
    script.compiled_ = true;
}

void TfrCompiler::Statement() {
    if (failed_) return;
    if (statementDepth_ >= kMaxStatementNesting) {
        Fail(pos_, kStatementsTooDeep);
        return;
    }
    ++statementDepth_;
    Dispatch();
    --statementDepth_;
}

void TfrCompiler::Dispatch() {
    // Labels in front of a statement are noted; the statement compiles as if they were not there.
    for (;;) {
        const std::size_t s = SkipBlanks(pos_);
        const std::size_t end = LabelEnd(s);
        if (!end) break;
        labels_.emplace(t_.substr(s, end - s), static_cast<int>(lines_.size()));
        pos_ = end;
    }
    const TWord w = ReadWord();
    if (w.Is("BEGIN", t_)) return Block();
    if (w.Is("IF", t_)) return IfStatement();
    if (w.Is("REPEAT", t_)) return RepeatStatement();
    if (w.Is("WHILE", t_)) return WhileStatement();
    if (w.Is("FOR", t_)) return ForStatement();
    if (w.Is("GOTO", t_)) return GotoStatement();
    pos_ = w.start;
    // An empty statement: the enclosing BEGIN or REPEAT finds the word again.
    if (w.Is("END", t_) || w.Is("END;", t_) || w.Is("UNTIL", t_) || w.AtEnd(t_) || t_[w.start] == ';') return;
    SimpleStatement();
}

void TfrCompiler::Block() {
    for (;;) {
        Statement();
        if (failed_) return;
        const TWord w = ReadWord();
        if (!w.AtEnd(t_) && t_[w.start] == ';') {
            pos_ = w.start + 1;
        } else if (w.Is("END", t_) || w.Is("END;", t_)) {
            pos_ = w.start + 3;
            return;
        } else {
            return Fail(w.start, kNeedSemicolonOrEnd);
        }
    }
}

void TfrCompiler::IfStatement() {
    const std::size_t condStart = pos_;
    Expression();
    if (failed_) return;
    const std::size_t ifLine =
        AddLine(TfrLineKind::Condition, t_.substr(condStart, pos_ - condStart), condStart);
    if (failed_) return;
    const TWord then = ReadWord();
    if (!then.Is("THEN", t_)) return Fail(then.start, kNeedThen);
    Statement();
    if (failed_) return;
    const TWord w = ReadWord();
    if (w.Is("ELSE", t_)) {
        const std::size_t jump = AddLine(TfrLineKind::Jump, {}, w.start);
        lines_[ifLine].target = static_cast<int>(lines_.size());
        Statement();
        if (failed_) return;
        lines_[jump].target = static_cast<int>(lines_.size());
    } else {
        lines_[ifLine].target = static_cast<int>(lines_.size());
        pos_ = w.start;
    }
}

void TfrCompiler::RepeatStatement() {
    const int loopStart = static_cast<int>(lines_.size());
    for (;;) {
        Statement();
        if (failed_) return;
        const TWord w = ReadWord();
        if (w.Is("UNTIL", t_)) {
            const std::size_t condStart = pos_;
            Expression();
            if (failed_) return;
            const std::size_t line =
                AddLine(TfrLineKind::Condition, t_.substr(condStart, pos_ - condStart), condStart);
            if (!failed_) lines_[line].target = loopStart;
            return;
        }
        if (w.AtEnd(t_) || t_[w.start] != ';') return Fail(w.start, kNeedSemicolonOrUntil);
        pos_ = w.start + 1;
    }
}

void TfrCompiler::WhileStatement() {
    const std::size_t condStart = pos_;
    Expression();
    if (failed_) return;
    const std::size_t test =
        AddLine(TfrLineKind::Condition, t_.substr(condStart, pos_ - condStart), condStart);
    if (failed_) return;
    const TWord w = ReadWord();
    if (!w.Is("DO", t_)) return Fail(w.start, kNeedDo);
    Statement();
    if (failed_) return;
    const std::size_t jump = AddLine(TfrLineKind::Jump, {}, pos_);
    lines_[jump].target = static_cast<int>(test);
    lines_[test].target = static_cast<int>(lines_.size());
}

// for v := a to b do s  is  v := a; while v <= b do begin s; v := v+1 end.
void TfrCompiler::ForStatement() {
    std::string variable;
    if (!Assignment(true, &variable) || failed_) return;
    const TWord to = ReadWord();
    if (!to.Is("TO", t_)) return Fail(to.start, kNeedTo);
    const std::size_t limitStart = pos_;
    Expression();
    if (failed_) return;
    const std::string limit = t_.substr(limitStart, pos_ - limitStart);
    const std::size_t test = AddLine(TfrLineKind::Condition, variable + "<=" + limit, limitStart);
    if (failed_) return;
    const TWord w = ReadWord();
    if (!w.Is("DO", t_)) return Fail(w.start, kNeedDo);
    Statement();
    if (failed_) return;
    const std::size_t bracket = variable.find('[');
    if (bracket == std::string::npos) {
        AddAssignment(variable, {}, variable + "+1", limitStart);
    } else {
        const std::string name = variable.substr(0, bracket);
        const std::string index = variable.substr(bracket + 1, variable.size() - bracket - 2);
        AddAssignment(name, index, variable + "+1", limitStart);
    }
    if (failed_) return;
    const std::size_t jump = AddLine(TfrLineKind::Jump, {}, pos_);
    lines_[jump].target = static_cast<int>(test);
    lines_[test].target = static_cast<int>(lines_.size());
}

void TfrCompiler::GotoStatement() {
    const std::size_t start = SkipBlanks(pos_);
    std::size_t end = start;
    while (end < t_.size() && IsDigit(t_[end]))
        ++end;
    if (end == start) return Fail(start, kGotoNumber);
    const std::size_t line = AddLine(TfrLineKind::Jump, {}, start);
    lines_[line].name = t_.substr(start, end - start);
    gotos_.emplace_back(line, start);
    pos_ = end;
}

void TfrCompiler::SimpleStatement() {
    const std::size_t start = SkipBlanks(pos_);
    if (start < t_.size() && IsLatin(t_[start])) {
        const std::size_t end = NameEnd(start);
        if (end >= t_.size() || t_[end] != '(') {
            Assignment(false, nullptr);
            return;
        }
    }
    // A call statement: any other expression, its value dropped.
    pos_ = start;
    const std::size_t callsBefore = calls_.size();
    Expression();
    if (failed_) return;
    const std::size_t line = AddLine(TfrLineKind::Call, t_.substr(start, pos_ - start), start);
    // EXIT(0) ends the run; it calls nothing.
    if (!failed_ && lines_[line].kind == TfrLineKind::Exit) calls_.resize(callsBefore);
}

bool TfrCompiler::Assignment(bool forLoop, std::string* variable) {
    const std::size_t start = SkipBlanks(pos_);
    if (start >= t_.size() || !IsLatin(t_[start])) {
        Fail(start, kNeedAssign);
        return false;
    }
    const std::size_t nameEnd = NameEnd(start);
    pos_ = nameEnd;
    std::size_t indexStart = 0, indexEnd = 0;
    if (nameEnd < t_.size() && t_[nameEnd] == '[') {
        indexStart = pos_ = nameEnd + 1;
        Expression();
        if (failed_) return false;
        indexEnd = pos_;
        const std::size_t close = SkipBlanks(pos_);
        if (close >= t_.size() || t_[close] != ']') {
            Fail(close, kNeedBracket);
            return false;
        }
        pos_ = close + 1;
    }
    const std::string_view name = std::string_view(t_).substr(start, nameEnd - start);
    const std::string_view index = std::string_view(t_).substr(indexStart, indexEnd - indexStart);
    const std::string_view written = std::string_view(t_).substr(start, pos_ - start);
    const TWord w = ReadWord();
    if (w.StartsWith(":=", t_)) {
        pos_ = w.start + 2;
        const std::size_t exprStart = pos_;
        Expression();
        if (failed_) return false;
        AddAssignment(name, indexEnd ? index : std::string_view(),
                      std::string_view(t_).substr(exprStart, pos_ - exprStart), exprStart);
        if (variable) *variable = std::string(written);
        return !failed_;
    }
    if (!forLoop && (w.Is(";", t_) || w.Is("END", t_) || w.Is("ELSE", t_))) {
        // A bare name is a call without arguments: exit becomes EXIT(0).
        pos_ = w.start;
        AddLine(TfrLineKind::Call, std::string(written) + "(0)", start);
        return !failed_;
    }
    Fail(w.start, kNeedAssign);
    return false;
}

void TfrCompiler::Expression() {
    if (failed_) return;
    if (expressionDepth_ >= kMaxExpressionNesting) return Fail(pos_, kExpressionTooDeep);
    ++expressionDepth_;
    SimpleExpression();
    if (!failed_) {
        const std::size_t p = SkipBlanks(pos_);
        std::size_t len = 0;
        if (PrefixIs(p, ">=") || PrefixIs(p, "<=") || PrefixIs(p, "<>"))
            len = 2;
        else if (p < t_.size() && (t_[p] == '<' || t_[p] == '=' || t_[p] == '>'))
            len = 1;
        if (len) {
            pos_ = p + len;
            SimpleExpression();
        }
    }
    --expressionDepth_;
}

void TfrCompiler::SimpleExpression() {
    for (;;) {
        Term();
        if (failed_) return;
        const std::size_t p = SkipBlanks(pos_);
        if (p < t_.size() && (t_[p] == '+' || t_[p] == '-'))
            pos_ = p + 1;
        else if (PrefixIs(p, "OR"))
            pos_ = p + 2;
        else
            return;
    }
}

void TfrCompiler::Term() {
    for (;;) {
        Factor();
        if (failed_) return;
        const std::size_t p = SkipBlanks(pos_);
        if (p < t_.size() && (t_[p] == '*' || t_[p] == '/'))
            pos_ = p + 1;
        else if (PrefixIs(p, "AND") || PrefixIs(p, "MOD"))
            pos_ = p + 3;
        else
            return;
    }
}

void TfrCompiler::Factor() {
    const std::size_t p = SkipBlanks(pos_);
    if (p >= t_.size()) return Fail(p, kNeedOperand);
    const char c = t_[p];
    if (c == '(') {
        pos_ = p + 1;
        Expression();
        if (failed_) return;
        const std::size_t close = SkipBlanks(pos_);
        if (close >= t_.size() || t_[close] != ')') return Fail(close, kNeedParen);
        pos_ = close + 1;
    } else if (c == '[') {
        const std::size_t end = fr::BracketClose(t_, p);
        if (end == fr::kNotFound) return Fail(p, kNeedBracket);
        pos_ = end;
    } else if (c == '+' || c == '-') {
        pos_ = p + 1;
        Expression();
    } else if (PrefixIs(p, "NOT") && (p + 3 >= t_.size() || IsBlank(t_[p + 3]))) {
        pos_ = p + 3;
        Expression();
    } else if (IsLatin(c)) {
        const std::size_t end = NameEnd(p);
        pos_ = end;
        if (end < t_.size() && t_[end] == '(') {
            // Operator words written like calls (Round(x), not(a)) are operators to the evaluator.
            if (!fr::IsExpressionKeyword(std::string_view(t_).substr(p, end - p)))
                calls_.emplace_back(p, end);
            pos_ = end + 1;
            CallArguments();
        } else if (end < t_.size() && t_[end] == '[') {
            pos_ = end + 1;
            Expression();
            if (failed_) return;
            const std::size_t close = SkipBlanks(pos_);
            if (close >= t_.size() || t_[close] != ']') return Fail(close, kNeedBracket);
            pos_ = close + 1;
        }
    } else if (c == '\'') {
        pos_ = fr::LiteralEnd(t_, p);
    } else if (IsDigit(c)) {
        std::size_t end = p;
        while (end < t_.size() && IsDigit(t_[end]))
            ++end;
        if (end < t_.size() && t_[end] == '.') {
            ++end;
            while (end < t_.size() && IsDigit(t_[end]))
                ++end;
        }
        pos_ = end;
    } else {
        Fail(p, kNeedOperand);
    }
}

void TfrCompiler::CallArguments() {
    const std::size_t first = SkipBlanks(pos_);
    if (first < t_.size() && t_[first] == ')') {
        pos_ = first + 1;
        return;
    }
    for (;;) {
        Expression();
        if (failed_) return;
        const std::size_t p = SkipBlanks(pos_);
        if (p < t_.size() && t_[p] == ',') {
            pos_ = p + 1;
        } else if (p < t_.size() && t_[p] == ')') {
            pos_ = p + 1;
            return;
        } else {
            return Fail(p, kNeedCommaOrParen);
        }
    }
}

// Adds a line and converts its expression at once; a text whose call never closes for the converter
// (it skips brackets differently from the check) is reported like an unclosed argument list.
std::size_t TfrCompiler::AddLine(TfrLineKind kind, std::string text, std::size_t textPos) {
    TfrLine line;
    line.kind = kind;
    if (kind != TfrLineKind::Jump) {
        try {
            line.code = parser_.CompileExpression(text);
        } catch (const TZelkError&) {
            Fail(textPos, kNeedCommaOrParen);
        }
        if (kind == TfrLineKind::Call && SameUpper(line.code.Postfix(), "EXIT(0)"))
            line.kind = TfrLineKind::Exit;
    }
    line.text = std::move(text);
    lines_.push_back(std::move(line));
    return lines_.size() - 1;
}

// name := expr, or for an indexed variable the call SETARRAY(name, index, expr).
void TfrCompiler::AddAssignment(std::string_view name, std::string_view index, std::string_view expr,
                                std::size_t textPos) {
    if (!index.empty()) {
        AddLine(TfrLineKind::Call,
                "SETARRAY(" + std::string(name) + ", " + std::string(index) + ", " + std::string(expr) + ")",
                textPos);
        return;
    }
    const std::size_t i = AddLine(TfrLineKind::Assign, std::string(expr), textPos);
    TfrLine& line = lines_[i];
    line.name = std::string(name);
    if (TfrParserHost* host = parser_.Host())
        if (TfrVariables* store = host->SlotStore()) line.slot = store->Intern(line.name);
}

// GOTO jumps to the first definition of its label. A label defined nowhere is a compile error: the
// script could never run as written.
void TfrCompiler::ResolveLabels() {
    for (const auto& [line, pos] : gotos_) {
        const auto it = labels_.find(lines_[line].name + ":");
        if (it == labels_.end()) return Fail(pos, FormatText(kUndefinedLabel, lines_[line].name));
        lines_[line].target = it->second;
    }
}

} // namespace zelk
