#pragma once
// The five kinds of file dialog: their titles, the preference keys that remember
// the last folder of each dialog, the keys that remember the last chosen format,
// and their filters.
#include <string>
#include <vector>

namespace tamber::ui::choosers {

enum class DialogPurpose { Save = 0, Open = 1, OpenSeveral = 2, ChooseFolder = 3 };

enum FileKind : int { kFileKindAny = 0, kFileKindArchive = 2, kFileKindSound = 3, kFileKindModel = 4, kFileKindImage = 5 };
// The filters of the model kind, in order.
enum ModelFormat : int { kModelFormatLwo = 0, kModelFormat3dmf = 1 };

struct FileFilter {
    std::string name;       // "PNG Image"
    std::string pattern;    // "*.png", or several joined by ';' ("*.jpg;*.jpeg")
    bool readOnly = false;  // a format Tamber reads but does not write: offered only when opening
};

struct FileDialogKind {
    int kind;
    const char* titles[4];      // save, open, open several, choose folder
    const char* folderKeys[3];  // save, open, folder
    const char* formatKeys[3];  // null for kinds without remembered formats
    std::vector<FileFilter> filters;

    // The filters a dialog of this purpose offers: saving and choosing a target
    // folder leave out the formats Tamber cannot write.
    std::vector<FileFilter> Filters(DialogPurpose purpose) const;

    const char* Title(DialogPurpose purpose) const { return titles[int(purpose)]; }
    // The key that remembers the folder (open and open-several share one).
    const char* FolderKey(DialogPurpose purpose) const;
    const char* FormatKey(DialogPurpose purpose) const;
    // The stored filter index for this purpose, taken modulo the filter count (0 without one).
    int StoredFormat(DialogPurpose purpose) const;
    void StoreFormat(DialogPurpose purpose, int index) const;
    // The folder to start in: the remembered one, else the given fallback.
    std::string StoredFolder(DialogPurpose purpose, const std::string& fallback) const;
    void StoreFolder(DialogPurpose purpose, const std::string& folder) const;
    // The entries of a folder dialog's "Target Format:" option: "%s (%s)" per writable filter.
    std::vector<std::string> FormatOptionEntries() const;
};

// The kind's row; an unknown kind gives the "any file" row.
const FileDialogKind& FindFileDialogKind(int kind);

}  // namespace tamber::ui::choosers
