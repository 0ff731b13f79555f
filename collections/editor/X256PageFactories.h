#pragma once
// The pages of the collection editor that live in their own files: each factory
// makes its page as a child of the editor's tab window (the caller names it).
#include "ui/Window.h"

namespace tamber::collections::editor {

class X256Edit;

// The "Sequences" page: the sequence browser.
ui::Window* MakeSequencePage(X256Edit& editor, ui::Window* parent);
// The "Optimize" page: the whole-collection operations.
ui::Window* MakeOptimizePage(X256Edit& editor, ui::Window* parent);

}  // namespace tamber::collections::editor
