// TfmHelp: the help window. It opens one compiled help file in a help collection of its own and shows its
// pages, with the contents and the index beside them and the Back, Forward and Start commands.
#pragma once

#include <QMainWindow>
#include <QMap>
#include <QTemporaryDir>
#include <QUrl>

#include <string>

class QAction;
class QHelpEngine;
class QLineEdit;
class QTabWidget;

namespace zelk::ui {

class THelpBrowser;

class TfmHelp : public QMainWindow {
    Q_OBJECT
  public:
    // Opens `helpFile` (a path text of the program); OpenError tells whether that worked.
    explicit TfmHelp(const std::string& helpFile, QWidget* parent = nullptr);
    ~TfmHelp() override;

    const std::string& HelpFile() const { return helpFile_; }
    // Why the help file could not be opened, or empty text when it was.
    const QString& OpenError() const { return openError_; }
    // The address of the page named `page` ("about.htm"), or an empty address when the file has none.
    // Page names are matched exactly first, then without regard to letter case.
    QUrl PageUrl(const QString& page) const;
    // Shows the page; for a page the file does not hold, a page that says so. False in that case.
    bool ShowPage(const QString& page);
    // Brings the window to the front. Over a modal dialog the window becomes modal itself, because the
    // dialog would otherwise block it; over the main window it is an ordinary window again.
    void Present();

  private:
    void Open();
    void CreateActions();
    void CreateLayout();
    QWidget* CreateIndexPage();
    void PageChanged(const QUrl& url);
    void SelectInContents(const QUrl& url);
    void Follow(const QUrl& url, const std::string& how);

    std::string helpFile_;
    QString openError_;
    QTemporaryDir collectionDir_;
    QHelpEngine* engine_ = nullptr;
    QMap<QString, QUrl> pages_;
    QUrl home_;

    THelpBrowser* brPage_ = nullptr;
    QTabWidget* tcNavigation_ = nullptr;
    QLineEdit* edIndex_ = nullptr;
    QAction* actBack_ = nullptr;
    QAction* actForward_ = nullptr;
    QAction* actHome_ = nullptr;
    QAction* actZoomIn_ = nullptr;
    QAction* actZoomOut_ = nullptr;
    QAction* actClose_ = nullptr;
};

} // namespace zelk::ui
