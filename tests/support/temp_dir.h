// A temporary folder for one test, removed with everything in it when the test ends. The core tests use
// it as it is; the window tests through their TempFolder, which adds Qt names and UTF-8 texts.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zelk::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The folder as program text (what the settings and the contest hold).
    std::string Text() const;
    // Path text of `name` inside the folder.
    std::string File(std::string_view name) const;
    // Writes `bytes` to `name` (sub-folders created as needed) and returns its path text.
    std::string Write(std::string_view name, std::string_view bytes) const;
    std::string Read(std::string_view name) const;
    bool Exists(std::string_view name) const;
    void MakeDir(std::string_view name) const;

  private:
    std::filesystem::path path_;
};

} // namespace zelk::test
