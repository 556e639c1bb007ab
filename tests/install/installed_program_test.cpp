// The desktop program as installed: the install test copies this driver into the installed bin folder,
// so that it finds its data and the user's folder exactly as zelkon does there, and runs it on the
// offscreen platform as a user who cannot write the installation. It starts the program the way zelkon
// does, on the contest folder in ZELK_CONTEST, then works as a judge would: edits and saves a judging
// script, saves a report layout from the designer, checks a log and writes its UBN report, scores every
// log, and closes the main window, which saves the settings. The test around it checks where the files
// went and that nothing was written into the installation.
#include "ui_fixture.h"

#include "logs/text.h"
#include "script/judging_scripts.h"
#include "settings/global_vars.h"
#include "ui/command_guard.h"
#include "ui/desktop_judging.h"
#include "ui/desktop_program.h"
#include "ui/explorer.h"
#include "ui/options_dialog.h"
#include "ui/qt_text.h"
#include "ui/report/fr_designer.h"
#include "ui/script_editor.h"

#include <Qsci/qsciscintilla.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace zelk;
using namespace zelk::ui;

namespace {

QString UserFile(const char* relative) {
    return Qs(Vars().Paths().UserFile(relative));
}

QString FileText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

// Accepts the next file dialog with the file it proposes (the script's or the report's own name), typed
// into its name box as the judge would; the proposed path goes to `proposed`.
void AcceptNextFileDialog(QString* proposed) {
    test::OnNextModal([proposed](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return false;
        *proposed = dialog->selectedFiles().value(0);
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(*proposed);
        static_cast<QDialog*>(dialog)->accept();
        return true;
    });
}

} // namespace

class InstalledProgramTest : public QObject {
    Q_OBJECT
  private:
    QAction* Action(const char* name) {
        return program_->Explorer().findChild<QAction*>(QString::fromLatin1(name));
    }
    QAbstractItemModel* List(const char* name) {
        return program_->Explorer().findChild<QTableView*>(QString::fromLatin1(name))->model();
    }

    QString contest_;
    std::unique_ptr<TDesktopProgram> program_;
    test::RecordingMessages boxes_;
    IMessages* previousBoxes_ = nullptr;

  private slots:
    void initTestCase() {
        QVERIFY2(!qEnvironmentVariableIsEmpty("ZELK_CONTEST"), "ZELK_CONTEST names no contest folder");
        contest_ = QDir(qEnvironmentVariable("ZELK_CONTEST")).absolutePath();
        QVERIFY2(Vars().Paths().SeparateUserFolder(), "the driver does not run from an installation");
        program_ = std::make_unique<TDesktopProgram>(QStringList{contest_}, Cp(contest_));
        previousBoxes_ = SetMessages(&boxes_);
        program_->Show();
    }

    void OpensTheContestOfItsCommandLine() {
        const int logs = static_cast<int>(QDir(contest_, QStringLiteral("*.cbr")).count());
        QVERIFY(logs > 0);
        QTRY_COMPARE(List("lvFiles")->rowCount(), logs);
    }

    void SavesAnEditedScriptToTheUsersFolder() {
        TZelkScriptItem& item = *ui::Scripts().FindItem(TScriptKind::CalcQSO);
        QCOMPARE(Qs(item.GetFileName()), UserFile("script/CalcQSO.txt"));
        QString proposed;
        bool saved = false;
        test::OnNextModal(
            [&](QWidget* modal) {
                auto* editor = qobject_cast<TfmScriptEditor*>(modal);
                if (!editor) return false;
                auto* text = editor->findChild<QsciScintilla*>(QStringLiteral("synEdit"));
                text->setText(
                    text->text().replace(QStringLiteral("Result := 1;"), QStringLiteral("Result := 2;")));
                AcceptNextFileDialog(&proposed);
                editor->findChild<QAction*>(QStringLiteral("actSave"))->trigger();
                editor->close();
                return true;
            },
            &saved);
        OpenScriptEditor(item, &program_->Explorer());
        QVERIFY(saved);
        QCOMPARE(proposed, UserFile("script/CalcQSO.txt"));
        QVERIFY(FileText(proposed).contains(QStringLiteral("Result := 2;")));
    }

    void SavesAReportLayoutToTheUsersFolder() {
        bool saved = false;
        test::OnNextModal(
            [](QWidget* modal) {
                auto* designer = qobject_cast<rep::TfrDesignerForm*>(modal);
                if (!designer) return false;
                designer->findChild<QAction*>(QStringLiteral("actSave"))->trigger();
                designer->close();
                return true;
            },
            &saved);
        Action("actDesign")->trigger();
        QVERIFY(saved);
        QVERIFY(QFile::exists(UserFile("reports/FilesExists.frf")));
    }

    void ChecksALogAndWritesItsReport() {
        auto* files = program_->Explorer().findChild<QTableView*>(QStringLiteral("lvFiles"));
        files->setCurrentIndex(files->model()->index(0, 0));
        QTRY_VERIFY(List("lvQSODetail")->rowCount() > 0);
        Action("actCalcQSO")->trigger();
        QString proposed;
        AcceptNextFileDialog(&proposed);
        Action("actSaveCalcReport")->trigger();
        QVERIFY(proposed.endsWith(QStringLiteral(".UBN"), Qt::CaseInsensitive));
        QCOMPARE(QFileInfo(proposed).absolutePath(), contest_);
        QVERIFY(FileText(proposed).startsWith(QStringLiteral("START-OF-LOG:")));
    }

    void ScoresEveryLog() {
        Action("actCalcAllFiles")->trigger();
        QAbstractItemModel* logs = List("lvFiles");
        for (int row = 0; row < logs->rowCount(); ++row)
            QVERIFY(!logs->index(row, 3).data().toString().isEmpty());
    }

    void ClosingSavesTheSettingsToTheUsersFolder() {
        program_->Explorer().close();
        QVERIFY(FileText(UserFile("zelk.ini")).contains(QStringLiteral("CurrentFolder=") + contest_));
        QVERIFY(QFile::exists(contest_ + QStringLiteral("/zelk.ini")));
        QString shown;
        for (const auto& box : boxes_.Boxes)
            shown += QString::fromStdString(box.Kind + ": " + box.Text) + QLatin1Char('\n');
        QVERIFY2(boxes_.Boxes.empty(), qPrintable(shown));
    }

    void cleanupTestCase() {
        SetMessages(previousBoxes_);
        program_.reset();
    }
};

int main(int argc, char** argv) {
    TZelkApplication app(argc, argv);
    InstalledProgramTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "installed_program_test.moc"
