// The small pieces of the desktop program: message boxes, the per-user store, the general error handler,
// help topics, the file dialog filters, the about box, the delete confirmation and the row model.
#include "ui_fixture.h"
#include "ui_test_main.h"

#include "logs/error.h"
#include "logs/list_rows.h"
#include "logs/text.h"
#include "settings/global_vars.h"
#include "ui/about_dialog.h"
#include "ui/command_guard.h"
#include "ui/delete_dialog.h"
#include "ui/help_topic.h"
#include "ui/qt_platform.h"
#include "ui/row_model.h"
#include "ui/zelk_resources.h"

#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>

#include <filesystem>

using namespace zelk;
using namespace zelk::ui;
using zelk::test::TestSettings;

namespace {

// Closes the next message box with `button` and records its caption, text and icon.
struct BoxSeen {
    QString Title, Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    bool Seen = false;
};
void AnswerNextBox(BoxSeen& seen, QMessageBox::StandardButton button) {
    test::OnNextModal([&seen, button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return false;
        seen = {box->windowTitle(), box->text(), box->icon(), true};
        box->button(button)->click();
        return true;
    });
}

} // namespace

class WidgetsTest : public QObject {
    Q_OBJECT
  private slots:
    void MessageBoxesHaveTheirCaptionsAndIcons() {
        TQtMessages messages;
        struct Case {
            std::function<void()> show;
            QMessageBox::StandardButton button;
            QString title, text;
            QMessageBox::Icon icon;
        };
        bool answer = false;
        const Case cases[] = {
            {[&] { messages.Info("Готово"_cp, ""); }, QMessageBox::Ok, "Сообщение времени разработки...",
             "Готово", QMessageBox::Information},
            {[&] { messages.Info("x", "Заголовок"_cp); }, QMessageBox::Ok, "Заголовок", "x",
             QMessageBox::Information},
            {[&] { messages.Error("Сбой"_cp, ""); }, QMessageBox::Ok, "Ошибка", "Сбой",
             QMessageBox::Critical},
            {[&] { messages.Error("x", "Ошибка структуры файла"_cp); }, QMessageBox::Ok,
             "Ошибка структуры файла", "x", QMessageBox::Critical},
            {[&] { answer = messages.Ask("Удалить?"_cp); }, QMessageBox::Yes, "Подтвердите", "Удалить?",
             QMessageBox::Question},
            {[&] { messages.Plain("Скрипт"_cp); }, QMessageBox::Ok, "Zelk", "Скрипт", QMessageBox::NoIcon},
        };
        for (const auto& c : cases) {
            BoxSeen seen;
            AnswerNextBox(seen, c.button);
            c.show();
            QVERIFY(seen.Seen);
            QCOMPARE(seen.Title, c.title);
            QCOMPARE(seen.Text, c.text);
            QCOMPARE(seen.Icon, c.icon);
        }
        QVERIFY(answer);
        BoxSeen seen;
        AnswerNextBox(seen, QMessageBox::No);
        QVERIFY(!messages.Ask("?"));
    }

    void UserStoreKeepsIntegersAndStringsUnderTheValueNames() {
        test::ClearUserStore();
        TQtUserStore store;
        QVERIFY(!store.ReadInteger("WExTop"));
        QVERIFY(!store.ReadString("lvFiles"));
        store.WriteInteger("WExTop", 120);
        store.WriteString("WFindQSOCall", "Q1ЖЖ"_cp);
        store.WriteString("lvFiles", "120,40,50,50");
        QCOMPARE(*store.ReadInteger("WExTop"), 120);
        QCOMPARE(*store.ReadString("WFindQSOCall"), "Q1ЖЖ"_cp);
        QVERIFY(!store.ReadInteger("lvFiles"));
        const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Zelk"));
        QCOMPARE(settings.value(QStringLiteral("WFindQSOCall")).toString(), QStringLiteral("Q1ЖЖ"));
        QCOMPARE(settings.value(QStringLiteral("WExTop")).toInt(), 120);
        test::ClearUserStore();
    }

    void SettingsGoThroughTheStoreAndBack() {
        TestSettings settings;
        Vars().WExSplit = 333;
        Vars().AutoCalcQSO = true;
        Vars().WVFFontName = "Шрифт"_cp;
        Vars().SaveSettings();
        settings.Restart();
        Vars().LoadSettings();
        QCOMPARE(Vars().WExSplit, 333);
        QVERIFY(Vars().AutoCalcQSO);
        QCOMPARE(Vars().WVFFontName, "Шрифт"_cp);
    }

    void AnExceptionLeavingACommandIsShownAndTheCallerGoesOn() {
        TestSettings settings;
        RunCommand([] { throw TZelkError("Не найден файл"_cp); });
        RunCommand([] { throw std::runtime_error("disk \xD0\xB6 full"); });
        RunCommand([] { throw 42; });
        bool ran = false;
        RunCommand([&] { ran = true; });
        QVERIFY(ran);
        const auto& boxes = settings.Boxes.Boxes;
        QCOMPARE(boxes.size(), size_t(3));
        QCOMPARE(boxes[0].Kind, std::string("error"));
        QCOMPARE(boxes[0].Text, std::string("Не найден файл"));
        QCOMPARE(boxes[1].Text, std::string("disk ж full"));
        QCOMPARE(boxes[2].Kind, std::string("error"));
    }

    void AnExceptionEscapingAnEventHandlerEndsInTheErrorBox() {
        TestSettings settings;
        struct Thrower : QObject {
            bool event(QEvent*) override { throw TZelkError("boom"); }
        } thrower;
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(&thrower, &event);
        QCOMPARE(settings.Boxes.Boxes.size(), size_t(1));
        QCOMPARE(settings.Boxes.Boxes[0].Text, std::string("boom"));
    }

    void HelpWithoutTheHelpFileNamesTheFile() {
        TestSettings settings;
        Vars().HelpFile = Vars().AppPath("help/help.chm");
        std::vector<std::string> opened;
        THelpViewer previous = SetHelpViewer(
            [&](const std::string& file, const std::string& page) { opened.push_back(file + "|" + page); });
        ZelkResources().Help()->trigger();
        QCOMPARE(settings.Boxes.Boxes.size(), size_t(1));
        QCOMPARE(settings.Boxes.Boxes[0].Caption, std::string("Файл не найден"));
        QCOMPARE(settings.Boxes.Boxes[0].Text, "Не найден файл справки: " + ToUtf8(Vars().HelpFile));
        QVERIFY(opened.empty());

        std::filesystem::create_directories(settings.Exe.Path().toStdString() + "/help");
        settings.Exe.Write(QStringLiteral("help/help.chm"), "x");
        ShowHelpTopic("about");
        QCOMPARE(opened, std::vector<std::string>{Vars().HelpFile + "|about.htm"});
        SetHelpViewer(previous);
        QCOMPARE(ZelkResources().Help()->shortcut(), QKeySequence(Qt::Key_F1));
    }

    void DialogFiltersBecomeQtNameFilters() {
        struct Case {
            QString pairs;
            QStringList filters;
        };
        const Case cases[] = {
            {"Файлы CABRILLO|*.cbr|Файлы протоколов/текстовые|*.log; *.txt|Все файлы|*.*",
             {"Файлы CABRILLO (*.cbr)", "Файлы протоколов/текстовые (*.log *.txt)", "Все файлы (*)"}},
            {"UBN - файлы отчёта|*.ubn", {"UBN - файлы отчёта (*.ubn)"}},
            {"", {}},
            {"Без маски", {}},
        };
        for (const auto& c : cases)
            QCOMPARE(DialogFilters(c.pairs), c.filters);
        // The shared dialogs' first filters, on fresh resources: the editors change the shared ones.
        const TZelkResources fresh;
        QVERIFY(fresh.dlgOpen()->nameFilters().size() == 3);
        QCOMPARE(fresh.dlgSave()->nameFilters().value(0),
                 QStringLiteral("Файлы протоколов/текстовые (*.txt *.prt)"));
    }

    // The buttons of Qt's own boxes speak Russian like the rest of the program.
    void QtOwnTextsAreRussian() {
        QVERIFY(InstallQtRussianTexts());
        QVERIFY(InstallQtRussianTexts()); // a second call keeps the one translation
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Yes)->text().remove(u'&'), QStringLiteral("Да"));
        QCOMPARE(box.button(QMessageBox::No)->text().remove(u'&'), QStringLiteral("Нет"));
    }

    void EveryRowRoleHasAnIcon() {
        const auto& images = ZelkResources().ListImages();
        for (int role : {imgLog, imgTag, imgBadTag, imgLogNoCall, imgQSOUnchecked, imgQSOAccepted,
                         imgQSORejected, imgTagMissing, imgCallSign}) {
            QVERIFY(static_cast<size_t>(role) < images.size());
            QVERIFY2(!images[static_cast<size_t>(role)].pixmap(12, 12).isNull(),
                     qPrintable(QString::number(role)));
        }
    }

    void AboutBoxShowsTitleAndCloses() {
        QString title, heading, build;
        bool seen = false;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        test::OnNextModal(
            [&](QWidget* modal) {
                auto* box = qobject_cast<TfmAbout*>(modal);
                if (!box) return false;
                title = box->windowTitle();
                heading = box->findChild<QLabel*>(QStringLiteral("lbTitle"))->text();
                build = box->findChild<QLabel*>(QStringLiteral("lbBuild"))->text();
                QTest::keyClick(box, Qt::Key_Escape);
                return true;
            },
            &seen);
        ZelkResources().About()->trigger();
        QVERIFY(seen);
        QCOMPARE(title, QStringLiteral("О программе..."));
        QCOMPARE(heading, QStringLiteral("Zelkon  " ZELK_PROJECT_VERSION));
        QVERIFY2(QRegularExpression(QStringLiteral("^Сборка от \\d\\d\\.\\d\\d\\.\\d{4}, Qt 6"))
                     .match(build)
                     .hasMatch(),
                 qPrintable(build));
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void DeleteConfirmationPlaysTheAnimationBeforeYes() {
        TfmIfDelete::AnimationMs = 200;
        TfmIfDelete dialog(QStringLiteral("/tmp/Q1AA.CBR"), true, nullptr);
        auto* pages = dialog.findChild<QStackedWidget*>();
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("np_Ask"));
        QSignalSpy finished(&dialog, &QDialog::finished);
        dialog.show();
        dialog.findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("np_DoIt"));
        QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("btnOk"))->isEnabled());
        QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("btnCancel"))->isEnabled());
        dialog.reject(); // the file is going: no way back
        QVERIFY(dialog.isVisible());
        QCOMPARE(finished.count(), 0);
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void RowModelShowsCaptionsCellsIconsAndAlignment() {
        const std::string cyrillic = "Ж"_cp; // kept out of the braces: clang 14 crashes on it there
        std::vector<TListRow> rows = {{"Q1AA.CBR", {"12", "-"}, imgLog}, {cyrillic, {}, -1}};
        TRowListModel model(
            {{"File", Qt::AlignLeft},
             {"Score", Qt::AlignRight},
             {"Multi", Qt::AlignRight},
             {"ClaimedScore", Qt::AlignRight}},
            [&] { return static_cast<int>(rows.size()); },
            [&](int i) -> const TListRow& { return rows[static_cast<size_t>(i)]; },
            ZelkResources().ListImages());
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.columnCount(), 4);
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("Q1AA.CBR"));
        QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("12"));
        QCOMPARE(model.index(0, 3).data().toString(), QString()); // a missing cell is empty
        QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("Ж"));
        QVERIFY(!model.index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(!model.index(1, 0).data(Qt::DecorationRole).isValid());
        QVERIFY(!model.index(0, 1).data(Qt::DecorationRole).isValid());
        QCOMPARE(model.index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                     Qt::AlignHorizontal_Mask,
                 Qt::AlignRight);
        QCOMPARE(model.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("ClaimedScore"));
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.RowChanged(5);
        QCOMPARE(changed.count(), 0);
        model.RowChanged(1);
        QCOMPARE(changed.count(), 1);
    }
};

ZELK_UI_TEST(WidgetsTest)
#include "widgets_test.moc"
