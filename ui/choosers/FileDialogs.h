#pragma once
// The program's file, folder and colour choosers. This platform has no native
// dialogs, so each is one of the toolkit's own dialogs run modally; they may be
// called from inside any event handler. Cancelling returns false and stores nothing.
// Returned paths are absolute, with forward slashes.
#include <cstdint>
#include <string>
#include <vector>

#include "ui/choosers/DialogOption.h"
#include "ui/choosers/FileDialogKinds.h"

namespace tamber::ui::choosers {

// path: in, the folder to start in (or a file in it); out, the chosen existing file.
// filterIndex: in and out, the chosen filter.
bool OsOpenFile(const char* title, const std::vector<FileFilter>& filters, int& filterIndex, std::string& path,
                std::vector<DialogOption>* options = nullptr);
// folder: the folder to start in; paths: the chosen existing files.
bool OsOpenFiles(const char* title, const std::vector<FileFilter>& filters, int& filterIndex,
                 const std::string& folder, std::vector<std::string>& paths,
                 std::vector<DialogOption>* options = nullptr);
// path: in, a folder or a suggested file; out, the file to write (overwriting was agreed to).
bool OsSaveFile(const char* title, const std::vector<FileFilter>& filters, int& filterIndex, std::string& path,
                std::vector<DialogOption>* options = nullptr);
// path: in and out, a folder.
bool OsChooseFolder(const char* title, std::string& path, std::vector<DialogOption>* options = nullptr);
// rgb: in, the colour preselected; out (only on OK), the chosen colour.
bool OsChooseColor(uint8_t rgb[3]);

// The same dialogs driven by the kind table (FileDialogKinds.h): a null title means
// the kind's own; the folder starts at the kind's remembered one (else a folder given
// in path; a file name given for saving is offered) and is remembered on success, and
// so is the chosen format for kinds with format keys. format (may be null): in, the
// filter to start on when it is 0 or more (a dialog that asks for one kind of file),
// else the remembered one; out, the chosen filter index. A folder dialog of such a kind carries a
// "Target Format:" option row listing the kind's filters, added before the caller's.
bool ChooseFolderOfKind(int kind, const char* title, std::string& path, int* format = nullptr,
                        std::vector<DialogOption>* options = nullptr);
bool OpenFileOfKind(int kind, const char* title, std::string& path, int* format = nullptr,
                    std::vector<DialogOption>* options = nullptr);
bool OpenFilesOfKind(int kind, const char* title, std::vector<std::string>& paths, int* format = nullptr,
                     std::vector<DialogOption>* options = nullptr);
bool SaveFileOfKind(int kind, const char* title, std::string& path, int* format = nullptr,
                    std::vector<DialogOption>* options = nullptr);

// Installs the colour chooser into the colour buttons; called once at start-up.
void InstallChoosers();

}  // namespace tamber::ui::choosers
