// The [expressions] of a text object: cutting a text into plain runs and expressions, and evaluating the
// expressions with the program's expression evaluator. Every variable name reaches the resolver exactly as
// the layout writes it, so that the program's callback can match names in its own way.
#pragma once

#include "script/fr_parser.h"

#include <QHashFunctions>
#include <QString>

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelk::rep {

// One run of a text: plain text, or the expression found between "[" and its matching "]" (brackets
// nest, and quoted parts inside are skipped over). A "[" that is never closed is plain text.
struct TfrTextPart {
    bool IsExpression = false;
    std::string Text; // Windows-1251
};
std::vector<TfrTextPart> SplitTextParts(std::string_view text);

// The expression with every plain variable name written as a bracketed name ("Call + 1" becomes
// "[Call] + 1"), so that the evaluator hands the name over as written instead of upper-casing it.
// Keywords, numbers, text literals, function names and names already bracketed stay as they are.
std::string BracketPlainNames(std::string_view expression);

// Answers a variable name (Windows-1251, as written); false when nobody knows it (the value is null then).
using TfrNameResolver = std::function<bool(const std::string& name, ScriptValue& value)>;

// The value as a text object shows it: null and empty show nothing.
std::string ValueText(const ScriptValue& value);

// Expands the texts of text objects. The compiled form of each text is kept, so a text printed on
// every row is read only once.
class TfrTextEvaluator : private TfrParserHost {
  public:
    explicit TfrTextEvaluator(TfrNameResolver resolver);

    // The text with each [expression] replaced by its value. An expression that fails raises
    // TZelkError naming the expression and the evaluator's reason.
    QString Expand(const QString& text);
    // One expression (without its brackets, Windows-1251).
    ScriptValue Evaluate(const std::string& expression);

  private:
    struct TPart {
        QString Plain;
        std::string Source; // the expression as written, for messages
        std::unique_ptr<TfrCode> Code;
    };
    void ReadVariable(std::string_view name, ScriptValue& value) override;
    void CallFunction(const std::string& name, const TfrArgs& args, ScriptValue& result) override;
    const std::vector<TPart>& Compiled(const QString& text);
    ScriptValue Run(const TPart& part);

    TfrNameResolver resolver_;
    TfrParser parser_;
    struct THash {
        std::size_t operator()(const QString& s) const noexcept { return qHash(s); }
    };
    std::unordered_map<QString, std::vector<TPart>, THash> cache_;
};

} // namespace zelk::rep
