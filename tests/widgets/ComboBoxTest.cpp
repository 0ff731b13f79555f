// Combo boxes: opening the list below, choosing by click and by keys, outside presses,
// and typing into an editable text part.
#include <gtest/gtest.h>

#include <vector>

#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/ComboBox.h"
#include "ui/widgets/TextBox.h"

using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

struct Owner : Window {
    Owner() : Window(kStyleVisible | kStylePanelA, nullptr) { SetFrameXYWH(0, 0, 500, 400); }
    void OnMouseButton(Event& event) override { presses += event.ButtonPressed() ? 1 : 0; }
    void OnChosen(int index) { chosen.push_back(index); }
    void OnEdited() { ++edits; }
    int presses = 0, edits = 0;
    std::vector<int> chosen;
};

}  // namespace

TEST(ComboBox, ListChoiceKeysAndOutsidePresses) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        auto* owner = new Owner;
        auto* combo = new ComboBox(owner, 0);
        combo->SetFrameXYWH(40, 40, 160, 20);
        for (const char* entry : {"Red", "Green", "A much longer entry than the box", "Blue"}) combo->AddItem(entry);
        combo->SetListRows(3);
        combo->itemChosen.Connect(owner, &Owner::OnChosen);
        ListWindow* list = combo->List();

        ui.click("ComboBox Button");
        ASSERT_TRUE(combo->IsListOpen());
        EXPECT_EQ(list->Frame().top, combo->Frame().bottom);
        EXPECT_EQ(list->Frame().Height(), 3 * list->RowHeight());
        // Choosing the second row closes the list and shows the entry.
        ui.click({list->Client().left + 20, list->Client().top + list->RowHeight() + list->RowHeight() / 2});
        ui.step();
        EXPECT_FALSE(combo->IsListOpen());
        EXPECT_EQ(combo->GetSelectedItem(), 1);
        EXPECT_EQ(combo->GetText(), "Green");
        EXPECT_EQ(owner->chosen, std::vector<int>{1});

        // A press outside closes it with no change and reaches the window under it.
        ui.click("ComboBox Button");
        ASSERT_TRUE(combo->IsListOpen());
        ui.click({400, 300});
        ui.step();
        EXPECT_FALSE(combo->IsListOpen());
        EXPECT_EQ(combo->GetSelectedItem(), 1);
        EXPECT_EQ(owner->presses, 1);

        // Keys: Down then Enter picks the next entry.
        ui.click("ComboBox Button");
        ui.key(kKeyDown);
        ui.key(kKeyEnter);
        ui.step();
        EXPECT_FALSE(combo->IsListOpen());
        EXPECT_EQ(combo->GetSelectedItem(), 2);
        EXPECT_EQ(owner->chosen, (std::vector<int>{1, 2}));
        EXPECT_EQ(owner->edits, 0);
    });
}

TEST(ComboBox, EditableTextNotifiesTheOwner) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        auto* owner = new Owner;
        auto* combo = new ComboBox(owner, ComboBox::kEditable);
        combo->SetFrameXYWH(40, 40, 160, 20);
        combo->AddItem("First");
        combo->textEdited.Connect(owner, &Owner::OnEdited);
        combo->SelectItem(0);
        EXPECT_EQ(owner->edits, 0);
        ui.click("ComboBox Textfield");
        ui.type("x");
        EXPECT_GT(owner->edits, 0);
        EXPECT_NE(combo->GetText(), "First");
        EXPECT_NE(combo->GetText().find('x'), std::string::npos);
    });
}
