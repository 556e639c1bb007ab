// The desktop program's command line: what it answers before any window exists, and the contest folder
// it opens from the arguments Qt leaves.
#include "ui_fixture.h"
#include "ui_test_main.h"

#include "logs/error.h"
#include "logs/text.h"
#include "ui/desktop_program.h"

#include <QDir>
#include <QTest>

using namespace zelk;
using namespace zelk::ui;

class DesktopProgramTest : public QObject {
    Q_OBJECT
  private slots:
    void HelpAndVersionAreAnsweredFromTheRawCommandLine() {
        const struct {
            std::vector<const char*> args;
            TProgramRequest request;
        } cases[] = {
            {{"zelkon"}, TProgramRequest::Run},
            {{"zelkon", "/contest"}, TProgramRequest::Run},
            {{"zelkon", "-platform", "offscreen", "--help"}, TProgramRequest::Help},
            {{"zelkon", "-h"}, TProgramRequest::Help},
            {{"zelkon", "/contest", "--version"}, TProgramRequest::Version},
            {{"zelkon", "-v", "--help"}, TProgramRequest::Version},
        };
        for (const auto& c : cases) {
            std::vector<char*> argv;
            for (const char* a : c.args)
                argv.push_back(const_cast<char*>(a));
            QCOMPARE(ProgramRequest(static_cast<int>(argv.size()), argv.data()), c.request);
        }
        const std::string version = ProgramVersionText();
        QCOMPARE(version, "zelkon " ZELK_PROJECT_VERSION "\nQt " + std::string(qVersion()) + "\n");
        QVERIFY(ProgramHelpText().find("Usage: zelkon [OPTIONS] [FOLDER]") == 0);
    }

    void TheFirstArgumentNamesTheContestAndALogNamesItsFolder() {
        test::TempFolder contest;
        const std::string log = contest.Write(QStringLiteral("Q1AA.CBR"), "CALLSIGN: Q1AA\n");
        const std::string folder = FromUtf8(QDir(contest.Path()).absolutePath().toStdString());
        QCOMPARE(StartFolderArgument({}), std::string());
        QCOMPARE(StartFolderArgument({contest.Path()}), folder);
        QCOMPARE(StartFolderArgument({QStringLiteral("-DEBUG"), contest.Path() + QStringLiteral("/")}),
                 folder);
        QCOMPARE(StartFolderArgument({QString::fromStdString(ToUtf8(log)), QStringLiteral("/other")}),
                 folder);
        // A folder that is not there yet is still the one asked for; the main window offers to make it.
        QCOMPARE(StartFolderArgument({contest.Path() + QStringLiteral("/new")}), folder + "/new");
        QVERIFY_THROWS_EXCEPTION(TZelkError, StartFolderArgument({QStringLiteral("--no-such-option")}));
    }
};

ZELK_UI_TEST(DesktopProgramTest)
#include "desktop_program_test.moc"
