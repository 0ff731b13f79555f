// The dialog editor's layout operations: the hit test from every edge and corner,
// each drag mode, new controls and reordering.
#include <gtest/gtest.h>

#include "dialogs/editor/DialogLayout.h"
#include "tags/FourCC.h"

using namespace tamber::dialogs;
using namespace tamber::dialogs::editor;

namespace {

DialogControl Control(uint16_t id, int left, int top, int right, int bottom) {
    DialogControl c;
    c.type = tamber::tags::FourCC("butt");
    c.id = id;
    c.left = left, c.top = top, c.right = right, c.bottom = bottom;
    return c;
}

Dialog Sample() {
    Dialog d;
    d.left = 40, d.top = 30, d.right = 440, d.bottom = 330;
    d.controls = {Control(3, 100, 100, 200, 150), Control(7, 150, 120, 300, 200)};
    return d;
}

}  // namespace

TEST(DialogLayout, HitTestPicksTheFirstControlAndTheEdge) {
    const Dialog d = Sample();
    struct Case {
        int x, y;
        DragMode mode;
    };
    // The first control (100,100)-(200,150); its last pixels are 199 and 149.
    const Case cases[] = {
        {101, 102, kDragTopLeft},    {198, 148, kDragBottomRight}, {102, 147, kDragBottomLeft},
        {197, 103, kDragTopRight},   {103, 125, kDragLeft},        {196, 125, kDragRight},
        {150, 101, kDragTop},        {150, 146, kDragBottom},      {150, 125, kDragNone},
        {104, 125, kDragLeft},       {105, 125, kDragNone},
    };
    for (const Case& c : cases) {
        const ControlHit hit = HitTestControls(d, c.x, c.y, false, false);
        EXPECT_EQ(hit.index, 0) << c.x << "," << c.y;
        EXPECT_EQ(hit.mode, c.mode) << c.x << "," << c.y;
    }
    // Where both overlap the first in the order wins; Control moves, Shift resizes.
    EXPECT_EQ(HitTestControls(d, 160, 130, false, false).index, 0);
    EXPECT_EQ(HitTestControls(d, 250, 180, false, false).index, 1);
    EXPECT_EQ(HitTestControls(d, 101, 102, true, false).mode, kDragMove);
    EXPECT_EQ(HitTestControls(d, 150, 125, false, true).mode, kDragBottomRight);
    EXPECT_EQ(HitTestControls(d, 50, 50, true, true).index, -1);
    EXPECT_EQ(HitTestControls(d, 200, 125, false, false).index, 1);  // right edges are outside
}

TEST(DialogLayout, EachDragModeMovesItsEdges) {
    const DialogControl c = Control(1, 10, 20, 110, 70);
    auto rect = [](const DialogControl& r) { return std::vector<int>{r.left, r.top, r.right, r.bottom}; };
    EXPECT_EQ(rect(DragControl(c, kDragMove, 5, -3)), (std::vector<int>{15, 17, 115, 67}));
    EXPECT_EQ(rect(DragControl(c, kDragLeft, 5, 9)), (std::vector<int>{15, 20, 110, 70}));
    EXPECT_EQ(rect(DragControl(c, kDragRight, 5, 9)), (std::vector<int>{10, 20, 115, 70}));
    EXPECT_EQ(rect(DragControl(c, kDragTop, 5, 9)), (std::vector<int>{10, 29, 110, 70}));
    EXPECT_EQ(rect(DragControl(c, kDragBottom, 5, 9)), (std::vector<int>{10, 20, 110, 79}));
    EXPECT_EQ(rect(DragControl(c, kDragTopLeft, 5, 9)), (std::vector<int>{15, 29, 110, 70}));
    EXPECT_EQ(rect(DragControl(c, kDragBottomRight, 5, 9)), (std::vector<int>{10, 20, 115, 79}));
    EXPECT_EQ(rect(DragControl(c, kDragBottomLeft, 5, 9)), (std::vector<int>{15, 20, 110, 79}));
    EXPECT_EQ(rect(DragControl(c, kDragTopRight, 5, 9)), (std::vector<int>{10, 29, 115, 70}));
    EXPECT_EQ(rect(DragControl(c, kDragNone, 5, 9)), rect(c));
    // An edge dragged past the opposite one stops a pixel short of it.
    EXPECT_EQ(rect(DragControl(c, kDragLeft, 500, 0)), (std::vector<int>{109, 20, 110, 70}));
    EXPECT_EQ(rect(DragControl(c, kDragBottomRight, -500, -500)), (std::vector<int>{10, 20, 11, 21}));

    // Within a 200 x 100 dialog the dragged edges stop at its border, the others stay.
    Dialog d;
    d.right = 200, d.bottom = 100;
    EXPECT_EQ(rect(DragControlWithin(d, c, kDragMove, -50, 90)), (std::vector<int>{0, 50, 100, 100}));
    EXPECT_EQ(rect(DragControlWithin(d, c, kDragMove, 500, -500)), (std::vector<int>{100, 0, 200, 50}));
    EXPECT_EQ(rect(DragControlWithin(d, c, kDragTopLeft, -50, -50)), (std::vector<int>{0, 0, 110, 70}));
    EXPECT_EQ(rect(DragControlWithin(d, c, kDragBottomRight, 500, 500)), (std::vector<int>{10, 20, 200, 100}));
    EXPECT_EQ(rect(DragControlWithin(d, c, kDragLeft, 0, 500)), (std::vector<int>{10, 20, 110, 70}));
    // A control already outside goes no further out, but may come back in.
    const DialogControl outside = Control(2, -30, 80, 20, 130);
    EXPECT_EQ(rect(DragControlWithin(d, outside, kDragMove, -5, 5)), (std::vector<int>{-30, 80, 20, 130}));
    EXPECT_EQ(rect(DragControlWithin(d, outside, kDragMove, 10, -40)), (std::vector<int>{-20, 40, 30, 90}));
    EXPECT_EQ(rect(DragControlWithin(d, outside, kDragBottom, 0, 20)), (std::vector<int>{-30, 80, 20, 130}));
}

TEST(DialogLayout, NewControlsAndReordering) {
    Dialog d = Sample();
    const DialogControl added = NewControlAt(d, 120, 80);
    EXPECT_EQ(added.id, 8);
    EXPECT_EQ(added.type, tamber::tags::FourCC("butt"));
    EXPECT_EQ((std::vector<int>{added.left, added.top, added.right, added.bottom}), (std::vector<int>{70, 55, 170, 105}));
    EXPECT_EQ(NewControlAt(Dialog(), 0, 0).id, 1);
    EXPECT_TRUE(InsideDialog(d, 0, 0));
    EXPECT_TRUE(InsideDialog(d, 399, 299));
    EXPECT_FALSE(InsideDialog(d, 400, 10));
    EXPECT_FALSE(InsideDialog(d, -1, 10));

    EXPECT_FALSE(ReorderControl(d, 0, -1));
    EXPECT_FALSE(ReorderControl(d, 1, 1));
    EXPECT_FALSE(ReorderControl(d, 5, -1));
    EXPECT_EQ(d.controls[0].id, 3);
    EXPECT_TRUE(ReorderControl(d, 0, 1));
    EXPECT_EQ(d.controls[0].id, 7);
    EXPECT_TRUE(ReorderControl(d, 1, -1));
    EXPECT_EQ(d.controls[0].id, 3);
}
