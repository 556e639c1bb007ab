// The contest model: each log read once and kept until its file changes in size or time, the folder
// looked at again for files that came and went, the lookup from a call to its log, and reading from
// several threads at once.
#include "logs/contest_model.h"
#include "logs/error.h"
#include "logs/file_io.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

using namespace zelk;

namespace {

namespace fs = std::filesystem;

class ContestModelTest : public ::testing::Test {
  protected:
    // A log of `call` with one contact with `worked`.
    void Log(const std::string& name, const std::string& call, const std::string& worked) {
        folder.Write(name, "CALLSIGN: " + call + "\r\nQSO: 3510 CW 2005-02-12 1200 " + call + " 599 001 " +
                               worked + " 599 001\r\n");
    }
    std::string Worked(const std::string& name) const {
        const TContestLog* log = model.Log(name);
        return log && !log->Records().empty() ? log->Records()[0].Call : "-";
    }
    fs::path PathOf(const std::string& name) const { return PathFromText(folder.File(name)); }

    test::TempDir folder;
    TZelkContestModel model;
};

} // namespace

TEST_F(ContestModelTest, ALogIsReadAgainOnlyWhenItsFileChanged) {
    Log("Q1AA.CBR", "Q1AA", "Q2BB");
    Log("Q2BB.CBR", "Q2BB", "Q1AA");
    model.Open(folder.Text(), "*.CBR");
    EXPECT_EQ(model.LogsRead(), 0u);
    EXPECT_EQ(Worked("Q1AA.CBR"), "Q2BB");
    EXPECT_EQ(Worked("Q2BB.CBR"), "Q1AA");
    EXPECT_EQ(model.LogsRead(), 2u);
    model.Refresh();
    EXPECT_EQ(Worked("Q1AA.CBR"), "Q2BB");
    EXPECT_EQ(Worked("Q2BB.CBR"), "Q1AA");
    EXPECT_EQ(model.LogsRead(), 2u);

    // Another time, the size as it was: read again.
    const auto time = fs::last_write_time(PathOf("Q1AA.CBR"));
    Log("Q1AA.CBR", "Q1AA", "Q3CC");
    fs::last_write_time(PathOf("Q1AA.CBR"), time + std::chrono::seconds(1));
    model.Refresh();
    EXPECT_EQ(Worked("Q1AA.CBR"), "Q3CC");
    // Another size, the time as it was: read again.
    Log("Q1AA.CBR", "Q1AA", "Q44DDD");
    fs::last_write_time(PathOf("Q1AA.CBR"), time + std::chrono::seconds(1));
    model.Refresh();
    EXPECT_EQ(Worked("Q1AA.CBR"), "Q44DDD");
    EXPECT_EQ(model.Log("Q1AA.CBR")->Stamp().Size, fs::file_size(PathOf("Q1AA.CBR")));
    EXPECT_EQ(model.LogsRead(), 4u);
    // Saved through a new file, as the log editor saves: read again.
    WriteFileAtomic(folder.File("Q1AA.CBR"), folder.Read("Q1AA.CBR"));
    model.Refresh();
    EXPECT_EQ(Worked("Q1AA.CBR"), "Q44DDD");
    // The log that did not change was not read again.
    EXPECT_EQ(Worked("Q2BB.CBR"), "Q1AA");
    EXPECT_EQ(model.LogsRead(), 5u);
}

TEST_F(ContestModelTest, FilesThatComeGoOrAreRenamedAreSeenAtTheNextLook) {
    Log("Q1AA.CBR", "Q1AA", "Q2BB");
    folder.Write("notes.txt", "x");
    model.Open(folder.Text(), "*.CBR");
    ASSERT_EQ(model.Listed().size(), 1u);
    EXPECT_EQ(model.FindLog("Q2BB"), nullptr);

    // A log that arrived after the listing is found by its call, though it is not listed.
    Log("q2bb.cbr", "Q2BB", "Q1AA");
    model.Refresh();
    ASSERT_NE(model.FindLog("Q2BB/P"), nullptr);
    EXPECT_EQ(model.FindLog("Q2BB")->DiskName(), "q2bb.cbr");
    EXPECT_EQ(model.FindLog("Q2BB")->Path(), folder.File("q2bb.cbr"));

    fs::rename(PathOf("q2bb.cbr"), PathOf("Q5EE.CBR"));
    model.Refresh();
    EXPECT_EQ(model.FindLog("Q2BB"), nullptr);
    ASSERT_NE(model.FindLog("Q5EE"), nullptr);
    EXPECT_EQ(Worked("Q5EE.CBR"), "Q1AA");
    EXPECT_FALSE(model.Log("q2bb.cbr")->Exists());

    fs::remove(PathOf("Q1AA.CBR"));
    model.Refresh();
    const TContestLog* gone = model.Log("Q1AA.CBR");
    ASSERT_NE(gone, nullptr);
    EXPECT_FALSE(gone->Exists());
    EXPECT_TRUE(gone->Records().empty());
    EXPECT_EQ(gone->OwnerCall(), "");
    EXPECT_EQ(model.FindLog("Q1AA"), nullptr);
    EXPECT_EQ(model.Log("NEVER.CBR"), nullptr);
}

TEST_F(ContestModelTest, TheLookupFollowsTheFileNameRule) {
    Log("q1ab.cbr", "Q1AB/P", "Q1AA");
    Log("Q2.CBR", "Q2/Q1XY", "Q1AA");
    Log("Q3CC.LOG", "Q3CC", "Q1AA");
    folder.MakeDir("Q4DD.CBR");
    model.Open(folder.Text(), "*.CBR");
    struct Case {
        const char *call, *log;
    };
    const Case cases[] = {
        {"Q1AB", "q1ab.cbr"}, {"Q1AB/P", "q1ab.cbr"}, {" q1ab ", "q1ab.cbr"}, {"Q2/Q1XY", "Q2.CBR"},
        {"Q1XY", ""},         {"Q3CC", ""},           {"Q4DD", ""},           {"", ""},
        {"../q1ab", ""}};
    for (const auto& c : cases) {
        const TContestLog* log = model.FindLog(c.call);
        EXPECT_EQ(log ? log->DiskName() : "", c.log) << c.call;
    }
    // The listing keeps a folder that matches the mask, as a log without a file.
    ASSERT_NE(model.Log("Q4DD.CBR"), nullptr);
    EXPECT_FALSE(model.Log("Q4DD.CBR")->Exists());
    // Another mask brings another extension.
    model.Open(folder.Text(), "*.LOG");
    ASSERT_NE(model.FindLog("Q3CC"), nullptr);
    EXPECT_EQ(model.FindLog("Q1AB"), nullptr);
}

TEST_F(ContestModelTest, AnUnreadableLogFailsAtEveryUseUntilItCanBeRead) {
    // /proc/self/mem opens like a regular file and fails on reading.
    fs::create_symlink("/proc/self/mem", PathOf("Q3ZZ.CBR"));
    model.Open(folder.Text(), "*.CBR");
    const TContestLog* log = model.FindLog("Q3ZZ");
    ASSERT_NE(log, nullptr);
    ASSERT_TRUE(log->Exists());
    std::string first;
    try {
        log->Content();
        ADD_FAILURE() << "the log was read";
    } catch (const TZelkError& e) {
        first = e.what();
    }
    EXPECT_EQ(first.rfind("Cannot read file \"" + folder.File("Q3ZZ.CBR") + "\". ", 0), 0u) << first;
    EXPECT_THROW(log->Records(), TZelkError);
    fs::remove(PathOf("Q3ZZ.CBR"));
    Log("Q3ZZ.CBR", "Q3ZZ", "Q1AA");
    model.Refresh();
    EXPECT_EQ(model.FindLog("Q3ZZ")->OwnerCall(), "Q3ZZ");
}

TEST_F(ContestModelTest, SeveralThreadsReadTheLogsAtOnce) {
    const int n = 40;
    for (int i = 0; i < n; ++i)
        Log("Q" + std::to_string(i) + "X.CBR", "Q" + std::to_string(i) + "X",
            "Q" + std::to_string(i + 1) + "X");
    model.Open(folder.Text(), "*.CBR");
    std::vector<std::string> seen[4];
    std::vector<std::thread> threads;
    for (auto& out : seen)
        threads.emplace_back([this, &out] {
            for (int i = n - 1; i >= 0; --i)
                out.push_back(model.FindLog("Q" + std::to_string(i) + "X")->Records().at(0).Call);
        });
    for (auto& t : threads)
        t.join();
    for (const auto& out : seen) {
        ASSERT_EQ(out.size(), static_cast<size_t>(n));
        EXPECT_EQ(out, seen[0]);
        EXPECT_EQ(out.front(), "Q40X");
    }
}
