// TfmScriptEditor: the window in which the judge edits, checks and saves one judging script. It works on
// the script item it is given; a save hands the new text to the item at once, so the next check of a log
// uses it.
#pragma once

#include <QDialog>

#include <array>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QStatusBar;
class QToolBar;
class QsciScintilla;

namespace zelk {
class TZelkScriptItem;
}

namespace zelk::ui {

class TScriptCompletion;
class TScriptLexer;

class TfmScriptEditor : public QDialog {
    Q_OBJECT
  public:
    // Restores the stored geometry and shows the item's text; show it with exec().
    explicit TfmScriptEditor(zelk::TZelkScriptItem& item, QWidget* parent = nullptr);
    ~TfmScriptEditor() override;

    // Set by any edit, cleared by a save.
    bool IsModified() const { return modified_; }
    // The 1-based line of the first error of the last check that found one, or -1.
    int ErrorLine() const { return errorLine_; }
    // The file the caption names: the item's file until a save under another name.
    const std::string& CurrentFileName() const { return fileName_; }

  protected:
    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void CreateActions();
    void CreateLayout();
    void CreateMenus();
    void ApplyStoredGeometry();
    void StoreGeometry();
    void OpenItem();

    // Commands.
    void actOpenExecute();
    void actSaveExecute();
    void actCheckExecute();
    void actHelpExecute();

    // Puts `text` into the editor as it stands on disk: no edit, nothing to undo.
    void LoadEditorText(const QString& text);
    std::vector<std::string> EditorLines() const;
    void ShowCheckResult(const QString& text);
    void MarkError(const std::string& errors);
    void MoveCaret(int line, int column);
    void ShowCaption();
    void ShowCaretStatus();
    void ShowUnencodable();
    void OnTextChanged();

    zelk::TZelkScriptItem& item_;
    bool modified_ = false;
    int errorLine_ = -1;
    std::string fileName_;
    bool loading_ = false; // the editor's text is being replaced, not edited

    QAction* actOpen;
    QAction* actSave;
    QAction* actClose;
    QAction* actCut;
    QAction* actCopy;
    QAction* actPaste;
    QAction* actUndo;
    QAction* actSelectAll;
    QAction* actCheck;
    QAction* actHelp;

    QsciScintilla* synEdit_;
    TScriptLexer* lexer_;
    TScriptCompletion* synCompletion_;
    QSplitter* splitter_;
    QWidget* paCheckResult_;
    QPlainTextEdit* meCheckResult_;
    QStatusBar* stbStatus_;
    std::array<QLabel*, 2> statusPanels_{};
    QToolBar* toolBar_;
    QMenu* pmEditor_;
};

} // namespace zelk::ui
