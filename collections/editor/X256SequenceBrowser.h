#pragma once
// The "Sequences" page: the collection's sequences with New Sequence, Rename,
// Duplicate and Delete in its context menu; opening one shows X256SequenceEdit.
#include "collections/editor/X256ItemBrowser.h"

namespace tamber::collections::editor {

class X256SequenceBrowser : public X256ItemBrowser {
public:
    X256SequenceBrowser(X256Edit& editor, Window* parent);

    const char* GetClassName() const override { return "X256SequenceBrowser"; }
    void RunCommand(int command) override;
    void OpenEditor(int index) override;

private:
    void Refresh();
};

}  // namespace tamber::collections::editor
