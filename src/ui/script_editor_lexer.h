// TScriptLexer: the colouring of the script language in the script editor's code editor - key words,
// comments in navy, text literals, numbers and calls of built-in functions - and the one line of a check's
// error, drawn white on red.
#pragma once

#include <Qsci/qscilexercustom.h>

namespace zelk::ui {

class TScriptLexer : public QsciLexerCustom {
    Q_OBJECT
  public:
    enum Style { Default = 0, Keyword, Comment, String, Number, ErrorLineStyle, Function, Variable, StyleCount };

    explicit TScriptLexer(QObject* parent = nullptr);

    const char* language() const override { return "ZelkScript"; }
    QString description(int style) const override;
    QColor defaultColor(int style) const override;
    QColor defaultPaper(int style) const override;
    QFont defaultFont(int style) const override;
    bool defaultEolFill(int style) const override;
    void styleText(int start, int end) override;

    // The 0-based line drawn as the error line, or -1 for none; the editor is coloured anew.
    void SetErrorLine(int line);
    int ErrorLine() const { return errorLine_; }

    // The editor's font: Courier New, 13 pixels high (or the nearest fixed-pitch font).
    static QFont EditorFont();

  private:
    int errorLine_ = -1;
};

} // namespace zelk::ui
