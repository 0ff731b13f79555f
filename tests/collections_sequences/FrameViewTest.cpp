// The frame view driven through the window system: the onion skin and the contrail
// as drawn pixels; the five move modes by arrow keys (held: one action) and by
// mouse drags, each undone and redone; panning and zooming, which look but never edit.
#include <gtest/gtest.h>

#include <cstdlib>

#include "collections/CollectionEdits.h"
#include "collections/CollectionFile.h"
#include "collections/SequenceLayout.h"
#include "collections/editor/X256Edit.h"
#include "collections/editor/X256SequenceFrameEdit.h"
#include "collections/editor/X256SequenceFrameView.h"
#include "editing/TagEditorRegistry.h"
#include "tests/editing/EditingTestSupport.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/CheckBox.h"
#include "ui/widgets/ComboBox.h"
#include "ui/widgets/TextBox.h"

using namespace tamber::collections::editor;
using namespace tamber::ui::widgets;

namespace {

constexpr uint32_t kCollectionGroup = FourCC(".256");
constexpr uint32_t kBackground = 0x404850FF;

// A bitmap of one opaque palette colour.
std::shared_ptr<Bitmap> Solid(const char* name, int side, uint8_t index) {
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->name = name;
    std::vector<uint8_t> pixels(size_t(side) * size_t(side) * 2);
    for (size_t i = 0; i < pixels.size(); i += 2) pixels[i] = 255, pixels[i + 1] = index;
    StorePixels(*bitmap, side, side, std::move(pixels));
    return bitmap;
}

// "trio": one view, three frames of 8 x 8 in red, green and blue, each 16 picture
// pixels right of the one before, key points in their middles. "grid": two frames
// of two views. "big": one picture of 48 x 48 centred on the origin.
std::unique_ptr<Collection> FrameViewCollection() {
    auto c = std::make_unique<Collection>();
    const uint8_t colours[][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {200, 200, 200}};
    for (size_t i = 0; i < 4; ++i) std::copy(colours[i], colours[i] + 3, &c->palette[(i + 1) * 3]);
    for (uint8_t i = 1; i <= 4; ++i) c->bitmaps.push_back(Solid(i < 4 ? "square" : "big", i < 4 ? 8 : 48, i));
    Sequence trio;
    trio.name = "trio";
    ResizeSequence(trio, 3, 1);
    for (int f = 0; f < 3; ++f) {
        View& view = trio.frames[size_t(f)].views[0];
        view.sets[0] = {c->bitmaps[size_t(f)], int16_t(20 - 16 * f), 4, kFirstSetScale};
        view.pointX = view.pointY = 4;
    }
    Sequence grid;
    grid.name = "grid";
    ResizeSequence(grid, 2, 2);
    for (int f = 0; f < 2; ++f)
        for (int v = 0; v < 2; ++v) grid.frames[size_t(f)].views[size_t(v)].sets[0] = {c->bitmaps[0], 4, 4, kFirstSetScale};
    Sequence big;
    big.name = "big";
    ResizeSequence(big, 1, 1);
    big.frames[0].views[0].sets[0] = {c->bitmaps[3], 24, 24, kFirstSetScale};
    // "bright": one high-colour picture of 8 x 8 in pure green, centred on the origin.
    auto bright = std::make_shared<Bitmap>();
    bright->name = "bright";
    bright->width = bright->height = 8;
    bright->flags = kBitmapHighColour;
    bright->pixels.resize(64 * kHighColourPixelBytes);
    for (size_t i = 0; i < 64; ++i) bright->pixels[i * kHighColourPixelBytes + 1] = 255, bright->pixels[i * kHighColourPixelBytes + 3] = 31;
    EXPECT_TRUE(bright->Encode().ok());
    c->bitmaps.push_back(bright);
    Sequence brightSequence;
    brightSequence.name = "bright";
    ResizeSequence(brightSequence, 1, 1);
    brightSequence.frames[0].views[0].sets[0] = {bright, 4, 4, kFirstSetScale};
    c->sequences = {trio, grid, big, brightSequence};
    return c;
}

std::vector<uint8_t> Bytes(const Collection& collection) {
    Result<CollectionPayload> payload = WriteCollection(collection);
    return payload ? payload->bytes : std::vector<uint8_t>{};
}

struct Rgb {
    int r, g, b;
};

Rgb PixelAt(UiTestDriver& ui, const X256SequenceFrameView* view, Point client) {
    const std::vector<uint8_t> rgba = ui.pixels();
    const size_t at = (size_t(view->Client().top + client.y) * 1024 + size_t(view->Client().left + client.x)) * 4;
    return {rgba[at], rgba[at + 1], rgba[at + 2]};
}

Point Surface(const X256SequenceFrameView* view, Point client) {
    return {view->Client().left + client.x, view->Client().top + client.y};
}

bool Near(int a, int b) { return std::abs(a - b) <= 3; }

class FrameViewTest : public ::testing::Test {
protected:
    void Open(UiTestDriver& ui, int sequence) {
        editor = dynamic_cast<X256Edit*>(OpenTagEditor(record));
        ASSERT_NE(editor, nullptr);
        frames = new X256SequenceFrameEdit(*editor, sequence, 0, 0);
        ui.step();
        view = frames->View();
        EXPECT_EQ(WS().Focus(), view);  // the arrow keys work as soon as it opens
    }
    void Toggle(UiTestDriver& ui, int option) { ui.click(UiTestDriver::center(frames->OptionBox(option))); }

    void SetUp() override {
        SetTagEditorFactory(kCollectionGroup, &X256Edit::Create);
        source = FrameViewCollection();
        const std::vector<uint8_t> bytes = Bytes(*source);
        record = MakeLooseTag("frames", std::string(bytes.begin(), bytes.end()), kCollectionGroup);
        ASSERT_NE(record, nullptr);
    }

    ScratchGame game;
    std::unique_ptr<Collection> source;
    TagRecord* record = nullptr;
    X256Edit* editor = nullptr;
    X256SequenceFrameEdit* frames = nullptr;
    X256SequenceFrameView* view = nullptr;
};

}  // namespace

TEST_F(FrameViewTest, OnionSkinAndContrailDraw) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        Open(ui, 0);
        frames->Press(X256SequenceFrameEdit::kNextFrame);  // frame 1, green, at the origin
        ui.step();
        const int zoom = view->Zoom();
        const Point o = view->Origin();
        // Middles of the red picture (frame 0, left), the green one and the blue one (frame 2, right).
        const Point previous{o.x - 16 * zoom - zoom, o.y - zoom}, current{o.x - zoom, o.y - zoom},
            next{o.x + 16 * zoom + 2 * zoom, o.y + 2 * zoom};
        const Rgb bg{int(kBackground >> 24), int(kBackground >> 16 & 255), int(kBackground >> 8 & 255)};
        auto isBackground = [&](Rgb p) { return Near(p.r, bg.r) && Near(p.g, bg.g) && Near(p.b, bg.b); };
        EXPECT_TRUE(isBackground(PixelAt(ui, view, previous)));
        EXPECT_TRUE(isBackground(PixelAt(ui, view, next)));
        Rgb green = PixelAt(ui, view, current);
        EXPECT_TRUE(green.r == 0 && green.g == 255 && green.b == 0) << green.r << ' ' << green.g << ' ' << green.b;

        // The onion skin shows the neighbours translucent over the background; the current frame stays opaque.
        Toggle(ui, 7);
        ASSERT_TRUE(view->Options() & X256SequenceFrameView::kShowOnionSkin);
        const Rgb red = PixelAt(ui, view, previous), blue = PixelAt(ui, view, next);
        EXPECT_GT(red.r, bg.r + 20);
        EXPECT_LT(red.r, 230);
        EXPECT_LT(red.b, bg.b);
        EXPECT_GT(blue.b, bg.b + 20);
        EXPECT_LT(blue.b, 230);
        EXPECT_LT(blue.r, bg.r);
        green = PixelAt(ui, view, current);
        EXPECT_TRUE(green.r == 0 && green.g == 255 && green.b == 0);
        // On the last frame the next one wraps round to frame 0.
        frames->Press(X256SequenceFrameEdit::kNextFrame);
        ui.step();
        EXPECT_GT(PixelAt(ui, view, previous).r, bg.r + 20);
        green = PixelAt(ui, view, current);
        EXPECT_TRUE(green.g > bg.g + 20 && green.g < 230);
        Toggle(ui, 7);
        frames->Press(X256SequenceFrameEdit::kPreviousFrame);
        ui.step();
        EXPECT_TRUE(isBackground(PixelAt(ui, view, previous)));

        // The contrail marks every frame's key point, also where no picture is shown.
        const Point trail{o.x - 16 * zoom + zoom / 2, o.y + zoom / 2};  // frame 0's key point
        Toggle(ui, 4);  // "Show Bitmap" off
        EXPECT_TRUE(isBackground(PixelAt(ui, view, trail)));
        Toggle(ui, 6);
        ASSERT_TRUE(view->Options() & X256SequenceFrameView::kShowContrail);
        const Rgb mark = PixelAt(ui, view, trail);
        EXPECT_FALSE(isBackground(mark));
        EXPECT_GT(mark.r, mark.g);
        EXPECT_GT(mark.g, mark.b);
        editor->Close();
    });
}

TEST_F(FrameViewTest, HighColourPicturesDrawTheirOwnColours) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        Open(ui, 3);
        const Point o = view->Origin();
        const Rgb middle = PixelAt(ui, view, {o.x - view->Zoom(), o.y - view->Zoom()});
        EXPECT_TRUE(middle.r == 0 && middle.g == 255 && middle.b == 0) << middle.r << ' ' << middle.g << ' ' << middle.b;
    });
}

TEST_F(FrameViewTest, MoveModesByKeysAndMouseAreOneActionEach) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        Open(ui, 1);
        frames->Press(X256SequenceFrameEdit::kNextView);  // the cell of frame 0, view 1
        const std::vector<uint8_t> loaded = Bytes(editor->GetCollection());
        // Which cells of "grid" a move changed, frame-major.
        auto moved = [&] {
            std::vector<bool> cells;
            const Sequence& grid = editor->GetCollection().sequences[1];
            for (int f = 0; f < 2; ++f)
                for (int v = 0; v < 2; ++v) {
                    const View& now = grid.frames[size_t(f)].views[size_t(v)];
                    const View& was = source->sequences[1].frames[size_t(f)].views[size_t(v)];
                    cells.push_back(now.sets[0].regX != was.sets[0].regX || now.sets[0].regY != was.sets[0].regY ||
                                    now.pointX != was.pointX || now.pointY != was.pointY);
                }
            return cells;
        };
        const View& first = source->sequences[1].frames[0].views[1];
        auto cell = [&] { return editor->GetCollection().sequences[1].frames[0].views[1]; };
        const struct {
            MoveMode mode;
            std::vector<bool> cells;
        } modes[] = {
            {MoveMode::Bitmap, {false, true, false, false}}, {MoveMode::View, {false, true, false, true}},
            {MoveMode::Frame, {true, true, false, false}},   {MoveMode::Sequence, {true, true, true, true}},
            {MoveMode::KeyPoint, {false, true, false, false}},
        };
        for (int m = 0; m < 5; ++m) {
            SCOPED_TRACE(MoveModeName(modes[m].mode));
            frames->ModeBox()->SelectItem(m);
            frames->ModeBox()->itemChosen.Emit(m);
            EXPECT_EQ(frames->ModeLabel()->Text(), std::string("Mouse / Arrow Keys: ") + MoveModeName(modes[m].mode));
            const bool key = modes[m].mode == MoveMode::KeyPoint;
            // The key point moves with the arrow; a picture moves, so its registration point moves against it.
            const int sign = key ? 1 : -1;
            auto where = [&] { return key ? std::pair(int(cell().pointX), int(cell().pointY))
                                          : std::pair(int(cell().sets[0].regX), int(cell().sets[0].regY)); };
            const auto start = key ? std::pair(int(first.pointX), int(first.pointY))
                                   : std::pair(int(first.sets[0].regX), int(first.sets[0].regY));

            // A held arrow (a press and two repeats) is one action.
            WS().SetFocus(view, 0);
            for (int i = 0; i < 3; ++i) OsCurrentCallbacks().key(kKeyRight, 1);
            OsCurrentCallbacks().key(kKeyRight, 0);
            ui.step();
            EXPECT_EQ(where(), std::pair(start.first + 3 * sign, start.second));
            EXPECT_EQ(moved(), modes[m].cells);
            ui.key('Z', kModCtrl);  // the frame editor's own keys reach the collection's history
            EXPECT_EQ(Bytes(editor->GetCollection()), loaded);
            EXPECT_FALSE(editor->IsModified());
            ui.key('Y', kModCtrl);
            EXPECT_EQ(where(), std::pair(start.first + 3 * sign, start.second));
            editor->Undo();

            // A drag of two picture pixels up and four left, in eight steps, is one action.
            const Point from = Surface(view, {100, 100});
            ui.drag(from, {from.x - 4 * view->Zoom(), from.y - 2 * view->Zoom()});
            EXPECT_EQ(where(), std::pair(start.first - 4 * sign, start.second - 2 * sign));
            EXPECT_EQ(moved(), modes[m].cells);
            editor->Undo();
            EXPECT_EQ(Bytes(editor->GetCollection()), loaded);
            EXPECT_FALSE(editor->History().CanUndo());
            editor->Redo();
            EXPECT_EQ(where(), std::pair(start.first - 4 * sign, start.second - 2 * sign));
            editor->Undo();
        }
        editor->Close();
    });
}

TEST_F(FrameViewTest, PanningAndZoomingLookWithoutEditing) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        Open(ui, 2);
        const std::vector<uint8_t> loaded = Bytes(editor->GetCollection());
        const Point middle = Surface(view, {view->Client().Width() / 2, view->Client().Height() / 2});
        auto pan = [&](Point by, int button) { ui.drag(middle, {middle.x + by.x, middle.y + by.y}, button); };

        // While the drawing fits, there is nothing to pan to.
        EXPECT_FALSE(view->BarShown(ScrollableWindow::kHorizontal));
        pan({-50, -40}, 2);
        EXPECT_EQ(view->Pan(), Point{});

        // Zoomed in beyond the view: the bars show and the middle button pans.
        while (view->Zoom() < X256SequenceFrameView::kMaxZoom) frames->Press(X256SequenceFrameEdit::kZoomIn);
        ui.step();
        EXPECT_TRUE(view->BarShown(ScrollableWindow::kHorizontal) && view->BarShown(ScrollableWindow::kVertical));
        EXPECT_EQ(frames->ZoomLabel()->Text(), "1600%");
        ui.key(kKeyHome);
        const Point rest = view->Origin();
        pan({-50, -40}, 2);
        EXPECT_EQ(view->Pan(), (Point{-50, -40}));
        EXPECT_EQ(view->Origin(), (Point{rest.x - 50, rest.y - 40}));
        // Space with the left button pans too, and moves no registration point.
        OsCurrentCallbacks().key(' ', 1);
        pan({20, 10}, 0);
        OsCurrentCallbacks().key(' ', 0);
        ui.step();
        EXPECT_EQ(view->Pan(), (Point{-30, -30}));
        EXPECT_EQ(Bytes(editor->GetCollection()), loaded);

        // The picture's left edge (with its margin) stops at the view's left edge.
        pan({2000, 0}, 2);
        const int zoom = view->Zoom();
        EXPECT_EQ(view->Origin().x + view->Extent().left * zoom - X256SequenceFrameView::kPanMargin, 0);
        // The bar's right arrow scrolls a line back.
        const Point before = view->Origin();
        const Rect bar = view->BarRect(ScrollableWindow::kHorizontal);
        ui.click({view->Frame().left + bar.right - 4, view->Frame().top + bar.top + bar.Height() / 2});
        EXPECT_LT(view->Origin().x, before.x);
        EXPECT_EQ(view->Origin().y, before.y);

        // Zooming with the wheel keeps the picture pixel under the mouse.
        pan({-1000, 0}, 2);
        pan({150, 0}, 2);
        const Point mouse{view->Client().Width() / 3, view->Client().Height() / 2};
        ui.moveTo(Surface(view, mouse));
        const Point o = view->Origin();
        const double pictureX = double(mouse.x - o.x) / zoom, pictureY = double(mouse.y - o.y) / zoom;
        ui.wheel(-1);
        ASSERT_EQ(view->Zoom(), zoom - 1);
        EXPECT_NEAR(double(mouse.x - view->Origin().x) / (zoom - 1), pictureX, 1.0 / (zoom - 1));
        EXPECT_NEAR(double(mouse.y - view->Origin().y) / (zoom - 1), pictureY, 1.0 / (zoom - 1));

        // An edit moves the picture, not the view.
        const Point panned = view->Pan();
        ui.key(kKeyLeft);
        EXPECT_EQ(view->Pan(), panned);
        editor->Undo();

        // None of it was an edit; Home puts the origin back.
        EXPECT_EQ(Bytes(editor->GetCollection()), loaded);
        EXPECT_FALSE(editor->History().CanUndo());
        EXPECT_FALSE(editor->IsModified());
        ui.key(kKeyHome);
        EXPECT_EQ(view->Pan(), Point{});

        // The window does not shrink so far that its controls spill out of it.
        const Rect frame = frames->Frame();
        Rect constrained;
        frames->ConstrainFrame(frame, {frame.left, frame.top, frame.left + 100, frame.top + 100}, constrained);
        EXPECT_GE(constrained.bottom, frames->AnimateButton()->Frame().bottom);
        EXPECT_GT(constrained.right, frames->ModeBox()->Frame().right);
        editor->Close();
    });
}
