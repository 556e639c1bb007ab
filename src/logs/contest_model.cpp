// The contest model: the folder's entries, their stamps, the logs read from them, and the lookup.
#include "logs/contest_model.h"

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
        content_ = ReadLogContent(path_);
        ++reads_;
        loaded_.store(true, std::memory_order_release);
    }
    return content_;
}

void TContestLog::Forget() {
    loaded_.store(false, std::memory_order_relaxed);
    content_ = TLogContent();
}

TZelkContestModel::TZelkContestModel()
    : loading_(std::make_unique<std::mutex>()), reads_(std::make_unique<std::atomic<std::uint64_t>>(0)) {}
TZelkContestModel::~TZelkContestModel() = default;

void TZelkContestModel::Open(const std::string& folder, const std::string& filesMask) {
    folder_ = folder;
    filesMask_ = filesMask;
    logs_.clear();
    Refresh();
}

void TZelkContestModel::Refresh() {
    auto lookup = std::make_unique<TFileNameLookup>(filesMask_);
    listed_.clear();
    for (auto& [name, log] : logs_)
        log->exists_ = false;
    for (auto& entry : EnumerateFolder(folder_, "*")) {
        auto& log = logs_[entry.Name];
        if (!log)
            log =
                std::make_unique<TContestLog>(entry.Name, JoinPath(folder_, entry.Name), *loading_, *reads_);
        TFileStamp stamp;
        const bool file = entry.IsFile && StampOf(log->path_, stamp);
        if (!file || stamp != log->stamp_) log->Forget();
        log->exists_ = file;
        log->stamp_ = file ? stamp : TFileStamp();
        lookup->Add(entry.Name, file ? log.get() : nullptr);
        if (MatchesMask(entry.Name, filesMask_)) listed_.push_back(std::move(entry));
    }
    for (auto& [name, log] : logs_)
        if (!log->exists_) log->Forget();
    lookup_ = std::move(lookup);
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
