// Telling the encodings of a log apart and converting them to and from Windows-1251.
#include "logs/text_encoding.h"

#include "logs/file_io.h"
#include "logs/text.h"

#include <array>

namespace zelk {

namespace {

constexpr char16_t kByteOrderMark = 0xFEFF;

// The Windows-1251 byte of every code point below U+2123 (the highest the code page holds); 0 where
// it has none, which never clashes with a real byte because code points below 0x80 are not looked up.
class TCp1251Table {
  public:
    TCp1251Table() {
        for (size_t k = 0; k < kCp1251High.size(); ++k)
            bytes_[kCp1251High[k]] = static_cast<unsigned char>(0x80 + k);
    }
    // The byte of `cp` (at least 0x80), or -1.
    int Byte(char32_t cp) const {
        if (cp >= bytes_.size() || bytes_[cp] == 0) return -1;
        return bytes_[cp];
    }

  private:
    std::array<unsigned char, 0x2123> bytes_{};
};

const TCp1251Table& Cp1251Table() {
    static const TCp1251Table table;
    return table;
}

// The range of the first continuation byte after a lead byte, and how many continuation bytes follow;
// 0 for a byte that cannot start a sequence. Overlong forms, surrogates and code points above U+10FFFF
// are ruled out by the ranges.
int LeadByte(unsigned char b, unsigned char& low, unsigned char& high) {
    low = 0x80, high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) return 1;
    if (b >= 0xE0 && b <= 0xEF) {
        if (b == 0xE0) low = 0xA0;
        if (b == 0xED) high = 0x9F;
        return 2;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        if (b == 0xF0) low = 0x90;
        if (b == 0xF4) high = 0x8F;
        return 3;
    }
    return 0;
}

bool IsUtf16(TTextEncoding e) {
    return e == TTextEncoding::Utf16LE || e == TTextEncoding::Utf16LEBom || e == TTextEncoding::Utf16BE ||
           e == TTextEncoding::Utf16BEBom;
}

bool IsBigEndian(TTextEncoding e) {
    return e == TTextEncoding::Utf16BE || e == TTextEncoding::Utf16BEBom;
}

bool HasBom(TTextEncoding e) {
    return e == TTextEncoding::Utf8Bom || e == TTextEncoding::Utf16LEBom || e == TTextEncoding::Utf16BEBom;
}

} // namespace

const std::string& EncodingName(TTextEncoding encoding) {
    static const std::string names[] = {"Windows-1251",       "UTF-8",     "UTF-8 с BOM"_cp,    "UTF-16 LE",
                                        "UTF-16 LE с BOM"_cp, "UTF-16 BE", "UTF-16 BE с BOM"_cp};
    return names[static_cast<size_t>(encoding)];
}

TTextEncoding EncodingByHead(std::string_view head) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(head[i]); };
    if (head.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF)
        return TTextEncoding::Utf8Bom;
    if (head.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE) return TTextEncoding::Utf16LEBom;
    if (head.size() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF) return TTextEncoding::Utf16BEBom;
    head = head.substr(0, kEncodingHeadSize);
    size_t evenZeros = 0, oddZeros = 0;
    const size_t units = head.size() / 2;
    for (size_t i = 0; i < units * 2; i += 2) {
        evenZeros += byte(i) == 0;
        oddZeros += byte(i + 1) == 0;
    }
    // A stray zero byte or a block of them (a damaged file) has zeros on both sides or too few.
    const auto mostlyOn = [units](size_t side, size_t other) {
        return side * 4 >= units && other * 16 <= side;
    };
    if (units > 0 && mostlyOn(oddZeros, evenZeros)) return TTextEncoding::Utf16LE;
    if (units > 0 && mostlyOn(evenZeros, oddZeros)) return TTextEncoding::Utf16BE;
    return TTextEncoding::Cp1251;
}

TTextEncoding DetectTextEncoding(std::string_view bytes) {
    const TTextEncoding byHead = EncodingByHead(bytes);
    if (byHead != TTextEncoding::Cp1251) return byHead;
    TUtf8Check check;
    check.Feed(bytes);
    return check.Valid() && check.HasMultiByte() ? TTextEncoding::Utf8 : TTextEncoding::Cp1251;
}

bool TUtf8Check::Feed(std::string_view bytes) {
    for (char ch : bytes) {
        if (broken_ || ended_) break;
        const auto b = static_cast<unsigned char>(ch);
        if (need_ > 0) {
            if (b < low_ || b > high_) {
                broken_ = true;
                break;
            }
            low_ = 0x80, high_ = 0xBF;
            --need_;
        } else if (b == 0x1A) {
            ended_ = true;
        } else if (b >= 0x80) {
            need_ = LeadByte(b, low_, high_);
            broken_ = need_ == 0;
            multiByte_ = true;
        }
    }
    if (ended_ && need_ > 0) broken_ = true;
    return !broken_;
}

void TTextDecoder::Put(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
        return;
    }
    if (cp == kByteOrderMark) return;
    const int byte = Cp1251Table().Byte(cp);
    if (byte < 0) {
        ++replaced_;
        out += '?';
        return;
    }
    out += static_cast<char>(byte);
}

void TTextDecoder::PutBroken(std::string& out) {
    ++replaced_;
    out += '?';
}

// One '?' stands for each broken sequence; the byte that broke it is read again as a new start.
void TTextDecoder::FeedUtf8(unsigned char b, std::string& out) {
    if (need_ > 0) {
        if (b >= low_ && b <= high_) {
            cp_ = (cp_ << 6) | (b & 0x3F);
            low_ = 0x80, high_ = 0xBF;
            if (--need_ == 0) Put(cp_, out);
            return;
        }
        need_ = 0;
        PutBroken(out);
    }
    if (b < 0x80) {
        out += static_cast<char>(b);
        return;
    }
    need_ = LeadByte(b, low_, high_);
    if (need_ == 0) {
        PutBroken(out);
        return;
    }
    cp_ = b & (need_ == 1 ? 0x1F : need_ == 2 ? 0x0F : 0x07);
}

void TTextDecoder::PutUnit(char16_t unit, std::string& out) {
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (highSurrogate_ != 0) {
        highSurrogate_ = 0;
        // A pair stands for a character beyond U+FFFF, which Windows-1251 never has.
        PutBroken(out);
        if (low) return;
    }
    if (high) {
        highSurrogate_ = unit;
    } else if (low) {
        PutBroken(out);
    } else {
        Put(unit, out);
    }
}

void TTextDecoder::Feed(std::string_view bytes, std::string& out) {
    switch (encoding_) {
    case TTextEncoding::Cp1251:
        out.append(bytes);
        return;
    case TTextEncoding::Utf8:
    case TTextEncoding::Utf8Bom:
        out.reserve(out.size() + bytes.size());
        for (char ch : bytes)
            FeedUtf8(static_cast<unsigned char>(ch), out);
        return;
    default:
        break;
    }
    out.reserve(out.size() + bytes.size() / 2 + 1);
    const bool big = IsBigEndian(encoding_);
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (oddByte_ < 0) {
            oddByte_ = b;
            continue;
        }
        const auto first = static_cast<char16_t>(oddByte_);
        oddByte_ = -1;
        PutUnit(big ? static_cast<char16_t>(first << 8 | b) : static_cast<char16_t>(b << 8 | first), out);
    }
}

void TTextDecoder::Finish(std::string& out) {
    if (need_ > 0) PutBroken(out);
    if (highSurrogate_ != 0) PutBroken(out);
    if (oddByte_ >= 0) PutBroken(out);
    need_ = 0;
    highSurrogate_ = 0;
    oddByte_ = -1;
}

std::string DecodeText(std::string_view bytes, TTextEncoding encoding, size_t* replaced) {
    if (encoding == TTextEncoding::Cp1251) {
        if (replaced) *replaced = 0;
        return std::string(bytes);
    }
    TTextDecoder decoder(encoding);
    std::string out;
    decoder.Feed(bytes, out);
    decoder.Finish(out);
    if (replaced) *replaced = decoder.Replaced();
    return out;
}

std::string EncodeText(std::string_view cp1251, TTextEncoding encoding) {
    if (encoding == TTextEncoding::Cp1251) return std::string(cp1251);
    if (!IsUtf16(encoding)) return (HasBom(encoding) ? "\xEF\xBB\xBF" : "") + ToUtf8(cp1251);
    const bool big = IsBigEndian(encoding);
    std::string out;
    out.reserve(cp1251.size() * 2 + 2);
    const auto unit = [&](char16_t u) {
        const auto hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += big ? hi : lo;
        out += big ? lo : hi;
    };
    if (HasBom(encoding)) unit(kByteOrderMark);
    for (char ch : cp1251) {
        const auto b = static_cast<unsigned char>(ch);
        unit(b < 0x80 ? b : kCp1251High[b - 0x80]);
    }
    return out;
}

std::string ReadLogText(std::string_view path, TTextEncoding* found) {
    const std::string bytes = ReadFileBytes(path);
    const TTextEncoding encoding = DetectTextEncoding(bytes);
    if (found) *found = encoding;
    return encoding == TTextEncoding::Cp1251 ? bytes : DecodeText(bytes, encoding);
}

} // namespace zelk
