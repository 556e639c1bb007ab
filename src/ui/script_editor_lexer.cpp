// The script editor's colouring.
#include "ui/script_editor_lexer.h"

#include "ui/script_editor_text.h"

#include <Qsci/qsciscintilla.h>

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace zelk::ui {
namespace {

int StyleOf(TScriptTokenKind kind) {
    switch (kind) {
    case TScriptTokenKind::Keyword:
        return TScriptLexer::Keyword;
    case TScriptTokenKind::Comment:
        return TScriptLexer::Comment;
    case TScriptTokenKind::String:
        return TScriptLexer::String;
    case TScriptTokenKind::Number:
        return TScriptLexer::Number;
    case TScriptTokenKind::Function:
        return TScriptLexer::Function;
    case TScriptTokenKind::Variable:
        return TScriptLexer::Variable;
    case TScriptTokenKind::Default:
        break;
    }
    return TScriptLexer::Default;
}

} // namespace

TScriptLexer::TScriptLexer(QObject* parent) : QsciLexerCustom(parent) {
    setDefaultFont(EditorFont());
}

QFont TScriptLexer::EditorFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    // The code editor sizes its fonts in points; 13 pixels at the screen's resolution.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    font.setPointSizeF(13.0 * 72.0 / (dpi > 0 ? dpi : 96.0));
    return font;
}

QString TScriptLexer::description(int style) const {
    switch (style) {
    case Default:
        return QStringLiteral("Default");
    case Keyword:
        return QStringLiteral("Keyword");
    case Comment:
        return QStringLiteral("Comment");
    case String:
        return QStringLiteral("String");
    case Number:
        return QStringLiteral("Number");
    case ErrorLineStyle:
        return QStringLiteral("Error line");
    case Function:
        return QStringLiteral("Function");
    case Variable:
        return QStringLiteral("Rule variable");
    default:
        return {};
    }
}

QColor TScriptLexer::defaultColor(int style) const {
    switch (style) {
    case Comment:
        return QColor(0, 0, 128);
    case String:
        return QColor(0x80, 0x00, 0x80);
    case Number:
        return QColor(0x00, 0x80, 0x80);
    case Function:
        return QColor(0x80, 0x00, 0x00);
    case Variable:
        return QColor(0x00, 0x60, 0x00);
    case ErrorLineStyle:
        return Qt::white;
    default:
        return Qt::black;
    }
}

QColor TScriptLexer::defaultPaper(int style) const {
    return style == ErrorLineStyle ? QColor(Qt::red) : QColor(Qt::white);
}

QFont TScriptLexer::defaultFont(int style) const {
    QFont font = EditorFont();
    if (style == Keyword) font.setBold(true);
    if (style == Comment) font.setItalic(true);
    return font;
}

bool TScriptLexer::defaultEolFill(int style) const {
    return style == ErrorLineStyle;
}

void TScriptLexer::SetErrorLine(int line) {
    errorLine_ = line;
    if (editor()) editor()->recolor();
}

// Styles from the start of the text: a "{" comment opened above the asked range may reach into it, and
// a script is short enough for a full scan on every change.
void TScriptLexer::styleText(int, int end) {
    QsciScintilla* ed = editor();
    if (!ed || end <= 0) return;
    const QByteArray bytes = ed->bytes(0, end);
    const int length = static_cast<int>(std::min<qsizetype>(bytes.size(), end));

    int errorStart = length, errorEnd = length;
    if (errorLine_ >= 0 && errorLine_ < ed->lines()) {
        errorStart = static_cast<int>(ed->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, errorLine_));
        errorEnd =
            errorLine_ + 1 < ed->lines()
                ? static_cast<int>(ed->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, errorLine_ + 1))
                : length;
    }
    // Emits [from, to) in `style`, its part on the error line in the error line's style.
    auto put = [&](int from, int to, int style) {
        const int a = std::clamp(errorStart, from, to);
        const int b = std::clamp(errorEnd, from, to);
        if (a > from) setStyling(a - from, style);
        if (b > a) setStyling(b - a, ErrorLineStyle);
        if (to > b) setStyling(to - b, style);
    };

    startStyling(0);
    int at = 0;
    for (const TScriptToken& t :
         ScanScript(std::string_view(bytes.constData(), static_cast<size_t>(length)))) {
        const int from = static_cast<int>(t.Start);
        const int to = static_cast<int>(t.Start + t.Length);
        put(at, from, Default);
        put(from, to, StyleOf(t.Kind));
        at = to;
    }
    put(at, length, Default);
}

} // namespace zelk::ui
