// The encodings a log may arrive in (Windows-1251, UTF-8 and UTF-16, with or without a byte-order mark),
// how they are told apart, and their conversion to and from the Windows-1251 text the program works with.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelk {

enum class TTextEncoding { Cp1251, Utf8, Utf8Bom, Utf16LE, Utf16LEBom, Utf16BE, Utf16BEBom };

// The name the judge is shown: "Windows-1251", "UTF-8 с BOM", "UTF-16 LE", ...
const std::string& EncodingName(TTextEncoding encoding);

// How many bytes at the start of a file EncodingByHead looks at.
inline constexpr size_t kEncodingHeadSize = 4096;

// What the first bytes of a file tell by themselves: a byte-order mark, or the zero bytes that ASCII
// characters leave in UTF-16 text (at least a quarter of the characters, nearly all in the high or the
// low byte). Cp1251 when they tell nothing; whether such a file is UTF-8 takes the rest of its text.
TTextEncoding EncodingByHead(std::string_view head);

// The encoding of a whole file: EncodingByHead of its start; otherwise UTF-8 when the text before the
// first Ctrl+Z is valid UTF-8 holding at least one multi-byte sequence, and Windows-1251 when not.
TTextEncoding DetectTextEncoding(std::string_view bytes);

// Checks UTF-8 piece by piece, so that a file can be checked in blocks.
class TUtf8Check {
  public:
    // Takes the next bytes; a Ctrl+Z ends the text. False once a byte breaks the rules (then or earlier).
    bool Feed(std::string_view bytes);
    // True when a Ctrl+Z has been met: what follows is no text.
    bool Ended() const { return ended_; }
    // The text so far is valid UTF-8 that ends with a whole character.
    bool Valid() const { return !broken_ && need_ == 0; }
    bool HasMultiByte() const { return multiByte_; }

  private:
    int need_ = 0;
    unsigned char low_ = 0x80, high_ = 0xBF; // allowed range of the next continuation byte
    bool broken_ = false, ended_ = false, multiByte_ = false;
};

// Converts text in one encoding to Windows-1251 piece by piece. Characters Windows-1251 lacks and broken
// sequences become '?'; U+FEFF (a byte-order mark, wherever it stands) is dropped.
class TTextDecoder {
  public:
    explicit TTextDecoder(TTextEncoding encoding) : encoding_(encoding) {}
    // Appends the text of the next bytes to `out`; a character cut by the end of `bytes` waits for the
    // next call.
    void Feed(std::string_view bytes, std::string& out);
    // The end of the input: a cut character becomes '?'.
    void Finish(std::string& out);
    // How many '?' stand for characters or bytes that had no Windows-1251 form.
    size_t Replaced() const { return replaced_; }

  private:
    void FeedUtf8(unsigned char b, std::string& out);
    void PutUnit(char16_t unit, std::string& out);
    void Put(char32_t cp, std::string& out);
    void PutBroken(std::string& out);

    TTextEncoding encoding_;
    size_t replaced_ = 0;
    // UTF-8: continuation bytes still wanted, their allowed range and the code point so far.
    int need_ = 0;
    unsigned char low_ = 0x80, high_ = 0xBF;
    char32_t cp_ = 0;
    // UTF-16: the first byte of a unit, and a high surrogate waiting for its low one.
    int oddByte_ = -1;
    char16_t highSurrogate_ = 0;
};

// The Windows-1251 text of `bytes` read in `encoding`; `replaced` receives the number of '?' put in.
std::string DecodeText(std::string_view bytes, TTextEncoding encoding, size_t* replaced = nullptr);
// Windows-1251 text written in `encoding`, with its byte-order mark where the encoding has one.
std::string EncodeText(std::string_view cp1251, TTextEncoding encoding);

// The whole text of a log as Windows-1251, whatever encoding the file is in; `found` receives the
// encoding. Throws TZelkError naming the file and the system's reason.
std::string ReadLogText(std::string_view path, TTextEncoding* found = nullptr);

} // namespace zelk
