// The detail-texture editor and the detail-map viewer in the window system: import
// with its refusals, mean centring, the window size, the clipboard, saving, the
// commands that make new detail textures, and the viewer's listing.
#include <gtest/gtest.h>

#include "editing/TagEditorRegistry.h"
#include "terrain/DetailMap.h"
#include "terrain/editor/DmapEdit.h"
#include "terrain/editor/DtexCommands.h"
#include "terrain/editor/DtexEdit.h"
#include "terrain/editor/DtexTag.h"
#include "tests/editing/EditingUiSupport.h"
#include "tests/terrain_editor/TerrainEditorSupport.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/widgets/TextBox.h"

using namespace tamber::terrain::editor;

namespace {

DtexEdit* OpenDtex(TagRecord* record) { return dynamic_cast<DtexEdit*>(OpenTagEditor(record)); }

}  // namespace

TEST(DtexEdit, ImportsCentresCopiesAndSaves) {
    ScratchGame game;
    SetTagEditorFactory(FourCC("dtex"), &DtexEdit::Create);
    TagRecord* grass = MakeDtexTag("grass", SolidTexture(32, 32, 100, 150, 200));
    TagRecord* huge = MakeDtexTag("huge", SolidTexture(1024, 1024, 1, 2, 3));
    ASSERT_TRUE(grass && huge);
    const std::string folder = game.Path();
    ASSERT_TRUE(WriteImageFile(folder + "good.png", 64, 64, kPixelRGB, 250));
    ASSERT_TRUE(WriteImageFile(folder + "wide.png", 48, 64, kPixelRGB, 9));
    ASSERT_TRUE(WriteImageFile(folder + "alpha.png", 64, 64, kPixelRGBA, 9));
    ASSERT_TRUE(WriteImageFile(folder + "grey.png", 64, 64, kPixelGrey, 9));

    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        DtexEdit* edit = OpenDtex(grass);
        ASSERT_NE(edit, nullptr);
        ui.step();
        EXPECT_EQ(edit->Client().Width(), 32);
        EXPECT_EQ(edit->Client().Height(), 32);

        // Mean Center rgb of a uniform (100, 150, 200) texture gives mid grey.
        edit->MeanCenter(false);
        EXPECT_EQ(edit->Texture()->Pixels().pixels[0], 128);
        EXPECT_EQ(edit->Texture()->Pixels().pixels[2], 128);
        EXPECT_STREQ(edit->GetName(), "grass*");

        // Refused images leave the texture as it was and say why.
        auto* opener = new Opener;
        for (auto [file, message] : {std::pair{"wide.png", "The texture must have dimensions that are powers of two."},
                                     std::pair{"alpha.png", "Image must be 24 bit RGB."},
                                     std::pair{"grey.png", "Image must be 24 bit RGB."},
                                     std::pair{"missing.png", "Failed to load image data."}}) {
            const std::string path = folder + file;
            opener->action = [&] { edit->ImportFile(path); };
            ui.click(UiTestDriver::center(opener));
            ASSERT_NE(OpenBox(), nullptr) << file;
            EXPECT_EQ(BoxText(), message);
            EXPECT_STREQ(OpenBox()->GetName(), "Error");
            ui.click("Error/OK");
            EXPECT_EQ(edit->Texture()->Pixels().width, 32u);
        }

        // A 64 x 64 RGB image imports, the window takes its size and shows it.
        EXPECT_TRUE(edit->OnFilesDropped({folder + "good.png"}));
        ui.step();
        EXPECT_EQ(edit->Texture()->Pixels().width, 64u);
        EXPECT_EQ(edit->Client().Width(), 64);
        ui.screenshot("/tmp/d-dtex.ppm");
        const std::vector<uint8_t> shown = ui.pixels();
        const Point middle = UiTestDriver::center(edit);
        const size_t at = (size_t(edit->Client().top + 10) * 1024 + size_t(middle.x)) * 4;
        ASSERT_GT(shown.size(), at + 2);
        EXPECT_EQ(shown[at], 250);

        // Copy puts the image on the clipboard; Paste into another editor takes it.
        ui.key('C', kModCtrl);
        DtexEdit* big = OpenDtex(huge);
        ASSERT_NE(big, nullptr);
        ui.step();
        EXPECT_EQ(big->Client().Width(), DtexEdit::kMaxView);
        EXPECT_EQ(big->Client().Height(), DtexEdit::kMaxView);
        ui.key('V', kModCtrl);
        EXPECT_EQ(big->Texture()->Pixels().width, 64u);
        EXPECT_EQ(big->Texture()->Pixels().pixels, edit->Texture()->Pixels().pixels);

        // Control+S writes the tag; the file reads back with the imported pixels.
        WS().SetFocus(edit, kFocusByProgram);
        ui.key('S', kModCtrl);
        EXPECT_STREQ(edit->GetName(), "grass");
        const std::string payload = LoosePayload(Codex::Instance().LocalTagPath(FourCC("dtex"), "grass"));
        Result<DetailTexture> saved = ReadDetailTexture(std::span(reinterpret_cast<const uint8_t*>(payload.data()), payload.size()));
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved->pixels, edit->Texture()->Pixels().pixels);
        big->SetModified(0);
        big->Close();
        edit->Close();
        ui.step();
        EXPECT_EQ(DtexTags().Count(), 0u);

        // A new detail texture from the clipboard: named, saved and opened.
        opener->action = [&] { NewDetailTextureFromClipboard(); };
        ui.click(UiTestDriver::center(opener));
        ASSERT_NE(OpenBox(), nullptr);
        OpenBox()->TextField()->SetText("pasted");
        ui.click("Enter Name for Detail Texture/Create Detail Texture");
        ui.step();
        TagRecord* pasted = Codex::Instance().FindTag(FourCC("dtex"), FourCC("past"));
        ASSERT_NE(pasted, nullptr);
        auto* made = dynamic_cast<DtexEdit*>(EditorOf(pasted));
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->Texture()->Pixels().width, 64u);
        made->Close();
        ui.step();
        opener->Close();
    });
    SetTagEditorFactory(FourCC("dtex"), nullptr);
}

TEST(DmapEdit, ListsMaterialsWithTextures) {
    ScratchGame game;
    SetTagEditorFactory(FourCC("dmap"), &DmapEdit::Create);
    ASSERT_TRUE(MakeDtexTag("Grass Texture", SolidTexture(8, 8, 1, 1, 1)));
    const uint32_t grassId = Codex::Instance().TagsOfGroup(FourCC("dtex")).front()->tagid;
    DetailMap map = CreateDetailMap(32, 32);
    map.materials[1].tagid = grassId;
    map.materials[2].tagid = FourCC("gone");
    Result<std::vector<uint8_t>> payload = SaveDetailMap(map);
    ASSERT_TRUE(payload);
    TagRecord* record = MakeTag(FourCC("dmap"), "map", *payload, kDetailMapTagVersion);
    ASSERT_NE(record, nullptr);

    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        auto* view = dynamic_cast<DmapEdit*>(OpenTagEditor(record));
        ASSERT_NE(view, nullptr);
        ui.step();
        EXPECT_EQ(view->Text()->Text(), FourCCText(grassId) + " - Grass Texture\ngone - <not found>\n");
        view->Close();
        ui.step();
    });
    SetTagEditorFactory(FourCC("dmap"), nullptr);
}
