// TZelkHelpViewer: the program's help viewer. While it exists, ShowHelpTopic shows pages in the help
// window, which is created at the first request and then reused; a request for another help file than
// the window's makes a new window.
#pragma once

#include "ui/help_topic.h"

#include <memory>
#include <string>

namespace zelk::ui {

class TfmHelp;

class TZelkHelpViewer {
  public:
    // Installs itself as the help viewer; the previous viewer comes back when it is destroyed.
    TZelkHelpViewer();
    ~TZelkHelpViewer();
    TZelkHelpViewer(const TZelkHelpViewer&) = delete;
    TZelkHelpViewer& operator=(const TZelkHelpViewer&) = delete;

    // Shows `page` of `helpFile` in the help window; a file that cannot be opened gives an error box.
    void Show(const std::string& helpFile, const std::string& page);
    // The help window, or nullptr before the first page was shown.
    TfmHelp* Window() const { return window_.get(); }

  private:
    std::unique_ptr<TfmHelp> window_;
    THelpViewer previous_;
};

} // namespace zelk::ui
