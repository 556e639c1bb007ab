// The program's help viewer: one help window for the run.
#include "ui/help_viewer.h"

#include "logs/text.h"
#include "settings/platform.h"
#include "ui/help_debug.h"
#include "ui/help_window.h"
#include "ui/qt_text.h"

namespace zelk::ui {

TZelkHelpViewer::TZelkHelpViewer()
    : previous_(
          SetHelpViewer([this](const std::string& file, const std::string& page) { Show(file, page); })) {}

TZelkHelpViewer::~TZelkHelpViewer() {
    SetHelpViewer(std::move(previous_));
}

void TZelkHelpViewer::Show(const std::string& helpFile, const std::string& page) {
    if (window_ && window_->HelpFile() != helpFile) window_.reset();
    if (!window_) window_ = std::make_unique<TfmHelp>(helpFile);
    if (!window_->OpenError().isEmpty()) {
        // The window is not kept, so that the next request tries the file again.
        const std::string reason = Cp(window_->OpenError());
        window_.reset();
        Messages().Error(FormatText("Не удалось открыть файл справки: %s"_cp, helpFile) + "\n" + reason, {});
        return;
    }
    window_->ShowPage(Qs(page));
    window_->Present();
}

} // namespace zelk::ui
