// Ini text in memory: parsing, lookup by section and key without regard to case, and writing back.
#include "settings/ini_file.h"

#include "logs/error.h"
#include "logs/file_io.h"
#include "logs/text.h"

#include <string>
#include <utility>

namespace zelk {
namespace {

bool IsBlankChar(char ch) {
    return static_cast<unsigned char>(ch) <= 32;
}

bool IsQuoted(std::string_view v) {
    return v.size() >= 2 && v.front() == '"' && v.back() == '"';
}

// The value as a Key=Value line holds it. Reading trims the value and drops enclosing quotes, so a
// value with blanks at an end, or one that is itself enclosed in quotes, gets quotes of its own.
std::string EncodeValue(std::string_view value) {
    std::string v(value);
    for (auto& ch : v)
        if (ch == '\r' || ch == '\n') ch = ' ';
    if (!v.empty() && (IsBlankChar(v.front()) || IsBlankChar(v.back()) || IsQuoted(v))) return '"' + v + '"';
    return v;
}

std::string DecodeValue(std::string_view raw) {
    std::string v = Trim(raw);
    if (IsQuoted(v)) return v.substr(1, v.size() - 2);
    return v;
}

} // namespace

TZelkIniFile::TZelkIniFile(std::string_view text) {
    sections_.push_back(Section{});
    size_t pos = 0;
    while (pos < text.size()) {
        const auto lf = text.find('\n', pos);
        const size_t end = lf == std::string_view::npos ? text.size() : lf;
        std::string line(text.substr(pos, end - pos));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        pos = lf == std::string_view::npos ? text.size() : lf + 1;

        const std::string trimmed = Trim(line);
        if (!trimmed.empty() && trimmed.front() == '[') {
            const auto close = trimmed.find(']');
            Section s;
            s.hasHeader = true;
            s.name = Trim(std::string_view(trimmed).substr(1, close == std::string::npos ? std::string::npos
                                                                                         : close - 1));
            s.header = std::move(line);
            sections_.push_back(std::move(s));
            continue;
        }
        Entry e;
        const auto eq = line.find('=');
        if (!trimmed.empty() && trimmed.front() != ';' && eq != std::string::npos) {
            e.key = Trim(std::string_view(line).substr(0, eq));
            if (!e.key.empty()) e.value = line.substr(eq + 1);
        }
        e.line = std::move(line);
        sections_.back().entries.push_back(std::move(e));
    }
}

TZelkIniFile TZelkIniFile::Load(std::string_view path) {
    if (!FileExists(path)) return TZelkIniFile();
    return TZelkIniFile(ReadFileBytes(path));
}

void TZelkIniFile::Save(std::string_view path) const {
    try {
        WriteFileAtomic(path, Text());
    } catch (const TZelkError&) {
        throw TZelkError(FormatText(kUnableToWrite, path));
    }
}

std::string TZelkIniFile::Text() const {
    std::string out;
    for (const auto& s : sections_) {
        if (s.hasHeader) out += s.header + "\r\n";
        for (const auto& e : s.entries)
            out += e.line + "\r\n";
    }
    return out;
}

const TZelkIniFile::Section* TZelkIniFile::FindSection(std::string_view name) const {
    for (const auto& s : sections_)
        if (s.hasHeader && SameText(s.name, name)) return &s;
    return nullptr;
}

TZelkIniFile::Section* TZelkIniFile::FindSection(std::string_view name) {
    return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

const TZelkIniFile::Entry* TZelkIniFile::FindEntry(std::string_view section, std::string_view key) const {
    const Section* s = FindSection(section);
    if (!s) return nullptr;
    for (const auto& e : s->entries)
        if (!e.key.empty() && SameText(e.key, key)) return &e;
    return nullptr;
}

bool TZelkIniFile::SectionExists(std::string_view section) const {
    return FindSection(section) != nullptr;
}

bool TZelkIniFile::ValueExists(std::string_view section, std::string_view key) const {
    return FindEntry(section, key) != nullptr;
}

std::string TZelkIniFile::ReadString(std::string_view section, std::string_view key,
                                     std::string_view def) const {
    const Entry* e = FindEntry(section, key);
    return e ? DecodeValue(e->value) : std::string(def);
}

int TZelkIniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
    const Entry* e = FindEntry(section, key);
    if (!e) return def;
    return StrToIntDef(DecodeValue(e->value), def);
}

bool TZelkIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TZelkIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Section* s = FindSection(section);
    if (!s) {
        // A blank line keeps the new section apart from the text before it.
        if (!sections_.empty()) {
            Section& last = sections_.back();
            const bool endsBlank =
                last.entries.empty() ? !last.hasHeader : Trim(last.entries.back().line).empty();
            if (!endsBlank) last.entries.push_back(Entry{});
        }
        Section added;
        added.hasHeader = true;
        added.name = std::string(section);
        added.header = "[" + added.name + "]";
        sections_.push_back(std::move(added));
        s = &sections_.back();
    }
    const std::string encoded = EncodeValue(value);
    size_t insertAt = 0;
    for (size_t i = 0; i < s->entries.size(); ++i) {
        Entry& e = s->entries[i];
        if (e.key.empty()) continue;
        if (SameText(e.key, key)) {
            // The key keeps the spelling the file gave it.
            e.value = encoded;
            e.line = e.key + "=" + encoded;
            return;
        }
        insertAt = i + 1;
    }
    Entry e;
    e.key = std::string(key);
    e.value = encoded;
    e.line = e.key + "=" + encoded;
    s->entries.insert(s->entries.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(e));
}

void TZelkIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TZelkIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

} // namespace zelk
