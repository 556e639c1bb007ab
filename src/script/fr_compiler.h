// The statement compiler behind TfrInterpretator::CompileScript: the working text without comments,
// the statement forms, the shape check of expressions, labels and error lines.
#pragma once

#include "script/fr_interpretator.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelk {

class TfrCompiler {
  public:
    TfrCompiler(TfrParser& parser, const std::vector<std::string>& source);
    // Fills `script` (valid only without errors) and `errors` (at most one line).
    void Compile(TfrScript& script, std::vector<std::string>& errors);

    // Nesting beyond these depths is reported as a compile error instead of exhausting the call stack.
    static constexpr int kMaxStatementNesting = 200;
    static constexpr int kMaxExpressionNesting = 200;

  private:
    struct TWord {
        std::size_t start; // first non-blank character; the end of the text when there is no word
        std::size_t end;
        bool Is(std::string_view upper, const std::string& text) const;
        bool StartsWith(std::string_view upper, const std::string& text) const;
        bool AtEnd(const std::string& text) const { return start >= text.size(); }
    };

    void BuildWorkingText(const std::vector<std::string>& source);
    std::size_t SkipBlanks(std::size_t p) const;
    TWord ReadWord();
    bool PrefixIs(std::size_t p, std::string_view upper) const;
    std::size_t NameEnd(std::size_t p) const;
    std::size_t LabelEnd(std::size_t p) const;
    void Fail(std::size_t pos, std::string_view message);
    std::string ErrorLine(std::size_t pos, std::string_view message) const;
    // The 1-based line and column of the source at a position of the working text.
    std::pair<int, int> SourcePosition(std::size_t pos) const;

    void Statement();
    void Dispatch();
    void Block();
    void IfStatement();
    void RepeatStatement();
    void WhileStatement();
    void ForStatement();
    void GotoStatement();
    void SimpleStatement();
    // An assignment at the cursor; `forLoop` demands ":=" and reports the loop variable.
    bool Assignment(bool forLoop, std::string* variable);

    void Expression();
    void SimpleExpression();
    void Term();
    void Factor();
    void CallArguments();

    std::size_t AddLine(TfrLineKind kind, std::string text, std::size_t textPos);
    void AddAssignment(std::string_view name, std::string_view index, std::string_view expr,
                       std::size_t textPos);
    void ResolveLabels();

    TfrParser& parser_;
    const std::vector<std::string>& source_;
    std::string t_;                    // the working text without its comments
    std::vector<std::size_t> wordEnd_; // for every position: the next character with a code up to 32
    std::vector<std::pair<std::size_t, std::size_t>> comments_; // start in t_, length
    std::size_t pos_ = 0;
    bool failed_ = false;
    std::string error_;
    int statementDepth_ = 0;
    int expressionDepth_ = 0;
    std::vector<TfrLine> lines_;
    std::unordered_map<std::string, int> labels_;
    std::vector<std::pair<std::size_t, std::size_t>> gotos_; // line, position of the label digits
    std::vector<std::pair<std::size_t, std::size_t>> calls_; // start and end of a called name
};

} // namespace zelk
