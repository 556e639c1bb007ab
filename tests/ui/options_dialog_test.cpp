// The settings dialog: the controls filled from the settings, the masks and numbers taken on OK, what
// cancelling leaves alone, the script links, and the main window's two commands that open it.
#include "ui_fixture.h"
#include "ui_test_main.h"

#include "logs/file_io.h"
#include "logs/text.h"
#include "script/judging_scripts.h"
#include "settings/global_vars.h"
#include "ui/desktop_judging.h"
#include "ui/explorer.h"
#include "ui/help_topic.h"
#include "ui/options_dialog.h"
#include "ui/script_editor.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace zelk;
using namespace zelk::ui;
using zelk::test::TempFolder;
using zelk::test::TestSettings;

namespace {

template <class T> T* Child(QWidget* w, const char* name) {
    return w->findChild<T*>(QString::fromLatin1(name));
}

QComboBox* Combo(QWidget* w, const char* name) {
    return Child<QComboBox>(w, name);
}

QSpinBox* Spin(QWidget* w, const char* name) {
    return Child<QSpinBox>(w, name);
}

QPushButton* Button(QWidget* w, const char* name) {
    return Child<QPushButton>(w, name);
}

QString CurrentPage(TfmOptions& w) {
    return Child<QTabWidget>(&w, "pcOptions")->currentWidget()->objectName();
}

// Types `text` into a number box over its whole content.
void TypeNumber(QSpinBox* box, const QString& text) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

} // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetScripts(); }

    void OpeningShowsTheSettingsOnTheAskedPage() {
        TestSettings settings;
        Vars().FilesMask = "*.TXT";
        Vars().UBNExt = "*.LOG";
        Vars().MaxMinutesDifference = 7;
        Vars().NoFileMinMentionCount = 12;
        Vars().NoFileIncludeResults = true;
        Vars().AutoCalcQSO = true;
        TfmOptions w(TfmOptions::pgFiles);
        QCOMPARE(CurrentPage(w), QStringLiteral("tsFiles"));
        QCOMPARE(Combo(&w, "edQFilesMask")->currentText(), QStringLiteral("*.TXT"));
        QCOMPARE(Combo(&w, "edUBNExt")->currentText(), QStringLiteral("*.LOG"));
        QCOMPARE(Spin(&w, "edMaxMinutesDifference")->value(), 7);
        QCOMPARE(Spin(&w, "edNoFileMinMentionCount")->value(), 12);
        QVERIFY(Child<QCheckBox>(&w, "cbNoFileIncludeResults")->isChecked());
        QVERIFY(Child<QCheckBox>(&w, "cbAutoCalcQSO")->isChecked());
        QVERIFY(!Child<QRadioButton>(&w, "rbByPosition")->isEnabled());
        QVERIFY(Button(&w, "btnOk")->isDefault());

        TfmOptions qso(TfmOptions::pgQSO);
        QCOMPARE(CurrentPage(qso), QStringLiteral("tsQSO"));
    }

    void OkStoresTheMasksWithoutTheirDescriptions() {
        const struct {
            QString typed;
            std::string stored;
            QString shown; // the box's text after OK
        } cases[] = {
            {"*.*- все файлы ", "*.*", "*.*- все файлы"},
            {"*.TXT", "*.TXT", "*.TXT"},
            {"", "", ""},
            {"  *.LOG- текстовые файлы  ", "*.LOG", "*.LOG- текстовые файлы"},
            {"*.CBR - файлы", "*.CBR", "*.CBR - файлы"},
            {"-", "", "-"},
            {"*.A-B-C", "*.A", "*.A-B-C"},
            {"Cabrillo (*.CBR;*.LOG;*.TXT)", "*.CBR;*.LOG;*.TXT", "Cabrillo (*.CBR;*.LOG;*.TXT)"},
            {" *.CBR;*.LOG ", "*.CBR;*.LOG", "*.CBR;*.LOG"},
        };
        for (const auto& k : cases) {
            TestSettings settings;
            TfmOptions w(TfmOptions::pgFiles);
            Combo(&w, "edQFilesMask")->setEditText(k.typed);
            Combo(&w, "edUBNExt")->setEditText(k.typed);
            Button(&w, "btnOk")->click();
            QCOMPARE(w.result(), int(QDialog::Accepted));
            QCOMPARE(Vars().FilesMask, FromUtf8(k.stored));
            QCOMPARE(Vars().UBNExt, FromUtf8(k.stored));
            QCOMPARE(Combo(&w, "edQFilesMask")->currentText(), k.shown);
        }
        // The last offered entry of the log files is the mask of all files.
        TestSettings settings;
        TfmOptions w(TfmOptions::pgFiles);
        Combo(&w, "edQFilesMask")->setCurrentIndex(Combo(&w, "edQFilesMask")->count() - 1);
        Button(&w, "btnOk")->click();
        QCOMPARE(Vars().FilesMask, std::string("*.*"));
        // The one before it: the masks of Cabrillo logs as they arrive.
        TfmOptions cabrillo(TfmOptions::pgFiles);
        Combo(&cabrillo, "edQFilesMask")->setCurrentIndex(Combo(&cabrillo, "edQFilesMask")->count() - 2);
        Button(&cabrillo, "btnOk")->click();
        QCOMPARE(Vars().FilesMask, std::string("*.CBR;*.LOG;*.TXT"));
    }

    void SettingsOfRealLogsAreShownAndTakenAndABadTemplateIsRefused() {
        TestSettings settings;
        Vars().FindLogByCallSign = true;
        Vars().QSOTemplate = "freq mode date time mycall sent call rcvd";
        {
            TfmOptions w(TfmOptions::pgFiles);
            QVERIFY(Child<QCheckBox>(&w, "cbFindLogByCallSign")->isChecked());
            QVERIFY(!Child<QCheckBox>(&w, "cbQSOSplitTabs")->isChecked());
            QCOMPARE(Child<QLineEdit>(&w, "edQSOTemplate")->text(),
                     QStringLiteral("freq mode date time mycall sent call rcvd"));
            // An empty box stands for the documented layout, which it shows greyed.
            Child<QLineEdit>(&w, "edQSOTemplate")->clear();
            QCOMPARE(Child<QLineEdit>(&w, "edQSOTemplate")->placeholderText(),
                     QStringLiteral("freq mode date time mycall sent sent call rcvd rcvd"));
            Child<QCheckBox>(&w, "cbFindLogByCallSign")->setChecked(false);
            Child<QCheckBox>(&w, "cbQSOSplitTabs")->setChecked(true);
            Button(&w, "btnOk")->click();
            QCOMPARE(w.result(), int(QDialog::Accepted));
        }
        QVERIFY(!Vars().FindLogByCallSign);
        QVERIFY(Vars().QSOSplitTabs);
        QCOMPARE(Vars().QSOTemplate, std::string());

        const std::string savedBefore = ReadFileBytes(settings.Exe.File(QStringLiteral("zelk.ini")));
        TfmOptions w(TfmOptions::pgFiles);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        Spin(&w, "edMaxMinutesDifference")->setValue(20);
        Child<QLineEdit>(&w, "edQSOTemplate")->setText(QStringLiteral("freq mode report call"));
        Button(&w, "btnOk")->click();
        // Refused with the reason, on the page of the template; nothing is taken.
        QVERIFY(w.isVisible());
        QCOMPARE(CurrentPage(w), QStringLiteral("tsQSO"));
        QCOMPARE(settings.Boxes.Boxes.size(), size_t(1));
        QCOMPARE(settings.Boxes.Boxes[0].Kind, std::string("error"));
        QCOMPARE(settings.Boxes.Boxes[0].Text,
                 std::string("Шаблон строки QSO: неизвестное поле «report». Допустимы "
                             "freq, mode, date, time, mycall, sent, call, rcvd, tx и skip."));
        QCOMPARE(Vars().MaxMinutesDifference, 3);
        QCOMPARE(ReadFileBytes(settings.Exe.File(QStringLiteral("zelk.ini"))), savedBefore);
        Child<QLineEdit>(&w, "edQSOTemplate")->setText(QStringLiteral("  FREQ mode date time call  "));
        Button(&w, "btnOk")->click();
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(Vars().QSOTemplate, std::string("FREQ mode date time call"));
        QCOMPARE(Vars().MaxMinutesDifference, 20);
    }

    void OkSavesEverySettingAndTheNextOpeningShowsBareMasks() {
        TestSettings settings;
        TempFolder contest;
        Vars().CurrentFolder = contest.Text();
        {
            TfmOptions w(TfmOptions::pgFiles);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            Combo(&w, "edQFilesMask")->setCurrentIndex(1);
            Combo(&w, "edUBNExt")->setCurrentIndex(2);
            Child<QCheckBox>(&w, "cbAutoCalcQSO")->setChecked(true);
            Spin(&w, "edMaxMinutesDifference")->setValue(9);
            Spin(&w, "edNoFileMinMentionCount")->setValue(4);
            Child<QCheckBox>(&w, "cbNoFileIncludeResults")->setChecked(true);
            QTest::keyClick(Combo(&w, "edQFilesMask"), Qt::Key_Return);
            QCOMPARE(w.result(), int(QDialog::Accepted));
        }
        // Saved at once: a fresh start reads them back from the files and the per-user store.
        settings.Restart();
        Vars().LoadSettings();
        QCOMPARE(Vars().FilesMask, std::string("*.TXT"));
        QCOMPARE(Vars().UBNExt, std::string("*.LOG"));
        QCOMPARE(Vars().MaxMinutesDifference, 9);
        QCOMPARE(Vars().NoFileMinMentionCount, 4);
        QVERIFY(Vars().NoFileIncludeResults);
        QVERIFY(Vars().AutoCalcQSO);
        QVERIFY(QFile::exists(contest.Path() + QStringLiteral("/zelk.ini")));

        TfmOptions again(TfmOptions::pgFiles);
        QCOMPARE(Combo(&again, "edQFilesMask")->currentText(), QStringLiteral("*.TXT"));
        QCOMPARE(Combo(&again, "edUBNExt")->currentText(), QStringLiteral("*.LOG"));
    }

    void NumbersTypedOutsideTheRangeOrNotNumbersAreBroughtBack() {
        // The box holds 3 before the typing; a text that is no number gives back the last number it held.
        const struct {
            QString typed;
            int stored;
        } cases[] = {
            {"42", 42}, {"150", 100}, {"0", 1}, {"-5", 1}, {"abc", 3}, {"", 3}, {"99999999999999999999", 100},
            {"7x", 7},  {"100", 100}, {"1", 1},
        };
        for (const auto& k : cases) {
            TestSettings settings;
            TfmOptions w(TfmOptions::pgQSO);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            TypeNumber(Spin(&w, "edMaxMinutesDifference"), k.typed);
            TypeNumber(Spin(&w, "edNoFileMinMentionCount"), k.typed);
            Button(&w, "btnOk")->click();
            QVERIFY2(Vars().MaxMinutesDifference == k.stored, qPrintable(k.typed));
            QVERIFY2(Vars().NoFileMinMentionCount == k.stored, qPrintable(k.typed));
            QCOMPARE(Spin(&w, "edNoFileMinMentionCount")->text(), QString::number(k.stored));
        }
        // A stored value outside the range is shown in range.
        TestSettings settings;
        Vars().MaxMinutesDifference = 500;
        TfmOptions w(TfmOptions::pgQSO);
        QCOMPARE(Spin(&w, "edMaxMinutesDifference")->value(), 100);
    }

    void CancellingLeavesEverySettingAsItWas() {
        for (const char* how : {"button", "escape", "close box"}) {
            TestSettings settings;
            TfmOptions w(TfmOptions::pgFiles);
            test::OnNextModal([&](QWidget* modal) {
                if (modal != &w) return false;
                Combo(&w, "edQFilesMask")->setEditText(QStringLiteral("*.DAT"));
                Spin(&w, "edMaxMinutesDifference")->setValue(50);
                Child<QCheckBox>(&w, "cbAutoCalcQSO")->setChecked(true);
                if (QByteArray(how) == "button")
                    Button(&w, "btnCancel")->click();
                else if (QByteArray(how) == "escape")
                    QTest::keyClick(Combo(&w, "edQFilesMask"), Qt::Key_Escape);
                else
                    w.close();
                return true;
            });
            QVERIFY2(w.exec() == QDialog::Rejected, how);
            QCOMPARE(Vars().FilesMask, std::string("*.CBR"));
            QCOMPARE(Vars().MaxMinutesDifference, 3);
            QVERIFY(!Vars().AutoCalcQSO);
            QVERIFY2(!settings.Exe.Exists(QStringLiteral("zelk.ini")), how);
        }
    }

    void AFileThatCannotBeWrittenIsReportedAndTheSettingsStillApply() {
        TestSettings settings;
        TempFolder contest;
        QVERIFY(QDir(contest.Path()).mkdir(QStringLiteral("zelk.ini")));
        Vars().CurrentFolder = contest.Text();
        TfmOptions w(TfmOptions::pgQSO);
        Spin(&w, "edMaxMinutesDifference")->setValue(5);
        Button(&w, "btnOk")->click();
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(Vars().MaxMinutesDifference, 5);
        QCOMPARE(settings.Boxes.Boxes.size(), size_t(1));
        QCOMPARE(settings.Boxes.Boxes[0].Kind, std::string("error"));
        QVERIFY(settings.Boxes.Boxes[0].Text.find("Unable to write to") != std::string::npos);
        // The program's own file was written all the same.
        QVERIFY(settings.Exe.Exists(QStringLiteral("zelk.ini")));
    }

    void EachScriptLinkOpensTheEditorOnItsScriptAndTheDialogStays() {
        TestSettings settings;
        std::vector<TScriptKind> opened;
        const TScriptEditorOpener previous =
            SetScriptEditorOpener([&](TZelkScriptItem& item, QWidget* parent) {
                QVERIFY(parent != nullptr);
                QCOMPARE(&item, Scripts().FindItem(item.Kind()));
                opened.push_back(item.Kind());
            });
        TfmOptions w(TfmOptions::pgFiles);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        Child<QTabWidget>(&w, "pcOptions")->setCurrentIndex(2);
        const struct {
            const char* name;
            QString text;
            TScriptKind kind;
        } links[] = {
            {"lnkCalcQSO", "Расчёт очков для QSO-записи", TScriptKind::CalcQSO},
            {"lnkCalcMultiplier", "Критерий для расчёта множителя", TScriptKind::CalcMultiplier},
            {"lnkCalcTotal", "Расчёт итога", TScriptKind::CalcTotal},
            {"lnkIsConfirmative", "Подтверждение QSO-записи", TScriptKind::IsConfirmative},
            {"lnkIsValidReceive", "Подтверждение приёма", TScriptKind::IsValidReceive},
            {"lnkIsDuplicate", "Проверка на повтор", TScriptKind::IsDuplicate},
        };
        std::vector<TScriptKind> expected;
        int lastY = -1;
        for (const auto& link : links) {
            auto* label = Child<QLabel>(&w, link.name);
            QVERIFY2(label, link.name);
            QCOMPARE(label->text(), link.text); // the scripts' display names
            QVERIFY(label->y() > lastY);
            lastY = label->y();
            QTest::mouseClick(label, Qt::LeftButton);
            expected.push_back(link.kind);
        }
        SetScriptEditorOpener(previous);
        QVERIFY(opened == expected);
        QVERIFY(w.isVisible());

        // Without a stand-in the link opens the script editor itself, modally, on its script's file.
        std::string edited;
        test::OnNextModal([&](QWidget* modal) {
            auto* editor = qobject_cast<TfmScriptEditor*>(modal);
            if (!editor) return false;
            edited = editor->CurrentFileName();
            editor->close();
            return true;
        });
        QTest::mouseClick(Child<QLabel>(&w, "lnkIsDuplicate"), Qt::LeftButton);
        QCOMPARE(edited, Scripts().FindItem(TScriptKind::IsDuplicate)->GetFileName());
        QVERIFY(w.isVisible());

        // Underlined only while the mouse is over the link.
        auto* label = Child<QLabel>(&w, "lnkCalcTotal");
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(label, &enter);
        QVERIFY(label->font().underline());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(label, &leave);
        QVERIFY(!label->font().underline());
    }

    void HelpShowsTheOptionsTopic() {
        TestSettings settings;
        Vars().HelpFile = settings.Exe.Write(QStringLiteral("help.chm"), "help");
        std::string page;
        const THelpViewer previous =
            SetHelpViewer([&](const std::string&, const std::string& topic) { page = topic; });
        TfmOptions w(TfmOptions::pgFiles);
        Button(&w, "btnHelp")->click();
        SetHelpViewer(previous);
        QCOMPARE(page, std::string("options.htm"));
        QCOMPARE(w.result(), 0);
    }

    void TheMainWindowOpensItsPageAndOkListsTheFolderAnew() {
        TestSettings settings;
        TempFolder contest;
        contest.Write("Q1AA.CBR", "CALLSIGN: Q1AA\n");
        contest.Write("Q2BB.TXT", "CALLSIGN: Q2BB\n");
        contest.Write("Q3CC.TXT", "CALLSIGN: Q3CC\n");
        TfmExplorer explorer;
        explorer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&explorer));
        explorer.OpenFolder(contest.Text());
        auto* files = explorer.findChild<QTableView*>(QStringLiteral("lvFiles"));
        QCOMPARE(files->model()->rowCount(), 1);

        const struct {
            const char* action;
            const char* page;
            bool ok;
            int rows;
        } cases[] = {
            {"actQSOOptions", "tsQSO", false, 1},
            {"actFilesOptions", "tsFiles", true, 2},
        };
        for (const auto& k : cases) {
            QString page;
            test::OnNextModal([&](QWidget* modal) {
                auto* w = qobject_cast<TfmOptions*>(modal);
                if (!w) return false;
                page = CurrentPage(*w);
                Combo(w, "edQFilesMask")->setEditText(QStringLiteral("*.TXT- текстовые файлы"));
                Button(w, k.ok ? "btnOk" : "btnCancel")->click();
                return true;
            });
            QAction* action = explorer.findChild<QAction*>(QString::fromLatin1(k.action));
            QVERIFY(action->isEnabled());
            action->trigger();
            QCOMPARE(page, QString::fromLatin1(k.page));
            QCOMPARE(files->model()->rowCount(), k.rows);
        }
        QCOMPARE(Vars().FilesMask, std::string("*.TXT"));
    }
};

ZELK_UI_TEST(OptionsDialogTest)
#include "options_dialog_test.moc"
