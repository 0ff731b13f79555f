#pragma once
// The commands of the bitmap browsers' context menu. Each asks its questions,
// changes the collection through the editor (one undoable action) and reports
// what it refused.
#include <string>
#include <vector>

#include "collections/Collection.h"

namespace tamber::collections::editor {

class X256BitmapBrowser;

enum BitmapCommand : int {
    kCommandRename = 1,
    kCommandExport,
    kCommandExportAlpha,
    kCommandExportPlate,
    kCommandExportAlphaPlate,
    kCommandReplace,
    kCommandReplaceAlpha,
    kCommandReplaceFromPlate,
    kCommandReplaceAlphaFromPlate,
    kCommandRemoveAlpha,
    kCommandConvertToRle,
    kCommandConvertToRaw,
    kCommandCrop,
    kCommandUncrop,
    kCommandDelete,
    kCommandAddFiles,
    kCommandAddPlate,
};

// Runs a command on the selected bitmaps of the page, or on all of them.
void RunBitmapCommand(X256BitmapBrowser& page, int command, bool all);
// Adds the image files as new bitmaps of the page (the "Add ... from File(s)" checks
// and messages), or replaces `replaced` by the first file.
void AddBitmapFiles(X256BitmapBrowser& page, const std::vector<std::string>& paths);
void ReplaceBitmapFiles(X256BitmapBrowser& page, const std::vector<const Bitmap*>& bitmaps,
                        const std::vector<std::string>& paths);

}  // namespace tamber::collections::editor
