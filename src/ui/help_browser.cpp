// The help window's page pane: pages come from the compiled help file.
#include "ui/help_browser.h"

#include <QHelpEngineCore>
#include <QTextDocument>

namespace zelk::ui {
namespace {

const QString kHelpScheme = QStringLiteral("qthelp");
const QString kMissingScheme = QStringLiteral("zelkon-missing");

} // namespace

THelpBrowser::THelpBrowser(QHelpEngineCore* engine, const QString& helpFile, QWidget* parent)
    : QTextBrowser(parent), engine_(engine), helpFile_(helpFile) {
    // Pages link only to each other; anything else is not followed out of the help window.
    setOpenExternalLinks(false);
}

QUrl THelpBrowser::MissingPageUrl(const QString& page) {
    QUrl url;
    url.setScheme(kMissingScheme);
    url.setPath(page);
    return url;
}

bool THelpBrowser::IsMissingPageUrl(const QUrl& url) {
    return url.scheme() == kMissingScheme;
}

QVariant THelpBrowser::loadResource(int type, const QUrl& name) {
    if (IsMissingPageUrl(name)) return MissingPageHtml(name.path());
    if (!engine_ || name.scheme() != kHelpScheme) return QTextBrowser::loadResource(type, name);
    const QByteArray data = engine_->fileData(name);
    switch (type) {
    case QTextDocument::UnknownResource:
    case QTextDocument::HtmlResource:
        return data.isEmpty() ? QVariant(MissingPageHtml(name.fileName()))
                              : QVariant(QString::fromUtf8(data));
    case QTextDocument::StyleSheetResource:
        return QString::fromUtf8(data);
    default:
        return data;
    }
}

// The explanation takes the style sheet of the pages around it, which stands beside the start page.
QString THelpBrowser::StyleSheetLink() const {
    if (!home_.isValid()) return {};
    const QUrl sheet = home_.resolved(QUrl(QStringLiteral("zelkon.css")));
    return QStringLiteral("<link rel=\"stylesheet\" type=\"text/css\" href=\"%1\">")
        .arg(sheet.toString().toHtmlEscaped());
}

QString THelpBrowser::MissingPageHtml(const QString& page) const {
    QString html = QStringLiteral("<html><head><title>Раздел справки не найден</title>%3</head><body>"
                                  "<h1>Раздел справки не найден</h1>"
                                  "<p>В файле справки <b>%1</b> нет страницы <b>%2</b>.</p>"
                                  "<p>Выберите нужный раздел в содержании или в указателе слева")
                       .arg(helpFile_.toHtmlEscaped(), page.toHtmlEscaped(), StyleSheetLink());
    if (home_.isValid())
        html += QStringLiteral(" либо откройте <a href=\"%1\">начальную страницу справки</a>")
                    .arg(home_.toString().toHtmlEscaped());
    return html + QStringLiteral(".</p></body></html>");
}

} // namespace zelk::ui
