#pragma once
// The "Hue Changes" page: the collection's hue changes with New, Rename,
// Duplicate and Delete in its context menu; opening one shows X256HueEdit.
#include "collections/editor/X256ItemBrowser.h"

namespace tamber::collections::editor {

class X256HueBrowser : public X256ItemBrowser {
public:
    X256HueBrowser(X256Edit& editor, Window* parent);

    const char* GetClassName() const override { return "X256HueBrowser"; }
    void RunCommand(int command) override;
    void OpenEditor(int index) override;

private:
    void Refresh();
};

}  // namespace tamber::collections::editor
