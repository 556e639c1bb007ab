// The program's data folder and the user's folder, and the files looked up in them.
#include "settings/app_paths.h"

#include "logs/file_io.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifndef ZELK_INSTALLED_DATA
#define ZELK_INSTALLED_DATA "../share/zelkon"
#endif

namespace zelk {
namespace {

namespace fs = std::filesystem;

std::string WithoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

std::string Relative(std::string_view relative) {
    if (!relative.empty() && (relative.front() == '/' || relative.front() == '\\')) relative.remove_prefix(1);
    return NativePath(relative);
}

std::string ExecutableFolder() {
    std::error_code ec;
    const auto exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) return TextFromPath(exe.parent_path());
    // Without /proc the program is taken to run from the current folder.
    const auto cwd = fs::current_path(ec);
    return ec ? std::string(".") : TextFromPath(cwd);
}

bool CanWrite(const std::string& folder) {
    return ::access(PathFromText(folder).c_str(), W_OK) == 0;
}

} // namespace

TZelkAppPaths TZelkAppPaths::Portable(const std::string& programFolder) {
    return TZelkAppPaths(programFolder, programFolder, programFolder);
}

TZelkAppPaths::TZelkAppPaths(const std::string& programFolder, const std::string& dataFolder,
                             const std::string& userFolder)
    : programFolder_(WithoutTrailingSlash(NativePath(programFolder))),
      dataFolder_(dataFolder.empty() ? programFolder_ : WithoutTrailingSlash(NativePath(dataFolder))),
      userFolder_(userFolder.empty() ? programFolder_ : WithoutTrailingSlash(NativePath(userFolder))) {}

TZelkAppPaths TZelkAppPaths::ForProgram(const std::string& programFolder, const std::string& installedData,
                                        const std::string& userFolder) {
    if (!installedData.empty()) {
        const fs::path data = (PathFromText(programFolder) / PathFromText(installedData)).lexically_normal();
        std::error_code ec;
        if (fs::is_directory(data, ec)) return TZelkAppPaths(programFolder, TextFromPath(data), userFolder);
    }
    if (CanWrite(programFolder)) return Portable(programFolder);
    return TZelkAppPaths(programFolder, programFolder, userFolder);
}

TZelkAppPaths TZelkAppPaths::ForThisProgram() {
    return ForProgram(ExecutableFolder(), ZELK_INSTALLED_DATA,
                      UserConfigFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")));
}

std::string TZelkAppPaths::DataFile(std::string_view relative) const {
    return JoinPath(dataFolder_, Relative(relative));
}

std::string TZelkAppPaths::UserFile(std::string_view relative) const {
    return JoinPath(userFolder_, Relative(relative));
}

std::string TZelkAppPaths::ReadFile(std::string_view relative) const {
    const std::string own = UserFile(relative);
    if (!SeparateUserFolder() || FileExists(own)) return own;
    return DataFile(relative);
}

void TZelkAppPaths::MakeUserFolder() const {
    if (!SeparateUserFolder()) return;
    std::error_code ignored;
    fs::create_directories(PathFromText(userFolder_), ignored);
}

std::string UserConfigFolder(const char* xdgConfigHome, const char* home) {
    if (xdgConfigHome && xdgConfigHome[0] == '/') return TextFromPath(fs::path(xdgConfigHome) / "zelkon");
    std::string base = home && home[0] ? home : "";
    if (base.empty()) {
        // A session without HOME (a service, su without -l) still has the account's home folder.
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) base = pw->pw_dir;
    }
    return TextFromPath(fs::path(base.empty() ? "/" : base) / ".config" / "zelkon");
}

TScriptFileLocation JudgingScriptFile(const TZelkAppPaths& paths, const std::string& folder,
                                      const std::string& fileName) {
    if (!folder.empty()) {
        const std::string file = JoinPath(folder, fileName);
        return {file, file};
    }
    const std::string relative = "script/" + fileName;
    return {paths.ReadFile(relative), paths.UserFile(relative)};
}

} // namespace zelk
