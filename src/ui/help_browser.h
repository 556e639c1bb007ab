// THelpBrowser: the page pane of the help window. It reads pages, style sheets and images from the
// compiled help file through the help engine, so that links between pages work as in any browser, and
// puts a page of explanation in place of a page that the help file does not hold.
#pragma once

#include <QTextBrowser>
#include <QUrl>

class QHelpEngineCore;

namespace zelk::ui {

class THelpBrowser : public QTextBrowser {
    Q_OBJECT
  public:
    // `helpFile` is the path shown on the page of explanation.
    THelpBrowser(QHelpEngineCore* engine, const QString& helpFile, QWidget* parent);

    // The start page, linked from the page of explanation.
    void SetHomeUrl(const QUrl& url) { home_ = url; }
    // The address of the page of explanation for `page`, a page name the help file does not hold.
    static QUrl MissingPageUrl(const QString& page);
    static bool IsMissingPageUrl(const QUrl& url);

    QVariant loadResource(int type, const QUrl& name) override;

  private:
    QString StyleSheetLink() const;
    QString MissingPageHtml(const QString& page) const;

    QHelpEngineCore* engine_;
    QString helpFile_;
    QUrl home_;
};

} // namespace zelk::ui
