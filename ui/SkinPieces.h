#pragma once

namespace tamber::ui {

// Piece ids of the interface skin in res/texturepack (resgen draws them). Pieces
// drawn in several orientations are stored once and turned or mirrored when drawn.
//
//   0      panel A: desktop background tile (style 0x80), tiled
//   1      thick border, top edge (its height is the thick-border metric); the other
//          edges are the same piece turned or mirrored
//   2, 3   thin frame: horizontal edge (its height is the thin-border metric), vertical
//   4, 5   button middle, up and pressed (stretched)
//   6, 7   button left cap, up and pressed
//   8, 9   button right cap, up and pressed
//   10, 11 title bar, inactive and active (stretched over the title band)
//   12-15  check box for button states 0 off, 1 on, 2 pressed while on, 3 pressed while off
//   18, 19 table header background, up and pressed (stretched)
//   20     table header column divider (stretched vertically)
//   21, 22 table header sort marks, ascending and descending
//   23     table header bottom line (stretched)
//   24     panel B: document window background tile (style 0x100), tiled
//   25     expansion mark of tree rows, expanded (pointing down)
//   26     highlight band (menus, editor rows), stretched
//   27     menu mark for items with submenus
//   28     thick border top-left corner; the other corners are mirrored
//   35     drop shadow corner (bottom right)
//   36     drop shadow right edge (stretched vertically; the bottom edge is it turned)
//   37     drop shadow start of the right edge (the start of the bottom edge is it turned)
//   38, 39 scroll-bar arrow button pointing up, up and pressed (others turned or mirrored);
//          the width of 38 is the scroll-bar width
//   40     small button face: the drop-down button and the scroll-bar corner
//   43-45  drop-down arrow: closed, open, pressed
//   52-63  title boxes, four per box (close 52, maximise 56, roll-up 60): active up,
//          active pressed, inactive up, inactive pressed
//   64, 65 tab middle, unselected and selected (stretched)
//   66, 67 tab left side, unselected and selected (the right side is mirrored); 66 gives
//          the tab height and side width
//   68     line under the tabs (stretched); its height is the line's
//   70-72  vertical scroll track: top end, middle (stretched), bottom end
//   73-75  vertical scroll thumb: top end, middle (stretched), bottom end
//   76     scroll thumb grip, centred on the thumb
// Horizontal scroll bars use the vertical pieces transposed (mode 6).

enum SkinPiece : int {
    kSkinPanelA = 0,
    kSkinBorderEdge = 1,
    kSkinThinHorizontal = 2,
    kSkinThinVertical = 3,
    kSkinButtonMiddle = 4,
    kSkinButtonMiddlePressed = 5,
    kSkinButtonLeft = 6,
    kSkinButtonLeftPressed = 7,
    kSkinButtonRight = 8,
    kSkinButtonRightPressed = 9,
    kSkinTitleInactive = 10,
    kSkinTitleActive = 11,
    kSkinCheckBox = 12,  // + state 0..3
    kSkinHeader = 18,
    kSkinHeaderPressed = 19,
    kSkinHeaderDivider = 20,
    kSkinSortAscending = 21,
    kSkinSortDescending = 22,
    kSkinHeaderLine = 23,
    kSkinPanelB = 24,
    kSkinExpandMark = 25,
    kSkinHighlightBand = 26,
    kSkinMenuMark = 27,
    kSkinBorderCorner = 28,
    kSkinShadowCorner = 35,
    kSkinShadowEdge = 36,
    kSkinShadowStart = 37,
    kSkinScrollArrow = 38,
    kSkinScrollArrowPressed = 39,
    kSkinSmallButton = 40,
    kSkinDropdownArrow = 43,
    kSkinDropdownArrowOpen = 44,
    kSkinDropdownArrowPressed = 45,
    kSkinTitleBoxes = 52,  // + 4 x box + state
    kSkinTabMiddle = 64,
    kSkinTabMiddleSelected = 65,
    kSkinTabSide = 66,
    kSkinTabSideSelected = 67,
    kSkinTabLine = 68,
    kSkinTrackStart = 70,
    kSkinTrackMiddle = 71,
    kSkinTrackEnd = 72,
    kSkinThumbStart = 73,
    kSkinThumbMiddle = 74,
    kSkinThumbEnd = 75,
    kSkinThumbGrip = 76,
    kSkinPieceCount = 81,
};

// Cursor pictures in res/cursors, by resource number; hot spots are in the file.
enum CursorPicture : int {
    kCursorPencil = 101,
    kCursorEyedropper = 102,
    kCursorMove = 106,
    kCursorBucket = 107,
};

}  // namespace tamber::ui
