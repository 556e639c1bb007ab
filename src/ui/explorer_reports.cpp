// The main window's report commands, the datasets and variables of its two report components, and the
// loading of a report kind's layout.
#include "ui/explorer_reports.h"

#include "judge/judge.h"
#include "logs/contest.h"
#include "reports/report_catalogue.h"
#include "settings/global_vars.h"
#include "ui/desktop_judging.h"
#include "ui/explorer.h"
#include "ui/qt_text.h"
#include "ui/reports_dialog.h"

namespace zelk::ui {

QString LoadReportLayout(rep::TfrReport& report, int kind) {
    const QString path = Qs(Vars().ReportLayoutFile(kind));
    if (!path.isEmpty()) report.LoadFromFile(path);
    return path;
}

void PreviewReport(rep::TfrReport& report, int kind, QWidget* parent) {
    LoadReportLayout(report, kind);
    report.ShowPreview(parent);
}

void DesignReport(rep::TfrReport& report, int kind, bool saveToLayoutFile, QWidget* parent) {
    const QString path = LoadReportLayout(report, kind);
    if (saveToLayoutFile || (!path.isEmpty() && report.FileName() == path))
        report.SetFileName(Qs(Vars().ReportLayoutSaveFile(kind)));
    report.ShowDesigner(parent);
}

TExplorerReports::TExplorerReports(TZelkContest& contest) : FilesList(contest), Calc(contest, Scripts()) {
    frdsFilesList.OnFirst = [this] { FilesList.First(); };
    frdsFilesList.OnNext = [this] { FilesList.Next(); };
    frdsFilesList.OnEof = [this] { return FilesList.Eof(); };
    frdsCalc.OnFirst = [this] { Calc.First(); };
    frdsCalc.OnNext = [this] { Calc.Next(); };
    frdsCalc.OnEof = [this] { return Calc.Eof(); };

    BindFilesList(frFilesList);
    frCalc.SetDataset(kCalcDataset, &frdsCalc);
    frCalc.SetVariableCallback(
        [this](const std::string& name, ScriptValue& value) { return Calc.Variable(name, value); });
}

void TExplorerReports::BindFilesList(rep::TfrReport& report) {
    report.SetDataset(kFilesListDataset, &frdsFilesList);
    report.SetVariableCallback(
        [this](const std::string& name, ScriptValue& value) { return FilesList.Variable(name, value); });
}

// "Печатать список": the list of logs received, from the main window's own report component.
void TfmExplorer::actPrintExecute() {
    if (busy_) return;
    PreviewReport(reports_->frFilesList, rkFilesExists, this);
}

void TfmExplorer::actDesignExecute() {
    if (busy_) return;
    DesignReport(reports_->frFilesList, rkFilesExists, true, this);
}

// "Печатать отчёт": the selected log is checked afresh, exactly as "Проверить все записи" does, and its
// check report is built from the QSO rows as that check left them.
void TfmExplorer::actPrintCalcReportExecute() {
    if (busy_ || contest_.SelectedLog < 0) return;
    actCalcQSOExecute();
    PreviewReport(reports_->frCalc, rkQSOCalc, this);
}

void TfmExplorer::actDesignCalcReportExecute() {
    if (busy_) return;
    DesignReport(reports_->frCalc, rkQSOCalc, true, this);
}

// The report dialog with `kind` preselected, placed over this window.
void TfmExplorer::OpenReportsDialog(int kind) {
    if (busy_) return;
    CountAbsentIfPending();
    // The dialog's standings may score and sort the log list; a load of the selected log that is still
    // pending waits until the dialog has closed.
    busy_ = true;
    struct TBusyWhileOpen {
        bool& busy;
        ~TBusyWhileOpen() { busy = false; }
    } release{busy_};
    TfmReports dialog(*reports_, contest_, this);
    connect(&dialog, &TfmReports::LogListChanged, this, [this] { ShowLogList(); });
    dialog.Execute(kind, frameGeometry());
}

} // namespace zelk::ui
