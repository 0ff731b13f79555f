#include "ui/choosers/FileDialogs.h"

#include <filesystem>

#include "ui/choosers/FileDialogWindow.h"

namespace tamber::ui::choosers {

namespace {

bool RunFileDialog(const char* title, DialogPurpose purpose, const std::vector<FileFilter>& filters,
                   int& filterIndex, const std::string& start, std::vector<DialogOption>* options,
                   std::vector<std::string>& paths) {
    auto* dialog = new FileDialogWindow(title, purpose, filters, filterIndex, start, options);
    bool accepted = dialog->Run() && !dialog->Paths().empty();
    if (accepted) {
        paths = dialog->Paths();
        if (purpose != DialogPurpose::ChooseFolder) filterIndex = dialog->FilterIndex();
    }
    dialog->Close();
    return accepted;
}

bool RunSingle(const char* title, DialogPurpose purpose, const std::vector<FileFilter>& filters, int& filterIndex,
               std::string& path, std::vector<DialogOption>* options) {
    std::vector<std::string> paths;
    if (!RunFileDialog(title, purpose, filters, filterIndex, path, options, paths)) return false;
    path = paths.front();
    return true;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

// Runs a dialog of a kind: its title, remembered folder and format, and for folders
// the "Target Format:" row ahead of the caller's options.
bool RunKind(int kindNumber, DialogPurpose purpose, const char* title, const std::string& suggestion,
             int* format, std::vector<DialogOption>* options, std::vector<std::string>& paths) {
    const FileDialogKind& kind = FindFileDialogKind(kindNumber);
    // Without a remembered folder, a folder the caller gave (else the current one).
    std::string start = kind.StoredFolder(purpose, !suggestion.empty() && IsFolder(suggestion) ? suggestion : ".");
    // A suggested name for saving keeps its name and starts in the remembered folder.
    if (purpose == DialogPurpose::Save && !suggestion.empty() && !IsFolder(suggestion)) {
        start += "/" + suggestion.substr(suggestion.find_last_of('/') + 1);
    }
    const std::vector<FileFilter> filters = kind.Filters(purpose);
    const int filterCount = int(filters.size());
    int filterIndex = format && *format >= 0 && *format < filterCount ? *format : kind.StoredFormat(purpose);

    std::vector<DialogOption> rows;
    bool targetFormat = purpose == DialogPurpose::ChooseFolder && kind.FormatKey(purpose) && !filters.empty();
    if (targetFormat) rows.push_back({"Target Format:", kind.FormatOptionEntries(), filterIndex});
    if (options) rows.insert(rows.end(), options->begin(), options->end());

    if (!RunFileDialog(title ? title : kind.Title(purpose), purpose, filters, filterIndex, start,
                       rows.empty() ? nullptr : &rows, paths)) {
        return false;
    }
    if (targetFormat) filterIndex = rows.front().chosen;
    if (options) std::copy(rows.end() - long(options->size()), rows.end(), options->begin());
    kind.StoreFolder(purpose, purpose == DialogPurpose::ChooseFolder ? paths.front() : FolderOf(paths.front()));
    if (kind.FormatKey(purpose) && !filters.empty()) kind.StoreFormat(purpose, filterIndex);
    if (format) *format = filterIndex;
    return true;
}

bool RunKindSingle(int kind, DialogPurpose purpose, const char* title, std::string& path, int* format,
                   std::vector<DialogOption>* options) {
    std::vector<std::string> paths;
    if (!RunKind(kind, purpose, title, path, format, options, paths)) return false;
    path = paths.front();
    return true;
}

}  // namespace

bool OsOpenFile(const char* title, const std::vector<FileFilter>& filters, int& filterIndex, std::string& path,
                std::vector<DialogOption>* options) {
    return RunSingle(title, DialogPurpose::Open, filters, filterIndex, path, options);
}

bool OsOpenFiles(const char* title, const std::vector<FileFilter>& filters, int& filterIndex,
                 const std::string& folder, std::vector<std::string>& paths, std::vector<DialogOption>* options) {
    return RunFileDialog(title, DialogPurpose::OpenSeveral, filters, filterIndex, folder, options, paths);
}

bool OsSaveFile(const char* title, const std::vector<FileFilter>& filters, int& filterIndex, std::string& path,
                std::vector<DialogOption>* options) {
    return RunSingle(title, DialogPurpose::Save, filters, filterIndex, path, options);
}

bool OsChooseFolder(const char* title, std::string& path, std::vector<DialogOption>* options) {
    int unused = 0;
    return RunSingle(title, DialogPurpose::ChooseFolder, {}, unused, path, options);
}

bool ChooseFolderOfKind(int kind, const char* title, std::string& path, int* format,
                        std::vector<DialogOption>* options) {
    return RunKindSingle(kind, DialogPurpose::ChooseFolder, title, path, format, options);
}

bool OpenFileOfKind(int kind, const char* title, std::string& path, int* format, std::vector<DialogOption>* options) {
    return RunKindSingle(kind, DialogPurpose::Open, title, path, format, options);
}

bool OpenFilesOfKind(int kind, const char* title, std::vector<std::string>& paths, int* format,
                     std::vector<DialogOption>* options) {
    return RunKind(kind, DialogPurpose::OpenSeveral, title, {}, format, options, paths);
}

bool SaveFileOfKind(int kind, const char* title, std::string& path, int* format, std::vector<DialogOption>* options) {
    return RunKindSingle(kind, DialogPurpose::Save, title, path, format, options);
}

}  // namespace tamber::ui::choosers
