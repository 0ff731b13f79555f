// The geometry viewer on a model imported from the demo game: the model is
// drawn, the three buttons and the wheel move the view, Shift+click marks
// vertices, Ctrl+click clears them, and "Reset View" frames the model again.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "editing/TagEditorRegistry.h"
#include "models/import/ModelImport.h"
#include "models/viewer/GeomEdit.h"
#include "models/viewer/ViewTransformButton.h"
#include "platform/Os.h"
#include "tests/editing/EditingUiSupport.h"
#include "tests/support/DemoFolder.h"
#include "tests/ui/support/UiTestDriver.h"

using namespace tamber::models;
using namespace tamber::models::import;
using namespace tamber::models::viewer;
using test_support::DemoFolder;

namespace {

// Pixels of the client area that are not the view's background.
int ModelPixels(const std::vector<uint8_t>& rgba, const Rect& client) {
    int count = 0;
    for (int y = client.top + 60; y < client.bottom; ++y) {
        for (int x = client.left; x < client.right; ++x) {
            const uint8_t* p = &rgba[(size_t(y) * 1024 + size_t(x)) * 4];
            count += !(p[0] == 40 && p[1] == 44 && p[2] == 52);
        }
    }
    return count;
}

}  // namespace

TEST(GeomEdit, DrawsTheModelAndMovesTheView) {
    DemoFolder demo;
    ASSERT_TRUE(demo.Ok());
    SetTagEditorFactory(FourCC("geom"), &GeomEdit::Create);
    Result<ModelTags> tags =
        ImportModelFile(Codex::Instance(), demo.Game() + "/models/demo crate.lwo", "viewed crate", false);
    ASSERT_TRUE(tags) << tags.error();

    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        auto* edit = dynamic_cast<GeomEdit*>(OpenTagEditor(tags->geometry));
        ASSERT_NE(edit, nullptr);
        ui.step(2);
        EXPECT_STREQ(edit->GetName(), "viewed crate");
        EXPECT_EQ(edit->Frame().Width(), GeomEdit::kWidth);
        EXPECT_EQ(edit->InfoText(), "Triangles: 16\nVertices: 13\nMaterials: 2\n");
        const GeomEdit& view = *edit;
        const Model& model = view.GetModel();
        // Opening frames the bounding box: 1.5 diagonals from its centre.
        const float diagonal = std::hypot(model.boundsMax[0] - model.boundsMin[0],
                                          model.boundsMax[1] - model.boundsMin[1],
                                          model.boundsMax[2] - model.boundsMin[2]);
        EXPECT_NEAR(edit->Camera().distance, 1.5f * diagonal, 1e-4f);

        const Rect client = edit->Client();
        const int drawn = ModelPixels(ui.pixels(), client);
        EXPECT_GT(drawn, 2000) << "the model is drawn";
        ui.screenshot("geom_edit.ppm");

        // The buttons sit at the top right, 45, 30 and 15 pixels from the edge.
        auto button = [&](const char* name) {
            return dynamic_cast<ViewTransformButton*>(edit->FindChild(name, "ViewTransformButton"));
        };
        ViewTransformButton *rotate = button("Rotate"), *zoom = button("Zoom"), *pan = button("Pan");
        ASSERT_TRUE(rotate && zoom && pan);
        EXPECT_EQ(client.right - pan->Frame().left, 45);
        EXPECT_EQ(client.right - rotate->Frame().left, 30);
        EXPECT_EQ(client.right - zoom->Frame().left, 15);
        EXPECT_EQ(pan->Frame().Width(), ViewTransformButton::kSide);

        const float yaw = edit->Camera().yaw;
        ui.drag(UiTestDriver::center(rotate), {UiTestDriver::center(rotate).x - 20, UiTestDriver::center(rotate).y});
        EXPECT_NE(edit->Camera().yaw, yaw);
        EXPECT_FALSE(rotate->Dragging());
        const float distance = edit->Camera().distance;
        ui.drag(UiTestDriver::center(zoom), {UiTestDriver::center(zoom).x, UiTestDriver::center(zoom).y + 10});
        EXPECT_GT(edit->Camera().distance, distance);
        const float x = edit->Camera().target[0];
        ui.drag(UiTestDriver::center(pan), {UiTestDriver::center(pan).x + 10, UiTestDriver::center(pan).y});
        EXPECT_NE(edit->Camera().target[0], x);
        ui.moveTo({(client.left + client.right) / 2, (client.top + client.bottom) / 2});
        const float before = edit->Camera().distance;
        ui.wheel(1);
        EXPECT_LT(edit->Camera().distance, before);

        edit->ResetView();
        ui.step();
        EXPECT_NEAR(edit->Camera().distance, 1.5f * diagonal, 1e-4f);
        EXPECT_EQ(ModelPixels(ui.pixels(), client), drawn);

        // Shift+click on a vertex's place on screen marks it; Ctrl+click clears.
        const std::optional<std::array<double, 2>> at = edit->ClientPosition(0);
        ASSERT_TRUE(at);
        const Point vertex{client.left + int((*at)[0]), client.top + int((*at)[1])};
        auto& press = OsCurrentCallbacks().key;
        ui.click({client.left + 2, client.bottom - 3});
        EXPECT_TRUE(edit->Selection().empty()) << "a plain click marks nothing";
        for (const auto& [modifier, key] : {std::pair{kModShift, kKeyLeftShift}, std::pair{kModCtrl, kKeyLeftCtrl}}) {
            press(key, 1);
            ui.step();
            ui.click(vertex);
            press(key, 0);
            ui.step();
            if (modifier == kModShift) {
                ASSERT_FALSE(edit->Selection().empty());
                EXPECT_EQ(edit->Selection()[0], 0u);
            } else {
                EXPECT_TRUE(edit->Selection().empty());
            }
        }
        ui.wait(0.5);
        edit->Close();
        ui.step();
    });
}
