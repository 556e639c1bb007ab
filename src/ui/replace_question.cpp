// The replace question of the log and script editors.
#include "ui/replace_question.h"

#include "logs/text.h"
#include "settings/platform.h"
#include "ui/qt_text.h"

#include <QMessageBox>

namespace zelk::ui {

bool AskReplaceFile(QWidget* parent, const std::string& file) {
    QMessageBox box(QMessageBox::Question, Qs(kAskCaption),
                    Qs(FormatText("Заменить существующий файл %s"_cp, file)),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

} // namespace zelk::ui
