// zelkgen: writes a contest folder of Cabrillo logs with known faults, for demonstrations, tests and
// benchmarks of Zelkon.
#include "contest.h"
#include "fault_list.h"
#include "log_form.h"
#include "log_writer.h"
#include "options.h"
#include "truth_list.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <system_error>

using namespace zelk::gen;
namespace fs = std::filesystem;

namespace {

bool IsLogFile(const fs::path& path) {
    const std::string ext = LowerAscii(path.extension().string());
    return ext == ".cbr" || ext == ".log";
}

// The folder is created when missing. One that holds anything is used only with --force, and then its
// old logs are removed so that no stale log of another run stays among the new ones.
void PrepareFolder(const std::string& folder, bool force) {
    const fs::path dir(folder);
    fs::create_directories(dir);
    if (fs::is_empty(dir)) return;
    if (!force) throw TGenUsageError("folder '" + folder + "' is not empty; --force replaces the logs in it");
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.is_regular_file() && IsLogFile(entry.path())) fs::remove(entry.path());
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write '" + path.string() + "'");
}

int Run(const TGenOptions& o) {
    PrepareFolder(o.outDir, o.force);
    if (!o.cleanDir.empty()) PrepareFolder(o.cleanDir, o.force);
    TGenContest contest = MakeStations(o);
    MakeContacts(o, contest);
    NumberRecords(contest);
    const std::vector<TGenLogForm> forms = MakeLogForms(o, contest);
    size_t records = 0;
    for (size_t i = 0; i < contest.stations.size(); ++i) {
        if (!contest.stations[i].sendsLog) continue;
        const std::string arrived = RenderLog(o, contest, forms[i], static_cast<int>(i), true);
        WriteFile(fs::path(o.outDir) / forms[i].arrivalName, arrived);
        if (!forms[i].copyName.empty()) WriteFile(fs::path(o.outDir) / forms[i].copyName, arrived);
        if (!o.cleanDir.empty())
            WriteFile(fs::path(o.cleanDir) / forms[i].fileName,
                      RenderLog(o, contest, forms[i], static_cast<int>(i)));
        for (int idx : contest.stations[i].contacts) {
            const TGenContact& c = contest.contacts[idx];
            records += c.qsoNo[c.station[0] == static_cast<int>(i) ? 0 : 1] > 0;
        }
    }
    if (!o.faultsFile.empty()) WriteFile(o.faultsFile, FaultList(o, contest, forms));
    if (o.truth) WriteFile(fs::path(o.outDir) / "truth.tsv", TruthList(o, contest, forms));
    std::cout << "zelkgen: " << o.logs << " logs, " << records << " QSO lines, " << contest.contacts.size()
              << " contacts written to " << o.outDir << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (WantsHelp(args)) {
        std::cout << HelpText();
        return 0;
    }
    try {
        return Run(ParseOptions(args));
    } catch (const TGenUsageError& e) {
        std::cerr << "zelkgen: " << e.what() << "\n";
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "zelkgen: " << e.what() << "\n";
        return 1;
    }
}
