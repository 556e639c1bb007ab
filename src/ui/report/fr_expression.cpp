// Text objects' expressions: splitting, name bracketing and evaluation through TfrParser.
#include "ui/report/fr_expression.h"

#include "logs/error.h"
#include "logs/text.h"
#include "script/format.h"
#include "script/fr_postfix.h"
#include "ui/qt_text.h"

namespace zelk::rep {
std::vector<TfrTextPart> SplitTextParts(std::string_view text) {
    std::vector<TfrTextPart> parts;
    auto addPlain = [&parts](std::string_view s) {
        if (s.empty()) return;
        if (!parts.empty() && !parts.back().IsExpression)
            parts.back().Text += s;
        else
            parts.push_back({false, std::string(s)});
    };
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = text.find('[', pos);
        if (open == std::string_view::npos) {
            addPlain(text.substr(pos));
            break;
        }
        const std::size_t close = fr::BracketClose(text, open);
        if (close == fr::kNotFound) {
            addPlain(text.substr(pos));
            break;
        }
        addPlain(text.substr(pos, open - pos));
        parts.push_back({true, std::string(text.substr(open + 1, close - open - 2))});
        pos = close;
    }
    return parts;
}

std::string BracketPlainNames(std::string_view s) {
    std::string out;
    out.reserve(s.size() + 8);
    // For each open parenthesis: whether it opens a call's argument list, where "," separates arguments.
    std::vector<bool> callParens;
    std::size_t pos = 0;
    while (pos < s.size()) {
        const char c = s[pos];
        const auto uc = static_cast<unsigned char>(c);
        std::size_t end = pos + 1;
        if (uc <= 32 || fr::IsOperatorChar(c)) {
            // a blank or an operator: copied
        } else if (c == '\'') {
            end = fr::LiteralEnd(s, pos);
        } else if (c == '[') {
            end = fr::BracketEnd(s, pos);
        } else if (c == ';') {
            end = s.size(); // the rest of the text is not part of the expression
        } else if (c == '(') {
            callParens.push_back(false);
        } else if (c == ')') {
            if (!callParens.empty()) callParens.pop_back();
        } else if (c == ',' && !callParens.empty() && callParens.back()) {
            // an argument separator
        } else if (fr::StartsNumber(uc)) {
            end = std::max(fr::WordEnd(s, pos), pos + 1);
            // Inside an argument list a "," after the first character separates arguments.
            if (!callParens.empty() && callParens.back())
                end = std::min(end, std::max(s.find(',', pos + 1), pos + 1));
        } else {
            end = std::max(fr::WordEnd(s, pos), pos + 1);
            const std::string_view word = s.substr(pos, end - pos);
            const char next = end < s.size() ? s[end] : '\0';
            const bool call = next == '(' && !fr::IsExpressionKeyword(word);
            const bool plain = next != '(' && next != '[' && !fr::IsExpressionKeyword(word) &&
                               word.find_first_of("[]\"'") == std::string_view::npos;
            if (call) {
                out += word;
                out += '(';
                callParens.push_back(true);
                pos = end + 1;
                continue;
            }
            if (plain) {
                out += '[';
                out += word;
                out += ']';
                pos = end;
                continue;
            }
        }
        out += s.substr(pos, end - pos);
        pos = end;
    }
    return out;
}

std::string ValueText(const ScriptValue& value) {
    if (value.IsNull() || value.IsEmpty()) return {};
    return value.AsText();
}

TfrTextEvaluator::TfrTextEvaluator(TfrNameResolver resolver) : resolver_(std::move(resolver)) {
    parser_.SetHost(this);
}

void TfrTextEvaluator::ReadVariable(std::string_view name, ScriptValue& value) {
    if (resolver_) resolver_(std::string(name), value);
}

// The engine's own functions for layouts: number and date-time formatting by a pattern.
void TfrTextEvaluator::CallFunction(const std::string& name, const TfrArgs& args, ScriptValue& result) {
    if (name == "FORMATFLOAT") {
        const ScriptValue value = args.Value(1);
        result = ScriptValue::Text(value.IsNull() ? std::string()
                                                  : FormatFloat(args.Value(0).AsText(), value.AsFloat()));
    } else if (name == "FORMATDATETIME") {
        const ScriptValue value = args.Value(1);
        result = ScriptValue::Text(value.IsNull() ? std::string()
                                                  : FormatDateTime(args.Value(0).AsText(), value.AsDate()));
    }
}

const std::vector<TfrTextEvaluator::TPart>& TfrTextEvaluator::Compiled(const QString& text) {
    const auto found = cache_.find(text);
    if (found != cache_.end()) return found->second;
    std::vector<TPart> parts;
    for (TfrTextPart& piece : SplitTextParts(ui::Cp(text))) {
        TPart part;
        if (piece.IsExpression) {
            part.Source = std::move(piece.Text);
            try {
                part.Code =
                    std::make_unique<TfrCode>(parser_.CompileExpression(BracketPlainNames(part.Source)));
            } catch (const TZelkError& e) {
                throw TZelkError("Ошибка в выражении ["_cp + part.Source + "]: " + e.what());
            }
        } else {
            part.Plain = ui::Qs(piece.Text);
        }
        parts.push_back(std::move(part));
    }
    return cache_.emplace(text, std::move(parts)).first->second;
}

ScriptValue TfrTextEvaluator::Run(const TPart& part) {
    try {
        return parser_.Execute(*part.Code);
    } catch (const TZelkError& e) {
        throw TZelkError("Ошибка в выражении ["_cp + part.Source + "]: " + e.what());
    }
}

QString TfrTextEvaluator::Expand(const QString& text) {
    if (!text.contains(u'[')) return text;
    QString out;
    for (const TPart& part : Compiled(text)) {
        if (!part.Code) {
            out += part.Plain;
            continue;
        }
        const ScriptValue value = Run(part);
        try {
            out += ui::Qs(ValueText(value));
        } catch (const TZelkError& e) {
            throw TZelkError("Ошибка в выражении ["_cp + part.Source + "]: " + e.what());
        }
    }
    return out;
}

ScriptValue TfrTextEvaluator::Evaluate(const std::string& expression) {
    TPart part;
    part.Source = expression;
    part.Code = std::make_unique<TfrCode>(parser_.CompileExpression(BracketPlainNames(expression)));
    return Run(part);
}

} // namespace zelk::rep
