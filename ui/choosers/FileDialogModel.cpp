#include "ui/choosers/FileDialogModel.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <strings.h>
#include <unistd.h>

namespace tamber::ui::choosers {

namespace fs = std::filesystem;

namespace {

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    return home && *home ? home : "/";
}

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool IsFile(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec) && !fs::is_directory(path, ec);
}

std::string ParentOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0) return "/";
    return path.substr(0, slash);
}

std::string Join(const std::string& folder, const std::string& name) {
    return NormalisePath(folder == "/" ? "/" + name : folder + "/" + name);
}

}  // namespace

std::string NormalisePath(const std::string& path) {
    std::string p = path;
    std::replace(p.begin(), p.end(), '\\', '/');
    bool absolute = !p.empty() && p[0] == '/';
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= p.size()) {
        size_t slash = p.find('/', start);
        std::string part = p.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..") parts.pop_back();
            else if (!absolute) parts.push_back(part);
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    std::string out = absolute ? "/" : "";
    for (size_t i = 0; i < parts.size(); ++i) out += (i ? "/" : "") + parts[i];
    return out.empty() ? "." : out;
}

FileDialogModel::FileDialogModel(DialogPurpose purpose, std::vector<FileFilter> filters, int filterIndex)
    : purpose_(purpose), filters_(std::move(filters)) {
    filterIndex_ = filters_.empty() ? 0 : std::clamp(filterIndex, 0, int(filters_.size()) - 1);
}

bool FileDialogModel::Matches(const std::string& name, const std::string& pattern) {
    if (pattern.empty() || pattern == "*" || pattern == "*.*") return true;
    if (const size_t split = pattern.find(';'); split != std::string::npos) {
        return Matches(name, pattern.substr(0, split)) || Matches(name, pattern.substr(split + 1));
    }
    if (pattern.rfind("*.", 0) != 0) return strcasecmp(name.c_str(), pattern.c_str()) == 0;
    std::string ending = pattern.substr(1);  // ".png"
    return name.size() > ending.size() &&
           strcasecmp(name.c_str() + name.size() - ending.size(), ending.c_str()) == 0;
}

bool FileDialogModel::SetFolder(const std::string& path) {
    std::string folder = NormalisePath(path.empty() ? "." : path);
    if (folder[0] != '/') {
        std::error_code ec;
        folder = NormalisePath(fs::absolute(folder, ec).string());
    }
    std::error_code ec;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    if (ec) return false;
    std::vector<FileEntry> listed;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        FileEntry entry;
        entry.name = it->path().filename().string();
        if (entry.name.empty() || entry.name[0] == '.') continue;  // hidden files
        std::error_code statError;
        entry.isFolder = it->is_directory(statError);
        if (!entry.isFolder) entry.size = it->file_size(statError);
        auto time = it->last_write_time(statError);
        if (!statError) {
            entry.modified = std::chrono::duration_cast<std::chrono::seconds>(
                                 std::chrono::file_clock::to_sys(time).time_since_epoch())
                                 .count();
        }
        listed.push_back(std::move(entry));
    }
    folder_ = folder;
    all_ = std::move(listed);
    Sort();
    return true;
}

bool FileDialogModel::GoUp() { return folder_ != "/" && SetFolder(ParentOf(folder_)); }
bool FileDialogModel::GoHome() { return SetFolder(HomeFolder()); }

void FileDialogModel::SetFilter(int index) {
    if (filters_.empty()) return;
    filterIndex_ = std::clamp(index, 0, int(filters_.size()) - 1);
    Sort();
}

void FileDialogModel::SortBy(SortColumn column, bool descending) {
    sortColumn_ = column;
    descending_ = descending;
    Sort();
}

void FileDialogModel::Sort() {
    entries_.clear();
    const std::string pattern = filters_.empty() ? "*.*" : filters_[size_t(filterIndex_)].pattern;
    for (const FileEntry& e : all_) {
        if (e.isFolder || (purpose_ != DialogPurpose::ChooseFolder && Matches(e.name, pattern))) entries_.push_back(e);
    }
    auto less = [this](const FileEntry& a, const FileEntry& b) {
        if (a.isFolder != b.isFolder) return a.isFolder;
        int order = 0;
        if (sortColumn_ == SortColumn::Size && a.size != b.size) order = a.size < b.size ? -1 : 1;
        if (sortColumn_ == SortColumn::Date && a.modified != b.modified) order = a.modified < b.modified ? -1 : 1;
        if (order == 0) order = strcasecmp(a.name.c_str(), b.name.c_str());
        if (order == 0) order = a.name.compare(b.name);
        return descending_ ? order > 0 : order < 0;
    };
    std::stable_sort(entries_.begin(), entries_.end(), less);
}

std::string FileDialogModel::Resolve(const std::string& typed) const {
    if (typed.empty()) return folder_;
    if (typed == "~") return HomeFolder();
    if (typed.rfind("~/", 0) == 0) return NormalisePath(HomeFolder() + typed.substr(1));
    if (typed[0] == '/') return NormalisePath(typed);
    return Join(folder_, typed);
}

FileDialogModel::Decision FileDialogModel::ConfirmFile(const std::string& path) const {
    Decision d;
    const std::string name = path.substr(path.find_last_of('/') + 1);
    if (IsFolder(path)) {
        d.kind = Decision::EnterFolder;
        d.folder = path;
        return d;
    }
    switch (purpose_) {
    case DialogPurpose::Open:
    case DialogPurpose::OpenSeveral:
        if (IsFile(path)) {
            d.kind = Decision::Accept;
            d.paths = {path};
        } else {
            d.reason = "'" + name + "' was not found. Check the file name and try again.";
        }
        return d;
    case DialogPurpose::Save: {
        std::string target = path;
        // A name without an extension gets the chosen filter's.
        if (!filters_.empty()) {
            const std::string& pattern = filters_[size_t(filterIndex_)].pattern;
            std::string name = target.substr(target.find_last_of('/') + 1);
            if (pattern.rfind("*.", 0) == 0 && pattern != "*.*" && name.find('.') == std::string::npos) {
                target += pattern.substr(1);
            }
        }
        if (!IsFolder(ParentOf(target))) {
            d.reason = "The folder of '" + name + "' was not found. Check the path and try again.";
            return d;
        }
        if (IsFile(target)) {
            if (access(target.c_str(), W_OK) != 0) {
                d.reason = "'" + target.substr(target.find_last_of('/') + 1) + "' is read-only. Choose another name.";
                return d;
            }
            d.kind = Decision::AskOverwrite;
        } else {
            d.kind = Decision::Accept;
        }
        d.paths = {target};
        return d;
    }
    case DialogPurpose::ChooseFolder:
        d.reason = IsFile(path) ? "'" + name + "' is a file, not a folder. Choose a folder."
                                : "The folder '" + name + "' was not found. Check the name and try again.";
        return d;
    }
    return d;
}

FileDialogModel::Decision FileDialogModel::Confirm(const std::string& typed, const std::vector<size_t>& selected) const {
    Decision d;
    if (!typed.empty()) return ConfirmFile(Resolve(typed));

    std::vector<const FileEntry*> chosen;
    for (size_t index : selected) {
        if (index < entries_.size()) chosen.push_back(&entries_[index]);
    }
    if (purpose_ == DialogPurpose::ChooseFolder) {
        // An empty name takes the selected folder, or else the folder being shown.
        d.kind = Decision::Accept;
        d.paths = {chosen.size() == 1 && chosen[0]->isFolder ? Join(folder_, chosen[0]->name) : folder_};
        return d;
    }
    if (chosen.empty()) return d;
    if (chosen.size() == 1 && chosen[0]->isFolder) {
        d.kind = Decision::EnterFolder;
        d.folder = Join(folder_, chosen[0]->name);
        return d;
    }
    if (purpose_ == DialogPurpose::Save) return ConfirmFile(Join(folder_, chosen[0]->name));
    if (purpose_ == DialogPurpose::Open && chosen.size() > 1) return d;
    d.kind = Decision::Accept;
    for (const FileEntry* e : chosen) {
        if (!e->isFolder) d.paths.push_back(Join(folder_, e->name));
    }
    if (d.paths.empty()) d.kind = Decision::Refuse;
    return d;
}

}  // namespace tamber::ui::choosers
