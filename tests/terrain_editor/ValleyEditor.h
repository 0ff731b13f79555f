#pragma once
// Opens the demo folder's valley mesh in its editor (800 x 600 at (100, 50)) under
// the UI test driver and runs a script on it. The demo folder must be set up.
#include <gtest/gtest.h>

#include <functional>

#include "terrain/editor/MeshEdit.h"
#include "tests/editing/EditingUiSupport.h"
#include "tests/ui/support/UiTestDriver.h"

namespace test_support {

inline void RunOnValleyEditor(const std::function<void(UiTestDriver&, tamber::terrain::editor::MeshEdit*)>& script) {
    using tamber::terrain::editor::MeshEdit;
    SetTagEditorFactory(FourCC("mesh"), &MeshEdit::Create);
    TagRecord* valley = Codex::Instance().FindTag(FourCC("mesh"), FourCC("tval"));
    ASSERT_NE(valley, nullptr);
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        auto* edit = dynamic_cast<MeshEdit*>(OpenTagEditor(valley));
        ASSERT_NE(edit, nullptr);
        edit->SetFrameXYWH(100, 50, 800, 600);
        ui.step(2);
        script(ui, edit);
    });
}

}  // namespace test_support
