// The way from a script link of the settings dialog to the script editor.
#include "ui/options_dialog.h"

#include "ui/script_editor.h"

namespace zelk::ui {
namespace {

// The script editor, modal, destroyed when it closes.
void OpenScriptEditorWindow(TZelkScriptItem& item, QWidget* parent) {
    TfmScriptEditor editor(item, parent);
    editor.exec();
}

TScriptEditorOpener& Opener() {
    static TScriptEditorOpener opener;
    return opener;
}

} // namespace

void OpenScriptEditor(TZelkScriptItem& item, QWidget* parent) {
    if (Opener())
        Opener()(item, parent);
    else
        OpenScriptEditorWindow(item, parent);
}

TScriptEditorOpener SetScriptEditorOpener(TScriptEditorOpener opener) {
    TScriptEditorOpener previous = std::move(Opener());
    Opener() = std::move(opener);
    return previous;
}

} // namespace zelk::ui
