// The five report layouts of the program over the example contest, prepared the way the program prepares
// them (the report dialog, the main window's check report, the log editor's printout), compared as table
// records. With ZELK_REPORT_PDF_DIR set, each report is also written there as a PDF for looking at.
#include "ui_fixture.h"
#include "ui_test_main.h"

#include "judge/judge.h"
#include "logs/contest.h"
#include "logs/file_io.h"
#include "logs/text.h"
#include "reports/report_catalogue.h"
#include "reports/report_sources.h"
#include "settings/global_vars.h"
#include "ui/desktop_judging.h"
#include "ui/edit_file.h"
#include "ui/explorer_reports.h"
#include "ui/qt_text.h"
#include "ui/report/fr_report_impl.h"
#include "ui/reports_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <filesystem>

using namespace zelk;
using namespace zelk::ui;
using zelk::test::TestSettings;

namespace {

// From the build: __FILE__ may be relative under a compiler cache.
const std::filesystem::path kSourceRoot = ZELK_SOURCE_DIR;

// Closes the engine's preview while it lives.
class TPreviewCloser {
  public:
    TPreviewCloser() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || qobject_cast<TfmReports*>(modal)) return;
            ++Closed;
            modal->close();
        });
        timer_.start(10);
    }
    int Closed = 0;

  private:
    QTimer timer_;
};

// The program folder of the test holds the layouts as the build puts them next to the program.
void InstallLayouts(TestSettings& settings) {
    QDir().mkpath(settings.Exe.Path() + "/reports");
    for (const auto& entry : std::filesystem::directory_iterator(kSourceRoot / "reports"))
        QFile::copy(QString::fromStdString(entry.path().string()),
                    settings.Exe.Path() + "/reports/" +
                        QString::fromStdString(entry.path().filename().string()));
}

// The records of the prepared report's bands of `kind`, fields joined by "|".
QStringList Records(const rep::TfrReport& report, rep::TfrBandKind kind) {
    QStringList out;
    for (const auto& record : rep::TableRecords(const_cast<rep::TfrReport&>(report).Impl().Prepared()))
        if (record.Kind == kind) out << QStringList(record.Fields.begin(), record.Fields.end()).join(u'|');
    return out;
}

void KeepPdf(rep::TfrReport& report, const char* name) {
    const QString dir = qEnvironmentVariable("ZELK_REPORT_PDF_DIR");
    if (dir.isEmpty()) return;
    report.Impl().Export(rep::TfrExportFormat::Pdf, dir + "/" + QString::fromLatin1(name) + ".pdf");
}

struct ExampleContest {
    TZelkContest Contest;
    TExplorerReports Reports{Contest};
    ExampleContest() {
        Vars().CurrentFolder = TextFromPath(kSourceRoot / "examples" / "contest");
        ListLogs(Contest);
        Contest.SortLogs(0); // the order of the file system does not matter then
    }
};

} // namespace

class ReportLayoutsTest : public QObject {
    Q_OBJECT
  private slots:
    void StandingsOfTheExampleContest() {
        TestSettings settings;
        InstallLayouts(settings);
        ExampleContest e;
        TfmReports dialog(e.Reports, e.Contest);
        dialog.SelectKind(rkTournament);
        QVERIFY(dialog.findChild<QCheckBox*>(QStringLiteral("cbRecalcAll"))->isChecked());
        TPreviewCloser closer;
        dialog.RunReport(false);
        QCOMPARE(closer.Closed, 1);
        const QStringList title = Records(dialog.Report(), rep::TfrBandKind::ReportTitle);
        QCOMPARE(title.size(), 1);
        QVERIFY(title[0].startsWith(QStringLiteral("Турнирная таблица|")));
        QCOMPARE(Records(dialog.Report(), rep::TfrBandKind::PageHeader),
                 QStringList{"Место|Позывной|Участник|Клуб|QSO|Очки|Множ.|Итог"});
        const QStringList rows = Records(dialog.Report(), rep::TfrBandKind::MasterData);
        QCOMPARE(rows.size(), 14);
        QCOMPARE(rows[0], QStringLiteral("1|Q9LMZ|Елена Рябинина|Радиоклуб «Полярная звезда»|26|25|13|325"));
        QCOMPARE(rows[1], QStringLiteral("2|Q2QV|Елена Ночкина|Радиоклуб «Полярная звезда»|26|24|13|312"));
        // Equal totals share a place; the log without CALLSIGN: is shown by its file name, without a place.
        QCOMPARE(rows[2], QStringLiteral("2|Q8PLO|Борис Дубравин||24|24|13|312"));
        QCOMPARE(rows[3].left(7), QStringLiteral("4|Q2PE|"));
        QCOMPARE(rows[4].left(7), QStringLiteral("4|Q9FO|"));
        QCOMPARE(rows[5].left(7), QStringLiteral("6|Q9MZ|"));
        QCOMPARE(rows[6], QStringLiteral("7|Q7UK/P|Жанна Снегирёва|Клуб «Ключ и паяльник»|24|22|13|286"));
        QCOMPARE(rows[12], QStringLiteral("13|Q4LB|Роман Полянский|Клуб «Северный ветер»|23|19|10|190"));
        QCOMPARE(rows[13], QStringLiteral("|Q5GOT.CBR|Юрий Снегирёв|Радиоклуб «Полярная звезда»|23|0|0|0"));
        QCOMPARE(Records(dialog.Report(), rep::TfrBandKind::ReportSummary),
                 QStringList{"Участников в таблице: 14"});
        KeepPdf(dialog.Report(), "Tournament");
    }

    void LogsReceivedFromTheDialogAndTheMainWindowAlike() {
        TestSettings settings;
        InstallLayouts(settings);
        ExampleContest e;
        TfmReports dialog(e.Reports, e.Contest);
        dialog.SelectKind(rkFilesExists);
        TPreviewCloser closer;
        dialog.RunReport(false);
        const QStringList rows = Records(dialog.Report(), rep::TfrBandKind::MasterData);
        QCOMPARE(rows.size(), 14);
        QCOMPARE(rows[0], QStringLiteral("1|Q1HH.CBR|Q1HH|Борис Дубравин|Клуб «Северный ветер»|23"));
        QCOMPARE(rows[1],
                 QStringLiteral("2|Q2FJ.CBR|Q2FJ|Nina Polyanskaya|Школьная радиостанция «Искра»|23"));
        QCOMPARE(rows[7], QStringLiteral("8|Q5GOT.CBR||Юрий Снегирёв|Радиоклуб «Полярная звезда»|23"));
        QCOMPARE(rows[13], QStringLiteral("14|Q9MZ.CBR|Q9MZ|Юрий Озёров||26"));
        QCOMPARE(Records(dialog.Report(), rep::TfrBandKind::ReportSummary),
                 QStringList{"Всего получено отчётов: 14"});
        KeepPdf(dialog.Report(), "FilesExists");

        PreviewReport(e.Reports.frFilesList, rkFilesExists, nullptr);
        QCOMPARE(closer.Closed, 2);
        QCOMPARE(Records(e.Reports.frFilesList, rep::TfrBandKind::MasterData), rows);
    }

    void AbsentLogsOfTheExampleContest() {
        TestSettings settings;
        InstallLayouts(settings);
        ExampleContest e;
        TfmReports dialog(e.Reports, e.Contest);
        dialog.SelectKind(rkNoFile);
        TPreviewCloser closer;
        Vars().NoFileMinMentionCount = 1;
        dialog.RunReport(false);
        QCOMPARE(Records(dialog.Report(), rep::TfrBandKind::PageHeader),
                 QStringList{"№|Позывной|Упоминаний в отчётах"});
        QCOMPARE(Records(dialog.Report(), rep::TfrBandKind::MasterData),
                 (QStringList{"1|Q2AAO|5", "2|Q4PBF|1", "3|Q5MZ|4"}));
        QCOMPARE(Records(dialog.Report(), rep::TfrBandKind::ReportSummary),
                 QStringList{"Всего станций без отчёта: 3"});
        Vars().NoFileMinMentionCount = 3;
        dialog.RunReport(false);
        QCOMPARE(Records(dialog.Report(), rep::TfrBandKind::MasterData),
                 (QStringList{"1|Q2AAO|5", "2|Q5MZ|4"}));
        KeepPdf(dialog.Report(), "NoFile");
    }

    void CheckReportOfAnExampleLog() {
        TestSettings settings;
        InstallLayouts(settings);
        ExampleContest e;
        QVERIFY(e.Contest.SelectLogByName("Q4LB"));
        LoadSelectedLog(e.Contest);
        CheckAllRecords(e.Contest, Judging());
        TPreviewCloser closer;
        PreviewReport(e.Reports.frCalc, rkQSOCalc, nullptr);
        QCOMPARE(closer.Closed, 1);
        const QString title = Records(e.Reports.frCalc, rep::TfrBandKind::ReportTitle).join(u'\n');
        for (const char* part : {"Отчёт о проверке", "|Q4LB|", "|Роман Полянский|", "|Клуб «Северный ветер»|",
                                 "|Q4LB.CBR|", "|23"})
            QVERIFY2(title.contains(QString::fromUtf8(part)), part);
        const QStringList rows = Records(e.Reports.frCalc, rep::TfrBandKind::MasterData);
        QCOMPARE(rows.size(), 23);
        QVERIFY2(rows[0].endsWith(QStringLiteral("|1|")), qPrintable(rows[0]));
        QCOMPARE(rows[1].section(u'|', 5), QStringLiteral("Q5MZ|599 002|599 001|-|нет файла; "));
        QCOMPARE(rows[6].section(u'|', 0, 4), QStringLiteral("7|3525|CW|2026-02-14|12:58"));
        QVERIFY2(rows[6].endsWith(QStringLiteral("|-|время не совпадает; ")), qPrintable(rows[6]));
        QVERIFY2(rows[14].endsWith(QStringLiteral("|-|повтор; ")), qPrintable(rows[14]));
        QCOMPARE(Records(e.Reports.frCalc, rep::TfrBandKind::ReportSummary),
                 QStringList{"Очки за связи|19|Множители|10|Итоговый результат|190"});
        KeepPdf(e.Reports.frCalc, "QSOCalc");
    }

    // The standings by category: a table per category with places from 1, the confirmed contacts and the
    // accuracy of the analysis; the category is named on its first row.
    void StandingsByCategoryOfTheExampleContest() {
        TestSettings settings;
        InstallLayouts(settings);
        ExampleContest e;
        Vars().CategoryTags = "CATEGORY-OPERATOR";
        TfmReports dialog(e.Reports, e.Contest);
        dialog.SelectKind(rkCategories);
        QVERIFY(dialog.findChild<QWidget*>(QStringLiteral("np_Tournament"))->isVisibleTo(&dialog));
        TPreviewCloser closer;
        dialog.RunReport(false);
        QCOMPARE(closer.Closed, 1);
        QCOMPARE(Records(dialog.Report(), rep::TfrBandKind::PageHeader),
                 QStringList{"Категория|Место|Позывной|Участник|QSO|Подтв.|Точность, %|Очки|Множ.|Итог"});
        const QStringList rows = Records(dialog.Report(), rep::TfrBandKind::MasterData);
        QCOMPARE(rows.size(), 14);
        QCOMPARE(rows[0], QStringLiteral("SINGLE-OP|1|Q1HH|Борис Дубравин|23|21|91.3|21|11|231"));
        QCOMPARE(rows[1], QStringLiteral("(без категории)|1|Q9LMZ|Елена Рябинина|26|25|96.2|25|13|325"));
        QCOMPARE(rows[3].section(u'|', 0, 2), QStringLiteral("|2|Q8PLO"));
        KeepPdf(dialog.Report(), "Categories");
    }

    // The log checking report of the selected log, line by line.
    void LogCheckingReportOfTheSelectedLog() {
        TestSettings settings;
        InstallLayouts(settings);
        ExampleContest e;
        QVERIFY(e.Contest.SelectLogByName("Q4LB"));
        TfmReports dialog(e.Reports, e.Contest);
        dialog.SelectKind(rkLogCheck);
        TPreviewCloser closer;
        dialog.RunReport(false);
        const QStringList rows = Records(dialog.Report(), rep::TfrBandKind::MasterData);
        QVERIFY(rows.size() > 10);
        QCOMPARE(rows[0], QStringLiteral("Отчёт о проверке журнала Q4LB.CBR"));
        QVERIFY(rows.contains(QStringLiteral("Точность:             82.6 %")));
        QVERIFY(rows.join(u'\n').contains(QStringLiteral("NO-LOG: нет журнала корреспондента")));
        KeepPdf(dialog.Report(), "LogCheck");
    }

    // The log editor prints its text as it stands, through the first report cursor with the variables
    // "Файл" and "Строка"; its print command previews that report.
    void LogPrintoutFromTheEditor() {
        TestSettings settings;
        InstallLayouts(settings);
        const std::string path = TextFromPath(kSourceRoot / "examples" / "contest" / "Q2PE.CBR");
        std::vector<std::string> lines = SplitString(ReadFileBytes(path), '\n');
        while (!lines.empty() && lines.back().empty())
            lines.pop_back();
        TfmEditFile editor;
        QVERIFY(editor.LoadFile(path));
        QCOMPARE(editor.ReplaceAll(QStringLiteral("START-OF-LOG"), QStringLiteral("НАЧАЛО")), 1);

        rep::TfrReport& frView = editor.PrintReport();
        LoadReportLayout(frView, rkEditFile);
        frView.Prepare();
        const QStringList rows = Records(frView, rep::TfrBandKind::MasterData);
        QCOMPARE(rows.size(), static_cast<int>(lines.size()));
        QCOMPARE(rows[0], QStringLiteral("1|НАЧАЛО: 3.0"));
        QCOMPARE(rows[1], "2|" + Qs(lines[1]).trimmed());
        QVERIFY(rows.last().endsWith(QStringLiteral("|END-OF-LOG:")));
        QCOMPARE(Records(frView, rep::TfrBandKind::ReportTitle).value(0), "Файл " + Qs(path));
        KeepPdf(frView, "EditFile");

        // The print command takes the text anew: a line removed since shows in the next printout.
        QCOMPARE(editor.ReplaceAll(QStringLiteral("НАЧАЛО"), QStringLiteral("START-OF-LOG")), 1);
        TPreviewCloser closer;
        editor.findChild<QAction*>(QStringLiteral("actPrintPreview"))->trigger();
        QCOMPARE(closer.Closed, 1);
        QCOMPARE(Records(frView, rep::TfrBandKind::MasterData).value(0),
                 QStringLiteral("1|START-OF-LOG: 3.0"));
    }
};

ZELK_UI_TEST(ReportLayoutsTest)
#include "report_layouts_test.moc"
