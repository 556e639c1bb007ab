// TScriptCompletion: the list "Список функций" of the script editor. It opens under the caret on
// Ctrl+Space, or a second after a "." is typed, shows the built-in functions whose names begin with the
// word being typed, follows further typing, and puts the chosen function's name in place of that word.
#pragma once

#include "script/zelk_script_engine.h"

#include <QFrame>

#include <vector>

class QLabel;
class QTimer;
class QTreeWidget;
class QsciScintilla;

namespace zelk::ui {

class TScriptCompletion : public QFrame {
    Q_OBJECT
  public:
    // A pop-up list for `editor`; it watches the editor's keys and typed characters.
    explicit TScriptCompletion(QsciScintilla* editor);

    // The entries in their order: a display text "function<TAB>IntToStr(<value>)" and the name inserted.
    void SetEntries(const std::vector<TCompletionEntry>& entries);
    // Opens the list at the caret, filtered by the word before the caret; does nothing when no entry fits.
    void Execute();
    // The names of the entries now offered, in order.
    QStringList Offered() const;
    // The name the judge would get with Enter, or empty text.
    QString Current() const;

    // How long after a "." the list opens by itself.
    static constexpr int kDelayMs = 1000;
    static constexpr int kVisibleRows = 10;
    static constexpr int kWidth = 300;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct TEntry {
        QString Kind, Signature, Insert;
    };
    bool HandleListKey(QKeyEvent* key);
    // Shows only the entries that begin with `prefix`; false when none does.
    bool Filter(const QString& prefix);
    void Accept();
    void PlaceAtCaret();
    QString Prefix() const;

    QsciScintilla* editor_;
    QLabel* title_;
    QTreeWidget* list_;
    QTimer* timer_;
    std::vector<TEntry> entries_;
};

} // namespace zelk::ui
