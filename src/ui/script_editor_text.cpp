// The script editor's text rules: colouring scan, error position, caption, caret status, completion word
// and the characters a Windows-1251 file cannot hold.
#include "ui/script_editor_text.h"

#include "logs/file_io.h"
#include "logs/text.h"
#include "script/fr_operators.h"
#include "script/zelk_script_engine.h"
#include "ui/qt_text.h"

#include <array>
#include <cstdio>

namespace zelk::ui {
namespace {

bool IsAsciiLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool IsNameChar(unsigned char c) {
    return IsAsciiLetter(c) || IsDigit(c) || c == '_' || c == '.';
}
bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// The statement words of the compiler; the operator words and truth literals come from the evaluator.
constexpr std::array<std::string_view, 13> kStatementWords = {
    "BEGIN", "DO", "ELSE", "END", "EXIT", "FOR", "GOTO", "IF", "REPEAT", "THEN", "TO", "UNTIL", "WHILE"};

// The end of the run that starts at `i` with the character that decides its kind.
size_t BraceCommentEnd(std::string_view text, size_t i) {
    const size_t close = text.find('}', i + 1);
    return close == std::string_view::npos ? text.size() : close + 1;
}

size_t LineCommentEnd(std::string_view text, size_t i) {
    while (i < text.size() && !IsLineEnd(text[i]))
        ++i;
    return i;
}

size_t StringEnd(std::string_view text, size_t i) {
    ++i; // the opening quote
    while (i < text.size() && !IsLineEnd(text[i])) {
        if (text[i] == '\'') {
            if (i + 1 < text.size() && text[i + 1] == '\'') {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return i;
}

size_t NameEnd(std::string_view text, size_t i) {
    while (i < text.size() && IsNameChar(static_cast<unsigned char>(text[i])))
        ++i;
    return i;
}

} // namespace

bool IsScriptKeyword(std::string_view word) {
    if (word.empty() || word.size() > 6) return false;
    if (fr::IsExpressionKeyword(word)) return true;
    const std::string upper = UpperCase(word);
    for (std::string_view k : kStatementWords)
        if (k == upper) return true;
    return false;
}

std::vector<TScriptToken> ScanScript(std::string_view text) {
    std::vector<TScriptToken> tokens;
    auto add = [&tokens](size_t start, size_t end, TScriptTokenKind kind) {
        tokens.push_back({start, end - start, kind});
    };
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        size_t end = i + 1;
        if (c == '{') {
            end = BraceCommentEnd(text, i);
            add(i, end, TScriptTokenKind::Comment);
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
            end = LineCommentEnd(text, i);
            add(i, end, TScriptTokenKind::Comment);
        } else if (c == '\'') {
            end = StringEnd(text, i);
            add(i, end, TScriptTokenKind::String);
        } else if (IsDigit(c) ||
                   (c == '.' && i + 1 < text.size() && IsDigit(static_cast<unsigned char>(text[i + 1])))) {
            end = NameEnd(text, i);
            add(i, end, TScriptTokenKind::Number);
        } else if (IsAsciiLetter(c) || c == '_') {
            end = NameEnd(text, i);
            const std::string_view name = text.substr(i, end - i);
            if (IsScriptKeyword(name))
                add(i, end, TScriptTokenKind::Keyword);
            else if (end < text.size() && text[end] == '(' && IsScriptFunction(name))
                add(i, end, TScriptTokenKind::Function);
            else if (IsRuleVariable(name))
                add(i, end, TScriptTokenKind::Variable);
        }
        i = end;
    }
    return tokens;
}

TErrorPosition ParseErrorPosition(std::string_view errors) {
    const size_t line = errors.find("Line ");
    const size_t slash = errors.find('/');
    const size_t colon = errors.find(':');
    if (line == std::string_view::npos || slash == std::string_view::npos || colon == std::string_view::npos)
        return {};
    if (!(line < slash && slash < colon)) return {};
    const size_t numberStart = line + 5;
    if (numberStart > slash) return {};
    return {StrToIntDef(errors.substr(numberStart, slash - numberStart), -1),
            StrToIntDef(errors.substr(slash + 1, colon - slash - 1), -1)};
}

std::string ScriptEditorCaption(std::string_view fileName) {
    return "Zelkon::ScriptEditor " + UpperCase(ExtractFileName(fileName));
}

std::string CaretStatusText(int line, int column) {
    if (line <= 0 || column <= 0) return {};
    std::array<char, 32> buffer{};
    std::snprintf(buffer.data(), buffer.size(), " %6d:%3d ", line, column);
    return buffer.data();
}

QString CompletionPrefix(const QString& beforeCaret) {
    qsizetype start = beforeCaret.size();
    while (start > 0) {
        const QChar c = beforeCaret[start - 1];
        if (!c.isLetterOrNumber() && c != u'_') break;
        --start;
    }
    return beforeCaret.mid(start);
}

QString UnencodableChars(const QString& text) {
    QString found;
    for (const uint code : text.toUcs4()) {
        const auto c = static_cast<char32_t>(code);
        if (c < 0x80) continue;
        const QString one = QString::fromUcs4(&c, 1);
        if (found.contains(one)) continue;
        if (FromUtf8(one.toStdString()) == "?") found += one;
    }
    return found;
}

std::vector<std::string> ScriptLines(const QString& text) {
    return TextLines(Cp(text));
}

} // namespace zelk::ui
