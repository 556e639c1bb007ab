// The help: the compiled help file of the build, the help window with its pages, contents, index and
// links, the error boxes, F1 in the windows that have help, and the diagnostic file.
#include "ui_fixture.h"
#include "ui_test_main.h"

#include "logs/file_io.h"
#include "logs/text.h"
#include "script/judging_scripts.h"
#include "settings/global_vars.h"
#include "ui/help_debug.h"
#include "ui/help_topic.h"
#include "ui/help_viewer.h"
#include "ui/help_window.h"
#include "ui/qt_text.h"
#include "ui/zelk_resources.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngineCore>
#include <QHelpIndexWidget>
#include <QLineEdit>
#include <QMainWindow>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>

#include <memory>

using namespace zelk;
using namespace zelk::ui;
using zelk::test::TestSettings;

namespace {

const QString kBuiltHelp = QStringLiteral(ZELK_HELP_FILE);

// The topics that the program's windows ask for, with the heading their page must show. The script
// topics come from the scripts themselves, so that a renamed script or topic shows up here.
struct TopicCase {
    std::string topic;
    QString heading;
};
std::vector<TopicCase> ProgramTopics() {
    std::vector<TopicCase> topics = {{"about", "О программе Zelkon"},
                                     {"options", "Настройки"},
                                     {"editfile", "Редактор файла участника"},
                                     {"findqso", "Поиск связей"},
                                     {"report-preview", "Просмотр отчёта"},
                                     {"report-designer", "Дизайнер отчёта"}};
    for (TScriptKind kind :
         {TScriptKind::CalcQSO, TScriptKind::CalcMultiplier, TScriptKind::CalcTotal,
          TScriptKind::IsConfirmative, TScriptKind::IsValidReceive, TScriptKind::IsDuplicate}) {
        const TZelkScriptItem item(kind);
        topics.push_back({item.GetHelpTopic(), Qs(item.GetCaption())});
    }
    return topics;
}

QTextBrowser* Page(TZelkHelpViewer& viewer) {
    return viewer.Window() ? viewer.Window()->findChild<QTextBrowser*>(QStringLiteral("brPage")) : nullptr;
}

// Clicks the first link of the shown page that leads to `href`, where the judge would click it.
bool ClickLink(QTextBrowser* browser, const QString& href) {
    QTextDocument* document = browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isAnchor() || fragment.charFormat().anchorHref() != href) continue;
            QTextCursor cursor(document);
            cursor.setPosition(fragment.position() + fragment.length() / 2);
            browser->setTextCursor(cursor);
            browser->ensureCursorVisible();
            const QPoint point = browser->cursorRect(cursor).center();
            QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, point);
            return true;
        }
    return false;
}

// The lines of the diagnostic file, as UTF-8.
QStringList DebugLines(const std::string& path) {
    return Qs(ReadFileBytes(path)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

} // namespace

class HelpTest : public QObject {
    Q_OBJECT
  private slots:
    void TheBuildPutsACompleteHelpFileBesideTheProgram() {
        QVERIFY2(QFile::exists(kBuiltHelp), qPrintable(kBuiltHelp));
        QVERIFY(kBuiltHelp.endsWith(QStringLiteral("/help/help.chm")));
        QTemporaryDir dir;
        QHelpEngineCore engine(dir.filePath(QStringLiteral("check.qhc")));
        engine.setReadOnly(false);
        QVERIFY(engine.setupData());
        QVERIFY2(engine.registerDocumentation(kBuiltHelp), qPrintable(engine.error()));
        const QString space = QHelpEngineCore::namespaceName(kBuiltHelp);
        const QList<QUrl> pages = engine.files(space, QString(), QStringLiteral("htm"));
        QSet<QString> names;
        for (const QUrl& page : pages)
            names.insert(page.fileName());
        for (const TopicCase& t : ProgramTopics())
            QVERIFY2(names.contains(Qs(t.topic) + ".htm"), t.topic.c_str());
        // Every link of every page leads to a page of the file (or to a place on the same page).
        const QRegularExpression link(QStringLiteral("href=\"([^\"#]*)[^\"]*\""));
        for (const QUrl& page : pages) {
            const QString html = QString::fromUtf8(engine.fileData(page));
            QVERIFY2(html.contains(QStringLiteral("<h1>")), qPrintable(page.toString()));
            for (auto match = link.globalMatch(html); match.hasNext();) {
                const QString target = match.next().captured(1);
                if (target.isEmpty()) continue;
                QVERIFY2(!engine.fileData(page.resolved(QUrl(target))).isEmpty(),
                         qPrintable(page.fileName() + " -> " + target));
            }
        }
    }

    void EachTopicOpensItsPageInOneReusedWindow() {
        TestSettings settings;
        Vars().HelpFile = Cp(kBuiltHelp);
        TZelkHelpViewer viewer;
        TfmHelp* first = nullptr;
        for (const TopicCase& t : ProgramTopics()) {
            ShowHelpTopic(t.topic);
            TfmHelp* window = viewer.Window();
            QVERIFY2(window && window->isVisible(), t.topic.c_str());
            if (!first) first = window;
            QCOMPARE(window, first);
            QTextBrowser* page = Page(viewer);
            QCOMPARE(page->source().fileName(), Qs(t.topic) + ".htm");
            QVERIFY2(window->windowTitle().endsWith(": " + t.heading), qPrintable(window->windowTitle()));
            QCOMPARE(page->document()->firstBlock().text().trimmed(), t.heading);
        }
        QVERIFY(settings.Boxes.Boxes.empty());
    }

    void LinksContentsAndIndexLeadToTheirPages() {
        TestSettings settings;
        Vars().HelpFile = Cp(kBuiltHelp);
        TZelkHelpViewer viewer;
        ShowHelpTopic("about");
        QTextBrowser* page = Page(viewer);

        QVERIFY(ClickLink(page, QStringLiteral("options.htm")));
        QTRY_COMPARE(page->source().fileName(), QStringLiteral("options.htm"));
        QCOMPARE(page->document()->firstBlock().text().trimmed(), QStringLiteral("Настройки"));
        QVERIFY(ClickLink(page, QStringLiteral("check.htm#nofile")));
        QTRY_COMPARE(page->source().fileName(), QStringLiteral("check.htm"));
        QCOMPARE(page->source().fragment(), QStringLiteral("nofile"));
        auto* back = viewer.Window()->findChild<QAction*>(QStringLiteral("actBack"));
        QVERIFY(back->isEnabled());
        back->trigger();
        QCOMPARE(page->source().fileName(), QStringLiteral("options.htm"));

        auto* contents = viewer.Window()->findChild<QHelpContentWidget*>(QStringLiteral("tvContents"));
        QVERIFY(contents);
        QTRY_VERIFY(contents->model()->rowCount() > 0);
        const QModelIndex findqso =
            contents->indexOf(page->source().resolved(QUrl(QStringLiteral("findqso.htm"))));
        QVERIFY(findqso.isValid());
        contents->setCurrentIndex(findqso);
        QTest::keyClick(contents, Qt::Key_Return);
        QCOMPARE(page->source().fileName(), QStringLiteral("findqso.htm"));
        const QModelIndex options =
            contents->indexOf(page->source().resolved(QUrl(QStringLiteral("options.htm"))));
        contents->scrollTo(options);
        QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, contents->visualRect(options).center());
        QCOMPARE(page->source().fileName(), QStringLiteral("options.htm"));
        QCOMPARE(contents->currentIndex(), options);

        auto* word = viewer.Window()->findChild<QLineEdit*>(QStringLiteral("edIndex"));
        auto* index = viewer.Window()->findChild<QHelpIndexWidget*>(QStringLiteral("lvIndex"));
        QVERIFY(word && index);
        QTRY_VERIFY(index->model()->rowCount() > 0);
        word->setText(QStringLiteral("повтор"));
        QTRY_VERIFY(index->currentIndex().isValid());
        QTest::keyClick(word, Qt::Key_Return);
        QCOMPARE(page->source().fileName(), QStringLiteral("check.htm"));
    }

    void AMissingTopicPageSaysSoInsteadOfABlankWindow() {
        TestSettings settings;
        Vars().HelpFile = Cp(kBuiltHelp);
        TZelkHelpViewer viewer;
        ShowHelpTopic("script_NoSuchScript");
        QVERIFY(viewer.Window() && viewer.Window()->isVisible());
        QTextBrowser* page = Page(viewer);
        const QString text = page->toPlainText();
        QCOMPARE(page->document()->firstBlock().text().trimmed(), QStringLiteral("Раздел справки не найден"));
        QVERIFY(text.contains(QStringLiteral("script_NoSuchScript.htm")));
        QVERIFY(text.contains(kBuiltHelp));
        QVERIFY(viewer.Window()->windowTitle().endsWith(QStringLiteral("Раздел справки не найден")));
        QVERIFY(settings.Boxes.Boxes.empty());
        // The page offers the way back to the start page.
        QVERIFY(ClickLink(page, viewer.Window()->PageUrl(QStringLiteral("about.htm")).toString()));
        QTRY_COMPARE(page->source().fileName(), QStringLiteral("about.htm"));
        // Page names are matched without regard to letter case when no exact name exists.
        QCOMPARE(viewer.Window()->PageUrl(QStringLiteral("FindQSO.htm")).fileName(),
                 QStringLiteral("findqso.htm"));
    }

    void MissingOrBrokenHelpFilesGiveErrorBoxesNamingThem() {
        TestSettings settings;
        TZelkHelpViewer viewer;
        const std::string missing = Vars().AppPath("help/help.chm");
        Vars().HelpFile = missing;
        ShowHelpTopic("options");
        QCOMPARE(settings.Boxes.Boxes.size(), size_t(1));
        QCOMPARE(settings.Boxes.Boxes[0].Kind, std::string("error"));
        QCOMPARE(settings.Boxes.Boxes[0].Caption, std::string("Файл не найден"));
        QCOMPARE(settings.Boxes.Boxes[0].Text, "Не найден файл справки: " + ToUtf8(missing));
        QVERIFY(!viewer.Window());

        const std::string broken = settings.Exe.Write(QStringLiteral("broken.chm"), "не справка");
        Vars().HelpFile = broken;
        ShowHelpTopic("options");
        QCOMPARE(settings.Boxes.Boxes.size(), size_t(2));
        QVERIFY(
            settings.Boxes.Boxes[1].Text.starts_with("Не удалось открыть файл справки: " + ToUtf8(broken)));
        QVERIFY(!viewer.Window());

        // Once the file is sound again, help opens.
        Vars().HelpFile = Cp(kBuiltHelp);
        ShowHelpTopic("options");
        QVERIFY(viewer.Window() && viewer.Window()->isVisible());
        QCOMPARE(settings.Boxes.Boxes.size(), size_t(2));
    }

    void OverAModalDialogTheHelpWindowIsUsable() {
        TestSettings settings;
        Vars().HelpFile = Cp(kBuiltHelp);
        TZelkHelpViewer viewer;
        ShowHelpTopic("about");
        TfmHelp* window = viewer.Window();
        QCOMPARE(window->windowModality(), Qt::NonModal);

        QDialog dialog;
        bool seen = false;
        Qt::WindowModality modality = Qt::NonModal;
        QWidget* active = nullptr;
        test::OnNextModal(
            [&](QWidget* modal) {
                if (modal != &dialog) return false;
                ShowHelpTopic("findqso");
                modality = viewer.Window()->windowModality();
                active = QApplication::activeModalWidget();
                viewer.Window()->close();
                dialog.reject();
                return true;
            },
            &seen);
        dialog.exec();
        QVERIFY(seen);
        QCOMPARE(viewer.Window(), window);
        QCOMPARE(modality, Qt::ApplicationModal);
        QCOMPARE(active, static_cast<QWidget*>(window));

        ShowHelpTopic("about");
        QCOMPARE(window->windowModality(), Qt::NonModal);
        QVERIFY(window->isVisible());
    }

    void AnOpenHelpWindowDoesNotKeepTheProgramRunning() {
        TestSettings settings;
        Vars().HelpFile = Cp(kBuiltHelp);
        TZelkHelpViewer viewer;
        QMainWindow main;
        main.show();
        ShowHelpTopic("about");
        QVERIFY(viewer.Window()->isVisible());
        QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, &QCoreApplication::quit);
        guard.start(5000);
        QTimer::singleShot(0, &main, &QWidget::close);
        QApplication::exec();
        QCOMPARE(lastClosed.count(), 1);
        QVERIFY(guard.isActive());
    }

    void F1OpensTheHelpOfTheActiveWindow() {
        TestSettings settings;
        Vars().HelpFile = Cp(kBuiltHelp);
        std::vector<std::string> shown;
        THelpViewer previous =
            SetHelpViewer([&](const std::string&, const std::string& page) { shown.push_back(page); });

        // The main window carries the shared Help command; a dialog carries its own, as the QSO search does.
        QMainWindow main;
        main.addAction(ZelkResources().Help());
        main.show();
        QDialog search(&main);
        auto* help = new QAction(&search);
        help->setShortcut(QKeySequence(Qt::Key_F1));
        search.addAction(help);
        connect(help, &QAction::triggered, &search, [] { ShowHelpTopic("findqso"); });

        QApplication::setActiveWindow(&main);
        QTest::keyClick(&main, Qt::Key_F1);
        search.show();
        QApplication::setActiveWindow(&search);
        QTest::keyClick(&search, Qt::Key_F1);
        QCOMPARE(shown, (std::vector<std::string>{"about.htm", "findqso.htm"}));
        SetHelpViewer(previous);
    }

    void TheDiagnosticSwitchIsAnArgumentOrAFile() {
        TestSettings settings;
        struct Case {
            std::vector<std::string> arguments;
            std::string reason;
        };
        const Case cases[] = {
            {{"/debug"}, "ключ /debug"},
            {{"-DEBUG"}, "ключ -DEBUG"},
            {{"contest", "/Debug"}, "ключ /Debug"},
            {{"debug"}, ""},
            {{"--debug"}, ""},
            {{"/debugx"}, ""},
            {{}, ""},
        };
        for (const Case& c : cases)
            QCOMPARE(ToUtf8(HelpDebugReason(c.arguments, Vars().AppFolder())), c.reason);
        settings.Exe.Write(QStringLiteral("debug.debug"), "");
        QCOMPARE(ToUtf8(HelpDebugReason({}, Vars().AppFolder())), std::string("файл debug.debug"));
        QCOMPARE(ToUtf8(HelpDebugReason({"-debug"}, Vars().AppFolder())), std::string("ключ -debug"));
    }

    void TheDiagnosticModeWritesEveryCallToHHDebug() {
        TestSettings settings;
        TZelkHelpViewer viewer;
        const std::string file = Vars().AppPath("HHDebug.txt");
        settings.Exe.Write(QStringLiteral("HHDebug.txt"), "from an earlier run\r\n");
        {
            THelpDebugLog log(file, "ключ /debug"_cp);
            Vars().HelpFile = Cp(kBuiltHelp);
            ShowHelpTopic("about");
            ShowHelpTopic("script_Missing");
            Vars().HelpFile = Vars().AppPath("help/help.chm");
            ShowHelpTopic("options");
        }
        const QStringList lines = DebugLines(file);
        QVERIFY(lines[0].endsWith(QStringLiteral("Zelkon: диагностика справки включена (ключ /debug)")));
        const QString all = lines.join('\n');
        QVERIFY(!all.contains(QStringLiteral("earlier run")));
        const QStringList expected = {
            "ShowHelpTopic(\"about\"): файл справки " + kBuiltHelp,
            "Страница about.htm передана окну справки",
            "Окно справки: открыт файл справки " + kBuiltHelp,
            "Окно справки: показана страница qthelp://zelkon.help/doc/about.htm «О программе Zelkon»",
            "ShowHelpTopic(\"script_Missing\")",
            "Окно справки: в файле справки нет страницы script_Missing.htm",
            "ShowHelpTopic(\"options\"): файл справки " + Qs(Vars().HelpFile),
            "Файл справки не найден; показано сообщение об ошибке",
        };
        qsizetype from = 0;
        for (const QString& step : expected) {
            const qsizetype at = all.indexOf(step, from);
            QVERIFY2(at >= 0, qPrintable(step));
            from = at + step.size();
        }
        // Every line starts with the time of day; the file uses CR LF throughout.
        for (const QString& line : lines.mid(1))
            QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d "))
                         .match(line)
                         .hasMatch(),
                     qPrintable(line));
        const std::string bytes = ReadFileBytes(file);
        QVERIFY(bytes.ends_with("\r\n"));
        QCOMPARE(Qs(bytes).count('\n'), Qs(bytes).count(QStringLiteral("\r\n")));

        // With the mode off nothing more is written.
        ShowHelpTopic("about");
        QCOMPARE(ReadFileBytes(file), bytes);
    }
};

ZELK_UI_TEST(HelpTest)
#include "help_test.moc"
