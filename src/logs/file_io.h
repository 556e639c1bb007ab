// File access of the core: path texts, existence tests, whole-file reading, text lines by the log
// line rules, and writing through a temporary file so a failed write never replaces a good file.
#pragma once

#include "logs/text_encoding.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelk {

// A path text of the program (Windows-1251, "\" or "/" as separator) as a path of the file system
// (UTF-8 names, "/" as separator).
std::filesystem::path PathFromText(std::string_view text);
// A file-system path as program text: UTF-8 names become Windows-1251; other bytes stay as they are.
std::string TextFromPath(const std::filesystem::path& path);
// "\" turned into "/".
std::string NativePath(std::string_view text);
// folder + "/" + name, without doubling a separator that `folder` already ends with.
std::string JoinPath(std::string_view folder, std::string_view name);
// The folder part of a path text with its trailing "/", or empty text.
std::string ExtractFilePath(std::string_view path);
// The name part of a path text.
std::string ExtractFileName(std::string_view path);
// `path` with its extension (from the last "." of the name) replaced by `ext` (which carries its ".").
std::string ChangeFileExt(std::string_view path, std::string_view ext);

// True when `path` names an existing regular file (a folder is not a file).
bool FileExists(std::string_view path);
bool DirectoryExists(std::string_view path);

// The whole content of a file; throws TZelkError naming the file and the system's reason.
std::string ReadFileBytes(std::string_view path);
// Writes `bytes` to a temporary file beside `path` and renames it over `path`; throws TZelkError
// naming the file and the system's reason, leaving any existing file untouched.
void WriteFileAtomic(std::string_view path, std::string_view bytes);

// Splits a text into lines: a line ends at LF or CR LF, a CR not followed by LF is dropped, and a
// Ctrl+Z (code 26) ends the text. The text given to the constructor must outlive the reader.
class TLineReader {
  public:
    explicit TLineReader(std::string_view text);
    // The next line; false at the end of the text.
    bool Next(std::string& line);

  private:
    std::string_view text_;
    size_t pos_ = 0;
};

// Every line of a text by those rules.
std::vector<std::string> TextLines(std::string_view text);

// The same line rules over a log file read in blocks, so that a huge log never sits in memory whole.
// A log in UTF-8 or UTF-16 is read as its Windows-1251 text (see text_encoding.h); a plain file's bytes
// come through unchanged. Whether a file without a byte-order mark is UTF-8 is decided at its first byte
// above 0x7F, by checking the rest of the file once; ASCII lines before it read the same either way.
class TFileLineReader {
  public:
    // Opens the file; throws TZelkError naming the file and the system's reason. `blockSize` is the size
    // of one read (the tests use tiny blocks to reach every boundary).
    explicit TFileLineReader(std::string_view path, size_t blockSize = 1 << 16);
    ~TFileLineReader();
    TFileLineReader(const TFileLineReader&) = delete;
    TFileLineReader& operator=(const TFileLineReader&) = delete;
    // The next line; false at the end of the text. Throws TZelkError on a read error.
    bool Next(std::string& line);
    // The encoding found: final once a byte above 0x7F has been read or the text has ended; Cp1251 before.
    TTextEncoding Encoding() const { return encoding_; }
    // Characters of a converted file that Windows-1251 lacks, read as '?' so far.
    size_t Replaced() const { return decoder_ ? decoder_->Replaced() : 0; }

  private:
    bool Fill();
    size_t ReadAt(char* to, size_t size, long long offset);
    void DecideEncoding(size_t from);
    bool RestIsUtf8(size_t from);

    std::string path_;
    int fd_ = -1;
    size_t blockSize_;
    long long offset_ = 0; // bytes of the file read so far
    std::string buffer_;   // text not yet handed out, Windows-1251
    std::string raw_;      // bytes waiting for the decoder
    size_t pos_ = 0;
    bool ended_ = false;
    TTextEncoding encoding_ = TTextEncoding::Cp1251;
    bool decided_ = false;
    std::optional<TTextDecoder> decoder_;
};

} // namespace zelk
