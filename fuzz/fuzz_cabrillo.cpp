// libFuzzer target for the Cabrillo reader: the input is a log file. It is written to a temporary file
// and read as the program reads logs - line by line from the file in blocks, each line through the line
// rules, contact lines parsed into records with their moments, the summary and the owner's callsign. The
// lines read from the file must be the lines of the same bytes split in memory.
#include "logs/cabrillo_file.h"
#include "logs/error.h"
#include "logs/file_io.h"
#include "logs/qso_record.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// One file per fuzzing process, in a folder of its own that goes when the process ends.
class TScratchFile {
  public:
    TScratchFile() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zelk-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        folder_ = pattern;
        path_ = folder_ + "/LOG.CBR";
    }
    ~TScratchFile() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    const std::string& Write(const std::string& bytes) {
        std::ofstream(path_, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path_;
    }

  private:
    std::string folder_, path_;
};

// The file reader takes 64 KiB at a time; inputs whose first byte has its low four bits set are put
// where a block ends (few enough not to slow the run down much).
constexpr std::size_t kBlock = 1 << 16;

std::string FileBytes(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (size == 0 || (data[0] & 0x0f) != 0x0f) return bytes;
    std::string filler(kBlock - size / 2, 'x');
    for (std::size_t i = 79; i < filler.size(); i += 80)
        filler[i] = '\n';
    return filler + bytes;
}

void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz_cabrillo: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TScratchFile scratch;
    const std::string bytes = FileBytes(data, size);
    const std::string& path = scratch.Write(bytes);

    std::vector<std::string> inMemory;
    zelk::TLineReader memory(bytes);
    for (std::string line; memory.Next(line);)
        inMemory.push_back(line);

    zelk::TFileLineReader file(path);
    std::string raw;
    zelk::TLogLine line;
    std::size_t count = 0, contacts = 0;
    zelk::TQSORecord previous;
    while (file.Next(raw)) {
        Check(count < inMemory.size() && raw == inMemory[count], "the file gives other lines than the text");
        ++count;
        zelk::ClassifyLogLine(raw, line);
        if (line.Kind != zelk::TLineKind::Contact) continue;
        Check(line.Text.size() <= 255, "a contact's content is longer than 255 characters");
        ++contacts;
        zelk::TQSORecord record(line.Text);
        (void)record.DateTime();
        Check(zelk::TimeDifference(record, previous) >= 0, "a negative time difference");
        Check(zelk::TimeDifference(record, previous) == zelk::TimeDifference(previous, record),
              "the time difference depends on the order");
        previous.Assign(record);
    }
    Check(count == inMemory.size(), "the file gives fewer lines than the text");

    zelk::TZelkCurrentFile summary;
    summary.ReadSummary(path);
    Check(summary.QSOCount == static_cast<int>(contacts), "the summary counts other contacts");
    const std::string owner = zelk::OwnerCallSign(path);
    zelk::TZelkCabrilloFile log;
    log.FileName = path;
    (void)log.GetTagValue("NAME:");
    (void)owner;
    return 0;
}
