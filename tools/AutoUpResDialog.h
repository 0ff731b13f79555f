#pragma once
// "Build High-Res Collection": the dialog (`AutoUpResDialog`) with its collection
// chooser, the command that prepares a render folder for the chosen collection,
// and the root menu command that runs the up-res with a progress window and a
// numbered log.
#include <cstdint>
#include <vector>

#include "collections/builder/CollectionUpRes.h"
#include "tools/AutoCollectionForm.h"

namespace tamber::tags { class TagRecord; }
namespace tamber::ui::widgets { class ComboBox; }

namespace tamber::tools {

class AutoUpResDialog : public AutoCollectionForm {
public:
    AutoUpResDialog();
    const char* GetClassName() const override { return "AutoUpResDialog"; }

    // The checks in their order; a failure shows its message and keeps the dialog
    // open. Valid fields are saved to the preferences.
    bool OnOK() override;
    void OnResize() override;

    tags::TagRecord* Collection() const;
    const collections::builder::UpResOptions& Options() const { return options_; }
    ComboBox* CollectionChooser() const { return collection_; }

private:
    void LoadCollections();
    // "Prepare Folder...": asks for a location and makes the chosen collection's folders.
    void OnPrepare();

    ComboBox* collection_;
    std::vector<uint32_t> tagids_;
    Button* prepare_;
    TextBox* folder_;
    TextBox* scale_;
    TextBox* tolerance_;
    TextBox* objectScale_;
    CheckBox* invert_;
    CheckBox* framesThenViews_;
    CheckBox* preserve_;
    collections::builder::UpResOptions options_;
};

// The root menu's "Build High-Res Collection". True when a collection was written.
bool RunAutoUpRes();

}  // namespace tamber::tools
