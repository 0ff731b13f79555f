// Combo boxes: opening the list below, choosing by click and by keys, outside presses,
// typing into an editable text part, and the open list above every other window.
#include <gtest/gtest.h>

#include <vector>

#include "tests/ui/support/UiTestDriver.h"
#include "ui/DrawBatch.h"
#include "ui/Skin.h"
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

TEST(ComboBox, OpenListIsDrawnAboveAndTakesTheClicksOnIt) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        // The combo box sits in one panel; a panel in front of it, just below, is filled
        // with a colour nothing else uses and counts the presses it gets.
        struct Panel : Window {
            explicit Panel(Window* parent) : Window(kStyleVisible, parent) {}
            void Draw() override {
                SetDrawColor(255, 0, 255, 255);
                Skin::FillRect({0, 0, Client().Width(), Client().Height()});
            }
            void OnMouseButton(Event& event) override { presses += event.ButtonPressed() ? 1 : 0; }
            int presses = 0;
        };
        auto* owner = new Owner;
        auto* upper = new Window(kStyleVisible, owner);
        upper->SetFrameXYWH(20, 20, 300, 40);
        auto* combo = new ComboBox(upper, 0);
        combo->SetFrameXYWH(10, 10, 160, 20);
        for (const char* entry : {"alpha", "bravo", "charlie", "delta", "echo"}) combo->AddItem(entry);
        combo->SetListRows(5);
        combo->itemChosen.Connect(owner, &Owner::OnChosen);
        auto* lower = new Panel(owner);
        lower->SetFrameXYWH(20, 60, 300, 200);
        ASSERT_EQ(owner->FirstChild(), lower);  // in front of the combo box's panel

        ui.click("ComboBox Button");
        ASSERT_TRUE(combo->IsListOpen());
        ListWindow* list = combo->List();
        const Rect shown = list->Frame();
        ASSERT_GT(shown.bottom, lower->Frame().top + 2 * list->RowHeight());
        std::vector<uint8_t> rgba = ui.pixels();
        ASSERT_FALSE(rgba.empty());
        int magenta = 0, panel = 0;
        const int width = WS().SurfaceWidth();
        for (int y = 0; y < WS().SurfaceHeight(); ++y) {
            for (int x = 0; x < width; ++x) {
                const uint8_t* p = &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4];
                if (p[0] != 255 || p[1] != 0 || p[2] != 255) continue;
                bool inList = x >= shown.left && x < shown.right && y >= shown.top && y < shown.bottom;
                (inList ? magenta : panel) += 1;
            }
        }
        EXPECT_EQ(magenta, 0);  // the list hides the panel where they overlap
        EXPECT_GT(panel, 0);    // and the panel is drawn elsewhere
        // The fourth row lies over the panel: clicking it chooses "delta".
        const int row = list->RowHeight();
        const Point fourth{shown.left + 20, shown.top + 3 * row + row / 2};
        ASSERT_GE(fourth.y, lower->Frame().top);
        ui.click(fourth);
        ui.step();
        EXPECT_FALSE(combo->IsListOpen());
        EXPECT_EQ(combo->GetText(), "delta");
        EXPECT_EQ(owner->chosen, std::vector<int>{3});
        EXPECT_EQ(lower->presses, 0);
        // Closed, the list is the combo box's own child again.
        EXPECT_EQ(list->Parent(), combo);
        EXPECT_FALSE(list->IsVisible());
    });
}
