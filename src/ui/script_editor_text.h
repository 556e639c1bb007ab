// The script editor's text rules that need no window: the colouring scan of the script language, the
// error position of a check's message, the caption and caret-status texts, the word that the completion
// list filters by, and the characters that a Windows-1251 script file cannot hold.
#pragma once

#include <QList>
#include <QString>

#include <string>
#include <string_view>
#include <vector>

namespace zelk::ui {

enum class TScriptTokenKind { Default, Keyword, Comment, String, Number, Function, Variable };

// A run of bytes of one kind, as offsets into the scanned text.
struct TScriptToken {
    size_t Start = 0;
    size_t Length = 0;
    TScriptTokenKind Kind = TScriptTokenKind::Default;
};

// Splits a script text into coloured runs; bytes between runs are Default. The rules follow the
// compiler: "{...}" (over lines) and "//" to the end of the line are comments, except inside a text
// literal; a text literal runs from "'" to the next single "'" ("''" stands for one quote) or to the end
// of the line; a number starts with a digit (or a point before one); a key word is a whole name equal to one
// of the language's words in any letter case; a function is the name of a built-in function directly
// followed by "(", as a call is written (a misspelt name stays uncoloured). Works on UTF-8 and
// Windows-1251 alike: every syntax character is ASCII.
std::vector<TScriptToken> ScanScript(std::string_view text);

// True for the words the language reads as statements or operators (BEGIN, IF, MOD, TRUE...), any case.
bool IsScriptKeyword(std::string_view word);

// The line and column of the first error of a check's message text ("Line 3/7: Need ..."): the number
// between "Line " and the first "/", and the one between that "/" and the first ":". Each is -1 when it
// is no integer; both are -1 when the text lacks "Line ", "/" or ":" in that order.
struct TErrorPosition {
    int Line = -1;
    int Column = -1;
};
TErrorPosition ParseErrorPosition(std::string_view errors);

// "Zelkon::ScriptEditor " and the file-name part of `fileName` (Windows-1251) in upper case.
std::string ScriptEditorCaption(std::string_view fileName);

// The caret panel's text " %6d:%3d " of a 1-based line and column; empty when either is 0 or less.
std::string CaretStatusText(int line, int column);

// The part of a word that ends at the end of `beforeCaret` (the line's text up to the caret): it runs
// back to the nearest character that cannot be part of a name, such as "(", ")", "[", "]", ".", a blank
// or an operator.
QString CompletionPrefix(const QString& beforeCaret);

// The distinct characters of `text` that Windows-1251 lacks (a save writes them as "?"), in order of
// first appearance.
QString UnencodableChars(const QString& text);

// The script lines of an editor text, split by the same rules as the script item's: a line ends at LF or
// CR LF, so a final line break makes no empty last line.
std::vector<std::string> ScriptLines(const QString& text);

} // namespace zelk::ui
