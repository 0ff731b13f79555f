#include "collections/editor/X256OptimizeEdit.h"

#include <algorithm>

#include "collections/CollectionOptimizer.h"
#include "collections/editor/X256Edit.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::collections::editor {
using namespace tamber::ui::widgets;

namespace {

constexpr int kMargin = 12;
constexpr int kRow = 32;
constexpr int kButtonWidth = 200;
constexpr const char* kLabels[X256OptimizeEdit::kOperationCount] = {
    "Delete Unused Bitmaps", "Merge Identical Bitmaps", "Crop All Bitmaps", "Auto Rename Bitmaps", "Get Runtime Size"};

}  // namespace

X256OptimizeEdit::X256OptimizeEdit(X256Edit& editor, Window* parent)
    : Window(kStyleVisible | kStyleEnabled, parent), editor_(editor) {
    for (int operation = 0; operation < kOperationCount; ++operation) {
        auto* button = new Button(this, uint32_t(operation));
        button->SetName(kLabels[operation]);
        button->SizeToFit();
        button->SetFrameXYWH(kMargin, kMargin + kRow * operation, std::max(button->Frame().Width(), kButtonWidth),
                             button->Frame().Height());
        button->clickedWithId.Connect(this, &X256OptimizeEdit::Run);
    }
}

bool X256OptimizeEdit::MayOptimize() const {
    std::vector<const Bitmap*> bitmaps;
    for (const auto& bitmap : editor_.GetCollection().bitmaps) bitmaps.push_back(bitmap.get());
    return !editor_.HasOpenSequenceWindows() && !editor_.FirstOpenBitmap(bitmaps);
}

void X256OptimizeEdit::Run(int operation) {
    if (!MayOptimize()) {
        MessageBox("", "Please close all bitmap, sequence and sequence edit windows before performing optimizations.",
                   {"OK"});
        return;
    }
    OptimizeReport report;
    if (operation == kRuntimeSize) {
        report = RuntimeSizeReport(editor_.GetCollection());
    } else {
        OptimizeReport (*const run[])(Collection&) = {DeleteUnusedBitmaps, MergeIdenticalBitmaps, CropAllBitmaps,
                                                       AutoRenameBitmaps};
        editor_.Change(kChangeBitmaps, [&](Collection& collection) {
            report = run[operation](collection);
            return report.changed;
        });
    }
    if (!report.text.empty()) MessageBox(report.title.c_str(), report.text.c_str(), {"OK"});
}

}  // namespace tamber::collections::editor
