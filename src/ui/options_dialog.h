// TfmOptions: the settings dialog - the masks of the log and report files and the automatic check, the
// judging tolerances, and links that open the six judging scripts in the script editor.
#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QTabWidget;

namespace zelk {
class TZelkScriptItem;
}

namespace zelk::ui {

class TfmOptions : public QDialog {
    Q_OBJECT
  public:
    // The pages the main window can ask for.
    enum TPage : int { pgFiles = 1, pgQSO = 2 };

    // Fills the controls from the settings and shows page `page` (pgFiles for any other value).
    explicit TfmOptions(int page, QWidget* parent = nullptr);

    // "ОК": the settings take the controls' values and are saved; the dialog closes with OK even when a
    // settings file could not be written (the error box has said so and the values are in force). A QSO
    // line template the program cannot read is refused with an error box saying why; the dialog stays
    // open on the QSO page and nothing is taken.
    void accept() override;

    // The mask stored for the text of a mask box: trimmed; an entry "Name (masks)" gives the masks in
    // its parentheses, any other text is cut before its first "-".
    static std::string MaskFromText(const std::string& text);

  private:
    QWidget* CreateFilesPage();
    QWidget* CreateQSOPage();
    QWidget* CreateStandingsGroup(QWidget* page);
    QWidget* CreateScriptsPage();
    void FillControls();

    QTabWidget* pages_;
    QComboBox* edQFilesMask_;
    QComboBox* edUBNExt_;
    QCheckBox* cbAutoCalcQSO_;
    QCheckBox* cbFindLogByCallSign_;
    QCheckBox* cbQSOSplitTabs_;
    QLineEdit* edQSOTemplate_;
    QSpinBox* edMaxMinutesDifference_;
    QSpinBox* edNoFileMinMentionCount_;
    QCheckBox* cbNoFileIncludeResults_;
    QLineEdit* edLCRExt_;
    QLineEdit* edCategoryTags_;
    QCheckBox* cbTieBreakByAccuracy_;
};

// Opens the settings dialog modally on `page`; true when it was closed with "ОК".
bool ShowOptions(int page, QWidget* parent);

// How a script link opens the script editor: given the script item, shows the editor modally and
// destroys it when it closes.
using TScriptEditorOpener = std::function<void(TZelkScriptItem& item, QWidget* parent)>;
// Opens the script editor on `item` through the installed opener.
void OpenScriptEditor(TZelkScriptItem& item, QWidget* parent);
// Installs `opener` (the tests) and returns the previous one; an empty function restores the editor.
TScriptEditorOpener SetScriptEditorOpener(TScriptEditorOpener opener);

} // namespace zelk::ui
