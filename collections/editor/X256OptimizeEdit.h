#pragma once
// The "Optimize" page: the five whole-collection operations as buttons. Each runs
// as one change of the collection (one undoable action) and reports its result in
// a message box; all are refused while a bitmap, sequence or frame window of the
// collection is open.
#include "ui/Window.h"

namespace tamber::ui::widgets { class Button; }

namespace tamber::collections::editor {
using namespace tamber::ui;

class X256Edit;

class X256OptimizeEdit : public Window {
public:
    enum Operation { kDeleteUnused, kMergeIdentical, kCropAll, kAutoRename, kRuntimeSize, kOperationCount };

    X256OptimizeEdit(X256Edit& editor, Window* parent);

    const char* GetClassName() const override { return "X256OptimizeEdit"; }
    void Run(int operation);

private:
    // Whether optimising is allowed: no bitmap, sequence or frame window is open.
    bool MayOptimize() const;

    X256Edit& editor_;
};

}  // namespace tamber::collections::editor
