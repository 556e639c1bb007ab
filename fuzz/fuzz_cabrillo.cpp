// libFuzzer target for the Cabrillo reader: the input is a log file, in any encoding. It is written to a
// temporary file and read as the program reads logs - line by line from the file in blocks (of a size the
// input chooses, so that every block boundary is met), each line through the line rules, contact lines
// parsed into records with their moments, the summary and the owner's callsign. The lines read in blocks
// must be the lines of the whole file's text read at once.
#include "logs/cabrillo_file.h"
#include "logs/error.h"
#include "logs/file_io.h"
#include "logs/log_content.h"
#include "logs/qso_record.h"
#include "logs/text_encoding.h"

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

void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz_cabrillo: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TScratchFile scratch;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string& path = scratch.Write(bytes);
    const std::vector<std::string> whole = zelk::TextLines(zelk::ReadLogText(path));

    const std::size_t block = size == 0 ? 1 : 1 + data[0] % 97;
    zelk::TFileLineReader file(path, block);
    std::string raw;
    zelk::TLogLine line;
    std::size_t count = 0, contacts = 0;
    zelk::TQSORecord previous;
    while (file.Next(raw)) {
        Check(count < whole.size() && raw == whole[count], "the lines read in blocks differ from the text");
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
    Check(count == whole.size(), "fewer lines read in blocks than the text holds");

    const zelk::TLogContent content = zelk::ReadLogContent(path);
    Check(content.Records.size() == contacts, "the log read at once holds other contacts");
    zelk::TZelkCurrentFile summary;
    summary.TakeSummary(content);
    Check(summary.QSOCount == static_cast<int>(contacts), "the summary counts other contacts");
    const std::string owner = zelk::OwnerCallSign(path);
    Check(owner == content.OwnerCall, "the owner read alone differs from the log read at once");
    zelk::TZelkCabrilloFile log;
    log.FileName = path;
    (void)log.GetTagValue("NAME:");
    return 0;
}
