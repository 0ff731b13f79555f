#pragma once
// The import and export commands of the sequence editor's frame grid: new bitmaps
// or alphas for the selected cells from image files (in either assignment order)
// or from a plate, and the cells' bitmaps or alphas written as files or a plate.
// Each import is one undoable action and changes nothing when refused.
namespace tamber::collections::editor {

class X256SequenceEdit;

enum SequenceCellCommand : int {
    kImportViewsThenFrames = 100,
    kImportFramesThenViews,
    kImportPlate,
    kAlphaViewsThenFrames,
    kAlphaFramesThenViews,
    kAlphaPlate,
    kExportBitmaps,
    kExportBitmapPlate,
    kExportAlphas,
    kExportAlphaPlate,
};

void RunSequenceCellCommand(X256SequenceEdit& edit, int command);

}  // namespace tamber::collections::editor
