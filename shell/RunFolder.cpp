#include "shell/RunFolder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

namespace tamber::shell {
namespace fs = std::filesystem;

namespace {

bool IsFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

fs::path UserConfigFolder(const RunFolderPlaces& places) {
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    if (!places.configHome.empty() && fs::path(places.configHome).is_absolute()) return fs::path(places.configHome) / "tamber";
    return fs::path(places.home) / ".config" / "tamber";
}

// Links every shipped resource into res/ of the user's folder. The user's own files
// (regular files the program wrote) stay; links whose shipped file went away in an
// upgrade are removed.
Status MirrorShippedResources(const fs::path& shipped, const fs::path& res) {
    std::error_code ec;
    fs::create_directories(res, ec);
    if (ec) return Fail("Cannot create " + res.string() + ": " + ec.message());
    for (fs::directory_iterator it(res, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_symlink(ec) && !fs::exists(it->path(), ec)) fs::remove(it->path(), ec);
    }
    for (fs::directory_iterator it(shipped, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path link = res / it->path().filename();
        std::error_code statError;
        const fs::file_status status = fs::symlink_status(link, statError);
        if (fs::exists(status) && !fs::is_symlink(status)) continue;  // the user's own version
        if (fs::is_symlink(status) && fs::read_symlink(link, statError) == it->path()) continue;
        fs::remove(link, statError);
        fs::create_symlink(it->path(), link, ec);
        if (ec) return Fail("Cannot link " + link.string() + ": " + ec.message());
    }
    if (ec) return Fail("Cannot list " + shipped.string() + ": " + ec.message());
    return Ok();
}

}  // namespace

Result<std::string> ChooseRunFolder(const RunFolderPlaces& places) {
    if (IsFolder(fs::path(places.workingFolder) / "res")) return std::string();
    const fs::path programFolder = fs::path(places.executable).parent_path();
    if (IsFolder(programFolder / "res")) return programFolder.string();
    const fs::path shipped = programFolder.parent_path() / "share" / "tamber" / "res";
    if (!IsFolder(shipped)) return std::string();
    const fs::path user = UserConfigFolder(places);
    if (Status mirrored = MirrorShippedResources(shipped, user / "res"); !mirrored) return std::move(mirrored).TakeError();
    return user.string();
}

Status EnterRunFolder() {
    RunFolderPlaces places;
    std::error_code ec;
    places.workingFolder = fs::current_path(ec).string();
    places.executable = fs::read_symlink("/proc/self/exe", ec).string();
    if (const char* config = std::getenv("XDG_CONFIG_HOME")) places.configHome = config;
    if (const char* home = std::getenv("HOME")) places.home = home;
    Result<std::string> folder = ChooseRunFolder(places);
    if (!folder) return std::move(folder).TakeError();
    if (!folder->empty() && ::chdir(folder->c_str()) != 0) return Fail("Cannot change to " + *folder);
    return Ok();
}

}  // namespace tamber::shell
