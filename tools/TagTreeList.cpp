#include "tools/TagTreeList.h"

#include "ui/Font.h"
#include <GL/gl.h>

namespace tamber::tools {
using namespace tamber::ui;

TagTreeList::TagTreeList(Window* parent)
    : ListWindow(kMultipleSelection | kHeaderRow, kStyleControl, parent) {}

void TagTreeList::Draw() {
    ListWindow::Draw();
    if (!GetFont()) return;
    const int header = HeaderHeight(), row = RowHeight();
    const int width = Client().Width(), height = Client().Height();
    const int left = kIndent + kCellMargin - Position(kHorizontal);
    const int rows = RowCount();
    for (int r = Position(kVertical), y = header; r < rows && y < height; ++r, y += row) {
        const ListItem* item = ItemAtRow(r);
        if (!item || item->parent) continue;
        glColor4ub(item->color[0], item->color[1], item->color[2], 255);
        DrawText(item->label.c_str(), 0, kTextCenterVertically, {left, y, width, y + row});
    }
}

}  // namespace tamber::tools
