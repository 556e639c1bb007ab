// File access: path conversion, reading, line splitting and safe writing.
#include "logs/file_io.h"

#include "logs/error.h"
#include "logs/text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace zelk {
namespace fs = std::filesystem;

namespace {

std::string SystemReason(int err) {
    return FromUtf8(std::strerror(err));
}

// Closes a POSIX file descriptor on every path.
struct FdGuard {
    int fd = -1;
    ~FdGuard() {
        if (fd >= 0) ::close(fd);
    }
};

} // namespace

std::string NativePath(std::string_view text) {
    std::string r(text);
    for (auto& ch : r)
        if (ch == '\\') ch = '/';
    return r;
}

fs::path PathFromText(std::string_view text) {
    return fs::path(ToUtf8(NativePath(text)));
}

std::string TextFromPath(const fs::path& path) {
    const std::string& raw = path.native();
    return IsValidUtf8(raw) ? FromUtf8(raw) : raw;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string r(folder);
    if (!r.empty() && r.back() != '/' && r.back() != '\\') r += '/';
    r += name;
    return r;
}

std::string ExtractFilePath(std::string_view path) {
    const auto pos = path.find_last_of("/\\");
    return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos + 1));
}

std::string ExtractFileName(std::string_view path) {
    const auto pos = path.find_last_of("/\\");
    return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
    const auto slash = path.find_last_of("/\\");
    const auto dot = path.find_last_of('.');
    const bool hasExt = dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
    std::string r(hasExt ? path.substr(0, dot) : path);
    r += ext;
    return r;
}

bool FileExists(std::string_view path) {
    if (path.empty()) return false;
    std::error_code ec;
    return fs::is_regular_file(PathFromText(path), ec);
}

bool DirectoryExists(std::string_view path) {
    if (path.empty()) return false;
    std::error_code ec;
    return fs::is_directory(PathFromText(path), ec);
}

std::string ReadFileBytes(std::string_view path) {
    const fs::path p = PathFromText(path);
    FdGuard f{::open(p.c_str(), O_RDONLY | O_CLOEXEC)};
    if (f.fd < 0) throw TZelkError("Cannot open file \"" + std::string(path) + "\". " + SystemReason(errno));
    std::string data;
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = ::read(f.fd, buf, sizeof buf);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            throw TZelkError("Cannot read file \"" + std::string(path) + "\". " + SystemReason(errno));
        }
        data.append(buf, static_cast<size_t>(n));
    }
    return data;
}

void WriteFileAtomic(std::string_view path, std::string_view bytes) {
    const fs::path target = PathFromText(path);
    const auto fail = [&](int err) {
        return TZelkError("Cannot create file \"" + std::string(path) + "\". " + SystemReason(err));
    };
    std::error_code ec;
    if (fs::is_directory(target, ec)) throw fail(EISDIR);
    std::random_device rd;
    fs::path tmp = target;
    tmp += ".tmp" + std::to_string(rd() % 1000000);
    {
        FdGuard f{::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644)};
        if (f.fd < 0) throw fail(errno);
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(f.fd, bytes.data() + done, bytes.size() - done);
            if (n < 0) {
                if (errno == EINTR) continue;
                const int err = errno;
                ::unlink(tmp.c_str());
                throw fail(err);
            }
            done += static_cast<size_t>(n);
        }
        int err = ::fsync(f.fd) != 0 ? errno : 0;
        if (::close(f.fd) != 0 && err == 0) err = errno;
        f.fd = -1;
        if (err != 0) {
            ::unlink(tmp.c_str());
            throw fail(err);
        }
    }
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        throw fail(err);
    }
}

TLineReader::TLineReader(std::string_view text) : text_(text) {
    const auto eof = text_.find('\x1A');
    if (eof != std::string_view::npos) text_ = text_.substr(0, eof);
}

namespace {

// Appends the bytes of `part` to `line` without its CR characters: a CR before LF belongs to the line
// end, and a CR anywhere else is dropped.
void AppendWithoutCR(std::string& line, std::string_view part) {
    size_t start = 0;
    for (;;) {
        const auto cr = part.find('\r', start);
        if (cr == std::string_view::npos) {
            line.append(part.substr(start));
            return;
        }
        line.append(part.substr(start, cr - start));
        start = cr + 1;
    }
}

} // namespace

bool TLineReader::Next(std::string& line) {
    if (pos_ >= text_.size()) return false;
    const auto lf = text_.find('\n', pos_);
    const size_t end = lf == std::string_view::npos ? text_.size() : lf;
    line.clear();
    AppendWithoutCR(line, text_.substr(pos_, end - pos_));
    pos_ = lf == std::string_view::npos ? text_.size() : lf + 1;
    return true;
}

TFileLineReader::TFileLineReader(std::string_view path) : path_(path) {
    const fs::path p = PathFromText(path);
    fd_ = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) throw TZelkError("Cannot open file \"" + path_ + "\". " + SystemReason(errno));
}

TFileLineReader::~TFileLineReader() {
    if (fd_ >= 0) ::close(fd_);
}

bool TFileLineReader::Fill() {
    if (ended_) return false;
    buffer_.erase(0, pos_);
    pos_ = 0;
    const size_t old = buffer_.size();
    buffer_.resize(old + (1 << 16));
    ssize_t n;
    do {
        n = ::read(fd_, buffer_.data() + old, 1 << 16);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        buffer_.resize(old);
        throw TZelkError("Cannot read file \"" + path_ + "\". " + SystemReason(errno));
    }
    buffer_.resize(old + static_cast<size_t>(n));
    const auto eof = buffer_.find('\x1A', old);
    if (eof != std::string::npos) {
        buffer_.resize(eof);
        ended_ = true;
    }
    if (n == 0) ended_ = true;
    return n > 0;
}

bool TFileLineReader::Next(std::string& line) {
    line.clear();
    bool any = false;
    for (;;) {
        const auto lf = buffer_.find('\n', pos_);
        if (lf != std::string::npos) {
            AppendWithoutCR(line, std::string_view(buffer_).substr(pos_, lf - pos_));
            pos_ = lf + 1;
            return true;
        }
        // No line end in the buffer: keep what is there and read more.
        if (pos_ < buffer_.size()) any = true;
        AppendWithoutCR(line, std::string_view(buffer_).substr(pos_));
        pos_ = buffer_.size();
        if (!Fill()) return any || !line.empty();
    }
}

} // namespace zelk
