#include "ui/choosers/FileDialogKinds.h"

#include "base/Preferences.h"

namespace tamber::ui::choosers {
using namespace tamber::base;

namespace {

const std::vector<FileDialogKind>& Kinds() {
    static const std::vector<FileDialogKind> kinds = {
        {kFileKindAny,
         {"Save File As", "Open File", "Open Multiple Files", "Choose Folder"},
         {"LastSavePath", "LastOpenPath", "LastFolderPath"},
         {nullptr, nullptr, nullptr},
         {{"All files", "*.*"}}},
        {kFileKindImage,
         {"Save Image As", "Open Image", "Open Multiple Images", "Choose Image Folder"},
         {"LastImageSavePath", "LastImageOpenPath", "LastImageFolderPath"},
         {"LastImageSaveFormat", "LastImageOpenFormat", "LastImageFolderFormat"},
         {{"Bitmap Image", "*.bmp"}, {"PNG Image", "*.png"}, {"TIFF Image", "*.tiff"}, {"JPEG Image", "*.jpg;*.jpeg", true}}},
        {kFileKindModel,
         {"Save Model As", "Open Model", "Open Multiple Models", "Choose Model Folder"},
         {"LastModelSavePath", "LastModelOpenPath", "LastModelFolderPath"},
         {"LastModelSaveFormat", "LastModelOpenFormat", "LastModelFolderFormat"},
         {{"LightWave Object", "*.lwo"}, {"3D Metafile", "*.3dmf"}}},
        {kFileKindSound,
         {"Save Sound As", "Open Sound", "Open Multiple Sounds", "Choose Sound Folder"},
         {"LastSoundSavePath", "LastSoundOpenPath", "LastSoundFolderPath"},
         {"LastSoundSaveFormat", "LastSoundOpenFormat", "LastSoundFolderFormat"},
         {{"WAV Sound", "*.wav"}}},
        {kFileKindArchive,
         {"Save Archive As", "Open Archive", "Open Multiple Archives", "Choose Archive Folder"},
         {"LastArchiveSavePath", "LastArchiveOpenPath", "LastArchiveFolderPath"},
         {nullptr, nullptr, nullptr},
         {}},
    };
    return kinds;
}

int KeyIndex(DialogPurpose purpose) {
    switch (purpose) {
    case DialogPurpose::Save: return 0;
    case DialogPurpose::Open:
    case DialogPurpose::OpenSeveral: return 1;
    case DialogPurpose::ChooseFolder: return 2;
    }
    return 1;
}

}  // namespace

const char* FileDialogKind::FolderKey(DialogPurpose purpose) const { return folderKeys[KeyIndex(purpose)]; }
const char* FileDialogKind::FormatKey(DialogPurpose purpose) const { return formatKeys[KeyIndex(purpose)]; }

std::vector<FileFilter> FileDialogKind::Filters(DialogPurpose purpose) const {
    if (purpose == DialogPurpose::Open || purpose == DialogPurpose::OpenSeveral) return filters;
    std::vector<FileFilter> writable;
    for (const FileFilter& f : filters) {
        if (!f.readOnly) writable.push_back(f);
    }
    return writable;
}

int FileDialogKind::StoredFormat(DialogPurpose purpose) const {
    int index = 0;
    const char* key = FormatKey(purpose);
    const int count = int(Filters(purpose).size());
    if (!key || count == 0 || !GetPrefInt(key, index)) return 0;
    return ((index % count) + count) % count;
}

void FileDialogKind::StoreFormat(DialogPurpose purpose, int index) const {
    if (const char* key = FormatKey(purpose)) SetPrefInt(key, index);
}

std::string FileDialogKind::StoredFolder(DialogPurpose purpose, const std::string& fallback) const {
    std::string folder;
    return GetPrefString(FolderKey(purpose), folder) && !folder.empty() ? folder : fallback;
}

void FileDialogKind::StoreFolder(DialogPurpose purpose, const std::string& folder) const {
    SetPrefString(FolderKey(purpose), folder);
}

std::vector<std::string> FileDialogKind::FormatOptionEntries() const {
    std::vector<std::string> entries;
    for (const FileFilter& f : Filters(DialogPurpose::ChooseFolder)) entries.push_back(f.name + " (" + f.pattern + ")");
    return entries;
}

const FileDialogKind& FindFileDialogKind(int kind) {
    for (const FileDialogKind& k : Kinds()) {
        if (k.kind == kind) return k;
    }
    return Kinds().front();
}

}  // namespace tamber::ui::choosers
