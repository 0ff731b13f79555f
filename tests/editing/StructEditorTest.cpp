// The structure editor's panel: table layout, nested editors with Cancel, arrays of
// sub-records, and sequence pickers that follow a collection.
#include <gtest/gtest.h>

#include <cstring>

#include "collections/Collection.h"
#include "editing/AttachmentKinds.h"
#include "editing/StructCollectionCache.h"
#include "editing/StructEditor.h"
#include "editing/StructTable.h"
#include "editing/SubStructArrayEdit.h"
#include "tests/definitions/StructTestSupport.h"
#include "tests/editing/EditingTestSupport.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/CheckBox.h"
#include "ui/widgets/ComboBox.h"
#include "ui/widgets/TextBox.h"

using namespace tamber::collections;
using namespace tamber::editing;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

struct Host {
    Host() : window(new Window(kStyleVisible | kStyleEnabled, nullptr)) {
        window->SetName("Host");
        window->SetFrameXYWH(0, 0, 1000, 760);
        editor = new StructEditor(FindStruct("wind"), window);
        editor->changed.Connect(&counter, &Counter::Count);
    }
    struct Counter : has_slots<void> {
        void Count() { ++changes; }
        int changes = 0;
    } counter;
    Window* window;
    StructEditor* editor;
    uint8_t* At(size_t offset) const { return editor->Record() + offset; }
    int16_t Short(size_t offset) const {
        int16_t value;
        std::memcpy(&value, At(offset), 2);
        return value;
    }
    void SetShort(size_t offset, int16_t value) const { std::memcpy(At(offset), &value, 2); }
    void SetLong(size_t offset, uint32_t value) const { std::memcpy(At(offset), &value, 4); }
};

Window* Cell(Window* parent, int width, int height) {
    auto* cell = new Window(kStyleVisible, parent);
    cell->SetSize(width, height);
    return cell;
}

Point RowCenter(ListWindow* list, int row) {
    const Rect cell = list->CellRect(list->ItemAtRow(row), 0);
    return {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
}

}  // namespace

TEST(StructEditor, TablesLayOutRowsColumnsFramesAndAlignment) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver&) {
        Window root(kStyleVisible, nullptr);
        auto* table = new Table(&root);
        table->SetFramed("Caption");
        table->SetAlign(Table::kAlignRight);
        Window* a = Cell(table, 30, 10);
        Window* b = Cell(table, 50, 21);
        Window* c = Cell(table, 60, 12);
        table->AddCell(a);
        table->AddCell(b);
        table->AddRow();
        table->AddCell(c);
        table->Layout();
        // Columns 64 and 54 wide; rows 21 and 12 high, one pixel apart.
        EXPECT_EQ(table->Frame().Width(), 64 + 54 + 48);
        EXPECT_EQ(table->Frame().Height(), 22 + 13 + 36 + 24);
        EXPECT_EQ(a->RelativeFrame().left, 24 + 34);
        EXPECT_EQ(a->RelativeFrame().top, 40);
        EXPECT_EQ(b->RelativeFrame().left, 24 + 64 + 4);
        EXPECT_EQ(c->RelativeFrame().top, 40 + 22);

        auto* plain = new Table(&root);
        plain->SetStretch(true);
        Window* d = Cell(plain, 10, 5);
        Window* e = Cell(plain, 40, 5);
        plain->AddCell(d);
        plain->AddRow();
        plain->AddCell(e);
        plain->SetMinimumColumns({50});
        plain->Layout();
        EXPECT_EQ(d->RelativeFrame(), (Rect{0, 0, 50, 5}));
        EXPECT_EQ(e->RelativeFrame(), (Rect{0, 6, 50, 11}));
        EXPECT_EQ(plain->Frame().Width(), 50);

        auto* centred = new Table(&root);
        centred->SetFramed("");
        centred->SetAlign(Table::kAlignCenter);
        centred->AddCell(Cell(centred, 20, 5));
        centred->AddRow();
        Window* f = Cell(centred, 10, 5);
        centred->AddCell(f);
        centred->Layout();
        EXPECT_EQ(f->RelativeFrame().left, 24 + 7);
        EXPECT_EQ(f->RelativeFrame().top, 16 + 6);
        EXPECT_EQ(centred->Frame().Height(), 12 + 36);
    });
}

TEST(StructEditor, NestedEditorsRestoreOnCancelAndArraysFollowTheirCount) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ScratchGame game;
    LoadTestDefinitions();
    ui.Run([](UiTestDriver& ui) {
        Host host;
        host.SetShort(kWindRange, 3);
        host.SetShort(kWindRange + 2, 5);
        host.SetShort(kWindEntryCount, 2);
        host.SetShort(kWindEntries + 6, 10);
        host.SetShort(kWindEntries + kWindEntrySize + 6, 20);
        ASSERT_TRUE(host.editor->BuildPanel());
        const int width = host.editor->Frame().Width();
        const int height = host.editor->Frame().Height();
        EXPECT_EQ(host.editor->OKButton()->RelativeFrame().left, width - 208);
        EXPECT_EQ(host.editor->CancelButton()->RelativeFrame().left, width - 104);
        EXPECT_GE(host.editor->OKButton()->RelativeFrame().top, height - 32);
        EXPECT_EQ(ui.find("Host/missing"), nullptr);
        EXPECT_EQ(ui.find("Host/tint"), nullptr);
        ui.step();
        ui.screenshot("struct-editor-panel.ppm");

        // A nested editor shows the sub-record with its lower bound; Cancel restores it.
        std::vector<uint8_t> before(host.editor->Record(), host.editor->Record() + kWindSize);
        ui.click("Host/Range...");
        auto* high = dynamic_cast<TextBox*>(ui.find("Range.../high"));
        ASSERT_NE(high, nullptr);
        EXPECT_EQ(high->Text(), "7");
        ui.screenshot("struct-editor-nested.ppm");
        ReplaceText(ui, "Range.../high", "3");
        ReplaceText(ui, "Range.../low", "250");
        EXPECT_EQ(host.Short(kWindRange), 250);
        EXPECT_GT(host.counter.changes, 0);
        ui.click("Range.../Cancel");
        ui.step(2);
        EXPECT_EQ(WS().ModalDepth(), 0u);
        EXPECT_EQ(std::vector<uint8_t>(host.editor->Record(), host.editor->Record() + kWindSize), before);

        ui.click("Host/Range...");
        ReplaceText(ui, "Range.../low", "4");
        ui.click("Range.../OK");
        ui.step(2);
        EXPECT_EQ(host.Short(kWindRange), 4);

        // Two used elements of three; lines show sequence numbers (no collection).
        auto* entries = dynamic_cast<SubStructArrayEdit*>(ui.find("Host/entries"));
        ASSERT_NE(entries, nullptr);
        ListWindow* list = entries->List();
        ASSERT_EQ(list->ItemCount(), 2);
        EXPECT_EQ(list->FirstItem()->label, "Sequence #1");
        EXPECT_TRUE(entries->AddButton()->IsEnabled());
        EXPECT_FALSE(entries->DeleteButton()->IsEnabled());
        EXPECT_FALSE(entries->DuplicateButton()->IsEnabled());

        ui.click(RowCenter(list, 0));
        EXPECT_TRUE(entries->DuplicateButton()->IsEnabled());
        ui.click(UiTestDriver::center(entries->DuplicateButton()));
        ASSERT_NE(ui.find("WindEntry #3"), nullptr);
        ui.click("WindEntry #3/OK");
        ui.step(2);
        EXPECT_EQ(host.Short(kWindEntryCount), 3);
        EXPECT_EQ(host.Short(kWindEntries + 2 * kWindEntrySize + 6), 10);
        EXPECT_FALSE(entries->AddButton()->IsEnabled());  // at capacity
        EXPECT_FALSE(entries->DuplicateButton()->IsEnabled());

        ui.click(RowCenter(list, 0));
        ui.click(UiTestDriver::center(entries->DeleteButton()));
        EXPECT_EQ(host.Short(kWindEntryCount), 2);
        EXPECT_EQ(host.Short(kWindEntries + 6), 20);
        EXPECT_EQ(host.Short(kWindEntries + kWindEntrySize + 6), 10);
        const std::vector<uint8_t> zeros(kWindEntrySize, 0);
        EXPECT_EQ(std::memcmp(host.At(kWindEntries + 2 * kWindEntrySize), zeros.data(), kWindEntrySize), 0);
        EXPECT_TRUE(entries->AddButton()->IsEnabled());

        // Add, then Cancel in the nested editor: the used count stays.
        ui.click(UiTestDriver::center(entries->AddButton()));
        ASSERT_NE(ui.find("WindEntry #3"), nullptr);
        ui.click("WindEntry #3/Cancel");
        ui.step(2);
        EXPECT_EQ(host.Short(kWindEntryCount), 2);
        EXPECT_EQ(list->ItemCount(), 2);

        // An array without a runtime count has no Add and deletes nothing.
        auto* pairs = dynamic_cast<SubStructArrayEdit*>(ui.find("Host/pairs"));
        ASSERT_NE(pairs, nullptr);
        EXPECT_FALSE(pairs->AddButton()->IsVisible());
        EXPECT_EQ(pairs->UsedCount(), 2);
        EXPECT_FALSE(pairs->Delete(0));
        host.window->Close();
    });
}

TEST(StructEditor, SequencePickersFollowTheirCollection) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ScratchGame game;
    LoadTestDefinitions();
    TagRecord* dunes = MakeCollectionTag("dunes", {"Drift", "Swirl", "Calm"});
    TagRecord* peaks = MakeCollectionTag("peaks", {"Gust"});
    ASSERT_TRUE(dunes && peaks);
    std::vector<uint8_t> reference(384, 0);
    PutBe32(reference, 0, peaks->tagid);
    TagRecord* core = MakeGroupTag(FourCC("core"), "peaks", reference);
    ASSERT_NE(core, nullptr);
    const uint32_t dunesId = dunes->tagid;

    ui.Run([&](UiTestDriver& ui) {
        Host host;
        host.SetLong(kWindCollection, dunesId);
        host.SetShort(kWindSequence, 1);
        host.SetShort(kWindAlternate, 2);
        ASSERT_TRUE(host.editor->BuildPanel());
        ui.step();
        auto* collection = dynamic_cast<ComboBox*>(ui.find("Host/collection"));
        auto* sequence = dynamic_cast<ComboBox*>(ui.find("Host/sequence"));
        auto* alternate = dynamic_cast<ComboBox*>(ui.find("Host/alternate"));
        ASSERT_TRUE(collection && sequence && alternate);
        EXPECT_EQ(collection->GetText(), "dunes");
        EXPECT_EQ(sequence->GetText(), "Swirl");
        EXPECT_EQ(alternate->GetText(), "Calm");
        EXPECT_EQ(sequence->ItemCount(), 4);
        EXPECT_NE(Codex::Instance().FindAttachment(dunes, kAttachStructCollection), nullptr);

        int peaksItem = -1;
        for (int i = 0; i < collection->ItemCount(); ++i) {
            if (collection->ItemText(i) == "peaks") peaksItem = i;
        }
        ASSERT_GE(peaksItem, 0);
        collection->itemChosen.Emit(peaksItem);
        EXPECT_EQ(host.Short(kWindSequence), -1);
        EXPECT_EQ(host.Short(kWindAlternate), -1);
        EXPECT_EQ(sequence->GetText(), "<no sequence>");
        ASSERT_EQ(sequence->ItemCount(), 2);
        EXPECT_EQ(sequence->ItemText(0), "Gust");
        EXPECT_EQ(Codex::Instance().FindAttachment(dunes, kAttachStructCollection), nullptr);

        sequence->itemChosen.Emit(0);
        EXPECT_EQ(host.Short(kWindSequence), 0);
        EXPECT_EQ(host.counter.changes, 2);

        // A collection reference names its collection in its first word; the
        // cached collection is shared with the editor's through the attachment.
        const StructMember* member = FindMember(*FindStruct("wind"), "collection");
        Collection* viaReference = CachedCollection(&ui, member, FourCC("core"), core->tagid);
        ASSERT_NE(viaReference, nullptr);
        EXPECT_EQ(viaReference, Codex::Instance().FindAttachment(peaks, kAttachStructCollection));
        EXPECT_EQ(viaReference->SequenceCount(), 1);
        DropCachedCollections(&ui);

        StructEditor* editor = host.editor;
        host.window->Close();
        ui.step();
        EXPECT_EQ(CachedCollectionCount(editor), 0);
        EXPECT_EQ(Codex::Instance().FindAttachment(peaks, kAttachStructCollection), nullptr);
    });
}

TEST(StructEditor, OddLayoutsBuildWhatTheyCan) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ClearDefinitions();
    ASSERT_TRUE(AddDefinitionDocument("odd.xml", R"(<tamberxmlfile>
        <struct name="bare"><word name="w"/></struct>
        <struct name="odd"><byte name="b" count="2"/><word name="flags"/><substruct name="sub" struct="bare"/>
          <padding name="pad" count="4"/></struct>
        <structedit struct="odd" layout="table">
          <item target="b"/>
          <row><item target="b" index="1"/><item target="b" index="2"/><item target="b" index="-1"/></row>
          <row><item target="flags" bit="99" text="Far"/><item target="pad"/><mystery/><item/></row>
          <row><item target="sub" text="Sub"/></row>
        </structedit></tamberxmlfile>)"));
    ui.Run([](UiTestDriver& ui) {
        auto* host = new Window(kStyleVisible | kStyleEnabled, nullptr);
        host->SetName("Odd");
        auto* editor = new StructEditor(FindStruct("odd"), host);
        ASSERT_TRUE(editor->BuildPanel());
        // Only rows count in a table layout; elements beyond the count and padding get nothing.
        ASSERT_EQ(editor->Bindings().size(), 3u);
        EXPECT_EQ(editor->Bindings()[0]->Index(), 1);
        // A bit beyond the value's width reads clear and changes nothing.
        auto* far = dynamic_cast<CheckBox*>(ui.find("Odd/Far"));
        ASSERT_NE(far, nullptr);
        ui.click(UiTestDriver::center(far));
        EXPECT_TRUE(far->IsChecked());
        EXPECT_EQ(editor->Record()[2] | editor->Record()[3], 0);
        // The sub-record's definition has no layout: a beep, and nothing opens.
        const int beeps = ui.platform().beeps;
        ui.click("Odd/Sub");
        EXPECT_EQ(ui.platform().beeps, beeps + 1);
        EXPECT_EQ(WS().ModalDepth(), 0u);
        host->Close();
    });
}
