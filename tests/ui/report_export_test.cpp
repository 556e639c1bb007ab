// Exports of prepared pages checked by their content: the text picture, CSV with ";", the HTML table and
// pages, the XML spreadsheet, PDF and page images; and the prepared-report file.
#include "ui_test_main.h"

#include "logs/error.h"
#include "logs/text.h"
#include "ui/report/fr_export.h"
#include "ui/report/fr_prepare.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace zelk;
using namespace zelk::rep;

namespace {

TfrTextObject Text(const QString& text, double left, double width, TfrHAlign align = TfrHAlign::Left) {
    TfrTextObject o;
    o.Name = text;
    o.Left = left;
    o.Width = width;
    o.Text = text;
    o.Style.HAlign = align;
    return o;
}

TfrBand Band(TfrBandKind kind, std::vector<TfrTextObject> objects, const QString& dataset = {}) {
    TfrBand band;
    band.Kind = kind;
    band.Height = kind == TfrBandKind::ReportTitle ? 10 : 5;
    band.Dataset = dataset;
    band.Objects = std::move(objects);
    return band;
}

// Standings on pages 100 mm square: twelve rows fit on the first page.
struct Standings {
    TfrMemoryTable Table;
    TfrLayout Layout;

    explicit Standings(std::vector<std::tuple<const char*, const char*, int>> rows) {
        Table.AddField({"CALL", TfrMemoryTable::TFieldKind::String, 20});
        Table.AddField({"NAME", TfrMemoryTable::TFieldKind::String, 40});
        Table.AddField({"SCORE", TfrMemoryTable::TFieldKind::Integer, 0});
        Table.Open();
        for (const auto& [call, name, score] : rows)
            Table.Append({ScriptValue::Text(FromUtf8(call)), ScriptValue::Text(FromUtf8(name)),
                          ScriptValue::Integer(score)});
        Layout.Page = {100, 100, 10, 10, 10, 10};
        Layout.Bands = {
            Band(TfrBandKind::ReportTitle,
                 {Text(QStringLiteral("Турнирная таблица"), 0, 80, TfrHAlign::Center)}),
            Band(TfrBandKind::PageHeader,
                 {Text(QStringLiteral("Позывной"), 0, 30), Text(QStringLiteral("Имя"), 50, 30),
                  Text(QStringLiteral("Очки"), 30, 20, TfrHAlign::Right)}),
            Band(TfrBandKind::MasterData,
                 {Text(QStringLiteral("[CALL]"), 0, 30),
                  Text(QStringLiteral("[SCORE]"), 30, 20, TfrHAlign::Right),
                  Text(QStringLiteral("[NAME]"), 50, 30)},
                 QStringLiteral("mt")),
            Band(TfrBandKind::ReportSummary, {Text(QStringLiteral("Итого: [LINE]"), 0, 40)}),
            Band(TfrBandKind::PageFooter, {Text(QStringLiteral("Стр. [PAGE]"), 0, 30)}),
        };
    }
    TfrPreparedReport Prepare() {
        TfrDataSources sources;
        sources.Set("mt", &Table);
        return PrepareReport(Layout, sources);
    }
};

std::vector<std::tuple<const char*, const char*, int>> ManyRows(int n) {
    std::vector<std::tuple<const char*, const char*, int>> rows;
    for (int i = 0; i < n; ++i)
        rows.emplace_back("UA1A", "Иван", i);
    return rows;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The lines of a CR LF text, the empty piece after the last line end included.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    for (std::size_t end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
        lines.push_back(text.substr(pos, end - pos));
    lines.push_back(text.substr(pos));
    return lines;
}

int NonWhitePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != Qt::white) ++count;
    return count;
}

} // namespace

class ReportExportTest : public QObject {
    Q_OBJECT
  private slots:
    void TextPutsItemsInTheirColumns() {
        Standings s({{"UA1A", "Иван", 120}, {"RK3X", "Пётр Сидоров", 5}});
        // 2 mm a column: the score box (30..50 mm) is columns 15..24, right-aligned; the name starts at 25.
        const std::string expected = FromUtf8("           Турнирная таблица\r\n"
                                              "Позывной             Очки Имя\r\n"
                                              "UA1A                  120 Иван\r\n"
                                              "RK3X                    5 Пётр Сидоров\r\n"
                                              "Итого: 2\r\n"
                                              "Стр. 1\r\n");
        QCOMPARE(ExportText(s.Prepare()), expected);
    }

    void TextNeverOverwritesAndSeparatesPages() {
        Standings s(ManyRows(14));
        // A name longer than its box pushes the next item right instead of being overwritten.
        s.Layout.Bands[2].Objects[0].Text = QStringLiteral("[CALL] very long text here");
        const std::string text = ExportText(s.Prepare());
        QVERIFY(text.find("UA1A very long text here 0 ") != std::string::npos);
        // Two pages: one form feed between them, each with its own header and footer.
        QCOMPARE(std::count(text.begin(), text.end(), '\f'), 1L);
        QVERIFY(text.find(FromUtf8("Стр. 1\r\n\f\r\nПозывной")) != std::string::npos);
        QVERIFY(text.find(FromUtf8("Стр. 2\r\n")) != std::string::npos);
    }

    void TableExportsHoldEachBandOnce() {
        auto rows = ManyRows(14);
        rows[0] = {"RK3;X", "Клуб \"Эфир\"", 7};
        rows[1] = {"R1A", "007", 12};
        Standings s(rows);
        const TfrPreparedReport report = s.Prepare();
        QCOMPARE(report.PageCount(), 2);

        // Title, the first page's header, 14 rows, the summary; no footers, no second header.
        const std::string csv = ExportCsv(report);
        const std::vector<std::string> lines = Lines(csv);
        QCOMPARE(static_cast<int>(lines.size()), 18); // and an empty piece after the last CR LF
        QCOMPARE(lines[0], FromUtf8("Турнирная таблица"));
        QCOMPARE(lines[1], FromUtf8("Позывной;Очки;Имя"));
        QCOMPARE(lines[2], FromUtf8("\"RK3;X\";7;\"Клуб \"\"Эфир\"\"\""));
        QCOMPARE(lines[3], FromUtf8("R1A;12;007"));
        QCOMPARE(lines[16], FromUtf8("Итого: 14"));
        QCOMPARE(lines[17], std::string());
        QVERIFY(csv.find(FromUtf8("Стр.")) == std::string::npos);

        const QString table = QString::fromUtf8(ExportHtmlTable(report));
        QVERIFY(table.contains(QStringLiteral("<meta charset=\"utf-8\">")));
        QVERIFY(table.contains(QStringLiteral("<tr><th>Позывной</th><th>Очки</th><th>Имя</th></tr>")));
        QVERIFY(table.contains(
            QStringLiteral("<tr><td>RK3;X</td><td>7</td><td>Клуб &quot;Эфир&quot;</td></tr>")));
        QCOMPARE(table.count(QStringLiteral("<tr>")), 17);

        // The spreadsheet: the same rows; numbers as numbers, "007" kept as text, headings bold.
        QXmlStreamReader xml(ExportSpreadsheet(report));
        std::vector<QStringList> sheet;
        QStringList styled;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement()) continue;
            if (xml.name() == u"Row") sheet.emplace_back();
            if (xml.name() == u"Cell" && xml.attributes().hasAttribute(QStringLiteral("ss:StyleID")))
                styled << xml.attributes().value(QStringLiteral("ss:StyleID")).toString();
            if (xml.name() == u"Data") {
                const QString type = xml.attributes().value(QStringLiteral("ss:Type")).toString();
                sheet.back() << type.left(1) + u':' + xml.readElementText();
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(static_cast<int>(sheet.size()), 17);
        QCOMPARE(sheet[1], (QStringList{QStringLiteral("S:Позывной"), QStringLiteral("S:Очки"),
                                        QStringLiteral("S:Имя")}));
        QCOMPARE(sheet[2], (QStringList{QStringLiteral("S:RK3;X"), QStringLiteral("N:7"),
                                        QStringLiteral("S:Клуб \"Эфир\"")}));
        QCOMPARE(sheet[3],
                 (QStringList{QStringLiteral("S:R1A"), QStringLiteral("N:12"), QStringLiteral("S:007")}));
        QCOMPARE(styled.size(), 5); // title, three headings, summary
    }

    void HtmlPagesShowEveryItemInPlace() {
        Standings s({{"UA<1>", "A & B", 1}});
        s.Layout.Bands[2].Objects[0].Style.Frame = frAll;
        s.Layout.Bands[2].Objects[0].Style.Bold = true;
        const QString html = QString::fromUtf8(ExportHtml(s.Prepare()));
        QCOMPARE(html.count(QStringLiteral("class=\"page\"")), 1);
        QVERIFY(html.contains(QStringLiteral("width:100.00mm;height:100.00mm")));
        QVERIFY(html.contains(QStringLiteral("<div>UA&lt;1&gt;</div>")));
        QVERIFY(html.contains(QStringLiteral("<div>A &amp; B</div>")));
        QVERIFY(html.contains(QStringLiteral("left:10.00mm;top:25.00mm;width:30.00mm;height:5.00mm;")));
        QVERIFY(html.contains(QStringLiteral("font-weight:bold;")));
        QVERIFY(html.contains(QStringLiteral("border-left:0.20mm solid #000;")));
        QVERIFY(html.contains(QStringLiteral("text-align:center;")));
    }

    void FilesAreWrittenForEveryFormat() {
        QTemporaryDir dir;
        Standings s(ManyRows(14));
        const TfrPreparedReport report = s.Prepare();
        auto path = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };

        ExportToFile(report, TfrExportFormat::Pdf, path("r.pdf"));
        const QByteArray pdf = ReadFile(path("r.pdf"));
        QVERIFY(pdf.startsWith("%PDF-"));
        QVERIFY(pdf.trimmed().endsWith("%%EOF"));
        QVERIFY(pdf.size() > 2000);

        ExportToFile(report, TfrExportFormat::Png, path("r.png"));
        QVERIFY(!QFile::exists(path("r.png")));
        for (const char* page : {"r_1.png", "r_2.png"}) {
            const QImage image(path(page));
            QVERIFY2(!image.isNull(), page);
            QCOMPARE(image.size(), QSize(591, 591)); // 100 mm at 150 dots an inch
            QVERIFY2(NonWhitePixels(image) > 500, page);
        }
        TfrPreparedReport one = report;
        one.Pages.resize(1);
        ExportToFile(one, TfrExportFormat::Jpeg, path("one.jpg"));
        QVERIFY(!QImage(path("one.jpg")).isNull());

        ExportToFile(report, TfrExportFormat::Text, path("r.txt"));
        QCOMPARE(ReadFile(path("r.txt")).toStdString(), ExportText(report));
        ExportToFile(report, TfrExportFormat::Csv, path("r.csv"));
        QCOMPARE(ReadFile(path("r.csv")).toStdString(), ExportCsv(report));
        for (TfrExportFormat f :
             {TfrExportFormat::Html, TfrExportFormat::HtmlTable, TfrExportFormat::Spreadsheet}) {
            const QString file = path("r.") + ExportFormatInfo(f).Extension;
            ExportToFile(report, f, file);
            QVERIFY(ReadFile(file).startsWith("<"));
        }

        // A folder that does not exist: an error naming the file, and no file.
        try {
            ExportToFile(report, TfrExportFormat::Csv, path("none/r.csv"));
            QFAIL("no error");
        } catch (const TZelkError& e) {
            QVERIFY(QString::fromStdString(ToUtf8(e.what())).contains(QStringLiteral("none/r.csv")));
        }
    }

    void ImageNamesNumberThePages() {
        QCOMPARE(PageImagePaths(QStringLiteral("/a/b.png"), 1),
                 std::vector<QString>{QStringLiteral("/a/b.png")});
        QCOMPARE(PageImagePaths(QStringLiteral("/a/b.c.png"), 2),
                 (std::vector<QString>{QStringLiteral("/a/b.c_1.png"), QStringLiteral("/a/b.c_2.png")}));
        QCOMPARE(PageImagePaths(QStringLiteral("/a/b"), 2),
                 (std::vector<QString>{QStringLiteral("/a/b_1"), QStringLiteral("/a/b_2")}));
    }

    void PreparedReportFileKeepsEverything() {
        Standings s(ManyRows(14));
        s.Layout.Bands[0].Objects[0].Style.FillColor = QColor(200, 220, 240);
        s.Layout.Bands[0].Objects[0].Text = QStringLiteral("Две\nстроки <&>");
        const TfrPreparedReport report = s.Prepare();
        TfrPreparedReport read;
        QString error;
        QVERIFY2(PreparedFromXml(PreparedToXml(report), read, error), qPrintable(error));
        QCOMPARE(read, report);

        for (const QByteArray& bad :
             {QByteArray("nonsense"), QByteArray("<reportLayout/>"),
              QByteArray("<preparedReport><page width=\"1\" height=\"1\"/></preparedReport>"),
              QByteArray("<preparedReport><page><band kind=\"x\"/></page></preparedReport>"),
              // A source beyond any object number was converted with undefined behaviour.
              QByteArray("<preparedReport><page><band kind=\"masterData\"><item source=\"1e300\"/></band>"
                         "</page></preparedReport>"),
              QByteArray("<preparedReport><page><band kind=\"masterData\"><item source=\"2.5\"/></band>"
                         "</page></preparedReport>")}) {
            QVERIFY2(!PreparedFromXml(bad, read, error), bad.constData());
            QCOMPARE(read, report);
        }
    }
};

ZELK_UI_TEST(ReportExportTest)
#include "report_export_test.moc"
