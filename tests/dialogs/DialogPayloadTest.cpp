#include <gtest/gtest.h>

#include <set>

#include "dialogs/ControlTypes.h"
#include "dialogs/DialogPayload.h"
#include "tags/FourCC.h"

using namespace tamber::base;
using namespace tamber::dialogs;
using namespace tamber::tags;

namespace {

Dialog SampleDialog() {
    Dialog dialog;
    dialog.version = 3;
    dialog.left = -20;
    dialog.top = 10;
    dialog.right = 620;
    dialog.bottom = 490;
    dialog.controls.push_back({FourCC("butt"), 7, 10, 20, 110, 70, "OK"});
    dialog.controls.push_back({FourCC("zzzz"), 3, -5, -6, 7, 8, ""});
    dialog.controls.push_back({FourCC("stat"), 12, 0, 0, 1, 1, "Name:"});
    return dialog;
}

}  // namespace

TEST(DialogPayload, RoundTripKeepsEveryField) {
    const Dialog dialog = SampleDialog();
    Result<std::vector<uint8_t>> bytes = WriteDialogPayload(dialog);
    ASSERT_TRUE(bytes);
    ASSERT_EQ(bytes->size(), 12u + 3 * 24 + 3 + 1 + 6);
    // Header: version, count, then top, left, bottom, right, all big-endian.
    const std::vector<uint8_t> header(bytes->begin(), bytes->begin() + 12);
    EXPECT_EQ(header, (std::vector<uint8_t>{0, 3, 0, 3, 0, 10, 0xFF, 0xEC, 0x01, 0xEA, 0x02, 0x6C}));
    // First record: type, two zero bytes, ID, eight zero bytes, rectangle.
    EXPECT_EQ(std::string(bytes->begin() + 12, bytes->begin() + 16), "butt");
    EXPECT_EQ((*bytes)[19], 7);
    EXPECT_EQ((*bytes)[29], 20);  // top
    EXPECT_EQ((*bytes)[31], 10);  // left

    Result<Dialog> read = ReadDialogPayload(bytes->data(), bytes->size());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->version, 3);
    EXPECT_EQ(read->left, -20);
    EXPECT_EQ(read->bottom, 490);
    ASSERT_EQ(read->controls.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const DialogControl& a = dialog.controls[i];
        const DialogControl& b = read->controls[i];
        EXPECT_EQ(a.type, b.type);
        EXPECT_EQ(a.id, b.id);
        EXPECT_EQ(a.left, b.left);
        EXPECT_EQ(a.top, b.top);
        EXPECT_EQ(a.right, b.right);
        EXPECT_EQ(a.bottom, b.bottom);
        EXPECT_EQ(a.text, b.text);
    }
    EXPECT_EQ(*WriteDialogPayload(*read), *bytes);

    // The reserved bytes are cleared on reading.
    std::vector<uint8_t> noisy = *bytes;
    noisy[16] = 0x55;
    noisy[22] = 0x66;
    EXPECT_EQ(*WriteDialogPayload(*ReadDialogPayload(noisy.data(), noisy.size())), *bytes);

    // An empty dialog is its header alone.
    Result<std::vector<uint8_t>> empty = WriteDialogPayload(Dialog());
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->size(), 12u);
    EXPECT_TRUE(ReadDialogPayload(empty->data(), empty->size()));
}

TEST(DialogPayload, ShortDataAndOutOfRangeValues) {
    const std::vector<uint8_t> bytes = *WriteDialogPayload(SampleDialog());
    for (size_t cut = 0; cut < bytes.size(); ++cut) EXPECT_FALSE(ReadDialogPayload(bytes.data(), cut)) << cut;
    EXPECT_EQ(ReadDialogPayload(bytes.data(), bytes.size() - 1).error(),
              "couldn't read the dialog: the data ends in the text of control 3");
    EXPECT_EQ(ReadDialogPayload(bytes.data(), 11).error(), "couldn't read the dialog: its header is cut short");
    EXPECT_TRUE(ReadDialogPayload(bytes.data(), bytes.size()));

    Dialog wide;
    wide.right = 40000;
    wide.controls.push_back({FourCC("butt"), 1, -70000, 0, 10, 10, std::string("a\0b", 3)});
    Result<Dialog> back = ReadDialogPayload(WriteDialogPayload(wide)->data(), WriteDialogPayload(wide)->size());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->right, 32767);
    EXPECT_EQ(back->controls[0].left, -32768);
    EXPECT_EQ(back->controls[0].text, "a");

    Dialog crowded;
    crowded.controls.resize(65536);
    EXPECT_EQ(WriteDialogPayload(crowded).error(),
              "couldn't write the dialog: it has 65536 controls, more than the 65535 a dialog holds");
}

TEST(ControlTypes, NamesAndUnknownCodes) {
    std::set<uint32_t> codes;
    std::set<std::string> names;
    for (size_t i = 0; i < kControlTypeCount; ++i) {
        codes.insert(ControlTypeTable()[i].code);
        names.insert(ControlTypeTable()[i].name);
    }
    EXPECT_EQ(codes.size(), 37u);
    EXPECT_EQ(names.size(), 37u);
    EXPECT_EQ(ControlTypeText(FourCC("pbli")), "Plyer List (Buddy)");
    EXPECT_EQ(ControlTypeText(FourCC("STAT")), "Monster Status");
    EXPECT_EQ(ControlTypeText(FourCC("stat")), "Static Text");
    EXPECT_EQ(ControlTypeText(FourCC("zzzz")), "Unknown(zzzz)");
    EXPECT_EQ(ControlTypeText(0x61620063), "Unknown(ab)");  // a NUL ends the characters
    EXPECT_EQ(FindControlTypeName(FourCC("BUTT")), nullptr);

    const Dialog dialog = SampleDialog();
    EXPECT_EQ(DialogControlRowText(dialog.controls[0]), "7 | Button | text:\"OK\"");
    EXPECT_EQ(DialogControlRowText(dialog.controls[1]), "3 | Unknown(zzzz)");
    EXPECT_EQ(dialog.NextControlId(), 13);
    Dialog ids;
    EXPECT_EQ(ids.NextControlId(), 1);
    ids.controls.push_back({0, 3, 0, 0, 0, 0, ""});
    ids.controls.push_back({0, 7, 0, 0, 0, 0, ""});
    EXPECT_EQ(ids.NextControlId(), 8);
    ids.controls[0].id = 65535;
    EXPECT_EQ(ids.NextControlId(), 65535);
}
