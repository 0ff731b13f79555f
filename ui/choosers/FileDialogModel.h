#pragma once
// What a file or folder dialog shows and decides, without the window: the folder
// being browsed, its entries filtered and sorted, and what pressing OK means for
// a typed name and the selected entries.
#include <cstdint>
#include <string>
#include <vector>

#include "ui/choosers/FileDialogKinds.h"

namespace tamber::ui::choosers {

struct FileEntry {
    std::string name;
    bool isFolder = false;
    uint64_t size = 0;
    int64_t modified = 0;  // seconds since the epoch
};

class FileDialogModel {
public:
    enum class SortColumn { Name = 0, Size = 1, Date = 2 };

    struct Decision {
        enum Kind { Refuse, EnterFolder, Accept, AskOverwrite } kind = Refuse;
        std::string folder;               // EnterFolder
        std::vector<std::string> paths;   // Accept, AskOverwrite
        std::string reason;               // Refuse: what the user is told (none: a beep)
    };

    FileDialogModel(DialogPurpose purpose, std::vector<FileFilter> filters, int filterIndex);

    // Lists the folder; false (nothing changed) when it cannot be read.
    bool SetFolder(const std::string& path);
    const std::string& Folder() const { return folder_; }
    bool GoUp();
    bool GoHome();
    void Refresh() { SetFolder(folder_); }

    void SetFilter(int index);
    int FilterIndex() const { return filterIndex_; }
    const std::vector<FileFilter>& Filters() const { return filters_; }
    void SortBy(SortColumn column, bool descending);
    // Folders first, then files matching the filter (folder dialogs list folders only).
    const std::vector<FileEntry>& Entries() const { return entries_; }
    DialogPurpose Purpose() const { return purpose_; }

    // A typed path made absolute: "~" is the home folder, relative names start in Folder().
    std::string Resolve(const std::string& typed) const;
    // What OK does with the typed name (may be empty) and the selected entry indexes.
    Decision Confirm(const std::string& typed, const std::vector<size_t>& selected) const;

    // Whether a file name matches a pattern such as "*.png" or "*.jpg;*.jpeg" (letter case ignored).
    static bool Matches(const std::string& name, const std::string& pattern);

private:
    Decision ConfirmFile(const std::string& path) const;
    void Sort();

    DialogPurpose purpose_;
    std::vector<FileFilter> filters_;
    int filterIndex_ = 0;
    std::string folder_;
    std::vector<FileEntry> all_;
    std::vector<FileEntry> entries_;
    SortColumn sortColumn_ = SortColumn::Name;
    bool descending_ = false;
};

// Joins and normalises a path: forward slashes, no "." segments, ".." resolved.
std::string NormalisePath(const std::string& path);

}  // namespace tamber::ui::choosers
