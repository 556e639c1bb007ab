// The contest model: the folder's entries, their stamps, the logs read from them, and the lookup.
#include "logs/contest_model.h"

#include "logs/error.h"
#include "logs/file_io.h"
#include "logs/log_lookup.h"

#include <sys/stat.h>

namespace zelk {

namespace {

// The stamp of a regular file; false for anything else (missing, a folder, unreadable metadata).
bool StampOf(const std::string& path, TFileStamp& stamp) {
    struct stat st {};
    if (::stat(PathFromText(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    stamp.Size = static_cast<std::uintmax_t>(st.st_size);
    stamp.ModifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.ChangedNs = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    stamp.Inode = static_cast<std::uintmax_t>(st.st_ino);
    return true;
}

const TLogContent& NoContent() {
    static const TLogContent empty;
    return empty;
}

} // namespace

const TLogContent& TContestLog::Content() const {
    if (!exists_) return NoContent();
    if (loaded_.load(std::memory_order_acquire)) return content_;
    std::lock_guard<std::mutex> lock(loading_);
    if (!loaded_.load(std::memory_order_relaxed)) {
        content_ = ReadLogContent(path_, format_);
        ++reads_;
        loaded_.store(true, std::memory_order_release);
    }
    return content_;
}

void TContestLog::Forget() {
    loaded_.store(false, std::memory_order_relaxed);
    content_ = TLogContent();
}

TZelkContestModel::TZelkContestModel() : reads_(std::make_unique<std::atomic<std::uint64_t>>(0)) {}
TZelkContestModel::~TZelkContestModel() = default;

void TZelkContestModel::Open(const std::string& folder, const TContestReading& reading) {
    logs_.clear();
    folder_ = folder;
    reading_ = reading;
    Refresh();
}

void TZelkContestModel::Open(const std::string& folder, const std::string& filesMask) {
    TContestReading reading;
    reading.FilesMask = filesMask;
    Open(folder, reading);
}

void TZelkContestModel::Refresh() {
    auto byName = std::make_unique<TFileNameLookup>(reading_.FilesMask);
    const TLogFileFilter isLog(reading_.FilesMask, reading_.Exclusions);
    listed_.clear();
    for (auto& [name, log] : logs_)
        log->exists_ = false;
    for (auto& entry : EnumerateFolder(folder_, "*")) {
        auto& log = logs_[entry.Name];
        if (!log)
            log = std::make_unique<TContestLog>(entry.Name, JoinPath(folder_, entry.Name), reading_.Format,
                                                *reads_);
        TFileStamp stamp;
        const bool file = entry.IsFile && StampOf(log->path_, stamp);
        if (!file || stamp != log->stamp_) log->Forget();
        log->exists_ = file;
        log->stamp_ = file ? stamp : TFileStamp();
        entry.IsFile = file;
        const bool listed = isLog(entry);
        byName->Add(entry.Name, file ? log.get() : nullptr, listed);
        if (listed) listed_.push_back(std::move(entry));
    }
    for (auto& [name, log] : logs_)
        if (!log->exists_) log->Forget();
    if (!reading_.FindByCallSign) {
        lookup_ = std::move(byName);
        return;
    }
    // The lookup by callsign reads every listed log's CALLSIGN:; a log that cannot be read has none.
    std::vector<TListedLog> names;
    std::vector<const TContestLog*> logs;
    for (const TFolderEntry& entry : listed_) {
        const TContestLog* log = Log(entry.Name);
        std::string call;
        try {
            call = log->OwnerCall();
        } catch (const TZelkError&) {
        }
        names.push_back({entry.Name, std::move(call)});
        logs.push_back(log);
    }
    lookup_ = std::make_unique<TCallSignLookup>(
        std::move(names), std::move(logs), TLogFinderOptions{reading_.FilesMask, true}, std::move(byName));
}

const TContestLog* TZelkContestModel::Log(std::string_view diskName) const {
    const auto it = logs_.find(std::string(diskName));
    return it == logs_.end() ? nullptr : it->second.get();
}

const TContestLog* TZelkContestModel::LogAtPath(std::string_view path) const {
    const std::string name = ExtractFileName(path);
    const TContestLog* log = Log(name);
    return log && log->Path() == path ? log : nullptr;
}

const TContestLog* TZelkContestModel::FindLog(std::string_view call) const {
    return lookup_ ? lookup_->Find(call) : nullptr;
}

} // namespace zelk
