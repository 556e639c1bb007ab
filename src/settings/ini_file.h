// TZelkIniFile: a Windows-style ini text (sections, Key=Value lines) held in memory, read from and
// written back to a file so that the lines we do not touch stay as they were.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelk {

// The message of a settings file that cannot be written; the file's path goes in place of %s.
inline constexpr std::string_view kUnableToWrite = "Unable to write to %s";

class TZelkIniFile {
  public:
    TZelkIniFile() = default;
    // Parses ini text; lines may end with LF or CR LF.
    explicit TZelkIniFile(std::string_view text);

    // The file at `path`, or an empty ini when there is no such file. A file that exists but cannot
    // be read raises TZelkError.
    static TZelkIniFile Load(std::string_view path);
    // Writes Text() over `path` through a temporary file; on failure raises TZelkError with
    // "Unable to write to <path>" and leaves the old file as it was.
    void Save(std::string_view path) const;
    // The ini as file text: every line ends with CR LF.
    std::string Text() const;

    // Sections and keys are matched without regard to letter case; the first of duplicates counts.
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

    // The value of a key, or `def` when the key is missing. Blanks around the value are dropped and
    // one pair of enclosing double quotes is removed.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    // A decimal integer; a missing key or a value that is not an integer gives `def`.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    // Any integer other than 0 is true; otherwise as ReadInteger.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    // Replaces the value of an existing key in place, or adds the key at the end of its section
    // (the section is added at the end of the text when missing). Line breaks inside `value` become
    // blanks; a value that would lose characters on reading is written in double quotes.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

  private:
    // One line of a section: a Key=Value line, or any other line kept as it stands.
    struct Entry {
        std::string line;
        std::string key;   // empty for lines that hold no key
        std::string value; // the raw text after "="
    };
    struct Section {
        bool hasHeader = false; // false only for the lines before the first section line
        std::string name;
        std::string header;
        std::vector<Entry> entries;
    };

    const Section* FindSection(std::string_view name) const;
    Section* FindSection(std::string_view name);
    const Entry* FindEntry(std::string_view section, std::string_view key) const;

    std::vector<Section> sections_;
};

} // namespace zelk
