#pragma once
// The archive browser's tag tree: a list whose top-level rows (tag groups) show
// their label across the whole row instead of inside the narrow first column.
#include "ui/widgets/ListWindow.h"

namespace tamber::tools {
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class TagTreeList : public ListWindow {
public:
    explicit TagTreeList(Window* parent);
    const char* GetClassName() const override { return "TagTreeList"; }
    void Draw() override;
};

}  // namespace tamber::tools
