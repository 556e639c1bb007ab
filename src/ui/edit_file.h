// TfmEditFile: the log editor. Shows one log as plain text with its main header tags coloured, converts a
// log typed in the DOS Cyrillic code page, reads a log in UTF-8 or UTF-16 as its Windows-1251 text, and
// saves the text back byte for byte in the encoding it came in; the main window opens it modally and
// reloads the selected log when it was saved.
#pragma once

#include "logs/text_encoding.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QTimer;

namespace zelk::rep {
class TfrReport;
}

namespace zelk::ui {

class TTextFindDialog;
class TEditFilePrint;

class TfmEditFile : public QMainWindow {
    Q_OBJECT
  public:
    // Applies the stored geometry, font and colouring switch.
    explicit TfmEditFile(QWidget* parent = nullptr);
    ~TfmEditFile() override;

    // Loads the file `path` (trimmed); when no such file exists the open dialog asks for one. False when
    // nothing was loaded, the text then stays as it was. An unreadable file raises TZelkError.
    bool LoadFile(const std::string& path);
    // Shows the window modally and returns once it has closed.
    void ShowModal();

    // The text as lines of Windows-1251 bytes: what a save writes and what a printout shows.
    std::vector<std::string> Lines() const;
    // The report component of the printout (log printout layout, dataset frUserDataset over the lines
    // as they were when the print or designer command started, variables "Файл" and "Строка").
    rep::TfrReport& PrintReport();
    // The file loaded or last saved.
    const std::string& FileName() const { return fileName_; }
    // The encoding that file was read in (shown in the status bar); a save writes it again unless the
    // judge agrees to Windows-1251.
    TTextEncoding Encoding() const { return encoding_; }
    // Set by every change of the text; cleared when a file is loaded or the text is saved.
    bool IsModified() const;

    // Finds `text` (letter case counts) after the current selection, or from the start of the text when
    // nothing is selected, and selects it. False when there is no further hit.
    bool FindNext(const QString& text);
    // Replaces the selection when it is a hit of `text` and goes on to the next hit; without a selected
    // hit it only finds the next one. True when something was replaced.
    bool ReplaceCurrent(const QString& text, const QString& replacement);
    // Replaces every hit of `text` in the whole text as one step of undo; returns their number.
    int ReplaceAll(const QString& text, const QString& replacement);

  signals:
    // The window has closed (the end of ShowModal).
    void Closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateActions();
    void CreateLayout();
    void CreateMenus();
    void CreatePopupMenu();
    void ApplyStoredSettings();
    void StoreSettings();

    // Asks about unsaved changes and saves on Yes; true when nothing unsaved is left or the judge said No.
    bool ChangesSettled();
    // The encoding a save writes: the one the file came in, or Windows-1251 when the judge agrees.
    TTextEncoding EncodingToSave() const;
    void SetLines(const std::vector<std::string>& lines);
    void ShowFileName(size_t lineCount);
    bool FindFrom(int position, const QString& text);
    // Colours or clears the text as the switch says and puts the caret at the start.
    void ApplySyntax();
    // A change of formats only: neither the modified flag nor, on an untouched text, the undo history
    // takes notice of it.
    template <class F> void Reformat(F&& change);

    // Commands.
    void actOpenExecute();
    bool actSaveExecute();
    void actShowSyntaxExecute();
    void actEncode866Execute();
    void actSelectFontExecute();
    void actFindExecute();
    void actFindAndReplaceExecute();
    void actPrintPreviewExecute();
    void actDesignExecute();

    QAction* actOpen;
    QAction* actSave;
    QAction* actPrintPreview;
    QAction* actDesign;
    QAction* actClose;
    QAction* actCut;
    QAction* actCopy;
    QAction* actPaste;
    QAction* actUndo;
    QAction* actSelectAll;
    QAction* actFind;
    QAction* actFindAndReplace;
    QAction* actSelectFont;
    QAction* actShowSyntax;
    QAction* actEncode866;
    QAction* actHelp;

    QPlainTextEdit* reView_;
    std::array<QLabel*, 3> statusPanels_{};
    QMenu* pmEditor_;
    QTimer* tmrSyntax_;
    TTextFindDialog* dlgFind_;
    TTextFindDialog* dlgReplace_;

    std::string fileName_;
    TTextEncoding encoding_ = TTextEncoding::Cp1251;
    size_t replaced_ = 0; // characters of the file that Windows-1251 lacks, read as '?'
    bool shown_ = false;
    // The printout's report component with its dataset over the editor lines; made on first use.
    std::unique_ptr<TEditFilePrint> print_;
};

// The main window's "edit" command: opens a new editor on `path` (empty when no log is selected) and,
// when it loads a file, shows it modally until it closes. False when nothing was loaded.
bool EditLogFile(const std::string& path, QWidget* owner);

} // namespace zelk::ui
