// The preview window (pages, zoom, find, print, save and load, export) and the designer (bands, objects,
// properties, dragging, live preview, saving and closing), driven as the judge drives them.
#include "ui_fixture.h"
#include "ui_test_main.h"

#include "logs/error.h"
#include "logs/text.h"
#include "ui/report/fr_designer.h"
#include "ui/report/fr_page_view.h"
#include "ui/report/fr_preview.h"
#include "ui/report/fr_report.h"
#include "ui/report/fr_report_impl.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace zelk;
using namespace zelk::rep;
using zelk::test::TestSettings;

namespace {

// The program's side of a report: rows of callsigns behind a user dataset and the variable callback.
struct Program {
    std::vector<std::string> Calls;
    int Cursor = 0;
    TfrUserDataset Dataset;
    TfrReport Report;

    explicit Program(int rows) {
        for (int i = 1; i <= rows; ++i)
            Calls.push_back("R" + std::to_string(i));
        Dataset.OnFirst = [this] { Cursor = 0; };
        Dataset.OnNext = [this] { ++Cursor; };
        Dataset.OnEof = [this] { return Cursor >= static_cast<int>(Calls.size()); };
        Report.SetDataset("frdsRows", &Dataset);
        Report.SetVariableCallback([this](const std::string& name, ScriptValue& value) {
            if (UpperCase(name) != "CALL" || Cursor >= static_cast<int>(Calls.size())) return false;
            value = ScriptValue::Text(Calls[Cursor]);
            return true;
        });
        // Pages 100 mm high: twelve rows on the first page, fourteen on the next ones.
        TfrLayout layout;
        layout.Page = {100, 100, 10, 10, 10, 10};
        TfrBand header;
        header.Kind = TfrBandKind::PageHeader;
        header.Height = 5;
        header.Objects = {Object(QStringLiteral("Позывной"))};
        TfrBand data;
        data.Dataset = QStringLiteral("frdsRows");
        data.Height = 5;
        data.Objects = {Object(QStringLiteral("[Call]"))};
        TfrBand footer;
        footer.Kind = TfrBandKind::PageFooter;
        footer.Height = 5;
        footer.Objects = {Object(QStringLiteral("Стр. [PAGE] из [TOTALPAGES]"))};
        layout.Bands = {header, data, footer};
        Report.Impl().SetLayout(layout);
    }
    static TfrTextObject Object(const QString& text) {
        TfrTextObject o;
        o.Name = QStringLiteral("T");
        o.Width = 50;
        o.Text = text;
        return o;
    }
    TfrPreparedReport Prepared() {
        Report.Prepare();
        return Report.Impl().Prepared();
    }
};

template <class T> T* Child(QWidget* w, const char* name) {
    T* child = w->findChild<T*>(QString::fromLatin1(name));
    if (!child) qWarning("no child %s", name);
    return child;
}

QAction* Act(QWidget* w, const char* name) {
    return Child<QAction>(w, name);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ReportWindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void PreviewTurnsPagesAndZooms() {
        Program program(40); // 12 + 14 + 14 rows: three pages
        TfrPreviewForm preview(program.Prepared());
        preview.show();
        QCOMPARE(preview.Report().PageCount(), 3);
        auto* status = Child<QLabel>(&preview, "lbStatus");
        auto* page = Child<QSpinBox>(&preview, "edPage");
        auto* view = Child<TfrPageView>(&preview, "pvPage");
        QCOMPARE(preview.PageIndex(), 0);
        QVERIFY(!Act(&preview, "actPriorPage")->isEnabled());
        QVERIFY(status->text().contains(QStringLiteral("Страница 1 из 3")));
        QCOMPARE(view->Page(), &preview.Report().Pages[0]);

        struct Step {
            const char* action;
            int page;
        };
        for (const Step& s : {Step{"actNextPage", 1}, Step{"actNextPage", 2}, Step{"actNextPage", 2},
                              Step{"actPriorPage", 1}, Step{"actFirstPage", 0}, Step{"actLastPage", 2}}) {
            Act(&preview, s.action)->trigger();
            QVERIFY2(preview.PageIndex() == s.page, s.action);
            QCOMPARE(page->value(), s.page + 1);
            QCOMPARE(view->Page(), &preview.Report().Pages[s.page]);
        }
        QVERIFY(!Act(&preview, "actNextPage")->isEnabled());
        QVERIFY(status->text().contains(QStringLiteral("Страница 3 из 3")));
        page->setValue(2);
        QCOMPARE(preview.PageIndex(), 1);
        preview.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&preview));
        QTest::keyClick(&preview, Qt::Key_PageDown);
        QCOMPARE(preview.PageIndex(), 2);

        auto* zoom = Child<QComboBox>(&preview, "cbZoom");
        preview.SetZoom(1.0);
        QCOMPARE(zoom->currentText(), QStringLiteral("100%"));
        const int width100 = view->width();
        Act(&preview, "actZoomIn")->trigger();
        QCOMPARE(preview.Zoom(), 1.25);
        QCOMPARE(zoom->currentText(), QStringLiteral("125%"));
        QVERIFY(view->width() > width100);
        Act(&preview, "actZoomOut")->trigger();
        Act(&preview, "actZoomOut")->trigger();
        QCOMPARE(preview.Zoom(), 0.8);
        QVERIFY(view->width() < width100);
        // A zoom chosen from the list, and a zoom typed in.
        zoom->setCurrentIndex(4);
        emit zoom->activated(4);
        QCOMPARE(preview.Zoom(), 2.0);
        zoom->setEditText(QStringLiteral("60 %"));
        emit zoom->lineEdit()->editingFinished();
        QCOMPARE(preview.Zoom(), 0.6);
        // The whole page fits the view; the page width fills it.
        auto* area = Child<QScrollArea>(&preview, "saPage");
        preview.SetFit(TfrPreviewForm::TFit::WholePage);
        QVERIFY(view->height() <= area->viewport()->height());
        QCOMPARE(zoom->currentIndex(), 6);
        preview.SetFit(TfrPreviewForm::TFit::PageWidth);
        QVERIFY(view->width() <= area->viewport()->width());
        QVERIFY(view->width() > area->viewport()->width() - 40);
    }

    void PreviewFindsTextAcrossPages() {
        TestSettings settings;
        Program program(40);
        TfrPreviewForm preview(program.Prepared());
        preview.show();
        auto* view = Child<TfrPageView>(&preview, "pvPage");
        QVERIFY(preview.Find(QStringLiteral("r30"), true));
        QCOMPARE(preview.PageIndex(), 2);
        QVERIFY(view->Highlight() && view->Highlight()->Text == QStringLiteral("R30"));
        // "Стр." stands on every page: each next search goes one page on, then none is left.
        QVERIFY(preview.Find(QStringLiteral("стр."), true));
        QCOMPARE(preview.PageIndex(), 0);
        QVERIFY(preview.Find(QStringLiteral("стр."), false));
        QCOMPARE(preview.PageIndex(), 1);
        QVERIFY(preview.Find(QStringLiteral("стр."), false));
        QCOMPARE(preview.PageIndex(), 2);
        QVERIFY(!preview.Find(QStringLiteral("стр."), false));
        QVERIFY(!view->Highlight());

        // Through the find command: the text asked for, then F3 for the next one.
        bool asked = false;
        test::OnNextModal(
            [](QWidget* modal) {
                auto* dialog = qobject_cast<QInputDialog*>(modal);
                if (!dialog) return false;
                dialog->setTextValue(QStringLiteral("R2"));
                dialog->accept();
                return true;
            },
            &asked);
        Act(&preview, "actFind")->trigger();
        QVERIFY(asked);
        QCOMPARE(view->Highlight()->Text, QStringLiteral("R2"));
        Act(&preview, "actFindNext")->trigger();
        QCOMPARE(view->Highlight()->Text, QStringLiteral("R20"));
        QVERIFY(settings.Boxes.Boxes.empty());
        test::OnNextModal([](QWidget* modal) {
            auto* dialog = qobject_cast<QInputDialog*>(modal);
            if (dialog) dialog->setTextValue(QStringLiteral("UA9")), dialog->accept();
            return dialog != nullptr;
        });
        Act(&preview, "actFind")->trigger();
        QCOMPARE(settings.Boxes.Boxes.size(), 1u);
        QCOMPARE(settings.Boxes.Boxes[0].Text, std::string("Текст \"UA9\" не найден"));
    }

    void PreviewPrintsThePagesAsked() {
        QTemporaryDir dir;
        Program program(40);
        TfrPreviewForm preview(program.Prepared());
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("two.pdf")));
        printer.setFromTo(2, 3);
        preview.PrintTo(printer);
        const QByteArray pdf = ReadFile(dir.filePath(QStringLiteral("two.pdf")));
        QVERIFY(pdf.startsWith("%PDF-"));
        QCOMPARE(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r"), 2);

        // The print command asks the system's print dialog; cancelled, nothing is printed.
        bool asked = false;
        test::OnNextModal(
            [](QWidget* modal) {
                auto* dialog = qobject_cast<QPrintDialog*>(modal);
                if (dialog) dialog->reject();
                return dialog != nullptr;
            },
            &asked);
        Act(&preview, "actPrint")->trigger();
        QVERIFY(asked);
    }

    void PreviewSavesLoadsAndExports() {
        TestSettings settings;
        QTemporaryDir dir;
        Program program(20);
        TfrPreviewForm preview(program.Prepared());
        const QString saved = dir.filePath(QStringLiteral("отчёт.zrp"));
        preview.SavePrepared(saved);

        Program other(1);
        TfrPreviewForm loaded(other.Prepared());
        loaded.LoadPrepared(saved);
        QCOMPARE(loaded.Report(), preview.Report());
        QCOMPARE(loaded.PageIndex(), 0);
        const QString bad = dir.filePath(QStringLiteral("bad.zrp"));
        QFile(bad).open(QIODevice::WriteOnly);
        QVERIFY_THROWS_EXCEPTION(TZelkError, loaded.LoadPrepared(bad));
        QVERIFY_THROWS_EXCEPTION(TZelkError, loaded.LoadPrepared(dir.filePath(QStringLiteral("none.zrp"))));
        QCOMPARE(loaded.Report(), preview.Report());

        // The export command: the format follows the filter chosen, the extension is added.
        test::OnNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog) return false;
            const QStringList filters = dialog->nameFilters();
            const auto csv = std::find_if(filters.begin(), filters.end(), [](const QString& f) {
                return f.contains(QStringLiteral("*.csv"));
            });
            dialog->selectNameFilter(*csv);
            // On a busy machine the dialog is active, its name field focused, before we get here;
            // the name typed must reach the file either way.
            QApplication::setActiveWindow(dialog);
            if (auto* name = dialog->findChild<QWidget*>(QStringLiteral("fileNameEdit"))) name->setFocus();
            test::TypeFileName(dialog, dir.filePath(QStringLiteral("list")));
            static_cast<QDialog*>(dialog)->accept();
            return true;
        });
        Act(&preview, "actExport")->trigger();
        QVERIFY(settings.Boxes.Boxes.empty());
        const QByteArray csv = ReadFile(dir.filePath(QStringLiteral("list.csv")));
        QVERIFY(csv.startsWith(FromUtf8("Позывной\r\nR1\r\nR2\r\n").c_str()));
    }

    void ShowPreviewPreparesAndCloses() {
        Program program(5);
        TfrPreviewForm* seen = nullptr;
        int pages = 0;
        test::OnNextModal([&](QWidget* modal) {
            seen = qobject_cast<TfrPreviewForm*>(modal);
            if (!seen) return false;
            pages = seen->Report().PageCount();
            Act(seen, "actClose")->trigger();
            return true;
        });
        program.Report.ShowPreview(nullptr);
        QVERIFY(seen);
        QCOMPARE(pages, 1);
        QCOMPARE(program.Report.Impl().Prepared().Pages[0].Bands.size(), 7u); // header, 5 rows, footer
    }

    // A preview of a layout read from a file names its print job and proposed files after the layout.
    void ShowPreviewNamesTheDocumentAfterItsLayout() {
        QTemporaryDir dir;
        Program program(2);
        QString unnamed, named;
        const auto take = [](QString& name) {
            test::OnNextModal([&name](QWidget* modal) {
                auto* preview = qobject_cast<TfrPreviewForm*>(modal);
                if (!preview) return false;
                name = preview->DocumentName();
                Act(preview, "actClose")->trigger();
                return true;
            });
        };
        take(unnamed);
        program.Report.ShowPreview(nullptr);
        QCOMPARE(unnamed, QStringLiteral("Предварительный просмотр"));
        const QString path = dir.filePath(QStringLiteral("Tournament.frf"));
        program.Report.SaveToFile(path);
        QVERIFY(program.Report.LoadFromFile(path));
        take(named);
        program.Report.ShowPreview(nullptr);
        QCOMPARE(named, QStringLiteral("Tournament"));
    }

    void DesignerAddsBandsAndObjectsAndSaves() {
        TestSettings settings;
        QTemporaryDir dir;
        Program program(3);
        program.Report.Impl().SetLayout({});
        const QString path = dir.filePath(QStringLiteral("FilesExists.frf"));
        program.Report.SetFileName(path);
        TfrDesignerForm designer(program.Report.Impl());
        designer.show();

        Act(&designer, "actAddMasterData")->trigger();
        QCOMPARE(designer.Layout().Bands.size(), 1u);
        QCOMPARE(designer.Layout().Bands[0].Dataset, QStringLiteral("frdsRows"));
        QCOMPARE(designer.SelectedBand(), 0);
        Act(&designer, "actAddText")->trigger();
        QCOMPARE(designer.SelectedObject(), 0);
        Child<QPlainTextEdit>(&designer, "edObjText")->setPlainText(QStringLiteral("Позывной: [Call]"));
        Child<QDoubleSpinBox>(&designer, "edObjWidth")->setValue(60);
        Child<QComboBox>(&designer, "cbObjAlign")->setCurrentIndex(2);
        Child<QCheckBox>(&designer, "cbFrameBottom")->setChecked(true);
        Child<QCheckBox>(&designer, "cbObjBold")->setChecked(true);
        // A title goes before the data band whatever is selected.
        Act(&designer, "actAddReportTitle")->trigger();
        Act(&designer, "actAddText")->trigger();
        Child<QPlainTextEdit>(&designer, "edObjText")->setPlainText(QStringLiteral("Список"));
        Act(&designer, "actAddPageFooter")->trigger();

        const TfrLayout& layout = designer.Layout();
        QCOMPARE(layout.Bands.size(), 3u);
        QCOMPARE(layout.Bands[0].Kind, TfrBandKind::ReportTitle);
        QCOMPARE(layout.Bands[1].Kind, TfrBandKind::MasterData);
        QCOMPARE(layout.Bands[2].Kind, TfrBandKind::PageFooter);
        const TfrTextObject& call = layout.Bands[1].Objects[0];
        QCOMPARE(call.Text, QStringLiteral("Позывной: [Call]"));
        QCOMPARE(call.Width, 60.0);
        QCOMPARE(call.Style.HAlign, TfrHAlign::Right);
        QCOMPARE(call.Style.Frame, static_cast<int>(frBottom));
        QVERIFY(call.Style.Bold);
        QCOMPARE(layout.Bands[0].Objects[0].Name, QStringLiteral("Text2"));
        QCOMPARE(Child<QTreeWidget>(&designer, "tvLayout")->topLevelItemCount(),
                 4); // the page and three bands
        QVERIFY(designer.Modified());
        QVERIFY(designer.windowTitle().endsWith(QStringLiteral(" *")));

        // The live preview runs over the program's rows.
        designer.RefreshPreview();
        const TfrPreparedReport& preview = designer.PreviewReport();
        QCOMPARE(preview.PageCount(), 1);
        QCOMPARE(preview.Pages[0].Bands[1].Items[0].Text, QStringLiteral("Позывной: R1"));
        QCOMPARE(preview.Pages[0].Bands[3].Items[0].Text, QStringLiteral("Позывной: R3"));

        Act(&designer, "actSave")->trigger();
        QVERIFY(settings.Boxes.Boxes.empty());
        QVERIFY(!designer.Modified());
        QCOMPARE(program.Report.Impl().Layout(), designer.Layout());
        TfrReport reread;
        QVERIFY(reread.LoadFromFile(path));
        QCOMPARE(reread.Impl().Layout(), designer.Layout());
    }

    void DesignerSelectsMovesAndDeletes() {
        Program program(3);
        TfrDesignerForm designer(program.Report.Impl());
        designer.show();
        // Band 1 is the data band; its text object is clicked on the design sheet.
        auto* sheet = Child<TfrPageView>(&designer, "pvDesign");
        const TfrPreparedPage sheetPage = DesignPage(designer.Layout());
        const TfrPreparedItem* target = nullptr;
        for (const auto& band : sheetPage.Bands)
            for (const auto& item : band.Items)
                if (item.Source == TfrSourceIndex(1, 0)) target = &item;
        QVERIFY(target);
        const double px = sheet->ScreenPxPerMm() * sheet->Zoom();
        const QPoint at(12 + static_cast<int>(target->Rect.center().x() * px),
                        12 + static_cast<int>(target->Rect.center().y() * px));
        QTest::mouseClick(sheet, Qt::LeftButton, {}, at);
        QCOMPARE(designer.SelectedBand(), 1);
        QCOMPARE(designer.SelectedObject(), 0);
        QCOMPARE(Child<QPlainTextEdit>(&designer, "edObjText")->toPlainText(), QStringLiteral("[Call]"));

        // Dragging moves the object in half-millimetre steps.
        emit sheet->ItemMoved(TfrSourceIndex(1, 0), QPointF(10.2, 3.3));
        QCOMPARE(designer.Layout().Bands[1].Objects[0].Left, 10.0);
        QCOMPARE(designer.Layout().Bands[1].Objects[0].Top, 3.5);
        QCOMPARE(Child<QDoubleSpinBox>(&designer, "edObjLeft")->value(), 10.0);

        // Band properties, and the page's.
        designer.Select(1, -1);
        Child<QDoubleSpinBox>(&designer, "edBandHeight")->setValue(7.5);
        QCOMPARE(designer.Layout().Bands[1].Height, 7.5);
        Child<QComboBox>(&designer, "cbDataset")->setEditText(QStringLiteral("frdsCalc"));
        QCOMPARE(designer.Layout().Bands[1].Dataset, QStringLiteral("frdsCalc"));
        designer.Select(-1, -1);
        Child<QDoubleSpinBox>(&designer, "edPageWidth")->setValue(148);
        QCOMPARE(designer.Layout().Page.Width, 148.0);

        // Bands move up and down; deleting takes the selection.
        designer.Select(2, -1);
        Act(&designer, "actMoveUp")->trigger();
        QCOMPARE(designer.Layout().Bands[1].Kind, TfrBandKind::PageFooter);
        QCOMPARE(designer.SelectedBand(), 1);
        Act(&designer, "actDelete")->trigger();
        QCOMPARE(designer.Layout().Bands.size(), 2u);
        designer.Select(1, 0);
        Act(&designer, "actDelete")->trigger();
        QVERIFY(designer.Layout().Bands[1].Objects.empty());
        QCOMPARE(designer.SelectedObject(), -1);
        // The report keeps its layout until the designer saves.
        QCOMPARE(program.Report.Impl().Layout().Bands.size(), 3u);
    }

    void DesignerAsksBeforeClosingWithChanges() {
        TestSettings settings;
        QTemporaryDir dir;
        Program program(1);
        const TfrLayout before = program.Report.Impl().Layout();
        const QString path = dir.filePath(QStringLiteral("QSOCalc.frf"));
        program.Report.SetFileName(path);
        {
            // Not saved: the file is not written and the report keeps its layout.
            settings.Boxes.Answer = false;
            TfrDesignerForm designer(program.Report.Impl());
            designer.show();
            Act(&designer, "actAddReportSummary")->trigger();
            Act(&designer, "actClose")->trigger();
            QVERIFY(!designer.isVisible());
            QCOMPARE(settings.Boxes.Boxes.size(), 1u);
            QCOMPARE(settings.Boxes.Boxes[0].Kind, std::string("ask"));
            QVERIFY(!QFile::exists(path));
            QCOMPARE(program.Report.Impl().Layout(), before);
        }
        {
            settings.Boxes.Answer = true;
            TfrDesignerForm designer(program.Report.Impl());
            designer.show();
            Act(&designer, "actAddReportSummary")->trigger();
            QTest::keyClick(&designer, Qt::Key_Escape);
            QVERIFY(!designer.isVisible());
            QVERIFY(QFile::exists(path));
            QCOMPARE(program.Report.Impl().Layout().Bands.size(), 4u);
        }
        {
            // Without changes nothing is asked.
            TfrDesignerForm designer(program.Report.Impl());
            designer.show();
            designer.close();
            QCOMPARE(settings.Boxes.Boxes.size(), 2u);
        }
    }

    void DesignerShowsAnExpressionErrorInItsPreview() {
        Program program(2);
        TfrLayout layout = program.Report.Impl().Layout();
        layout.Bands[1].Objects[0].Text = QStringLiteral("[IF('x', 1, 2)]");
        program.Report.Impl().SetLayout(layout);
        TfrDesignerForm designer(program.Report.Impl());
        QCOMPARE(designer.PreviewReport().PageCount(), 0);
        QVERIFY(Child<QLabel>(&designer, "lbPreviewStatus")->text().startsWith(QStringLiteral("Ошибка")));
    }

    void ShowDesignerOpensOnTheLayout() {
        Program program(2);
        int bands = -1;
        test::OnNextModal([&](QWidget* modal) {
            auto* designer = qobject_cast<TfrDesignerForm*>(modal);
            if (!designer) return false;
            bands = static_cast<int>(designer->Layout().Bands.size());
            designer->close();
            return true;
        });
        program.Report.ShowDesigner(nullptr);
        QCOMPARE(bands, 3);
    }

    void DesignSheetStacksTheBands() {
        Program program(1);
        const TfrPreparedPage sheet = DesignPage(program.Report.Impl().Layout());
        QCOMPARE(sheet.Bands.size(), 3u);
        // A caption of 4 mm above every band; objects keep their place inside their band.
        QCOMPARE(sheet.Bands[0].Items[0].Text, QStringLiteral("Заголовок страницы"));
        QCOMPARE(sheet.Bands[1].Items[0].Text, QStringLiteral("Данные: frdsRows"));
        QCOMPARE(sheet.Bands[1].Top, 19.0);
        QCOMPARE(sheet.Bands[1].Items[2].Rect, QRectF(10, 23, 50, 5));
        QCOMPARE(sheet.Bands[1].Items[2].Text, QStringLiteral("[Call]"));
        QCOMPARE(sheet.Bands[1].Items[2].Source, TfrSourceIndex(1, 0));
    }
};

ZELK_UI_TEST(ReportWindowsTest)
#include "report_windows_test.moc"
