#include "collections/editor/X256PageFactories.h"

#include "collections/editor/X256OptimizeEdit.h"
#include "collections/editor/X256SequenceBrowser.h"

namespace tamber::collections::editor {

Window* MakeSequencePage(X256Edit& editor, Window* parent) { return new X256SequenceBrowser(editor, parent); }

Window* MakeOptimizePage(X256Edit& editor, Window* parent) { return new X256OptimizeEdit(editor, parent); }

}  // namespace tamber::collections::editor
