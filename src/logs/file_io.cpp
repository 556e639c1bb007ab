// File access: path conversion, reading, line splitting and safe writing.
#include "logs/file_io.h"

#include "logs/error.h"
#include "logs/text.h"

#include <cerrno>
#include <cstdint>
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

std::vector<std::string> TextLines(std::string_view text) {
    std::vector<std::string> lines;
    TLineReader reader(text);
    for (std::string line; reader.Next(line);)
        lines.push_back(line);
    return lines;
}

TFileLineReader::TFileLineReader(std::string_view path, size_t blockSize)
    : path_(path), blockSize_(blockSize > 0 ? blockSize : 1) {
    const fs::path p = PathFromText(path);
    fd_ = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) throw TZelkError("Cannot open file \"" + path_ + "\". " + SystemReason(errno));
    std::string head(kEncodingHeadSize, '\0');
    try {
        head.resize(ReadAt(head.data(), head.size(), 0));
    } catch (...) {
        // The destructor does not run for an object that was never made.
        ::close(fd_);
        throw;
    }
    encoding_ = EncodingByHead(head);
    decided_ = encoding_ != TTextEncoding::Cp1251;
    if (decided_) decoder_.emplace(encoding_);
}

TFileLineReader::~TFileLineReader() {
    if (fd_ >= 0) ::close(fd_);
}

size_t TFileLineReader::ReadAt(char* to, size_t size, long long offset) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n =
            ::pread(fd_, to + done, size - done, static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            throw TZelkError("Cannot read file \"" + path_ + "\". " + SystemReason(errno));
        }
        done += static_cast<size_t>(n);
    }
    return done;
}

// The text from `from` on (the first byte above 0x7F) up to the end of the file or its Ctrl+Z is
// checked once: valid UTF-8 makes it a UTF-8 file, and what is still in the buffer is decoded.
bool TFileLineReader::RestIsUtf8(size_t from) {
    TUtf8Check check;
    if (!check.Feed(std::string_view(buffer_).substr(from))) return false;
    std::string block(blockSize_, '\0');
    long long at = offset_;
    while (!check.Ended()) {
        const size_t n = ReadAt(block.data(), block.size(), at);
        if (n == 0) break;
        at += static_cast<long long>(n);
        if (!check.Feed(std::string_view(block.data(), n))) return false;
    }
    return check.Valid();
}

namespace {

// The position of the first byte above 0x7F from `from` on, eight bytes at a time; npos when none.
size_t FirstHighByte(std::string_view s, size_t from) {
    size_t i = from;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, s.data() + i, 8);
        if (word & 0x8080808080808080ull) break;
    }
    for (; i < s.size(); ++i)
        if (static_cast<unsigned char>(s[i]) >= 0x80) return i;
    return std::string_view::npos;
}

} // namespace

// Looks at the bytes read since `from` while the encoding of a file without a byte-order mark is open.
void TFileLineReader::DecideEncoding(size_t from) {
    const size_t high = FirstHighByte(buffer_, from);
    if (high == std::string::npos) return;
    decided_ = true;
    // A Ctrl+Z before it ends the text: the file is plain whatever follows.
    if (std::string_view(buffer_).substr(from, high - from).find('\x1A') != std::string_view::npos ||
        !RestIsUtf8(high))
        return;
    encoding_ = TTextEncoding::Utf8;
    decoder_.emplace(encoding_);
    raw_.assign(buffer_, high);
    buffer_.resize(high);
    decoder_->Feed(raw_, buffer_);
}

bool TFileLineReader::Fill() {
    if (ended_) return false;
    buffer_.erase(0, pos_);
    pos_ = 0;
    const size_t old = buffer_.size();
    // A block of UTF-16 or UTF-8 may end inside a character and so give no text yet.
    while (buffer_.size() == old && !ended_) {
        size_t n = 0;
        if (decoder_) {
            raw_.resize(blockSize_);
            n = ReadAt(raw_.data(), blockSize_, offset_);
            raw_.resize(n);
            if (n == 0)
                decoder_->Finish(buffer_);
            else
                decoder_->Feed(raw_, buffer_);
        } else {
            buffer_.resize(old + blockSize_);
            n = ReadAt(buffer_.data() + old, blockSize_, offset_);
            buffer_.resize(old + n);
        }
        offset_ += static_cast<long long>(n);
        if (n == 0)
            ended_ = true;
        else if (!decided_)
            DecideEncoding(old);
    }
    const auto eof = buffer_.find('\x1A', old);
    if (eof != std::string::npos) {
        buffer_.resize(eof);
        ended_ = true;
    }
    return buffer_.size() > old;
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
