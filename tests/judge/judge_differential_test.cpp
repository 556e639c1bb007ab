// The planned path (the quiet plan, every core) against the full scan: generated contests with every
// fault zelkgen knows, judged with a corpus of hand-written and generated rule sets, must give the same
// stations without a log, the same log rows and standings, the same UBN files byte for byte and the
// same message boxes in the same order.
//
// CI runs a few rounds; a longer run is
//   ZELK_DIFF_ROUNDS=200 build/tests/zelk_tests --gtest_filter='JudgeDifferential*'
// (ZELK_DIFF_SEED picks another series of contests and generated scripts).
#include "judge/judge.h"
#include "judge/judging.h"
#include "logs/file_io.h"
#include "reports/ubn_report.h"
#include "support/contest_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

using namespace zelk;
using namespace zelk::test;
namespace fs = std::filesystem;

namespace {

using TScriptSet = std::map<std::string, std::string>; // file name to text; missing: the default

struct TNamedSet {
    std::string name;
    TScriptSet scripts;
};

// Rule sets written by hand, each aimed at one way the plan could go wrong.
std::vector<TNamedSet> HandWrittenSets() {
    return {
        {"defaults", {}},
        {"band-aware guarded",
         {{"IsConfirmative.txt",
           "begin Result := false; if (Call2 = CallSign) and (Mode2 = Mode) then begin\r\n"
           "  Result := (Band(Freq2) = Band(Freq)) and (Minutes(DateTime, DateTime2) <= 10); end; end;"},
          {"IsDuplicate.txt", "begin Result := false; if (Call2 = Call) and (Mode2 = Mode) then Result := "
                              "Band(Freq2) = Band(Freq); end;"},
          {"CalcMultiplier.txt", "begin Result := Band(Freq) + Call; end;"},
          {"CalcQSO.txt", "begin if Mode = 'CW' then Result := 2 else Result := 1; end;"}}},
        {"case-changing",
         {{"IsConfirmative.txt",
           "begin Result := (UpperCase(Call2) = UpperCase(CallSign)) and (Mode2 = Mode) and "
           "(LowerCase(Freq2) = LowerCase(Freq)); end;"},
          {"IsDuplicate.txt",
           "begin Result := (UpperCase(Call) = UpperCase(Call2)) and (Freq = Freq2); end;"}}},
        {"frequency as a number",
         {{"IsConfirmative.txt", "begin Result := (Call2 = CallSign) and (Freq2 = Freq + 0); end;"},
          {"IsDuplicate.txt",
           "begin Result := (Call = Call2) and (Freq2 + 0 = Freq + 0) and (Mode = Mode2); end;"}}},
        {"frequency as a number, guarded",
         {{"IsConfirmative.txt", "begin Result := false; if (Call2 = CallSign) and (Mode2 = Mode) then "
                                 "Result := Freq2 = Freq + 0; end;"}}},
        {"error on the record met first, guarded",
         {{"IsConfirmative.txt",
           "begin Result := false; if Call2 = CallSign then begin\r\n"
           "  Result := (Mode2 = Mode) and (1 / (StrToInt(Copy(STime2, 4, 1)) - 3) > -1000); end; end;"},
          {"IsDuplicate.txt",
           "begin Result := false; if (Call = Call2) and (Mode = Mode2) then\r\n"
           "  Result := (Freq = Freq2) and (1 / (StrToInt(Copy(STime2, 4, 1)) - 5) > -1000); end;"}}},
        {"error on the record met first, one expression",
         {{"IsConfirmative.txt", "begin Result := (Call2 = CallSign) and (Mode2 = Mode) and "
                                 "(1 / (StrToInt(Copy(STime2, 4, 1)) - 3) > -1000); end;"}}},
        {"messages from IsDuplicate",
         {{"IsDuplicate.txt",
           "begin Result := (Freq = Freq2) and (Mode = Mode2) and (Call = Call2);\r\n"
           "  if Call = Call2 then ShowMessage('compared ' + Call + ' ' + STime2); end;"}}},
        {"variable of a later version",
         {{"IsDuplicate.txt", "begin Result := false; if (Call = Call2) and (Mode = Mode2) then Result := "
                              "Accepted2 = 0; end;"}}},
        {"run error in CalcQSO",
         {{"CalcQSO.txt", "begin Result := 1; if Copy(STime, 4, 1) = '7' then Result := 1 / "
                          "(StrToInt(Copy(STime, 4, 1)) - 7); end;"}}},
        {"message in CalcQSO", {{"CalcQSO.txt", "begin ShowMessage(Call + ' ' + STime); Result := 1; end;"}}},
        {"IsConfirmative that does not compile", {{"IsConfirmative.txt", "begin Result := ( end"}}},
        {"literal key",
         {{"IsConfirmative.txt",
           "begin Result := (Call2 = CallSign) and (Mode2 = 'CW') and (Freq2 = Freq); end;"}}},
        {"exit instead of a guard",
         {{"IsConfirmative.txt",
           "begin Result := false; if Call2 <> CallSign then exit; Result := Mode2 = Mode; end;"}}},
        {"receive without zeros",
         {{"IsValidReceive.txt", "begin Result := NoZeros(Receive) = NoZeros(Send2); end;"}}},
    };
}

// Generated rule sets: IsConfirmative and IsDuplicate of two or three conditions from a pool, written
// as one expression or in a guarded form, now and then with a message.
class TScriptMaker {
  public:
    explicit TScriptMaker(std::uint64_t seed) : random_(seed) {}

    TNamedSet Make(int n) {
        static const std::vector<std::string> kConfirm = {"Call2 = CallSign",
                                                          "CallSign = Call2",
                                                          "Mode2 = Mode",
                                                          "Freq2 = Freq",
                                                          "Band(Freq2) = Band(Freq)",
                                                          "UpperCase(Call2) = UpperCase(CallSign)",
                                                          "Freq2 = Freq + 0",
                                                          "Mode2 = 'CW'",
                                                          "NoZeros(Freq2) = NoZeros(Freq)",
                                                          "Minutes(DateTime, DateTime2) <= 3",
                                                          "Receive = Send2",
                                                          "(Call2 = CallSign) or (Mode2 = 'SSB')",
                                                          "not (Mode2 <> Mode)",
                                                          "1 / (StrToInt(Copy(STime2, 4, 1)) - 3) > -1000",
                                                          "IsCall(Call2)",
                                                          "Trim(Call2) = Trim(CallSign)"};
        static const std::vector<std::string> kDuplicate = {"Call = Call2",
                                                            "Call2 = Call",
                                                            "Mode = Mode2",
                                                            "Freq = Freq2",
                                                            "Band(Freq) = Band(Freq2)",
                                                            "UpperCase(Call) = UpperCase(Call2)",
                                                            "Freq2 + 0 = Freq + 0",
                                                            "Mode2 = 'CW'",
                                                            "SDate = SDate2",
                                                            "Minutes(DateTime, DateTime2) < 30",
                                                            "1 / (StrToInt(Copy(STime2, 4, 1)) - 5) > -1000",
                                                            "Send2 <> Send"};
        TNamedSet set{"generated " + std::to_string(n), {}};
        set.scripts["IsConfirmative.txt"] = Script(kConfirm);
        set.scripts["IsDuplicate.txt"] = Script(kDuplicate);
        return set;
    }

  private:
    std::string Pick(const std::vector<std::string>& pool) {
        return "(" + pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(random_)] + ")";
    }

    std::string Script(const std::vector<std::string>& pool) {
        const std::string a = Pick(pool), b = Pick(pool), c = Pick(pool);
        switch (std::uniform_int_distribution<int>(0, 6)(random_)) {
        case 0:
            return "begin Result := " + a + " and " + b + "; end;";
        case 1:
            return "begin Result := " + a + " and " + b + " and " + c + "; end;";
        case 2:
        case 3:
            return "begin Result := false; if " + a + " and " + b + " then begin Result := " + c +
                   "; end; end;";
        case 4:
            return "begin if " + a + " then if " + b + " then Result := " + c + "; end;";
        case 5:
            return "begin Result := false; if " + a +
                   " then begin ShowMessage(Call2 + STime2); Result := " + b + "; end; end;";
        default:
            return "begin Result := true; if " + a + " then Result := " + b + " else Result := false; end;";
        }
    }

    std::mt19937_64 random_;
};

std::string Quote(const std::string& path) {
    return "'" + path + "'";
}

// zelkgen beside the command-line program, as the shell tests find it.
std::string Generator() {
    const char* cli = std::getenv("ZELK_CLI");
    if (!cli) return {};
    const fs::path gen = fs::path(cli).parent_path().parent_path() / "tools" / "zelkgen";
    return fs::exists(gen) ? gen.string() : std::string();
}

// A contest with every fault zelkgen knows, and a leading zero put before some frequencies, so that a
// number comparison and a byte comparison of the same field disagree.
void MakeContest(const std::string& generator, const fs::path& folder, std::uint64_t seed) {
    const std::string command = Quote(generator) + " --out " + Quote(folder.string()) +
                                " --force --logs 14 --qsos 40 --absent 3 --rare 2 --seed " +
                                std::to_string(seed) +
                                " --busted 5 --time-shift 4 --dupes 6 --nil 4 --lower 10 --lf-only 20"
                                " --unknown-tags 20 --no-callsign 1 --portable 1 --missing-piece 2"
                                " --mixed-ext 10 --utf16 5 --utf8 5 --tabs 10 --odd-names 10 --duplicates 1"
                                " --bands 3.5,7 >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::mt19937_64 random(seed);
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::string bytes = ReadFileBytes(entry.path().string());
        if (bytes.find('\0') != std::string::npos) continue; // UTF-16 logs stay as they are
        std::string out;
        std::istringstream lines(bytes);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("QSO:", 0) == 0 && random() % 5 == 0) {
                const std::size_t freq = line.find_first_not_of(" \t", 4);
                if (freq != std::string::npos) line.insert(freq, "0");
            }
            out += line + "\n";
        }
        std::ofstream(entry.path(), std::ios::binary) << out;
    }
}

struct TOutcome {
    std::string absent, rows, standings, ubn, messages;
};

std::string RowsText(const TZelkContest& contest) {
    std::string out;
    for (const TLogRow& row : contest.Logs) {
        out += row.Caption;
        for (const std::string& cell : row.Cells)
            out += "|" + cell;
        out += "\n";
    }
    return out;
}

TOutcome Judge(const fs::path& source, const TNamedSet& set, std::uint64_t round, TJudgingPath path) {
    TestContest c;
    for (const auto& entry : fs::directory_iterator(source))
        fs::copy_file(entry.path(), c.folder.Path() / entry.path().filename());
    for (const auto& [file, text] : set.scripts)
        c.WriteScript(file, text);
    c.settings.MaxMinutesDifference = static_cast<int>(round % 3) * 4 + 1;
    c.settings.NoFileIncludeResults = round % 2 == 0;
    c.settings.NoFileMinMentionCount = static_cast<int>(round % 2) + 1;
    TOutcome out;
    c.RebuildLogList();
    for (const auto& [call, count] : c.contest.NoFileCalls)
        out.absent += call + " " + std::to_string(count) + "\n";
    TJudging judging = c.Judging();
    judging.Path = path;
    try {
        CheckAllFiles(c.contest, judging, nullptr);
    } catch (const std::exception& e) {
        out.rows = std::string("error: ") + e.what() + "\n";
    }
    out.rows += RowsText(c.contest);
    RecalcAndSortByScore(c.contest, judging, false, nullptr);
    out.standings = RowsText(c.contest);
    TempDir reports;
    for (std::size_t i = 0; i < c.contest.Logs.size(); ++i) {
        c.contest.SelectedLog = c.contest.FocusedLog = static_cast<int>(i);
        c.LoadSelectedLog();
        const std::string file = reports.File("ubn" + std::to_string(i) + ".txt");
        try {
            SaveUBNReport(c.contest, judging, file);
            out.ubn += ReadFileBytes(file);
        } catch (const std::exception& e) {
            out.ubn += std::string("error: ") + e.what() + "\n";
        }
    }
    for (const auto& box : c.messages.boxes)
        out.messages += box.kind + ": " + box.text + " / " + box.caption + "\n";
    return out;
}

// Where two outcomes part: the first line that differs, with its number, instead of both whole texts.
std::string FirstDifference(const std::string& planned, const std::string& full) {
    std::istringstream a(planned), b(full);
    std::string la, lb;
    for (int line = 1;; ++line) {
        const bool moreA = static_cast<bool>(std::getline(a, la));
        const bool moreB = static_cast<bool>(std::getline(b, lb));
        if (!moreA && !moreB) return "no difference";
        if (!moreA || !moreB || la != lb)
            return "line " + std::to_string(line) + "\n  planned:   " + (moreA ? la : "(end)") +
                   "\n  full scan: " + (moreB ? lb : "(end)");
    }
}

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

TEST(JudgeDifferential, PlannedPathGivesWhatTheFullScanGives) {
    const std::string generator = Generator();
    ASSERT_FALSE(generator.empty()) << "zelkgen not found beside ZELK_CLI";
    const std::uint64_t rounds = EnvNumber("ZELK_DIFF_ROUNDS", 3);
    const std::uint64_t seed = EnvNumber("ZELK_DIFF_SEED", 1);
    TScriptMaker maker(seed);
    std::vector<TNamedSet> sets = HandWrittenSets();
    int generated = 0;
    for (std::uint64_t round = 0; round < rounds; ++round) {
        TempDir source;
        MakeContest(generator, source.Path(), seed * 1000 + round);
        // Every round judges the hand-written sets (the first round) or some of them, and new generated ones.
        std::vector<TNamedSet> work;
        for (std::size_t i = 0; i < sets.size(); ++i)
            if (round == 0 || (i + round) % 3 == 0) work.push_back(sets[i]);
        for (int k = 0; k < 8; ++k)
            work.push_back(maker.Make(generated++));
        for (const TNamedSet& set : work) {
            const TOutcome planned = Judge(source.Path(), set, round, TJudgingPath::Planned);
            const TOutcome full = Judge(source.Path(), set, round, TJudgingPath::FullScan);
            std::string scripts;
            for (const auto& [file, text] : set.scripts)
                scripts += file + ": " + text + "\n";
            const std::string context = "round " + std::to_string(round) + ", " + set.name + "\n" + scripts;
            const std::pair<const char*, std::pair<const std::string*, const std::string*>> parts[] = {
                {"absent", {&planned.absent, &full.absent}},
                {"log rows", {&planned.rows, &full.rows}},
                {"standings", {&planned.standings, &full.standings}},
                {"UBN files", {&planned.ubn, &full.ubn}},
                {"messages", {&planned.messages, &full.messages}}};
            for (const auto& [what, texts] : parts)
                EXPECT_TRUE(*texts.first == *texts.second)
                    << what << " differ, " << context << FirstDifference(*texts.first, *texts.second);
            if (::testing::Test::HasFailure()) return;
        }
    }
}

} // namespace
