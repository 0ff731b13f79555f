// Text boxes: validation per content kind, number formatting, undo, Enter, caret
// blink, and selection dragging with the real font.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Os.h"
#include "platform/OsDriver.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/TextBox.h"

using namespace tamber::platform;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

struct Counter : Window {
    Counter() : Window(kStyleVisible, nullptr) {}
    void OnChanged() { ++changes; }
    void OnEnter(int pressed) { enters.push_back(pressed); }
    int changes = 0;
    std::vector<int> enters;
};

TextBox* MakeBox(int mode, Window* parent, int height = 20) {
    auto* box = new TextBox(mode, parent);
    box->SetFrameXYWH(10, 10, 200, height);
    return box;
}

}  // namespace

TEST(TextBox, ValidationPerKind) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver& ui) {
        auto* owner = new Counter;
        owner->SetFrameXYWH(0, 0, 400, 300);
        TextBox* integer = MakeBox(TextBox::kModeInteger, owner);
        ui.click(UiTestDriver::center(integer));
        ui.type("-12a-3");
        EXPECT_EQ(integer->Text(), "-123");
        EXPECT_EQ(ui.platform().beeps, 2);
        // A minus sign is accepted only in front.
        integer->SetSelection(0, 0);
        ui.type("-");
        EXPECT_EQ(integer->Text(), "-123");
        integer->SetText("");
        ui.type("12345678901");
        EXPECT_EQ(integer->Text(), "12345678901");
        int beeps = ui.platform().beeps;
        ui.type("2");
        EXPECT_EQ(integer->Text(), "12345678901");
        EXPECT_EQ(ui.platform().beeps, beeps + 1);
        // Replacing a selection counts the text that stays.
        integer->SelectAll();
        ui.type("7");
        EXPECT_EQ(integer->Text(), "7");

        TextBox* decimal = MakeBox(TextBox::kModeDecimal, owner);
        WS().SetFocus(decimal, kFocusByProgram);
        ui.type("-1.5e\t");
        EXPECT_EQ(decimal->Text(), "-1.5");

        TextBox* field = MakeBox(TextBox::kModeTextField, owner);
        WS().SetFocus(field, kFocusByProgram);
        beeps = ui.platform().beeps;
        EXPECT_FALSE(field->InsertText("a\nb"));
        EXPECT_FALSE(field->InsertText(std::string(256, 'x')));
        EXPECT_TRUE(field->InsertText(std::string(255, 'x')));
        EXPECT_EQ(ui.platform().beeps, beeps + 2);

        TextBox* editor = MakeBox(TextBox::kModeEditor, owner, 100);
        WS().SetFocus(editor, kFocusByProgram);
        ui.type("a\tb\nc");
        EXPECT_EQ(editor->Text(), "a\tb\nc");
        EXPECT_EQ(editor->Lines().size(), 2u);
        // Zero bytes never enter the text.
        EXPECT_TRUE(editor->InsertText(std::string("x\0y", 3)));
        EXPECT_EQ(editor->Text(), "a\tb\ncxy");

        TextBox* label = MakeBox(TextBox::kModeLabel, owner);
        label->SetText("fixed");
        EXPECT_FALSE(label->InsertText("more"));
        EXPECT_FALSE(label->HasFlags(kStyleFocusable));
    });
}

TEST(TextBox, SetFloat) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver&) {
        auto* owner = new Counter;
        TextBox* box = MakeBox(TextBox::kModeDecimal, owner);
        box->changed.Connect(owner, &Counter::OnChanged);
        struct Case {
            double value;
            const char* text;
        };
        for (Case c : {Case{1.5, "1.5"}, Case{3, "3.0"}, Case{123456789, "invalid ???"}, Case{-2.25, "-2.25"},
                       Case{100000, "100000"}, Case{0.1234567, "0.12346"}, Case{1e300, "invalid ???"}}) {
            box->SetFloat(c.value);
            EXPECT_EQ(box->Text(), c.text) << c.value;
        }
        EXPECT_EQ(owner->changes, 7);
        box->SetFloat(1e300);
        EXPECT_EQ(owner->changes, 7);  // the same text again is no change
        box->SetSelection(2, 4);
        box->InsertText("9");
        box->SetFloat(42);
        EXPECT_EQ(box->Text(), "42.0");
        EXPECT_EQ(box->Caret(), 0);
        EXPECT_FALSE(box->Undo());
    });
}

TEST(TextBox, UndoRedoOfTypingAndPasting) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver& ui) {
        auto* owner = new Counter;
        owner->SetFrameXYWH(0, 0, 400, 300);
        TextBox* box = MakeBox(TextBox::kModeTextField, owner);
        box->changed.Connect(owner, &Counter::OnChanged);
        ui.click(UiTestDriver::center(box));
        ui.type("abc");
        EXPECT_EQ(owner->changes, 3);
        ui.key('Z', kModCtrl);
        ui.key('Z', kModCtrl);
        EXPECT_EQ(box->Text(), "a");
        EXPECT_EQ(box->Caret(), 1);
        ui.key('Y', kModCtrl);
        EXPECT_EQ(box->Text(), "ab");
        EXPECT_EQ(owner->changes, 6);

        // Paste over a selection; undo brings back the text and the selection.
        OsSetClipboardText("XYZ");
        box->SetSelection(0, 1);
        ui.key('V', kModCtrl);
        EXPECT_EQ(box->Text(), "XYZb");
        EXPECT_EQ(box->Caret(), 3);
        ui.key('Z', kModCtrl);
        EXPECT_EQ(box->Text(), "ab");
        EXPECT_EQ(box->Anchor(), 0);
        EXPECT_EQ(box->Caret(), 1);
        ui.key('Y', kModCtrl);
        EXPECT_EQ(box->Text(), "XYZb");

        // Cut, delete and backspace are steps of their own; a new edit drops the redo branch.
        box->SetSelection(1, 3);
        ui.key('X', kModCtrl);
        std::string clip;
        ASSERT_TRUE(OsGetClipboardText(clip));
        EXPECT_EQ(clip, "YZ");
        EXPECT_EQ(box->Text(), "Xb");
        ui.key(kKeyBackspace);
        ui.key(kKeyDelete);
        EXPECT_EQ(box->Text(), "");
        ui.key('Z', kModCtrl);
        ui.key('Z', kModCtrl);
        EXPECT_EQ(box->Text(), "Xb");
        ui.type("q");
        EXPECT_EQ(box->Text(), "Xqb");
        ui.key('Y', kModCtrl);
        EXPECT_EQ(box->Text(), "Xqb");
        // A paste the box refuses changes nothing and leaves no step.
        OsSetClipboardText("line\nbreak");
        ui.key('V', kModCtrl);
        EXPECT_EQ(box->Text(), "Xqb");
        ui.key('Z', kModCtrl);
        EXPECT_EQ(box->Text(), "Xb");
    });
}

TEST(TextBox, EnterKeysAndCaretBlink) {
    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([](UiTestDriver& ui) {
        auto* owner = new Counter;
        owner->SetFrameXYWH(0, 0, 400, 300);
        TextBox* field = MakeBox(TextBox::kModeLongLine, owner);
        field->enter.Connect(owner, &Counter::OnEnter);
        ui.click(UiTestDriver::center(field));
        ui.type("one\ntwo");
        EXPECT_EQ(field->Text(), "onetwo");
        EXPECT_EQ(owner->enters, (std::vector<int>{1, 0}));
        ui.key(kKeyHome);
        ui.key(kKeyRight, kModShift);
        ui.key(kKeyRight, kModShift);
        EXPECT_EQ(field->SelectionEnd(), 2);
        ui.key(kKeyDown);
        EXPECT_EQ(field->Caret(), 6);
        ui.key(kKeyUp, kModShift);
        EXPECT_EQ(field->SelectionStart(), 0);
        EXPECT_EQ(field->SelectionEnd(), 6);

        // The caret stays on for half a second after a move, then blinks once a second.
        EXPECT_TRUE(field->CaretShown());
        double t = ui.now();
        ui.wait(double(int64_t(t)) + 2.25 - t);  // twice the time has an even integer part: off
        ui.step();
        EXPECT_FALSE(field->CaretShown());
        ui.wait(0.5);
        ui.step();
        EXPECT_TRUE(field->CaretShown());

        TextBox* editor = MakeBox(TextBox::kModeEditor, owner, 120);
        WS().SetFocus(editor, kFocusByProgram);
        ui.type("ab\ncd\nef");
        EXPECT_EQ(editor->Text(), "ab\ncd\nef");
        ui.key(kKeyUp);
        int line = 0, column = 0;
        editor->LinePosition(editor->Caret(), line, column);
        EXPECT_EQ(line, 1);
        EXPECT_EQ(field->Text(), "onetwo");
    });
}

TEST(TextBox, SelectionDragScrollsAndDraws) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        auto* owner = new Counter;
        owner->SetFlags(kStylePanelB);
        owner->SetFrameXYWH(0, 0, 520, 300);
        TextBox* editor = MakeBox(TextBox::kModeEditor, owner, 120);
        std::string text;
        for (int i = 0; i < 40; ++i) text += "Line " + std::to_string(i) + " of the text\n";
        editor->SetText(text);
        ASSERT_GT(editor->Lines().size(), 40u);
        // Dragging below the box scrolls it one line at a time while the button is held.
        Point inside = UiTestDriver::center(editor);
        ui.moveTo(inside);
        OsCurrentCallbacks().mouseButton(0, 1);
        ui.step(2);
        ui.moveTo({inside.x, editor->Client().bottom + 30});
        ui.step(30);
        int scrolled = editor->Position(ScrollableWindow::kVertical);
        EXPECT_GT(scrolled, 0);
        OsCurrentCallbacks().mouseButton(0, 0);
        ui.step(10);
        EXPECT_EQ(editor->Position(ScrollableWindow::kVertical), scrolled);
        EXPECT_LT(editor->Anchor(), editor->Caret());

        // Word wrap keeps every line inside the box; Page Down moves by the visible lines.
        editor->SetText(std::string(30, ' ') + "a long paragraph that wraps at word boundaries into several lines");
        for (const TextBox::Line& line : editor->Lines()) EXPECT_LE(line.width, editor->Client().Width());
        EXPECT_GT(editor->Lines().size(), 2u);
        editor->SetText(text);
        editor->SetSelection(0, 0);
        WS().SetFocus(editor, kFocusByProgram);
        ui.key(kKeyPageDown);
        int line = 0, column = 0;
        editor->LinePosition(editor->Caret(), line, column);
        EXPECT_EQ(line, (editor->Client().Height() - 2) / editor->RowHeight());
        editor->SetSelection(30, 300);

        TextBox* field = MakeBox(TextBox::kModeTextField, owner);
        field->SetFrameXYWH(240, 10, 200, 20);
        field->SetText("A selected word");
        field->SetSelection(2, 10);
        TextBox* label = MakeBox(TextBox::kModeLabel, owner);
        label->SetFrameXYWH(240, 40, 200, 40);
        label->SetText("A label\nwith two lines");
        ui.step(2);
        ASSERT_TRUE(ui.screenshot("textbox.ppm"));
        std::vector<uint8_t> rgba = ui.pixels();
        // Some pixel of the field's selection band is strongly blue.
        bool blue = false;
        for (int y = field->Client().top; y < field->Client().bottom && !blue; ++y) {
            for (int x = field->Client().left; x < field->Client().right && !blue; ++x) {
                const uint8_t* p = &rgba[(size_t(y) * 1024 + size_t(x)) * 4];
                blue = p[2] > 120 && p[0] < 60;
            }
        }
        EXPECT_TRUE(blue);
    });
}
