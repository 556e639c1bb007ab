// The question both editors ask before a save replaces a file that exists.
#pragma once

#include <string>

class QWidget;

namespace zelk::ui {

// "Заменить существующий файл <file>" under "Подтвердите" with Yes, No and Cancel; true only for Yes.
bool AskReplaceFile(QWidget* parent, const std::string& file);

} // namespace zelk::ui
