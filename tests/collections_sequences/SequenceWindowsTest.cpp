// The Sequences and Optimize pages and the sequence editor, driven through the
// window system: list commands and the "currently open" refusal, the Views and
// Frames rules, column headings, per-cell flags and registration points, the
// optimisations with their refusal and reports, each undone and redone.
#include <gtest/gtest.h>

#include <filesystem>

#include "collections/BitmapExport.h"
#include "collections/CollectionFile.h"
#include "collections/SequenceLayout.h"
#include "platform/Os.h"
#include "collections/editor/X256Edit.h"
#include "collections/editor/X256OptimizeEdit.h"
#include "collections/editor/X256SequenceCommands.h"
#include "collections/editor/X256SequenceBrowser.h"
#include "collections/editor/X256SequenceEdit.h"
#include "collections/editor/X256SequenceFrameEdit.h"
#include "collections/editor/X256SequenceFrameView.h"
#include "collections/editor/X256SequenceGrid.h"
#include "base/Preferences.h"
#include "editing/TagEditorRegistry.h"
#include "tests/collections/TestCollections.h"
#include "tests/editing/EditingTestSupport.h"
#include "tests/editing/EditingUiSupport.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/widgets/CheckBox.h"
#include "ui/widgets/ComboBox.h"

using namespace tamber::base;
using namespace tamber::collections::editor;

namespace {

constexpr uint32_t kCollectionGroup = FourCC(".256");

TagRecord* MakeCollectionTag(const Collection& collection) {
    Result<CollectionPayload> payload = WriteCollection(collection);
    EXPECT_TRUE(payload);
    return MakeLooseTag("sprites", std::string(payload->bytes.begin(), payload->bytes.end()), kCollectionGroup);
}

std::vector<uint8_t> Bytes(const Collection& collection) {
    Result<CollectionPayload> payload = WriteCollection(collection);
    return payload ? payload->bytes : std::vector<uint8_t>{};
}

// Answers the open message box with its first button; returns its text.
std::string Answer(UiTestDriver& ui) {
    const std::string text = BoxText();
    if (OpenBox() && OpenBox()->FirstButton()) ui.click(UiTestDriver::center(OpenBox()->FirstButton()));
    ui.step();
    return text;
}

}  // namespace

TEST(SequenceWindows, BrowserEditorAndOptimizePage) {
    ScratchGame game;
    SetTagEditorFactory(kCollectionGroup, &X256Edit::Create);
    std::unique_ptr<Collection> source = MakeTestCollection();
    source->flags = 0;
    source->bitmaps.push_back(std::make_shared<Bitmap>(*source->bitmaps[2]));  // identical to bitmap 2
    source->bitmaps.back()->name = "twin";
    source->sequences[1].frames[0].views[1].sets[0].bitmap = source->bitmaps.back();
    TagRecord* record = MakeCollectionTag(*source);
    ASSERT_TRUE(record);

    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        auto* editor = dynamic_cast<X256Edit*>(OpenTagEditor(record));
        ASSERT_NE(editor, nullptr);
        ui.step();
        const std::vector<uint8_t> loaded = Bytes(editor->GetCollection());
        auto* browser = dynamic_cast<X256SequenceBrowser*>(editor->GetPage(X256Edit::kSequencesPage));
        auto* optimize = dynamic_cast<X256OptimizeEdit*>(editor->GetPage(X256Edit::kOptimizePage));
        ASSERT_TRUE(browser && optimize);
        auto* opener = new Opener;

        // Duplicate puts the copy right after the original; undo and redo.
        browser->List()->SelectListItem(browser->List()->FindItem(0), false);
        browser->RunCommand(X256SequenceBrowser::kCommandDuplicate);
        ASSERT_EQ(editor->GetCollection().SequenceCount(), 4);
        EXPECT_EQ(editor->GetCollection().sequences[1].name, "walk copy");
        EXPECT_EQ(browser->List()->CellText(browser->List()->FindItem(1), 0), "walk copy");
        EXPECT_STREQ(editor->GetName(), "sprites*");
        editor->Undo();
        EXPECT_EQ(editor->GetCollection().SequenceCount(), 3);
        EXPECT_STREQ(editor->GetName(), "sprites");
        editor->Redo();
        EXPECT_EQ(editor->GetCollection().sequences[1].name, "walk copy");
        editor->Undo();

        // An open sequence is not deleted.
        browser->OpenEditor(1);
        ui.step();
        auto* edit = dynamic_cast<X256SequenceEdit*>(ui.find("Sequence: idle"));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->Frame().Width(), 800);
        EXPECT_EQ(edit->Frame().Height(), 600);
        browser->List()->DeselectAll();
        browser->List()->SelectListItem(browser->List()->FindItem(1), false);
        opener->action = [&] { browser->RunCommand(X256SequenceBrowser::kCommandDelete); };
        ui.click(UiTestDriver::center(opener));
        EXPECT_STREQ(OpenBox()->GetName(), "Confirm Delete");
        EXPECT_EQ(Answer(ui), "Are you sure you want to remove the selected sequence?");
        EXPECT_EQ(Answer(ui), "The sequence \"idle\" is currently open. Please close it before deleting.");
        EXPECT_EQ(editor->GetCollection().SequenceCount(), 3);

        // The optimisations refuse while a sequence editor is open.
        opener->action = [&] { optimize->Run(X256OptimizeEdit::kMergeIdentical); };
        ui.click(UiTestDriver::center(opener));
        EXPECT_EQ(Answer(ui),
                  "Please close all bitmap, sequence and sequence edit windows before performing optimizations.");
        EXPECT_EQ(Bytes(editor->GetCollection()), loaded);

        // Views and Frames: 0 shows and stores 1; 4 to 6 frames keeps the first four.
        auto setField = [&](X256SequenceEdit::Field field, const char* text) {
            edit->FieldBox(field)->SetText(text);
            edit->FieldBox(field)->changed.Emit();
            ui.step();
        };
        const Sequence* idle = &editor->GetCollection().sequences[1];
        setField(X256SequenceEdit::kViews, "0");
        EXPECT_EQ(edit->FieldBox(X256SequenceEdit::kViews)->Text(), "1");
        EXPECT_EQ(editor->GetCollection().sequences[1].header.viewCount, 1);
        setField(X256SequenceEdit::kFrames, "0");
        EXPECT_EQ(edit->FieldBox(X256SequenceEdit::kFrames)->Text(), "1");
        setField(X256SequenceEdit::kFrames, "4");
        idle = &editor->GetCollection().sequences[1];
        const std::vector<tamber::collections::Frame> firstFour = idle->frames;
        setField(X256SequenceEdit::kFrames, "6");
        idle = &editor->GetCollection().sequences[1];
        ASSERT_EQ(idle->frames.size(), 6u);
        for (size_t f = 0; f < 4; ++f) EXPECT_EQ(idle->frames[f].views[0].sets[0].bitmap, firstFour[f].views[0].sets[0].bitmap);
        setField(X256SequenceEdit::kViews, "8");
        for (int v = 0; v < 8; ++v) EXPECT_EQ(edit->Grid()->ColumnTitle(v + 1), std::to_string(v * 45) + '\xA1');
        EXPECT_EQ(edit->Grid()->ColumnTitle(0), "Shadow");
        while (editor->History().CanUndo()) editor->Undo();
        EXPECT_EQ(Bytes(editor->GetCollection()), loaded);
        EXPECT_EQ(edit->FieldBox(X256SequenceEdit::kViews)->Text(), "3");

        // Per-cell flags act on the selected cells of their kind; a mixed selection shows.
        edit->Grid()->Select({{0, 1}, {0, 3}});
        EXPECT_TRUE(edit->IsCellFlagMixed(X256SequenceEdit::kVertMirror));  // view 2 is mirrored vertically
        ui.click(UiTestDriver::center(edit->CellFlagBox(X256SequenceEdit::kHorzMirror)));
        idle = &editor->GetCollection().sequences[1];
        EXPECT_TRUE(idle->frames[0].views[0].flags & kViewMirrorH);
        EXPECT_TRUE(idle->frames[0].views[2].flags & kViewMirrorH);
        EXPECT_FALSE(idle->frames[0].views[1].flags & kViewMirrorH);
        editor->Undo();

        // Registration points: placed by a preset, copied and pasted, one action each.
        edit->Grid()->Select({{0, 1}});
        edit->RunCommand(X256SequenceEdit::kPlaceBottomCentre);
        idle = &editor->GetCollection().sequences[1];
        const ViewSet& placed = idle->frames[0].views[0].sets[0];
        EXPECT_EQ(placed.regY, placed.bitmap->height);
        edit->RunCommand(X256SequenceEdit::kCopyRegPoint);
        edit->Grid()->Select({{0, 3}});
        edit->RunCommand(X256SequenceEdit::kPasteRegX);
        idle = &editor->GetCollection().sequences[1];
        EXPECT_EQ(idle->frames[0].views[2].sets[0].regX, idle->frames[0].views[0].sets[0].regX);
        // Imports: the file count must match the cells, a plate must hold one picture
        // per cell, and alphas need a bitmap in every cell. Refusals change nothing.
        const std::string folder = game.Path() + "pictures";
        std::filesystem::create_directories(folder);
        const Collection& now = editor->GetCollection();
        ASSERT_TRUE(ExportBitmap(now, *now.bitmaps[0], folder + "/one.png", false));
        ASSERT_TRUE(ExportPlate(now, {now.bitmaps[0].get(), now.bitmaps[2].get()}, folder + "/two.png", false));
        const std::vector<uint8_t> before = Bytes(now);
        SetPrefString("LastImageOpenPath", folder);
        auto choose = [&](const char* title, const char* file) {
            ui.click((std::string(title) + "/Name").c_str());
            ui.type(std::string(file) + "\n");
            ui.step();
        };
        edit->Grid()->Select({{0, 1}, {0, 2}, {0, 3}});
        opener->action = [&] { edit->RunCommand(kImportViewsThenFrames); };
        ui.click(UiTestDriver::center(opener));
        choose("Import Bitmaps", "one.png");
        EXPECT_EQ(Answer(ui), "1 bitmaps were seleced, expected 3");
        opener->action = [&] { edit->RunCommand(kImportPlate); };
        ui.click(UiTestDriver::center(opener));
        choose("Import Plate", "two.png");
        EXPECT_EQ(Answer(ui), "Invalid number of images in plate. It must contain exactly 3 images.");
        edit->Grid()->Select({{0, 0}, {0, 1}});  // the frame has no shadow
        opener->action = [&] { edit->RunCommand(kAlphaViewsThenFrames); };
        ui.click(UiTestDriver::center(opener));
        EXPECT_EQ(Answer(ui), "In order to replace alphas, every bitmap must be assigned.");
        EXPECT_EQ(Bytes(editor->GetCollection()), before);
        // Two cells take the plate's pictures frames first; one action.
        edit->Grid()->Select({{0, 2}, {0, 3}});
        opener->action = [&] { edit->RunCommand(kImportPlate); };
        ui.click(UiTestDriver::center(opener));
        choose("Import Plate", "two.png");
        idle = &editor->GetCollection().sequences[1];
        ASSERT_EQ(editor->GetCollection().BitmapCount(), source->BitmapCount() + 2);
        EXPECT_EQ(idle->frames[0].views[1].sets[0].bitmap, editor->GetCollection().bitmaps.end()[-2]);
        EXPECT_EQ(idle->frames[0].views[2].sets[0].bitmap, editor->GetCollection().bitmaps.back());
        editor->Undo();
        EXPECT_EQ(Bytes(editor->GetCollection()), before);

        // The sequence window's keys undo in the collection editor.
        WS().SetFocus(edit->Grid(), 0);
        ui.key('Z', kModCtrl);
        ui.key('Z', kModCtrl);
        EXPECT_EQ(Bytes(editor->GetCollection()), loaded);
        ui.key('Y', kModCtrl);
        EXPECT_EQ(editor->GetCollection().sequences[1].frames[0].views[0].sets[0].regY, placed.bitmap->height);
        editor->Undo();

        // The frame editor: arrow keys and drags move what the mode names, one action
        // each, undone and redone; "Animate" plays at the ticks per frame.
        edit->Grid()->Select({{0, 1}});
        edit->OpenFrameEditor();
        ui.step();
        auto* frames = dynamic_cast<X256SequenceFrameEdit*>(ui.find("Frames: idle"));
        ASSERT_NE(frames, nullptr);
        X256SequenceFrameView* view = frames->View();
        EXPECT_EQ(frames->ModeLabel()->Text(), "Mouse / Arrow Keys: Move Bitmap");
        const auto regOf = [&](int v) {
            const ViewSet& set = editor->GetCollection().sequences[1].frames[0].views[size_t(v)].sets[0];
            return std::pair<int, int>(set.regX, set.regY);
        };
        const auto start = regOf(0), other = regOf(1);
        auto setFrames = [&](int count) {
            edit->FieldBox(X256SequenceEdit::kFrames)->SetText(std::to_string(count));
            edit->FieldBox(X256SequenceEdit::kFrames)->changed.Emit();
            ui.step();
        };
        WS().SetFocus(view, 0);
        ui.key(kKeyRight);
        ui.key(kKeyRight);
        ui.key(kKeyDown, kModShift);
        EXPECT_EQ(regOf(0), std::pair(start.first - 2, start.second - 10));
        EXPECT_EQ(regOf(1), other);  // Move Bitmap moves one cell
        ui.drag({view->Client().left + 100, view->Client().top + 100},
                {view->Client().left + 100 + 4 * view->Zoom(), view->Client().top + 100});
        EXPECT_EQ(regOf(0).first, start.first - 6);
        editor->Undo();
        EXPECT_EQ(regOf(0).first, start.first - 2);
        editor->Redo();
        EXPECT_EQ(regOf(0).first, start.first - 6);
        for (int i = 0; i < 4; ++i) editor->Undo();  // three presses and one drag
        EXPECT_EQ(regOf(0), start);
        opener->action = [&] { frames->ModeBox()->SelectItem(4), frames->ModeBox()->itemChosen.Emit(4); };
        ui.click(UiTestDriver::center(opener));
        EXPECT_EQ(frames->ModeLabel()->Text(), "Mouse / Arrow Keys: Move Keypoint");
        WS().SetFocus(view, 0);
        ui.key(kKeyLeft);
        EXPECT_EQ(editor->GetCollection().sequences[1].frames[0].views[0].pointX,
                  source->sequences[1].frames[0].views[0].pointX - 1);
        EXPECT_EQ(regOf(0), start);
        editor->Undo();
        frames->Press(X256SequenceFrameEdit::kZoomIn);
        EXPECT_EQ(frames->ZoomLabel()->Text(), "300%");
        // Playing steps through the frames at the ticks per frame (30 ticks a second).
        setFrames(4);
        frames->Press(X256SequenceFrameEdit::kAnimate);
        EXPECT_EQ(frames->AnimateButton()->GetName(), std::string("Stop"));
        ui.wait(2.6 / X256SequenceFrameView::kTicksPerSecond);  // and a step of half a tick
        ui.step();
        EXPECT_EQ(view->FrameIndex(), 3);
        ui.wait(0.6 / X256SequenceFrameView::kTicksPerSecond);
        ui.step();
        EXPECT_EQ(view->FrameIndex(), 0);
        frames->Press(X256SequenceFrameEdit::kAnimate);
        EXPECT_EQ(frames->AnimateButton()->GetName(), std::string("Animate"));
        editor->Undo();
        ui.screenshot("sequence-frame-edit.ppm");
        frames->Close();
        edit->Close();
        ui.step();

        // With the editor closed the operations run, report, and undo.
        opener->action = [&] { optimize->Run(X256OptimizeEdit::kRuntimeSize); };
        ui.click(UiTestDriver::center(opener));
        EXPECT_STREQ(OpenBox()->GetName(), "Information");
        EXPECT_EQ(Answer(ui).rfind("Approximate texture cache consumption, by format:\n16 bit po2 => ", 0), 0u);
        opener->action = [&] { optimize->Run(X256OptimizeEdit::kMergeIdentical); };
        ui.click(UiTestDriver::center(opener));
        EXPECT_EQ(Answer(ui), "1 bitmap was deleted after merging.");
        EXPECT_EQ(editor->GetCollection().BitmapCount(), source->BitmapCount() - 1);
        EXPECT_EQ(editor->GetCollection().sequences[1].frames[0].views[1].sets[0].bitmap, editor->GetCollection().bitmaps[2]);
        editor->Undo();
        EXPECT_EQ(Bytes(editor->GetCollection()), loaded);
        EXPECT_STREQ(editor->GetName(), "sprites");
        editor->Redo();
        EXPECT_TRUE(editor->Save());
        Result<std::unique_ptr<Collection>> saved = ReadCollection(
            [&] {
                const std::string bytes = LoosePayload(Codex::Instance().LocalTagPath(kCollectionGroup, "sprites"));
                return std::vector<uint8_t>(bytes.begin(), bytes.end());
            }(),
            0, true);
        ASSERT_TRUE(saved);
        EXPECT_EQ((*saved)->BitmapCount(), source->BitmapCount() - 1);
        opener->Close();
        editor->Close();
    });
}

TEST(SequenceWindows, OpeningWithCtrlHeldProjectsShadowsAsOneChange) {
    ScratchGame game;
    SetTagEditorFactory(kCollectionGroup, &X256Edit::Create);
    std::unique_ptr<Collection> source = MakeTestCollection();
    source->flags = 0;
    Sequence run;
    run.name = "run";
    ResizeSequence(run, 2, 8);
    for (Frame& frame : run.frames) frame.views[3].sets[0] = {source->bitmaps[0], 4, 16, kFirstSetScale};
    source->sequences.push_back(run);
    TagRecord* record = MakeCollectionTag(*source);
    ASSERT_TRUE(record);

    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        OsCurrentCallbacks().key(kKeyLeftCtrl, 1);
        ui.step();
        auto* editor = dynamic_cast<X256Edit*>(OpenTagEditor(record));
        OsCurrentCallbacks().key(kKeyLeftCtrl, 0);
        ui.step();
        ASSERT_NE(editor, nullptr);
        const Collection& shown = editor->GetCollection();
        EXPECT_GT(shown.BitmapCount(), source->BitmapCount());
        // Both frames of "run" show one bitmap in their fourth view: they share one shadow.
        const Sequence& projected = shown.sequences.back();
        ASSERT_TRUE(projected.frames[0].shadow.bitmap);
        EXPECT_EQ(projected.frames[1].shadow.bitmap, projected.frames[0].shadow.bitmap);
        EXPECT_TRUE(editor->IsModified());
        editor->Undo();
        EXPECT_EQ(editor->GetCollection().BitmapCount(), source->BitmapCount());
        EXPECT_FALSE(editor->IsModified());
        editor->Close();
    });
}

TEST(SequenceWindows, WindowsOfSequencesThatMoveClose) {
    ScratchGame game;
    SetTagEditorFactory(kCollectionGroup, &X256Edit::Create);
    std::unique_ptr<Collection> source = MakeTestCollection();
    source->flags = 0;
    TagRecord* record = MakeCollectionTag(*source);
    ASSERT_TRUE(record);

    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        auto* editor = dynamic_cast<X256Edit*>(OpenTagEditor(record));
        ASSERT_NE(editor, nullptr);
        auto* browser = dynamic_cast<X256SequenceBrowser*>(editor->GetPage(X256Edit::kSequencesPage));
        ASSERT_TRUE(browser);
        browser->OpenEditor(0);
        browser->OpenEditor(1);
        ui.step();
        ASSERT_TRUE(ui.find("Sequence: walk") && ui.find("Sequence: idle"));

        // A copy of "walk" goes in at position 1: "idle" moves on and its window, which
        // knows it by position, closes; the window of "walk" stays.
        browser->List()->SelectListItem(browser->List()->FindItem(0), false);
        browser->RunCommand(X256SequenceBrowser::kCommandDuplicate);
        ui.step(2);
        EXPECT_TRUE(ui.find("Sequence: walk"));
        EXPECT_FALSE(ui.find("Sequence: idle"));
        EXPECT_FALSE(editor->IsSequenceOpen(2));

        // Undoing moves "idle" back; a window opened on it meanwhile closes too.
        browser->OpenEditor(2);
        ui.step();
        ASSERT_TRUE(ui.find("Sequence: idle"));
        editor->Undo();
        ui.step(2);
        EXPECT_FALSE(ui.find("Sequence: idle"));
        EXPECT_TRUE(editor->IsSequenceOpen(0));
        editor->Close();
    });
}
