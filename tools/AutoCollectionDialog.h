#pragma once
// "Build Standard Collection": the dialog (`AutoCollectionDialog`) and the root
// menu command that asks for the fields, confirms replacing local tags, builds
// with a progress window and a numbered log, and opens the new collection.
#include <cstdint>
#include <optional>

#include "collections/builder/CollectionBuild.h"
#include "tools/AutoCollectionForm.h"

namespace tamber::tools {

class AutoCollectionDialog : public AutoCollectionForm {
public:
    AutoCollectionDialog();
    const char* GetClassName() const override { return "AutoCollectionDialog"; }

    // The checks in their order; a failure shows its message and keeps the dialog
    // open. Valid fields are saved to the preferences.
    bool OnOK() override;

    const collections::builder::StandardBuildOptions& Options() const { return options_; }
    // The tagid field's first four characters; none for an empty field.
    std::optional<uint32_t> Tagid() const { return tagid_; }

private:
    TextBox* name_;
    TextBox* folder_;
    TextBox* tagidField_;
    TextBox* regX_ = nullptr;
    TextBox* regY_ = nullptr;
    CheckBox* invert_;
    CheckBox* framesThenViews_;
    collections::builder::StandardBuildOptions options_;
    std::optional<uint32_t> tagid_;
};

// The root menu's "Build Standard Collection". True when a collection was built.
bool RunAutoCollectionBuild();

}  // namespace tamber::tools
