// TZelkContestModel: the logs of a contest folder in memory. Each log is read and parsed once and kept
// until its file changes (its size, its times or its inode); a lookup finds the log of a contact's
// callsign.
// The checks, the search, the viewer and the reports all read the logs through it; the main window keeps
// one between commands and lets it look at the folder again at the start of each.
#pragma once

#include "logs/contest_folder.h"
#include "logs/contest_reading.h"
#include "logs/log_content.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelk {

class TLogLookup;

// What tells a file that changed from one that did not: its size and modification time, and also the
// change time and number of its inode, so that a file saved through a new file (as the log editor saves)
// or touched in any way is read again even when the clock has not moved on.
struct TFileStamp {
    std::uintmax_t Size = 0;
    std::int64_t ModifiedNs = 0; // nanoseconds since 1970
    std::int64_t ChangedNs = 0;
    std::uintmax_t Inode = 0;
    bool operator==(const TFileStamp&) const = default;
};

// One entry of the contest folder as a log.
class TContestLog {
  public:
    // A log of the model's folder; `format` is the model's, so that every log is read with the same QSO
    // line format, and `reads` counts the model's reads. Each log is read under a lock of its own, so
    // that threads judging side by side read different logs at once.
    TContestLog(std::string diskName, std::string path, const TLogFormat& format,
                std::atomic<std::uint64_t>& reads)
        : diskName_(std::move(diskName)), path_(std::move(path)), format_(format), reads_(reads) {}

    const std::string& DiskName() const { return diskName_; }
    // The folder joined with the name on disk.
    const std::string& Path() const { return path_; }
    // The entry was a regular file when the model last looked at the folder.
    bool Exists() const { return exists_; }
    const TFileStamp& Stamp() const { return stamp_; }

    // The log as read from its file, read on the first use after the file appeared or changed and kept
    // from then on; a log whose file does not exist is empty. A file that cannot be read throws
    // TZelkError naming it, at this use and at every later one until it can be read. Safe to call from
    // several threads at once.
    const TLogContent& Content() const;
    const std::string& OwnerCall() const { return Content().OwnerCall; }
    const std::vector<TQSORecord>& Records() const { return Content().Records; }

  private:
    friend class TZelkContestModel;
    void Forget();

    std::string diskName_, path_;
    bool exists_ = false;
    TFileStamp stamp_;
    mutable std::mutex loading_;
    const TLogFormat& format_;
    std::atomic<std::uint64_t>& reads_;
    mutable std::atomic<bool> loaded_{false};
    mutable TLogContent content_;
};

class TZelkContestModel {
  public:
    TZelkContestModel();
    ~TZelkContestModel();
    TZelkContestModel(const TZelkContestModel&) = delete;
    TZelkContestModel& operator=(const TZelkContestModel&) = delete;

    // The logs of `folder` as `reading` finds and reads them: the folder is listed, no log is read yet
    // (but for their callsigns when the lookup goes by callsign). Everything known before is dropped.
    void Open(const std::string& folder, const TContestReading& reading);
    // The same with the default reading but for the files mask.
    void Open(const std::string& folder, const std::string& filesMask);
    // Looks at the folder again: files that came, went or were renamed are seen, and a log whose file
    // changed (its stamp) is read again on its next use; the others keep what was read. Not while
    // another thread reads the model.
    void Refresh();

    const std::string& Folder() const { return folder_; }
    const std::string& FilesMask() const { return reading_.FilesMask; }
    const TContestReading& Reading() const { return reading_; }
    // The entries that match the files mask, as the folder gave them at the last look, in its order.
    const std::vector<TFolderEntry>& Listed() const { return listed_; }
    // The log of the entry named `diskName` (exactly as on disk); nullptr when the folder never had it.
    const TContestLog* Log(std::string_view diskName) const;
    // The log of `path` when it names an entry of the folder, else nullptr.
    const TContestLog* LogAtPath(std::string_view path) const;
    // The log of the station `call`, by the lookup rule; nullptr when the contest has none. With the lookup
    // by callsign, a log that cannot be read counts as one without a callsign.
    const TContestLog* FindLog(std::string_view call) const;
    // How many times a log file was read since the model was made: once per log and change of its file.
    std::uint64_t LogsRead() const { return reads_->load(); }

  private:
    std::string folder_;
    TContestReading reading_;
    std::vector<TFolderEntry> listed_;
    std::unordered_map<std::string, std::unique_ptr<TContestLog>> logs_; // by name on disk
    std::unique_ptr<TLogLookup> lookup_;
    std::unique_ptr<std::atomic<std::uint64_t>> reads_;
};

} // namespace zelk
