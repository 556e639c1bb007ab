// The layout file: writing and reading back every property, a hand-written file as the documentation shows
// it, files that keep the current layout (missing, malformed, faulty values), unsafe sizes made safe, and
// saving through a temporary file.
#include "ui_fixture.h"
#include "ui_test_main.h"

#include "logs/error.h"
#include "ui/report/fr_layout.h"
#include "ui/report/fr_report.h"
#include "ui/report/fr_report_impl.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zelk;
using namespace zelk::rep;

namespace {

// A layout that sets every property away from its default.
TfrLayout FullLayout() {
    TfrLayout layout;
    layout.Page = {297, 210, 15, 12.5, 8, 20};
    TfrBand title;
    title.Kind = TfrBandKind::ReportTitle;
    title.Height = 22.5;
    TfrTextObject caption;
    caption.Name = QStringLiteral("Заголовок");
    caption.Left = 5;
    caption.Top = 2.25;
    caption.Width = 180;
    caption.Height = 12;
    caption.Text = QStringLiteral("Турнирная таблица\n  вторая строка <&> \"кавычки\" 'и' [FOLDER]  ");
    caption.Style.FontName = QStringLiteral("DejaVu Serif");
    caption.Style.FontSize = 14.5;
    caption.Style.Bold = caption.Style.Italic = caption.Style.Underline = true;
    caption.Style.HAlign = TfrHAlign::Center;
    caption.Style.VAlign = TfrVAlign::Bottom;
    caption.Style.WordWrap = true;
    caption.Style.Frame = frLeft | frBottom;
    caption.Style.FrameWidth = 0.5;
    caption.Style.TextColor = QColor(0x12, 0x34, 0x56);
    caption.Style.FillColor = QColor(0xee, 0xee, 0xee);
    title.Objects = {caption};
    TfrBand data;
    data.Kind = TfrBandKind::MasterData;
    data.Height = 6;
    data.Dataset = QStringLiteral("frdsFilesList");
    TfrTextObject call;
    call.Name = QStringLiteral("Call");
    call.Text = QStringLiteral("[CALLSIGN]");
    call.Style.Frame = frAll;
    call.Style.HAlign = TfrHAlign::Right;
    call.Style.VAlign = TfrVAlign::Center;
    data.Objects = {call, call};
    data.Objects[1].Name = QStringLiteral("Call2");
    // Translucent colours: the file once kept only their red, green and blue.
    data.Objects[1].Style.TextColor = QColor(0, 0, 0, 0x80);
    data.Objects[1].Style.FillColor = QColor(0xf0, 0xf0, 0xf0, 0x40);
    TfrBand empty;
    empty.Kind = TfrBandKind::PageFooter;
    empty.Height = 0;
    layout.Bands = {title, data, empty};
    return layout;
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    return path;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ReportLayoutTest : public QObject {
    Q_OBJECT
  private slots:
    void EveryPropertySurvivesTheFile() {
        const TfrLayout layout = FullLayout();
        TfrLayout read;
        QString error;
        QVERIFY2(LayoutFromXml(LayoutToXml(layout), read, error), qPrintable(error));
        QCOMPARE(read, layout);

        // Through the report object and a file whose name is Cyrillic.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Турнир.frf"));
        TfrReport report;
        report.Impl().SetLayout(layout);
        report.SaveToFile(path);
        TfrReport other;
        QVERIFY(other.LoadFromFile(path));
        QCOMPARE(other.Impl().Layout(), layout);
        // The file is readable UTF-8 text.
        const QByteArray bytes = ReadFile(path);
        QVERIFY(bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
        QVERIFY(bytes.contains(QStringLiteral("Турнирная таблица").toUtf8()));
        QVERIFY(bytes.contains("dataset=\"frdsFilesList\""));
    }

    void HandWrittenFileReads() {
        // The example of docs/report-layout.md, with its defaults left out.
        const QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<reportLayout version="1">
  <page width="210" height="297" left="15" top="10" right="10" bottom="10"/>
  <band kind="reportTitle" height="14">
    <text name="Title" left="0" top="0" width="185" height="10" size="14" bold="true" align="center">Список присланных файлов</text>
  </band>
  <band kind="masterData" height="6" dataset="frdsFilesList">
    <text name="File" left="0" top="0" width="40" height="6" frame="all" valign="center">[FILE]</text>
    <text name="Score" left="40" top="0" width="20" height="6" frame="left top" align="right" fill="#ffeecc">[SCORE]</text>
    <comment>unknown elements are skipped</comment>
  </band>
  <future/>
</reportLayout>
)";
        TfrLayout layout;
        QString error;
        QVERIFY2(LayoutFromXml(xml, layout, error), qPrintable(error));
        QCOMPARE(layout.Page.LeftMargin, 15.0);
        QCOMPARE(static_cast<int>(layout.Bands.size()), 2);
        const TfrTextObject& title = layout.Bands[0].Objects[0];
        QCOMPARE(title.Text, QStringLiteral("Список присланных файлов"));
        QCOMPARE(title.Style.FontName, QStringLiteral("Arial"));
        QCOMPARE(title.Style.FontSize, 14.0);
        QVERIFY(title.Style.Bold);
        QCOMPARE(title.Style.HAlign, TfrHAlign::Center);
        const TfrBand& data = layout.Bands[1];
        QCOMPARE(data.Kind, TfrBandKind::MasterData);
        QCOMPARE(data.Dataset, QStringLiteral("frdsFilesList"));
        QCOMPARE(static_cast<int>(data.Objects.size()), 2);
        QCOMPARE(data.Objects[0].Style.Frame, static_cast<int>(frAll));
        QCOMPARE(data.Objects[0].Style.VAlign, TfrVAlign::Center);
        QCOMPARE(data.Objects[1].Style.Frame, frLeft | frTop);
        QCOMPARE(data.Objects[1].Style.FillColor, QColor(0xff, 0xee, 0xcc));
    }

    void UnusableFilesKeepTheCurrentLayout() {
        QTemporaryDir dir;
        const struct {
            const char* name;
            QByteArray bytes;
        } bad[] = {
            {"not xml", "this is not a layout"},
            {"other root", "<?xml version=\"1.0\"?><html/>"},
            {"broken xml", "<reportLayout><band kind=\"masterData\" height=\"5\"><text>x</band>"},
            {"unknown band", "<reportLayout><band kind=\"groupHeader\" height=\"5\"/></reportLayout>"},
            {"bad number", "<reportLayout><page width=\"wide\"/></reportLayout>"},
            {"bad flag",
             "<reportLayout><band kind=\"masterData\"><text bold=\"maybe\">x</text></band></reportLayout>"},
            {"bad frame", "<reportLayout><band kind=\"masterData\"><text frame=\"left "
                          "middle\">x</text></band></reportLayout>"},
            {"bad colour",
             "<reportLayout><band kind=\"masterData\"><text fill=\"#zz\">x</text></band></reportLayout>"},
        };
        TfrReport report;
        report.Impl().SetLayout(FullLayout());
        for (const auto& b : bad) {
            const QString path = WriteFile(dir, QStringLiteral("bad.frf"), b.bytes);
            QVERIFY2(!report.LoadFromFile(path), b.name);
            QVERIFY2(report.Impl().Layout() == FullLayout(), b.name);
            QVERIFY2(!report.Impl().LoadError().isEmpty(), b.name);
        }
        QVERIFY(!report.LoadFromFile(dir.filePath(QStringLiteral("missing.frf"))));
        QVERIFY(!report.LoadFromFile(QString()));
        QVERIFY(!report.LoadFromFile(dir.path())); // a folder
        QCOMPARE(report.Impl().Layout(), FullLayout());
        // A good file replaces the layout and clears the reason.
        QVERIFY(report.LoadFromFile(WriteFile(dir, QStringLiteral("good.frf"), "<reportLayout/>")));
        QCOMPARE(report.Impl().Layout(), TfrLayout());
        QVERIFY(report.Impl().LoadError().isEmpty());
    }

    void UnsafeSizesAreMadeSafe() {
        TfrLayout layout;
        layout.Page = {5, 99999, 80, 60000, 80, 60000};
        TfrBand band;
        band.Height = -4;
        TfrTextObject o;
        o.Width = -1;
        o.Height = 1e9;
        o.Style.FontSize = 0;
        o.Style.FrameWidth = -2;
        o.Style.Frame = 0x7f;
        band.Objects = {o};
        layout.Bands = {band};
        NormalizeLayout(layout);
        const TfrPageSetup& p = layout.Page;
        QCOMPARE(p.Width, kMinPageSide);
        QCOMPARE(p.Height, kMaxPageSide);
        QVERIFY(p.PrintWidth() > 0 && p.PrintHeight() > 0);
        QCOMPARE(p.LeftMargin, p.RightMargin);
        const TfrTextObject& n = layout.Bands[0].Objects[0];
        QCOMPARE(layout.Bands[0].Height, 0.0);
        QCOMPARE(n.Width, 0.0);
        QCOMPARE(n.Height, kMaxPageSide);
        QCOMPARE(n.Style.FontSize, 1.0);
        QCOMPARE(n.Style.FrameWidth, 0.0);
        QCOMPARE(n.Style.Frame, static_cast<int>(frAll));

        // Margins shrunk to fit a small page are kept as the file writes them, so that opening and saving
        // the layout again leaves it as it is.
        TfrLayout small;
        small.Page = {12, 297, 15, 10, 50, 10};
        NormalizeLayout(small);
        QVERIFY(small.Page.LeftMargin + small.Page.RightMargin <= small.Page.Width * 0.9);
        TfrLayout reopened;
        QString error;
        QVERIFY(LayoutFromXml(LayoutToXml(small), reopened, error));
        QCOMPARE(reopened, small);
    }

    void SavingReplacesOnlyOnSuccess() {
        QTemporaryDir dir;
        const QString path = WriteFile(dir, QStringLiteral("old.frf"), "old layout");
        TfrReport report;
        report.Impl().SetLayout(FullLayout());
        report.SaveToFile(path);
        QVERIFY(ReadFile(path).contains("reportLayout"));
        // A folder that does not exist: an error, and nothing is created.
        const QString nowhere = dir.filePath(QStringLiteral("no/such/folder/x.frf"));
        QVERIFY_THROWS_EXCEPTION(TZelkError, report.SaveToFile(nowhere));
        QVERIFY(!QFile::exists(nowhere));
        // No temporary files are left beside the layout.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.frf")});
    }

    void FileNameFollowsTheLayoutLoaded() {
        QTemporaryDir dir;
        TfrReport report;
        QVERIFY(report.FileName().isEmpty());
        // A missing layout keeps the name, so the designer can save a new layout there.
        report.SetFileName(dir.filePath(QStringLiteral("NoFile.frf")));
        QVERIFY(!report.LoadFromFile(dir.filePath(QStringLiteral("other.frf"))));
        QCOMPARE(report.FileName(), dir.filePath(QStringLiteral("NoFile.frf")));
        // A layout read becomes the one the designer saves to.
        const QString good = WriteFile(dir, QStringLiteral("good.frf"), "<reportLayout/>");
        QVERIFY(report.LoadFromFile(good));
        QCOMPARE(report.FileName(), good);
    }

    void NewObjectNamesAreFree() {
        TfrLayout layout = FullLayout();
        QCOMPARE(layout.NewObjectName(), QStringLiteral("Text1"));
        layout.Bands[1].Objects[0].Name = QStringLiteral("text1");
        layout.Bands[1].Objects[1].Name = QStringLiteral("Text2");
        QCOMPARE(layout.NewObjectName(), QStringLiteral("Text3"));
    }
};

ZELK_UI_TEST(ReportLayoutTest)
#include "report_layout_test.moc"
