// Temporary folders for tests.
#include "support/temp_dir.h"

#include "logs/file_io.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace zelk::test {
namespace fs = std::filesystem;

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("zelk-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string TempDir::Text() const {
    return TextFromPath(path_);
}

std::string TempDir::File(std::string_view name) const {
    return JoinPath(Text(), name);
}

std::string TempDir::Write(std::string_view name, std::string_view bytes) const {
    const fs::path p = PathFromText(File(name));
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return File(name);
}

std::string TempDir::Read(std::string_view name) const {
    std::ifstream in(PathFromText(File(name)), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool TempDir::Exists(std::string_view name) const {
    std::error_code ec;
    return fs::exists(PathFromText(File(name)), ec);
}

void TempDir::MakeDir(std::string_view name) const {
    fs::create_directories(PathFromText(File(name)));
}

} // namespace zelk::test
