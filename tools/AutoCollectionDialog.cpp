#include "tools/AutoCollectionDialog.h"

#include <memory>

#include "collections/CollectionFile.h"
#include "platform/fs/FileSystem.h"
#include "tags/Codex.h"
#include "tags/FourCC.h"
#include "tags/TagGroups.h"
#include "tags/TagRecord.h"
#include "tools/AutoCollectionLog.h"
#include "ui/widgets/CheckBox.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TextBox.h"

namespace tamber::tools {
using namespace tamber::collections;
using namespace tamber::collections::builder;
using namespace tamber::tags;

namespace {

// True unless the user keeps the local tag.
bool MayReplace(const char* text) { return MessageBox("Overwrite Tag?", text, {"Overwrite", "Don't Overwrite"}) == 0; }

}  // namespace

AutoCollectionDialog::AutoCollectionDialog() : AutoCollectionForm("Build Standard Collection", "AutoCollectionDialog") {
    name_ = AddTextRow("Name:", "Name", TextBox::kModeTextField, int(kTagNameSize - 1));
    folder_ = AddFolderRow("Folder:", "Path", "Choose Collection Folder");
    tagidField_ = AddTextRow("Tagid (opt.):", "Tagid", TextBox::kModeTextField, 4);
    AddPairRow("Regpoint", "X:", "RegX", regX_, "Y:", "RegY", regY_);
    regX_->SetText("0");
    regY_->SetText("0");
    invert_ = AddCheck("Invert Alphas", "InvertAlphas");
    framesThenViews_ = AddCheck("Frames Then Views Ordering", "FramesThenViews");
    FinishRows();
}

bool AutoCollectionDialog::OnOK() {
    if (Status checked = CheckStandardBuildFields(folder_->Text(), name_->Text(), regX_->Text(), regY_->Text(), options_);
        !checked)
        return Refuse(checked.error());
    SaveValues();
    options_.order = framesThenViews_->IsChecked() ? kFramesThenViews : kViewsThenFrames;
    options_.invertAlphas = invert_->IsChecked();
    const std::string tagid = tagidField_->Text();
    tagid_ = tagid.empty() ? std::nullopt : std::optional<uint32_t>(FourCCFromText(tagid.substr(0, 4)));
    return true;
}

bool RunAutoCollectionBuild() {
    auto* dialog = new AutoCollectionDialog;
    const bool accepted = dialog->Run();
    const StandardBuildOptions options = dialog->Options();
    const std::optional<uint32_t> tagid = dialog->Tagid();
    dialog->Close();
    if (!accepted) return false;

    Codex& codex = Codex::Instance();
    // Replacing never deletes first: the build's write replaces the local file
    // only once the new collection is complete. A tag only in archives is
    // overridden without a question, as every new local tag overrides them.
    const TagRecord* sameTagid = tagid ? codex.FindTag(kCollectionGroupCode, *tagid) : nullptr;
    const bool localTagid = sameTagid && sameTagid->localEntry;
    if (localTagid &&
        !MayReplace("Another collection with the same tagid exists in the local folder. Do you want to replace it?"))
        return false;
    const std::string samePath = codex.LocalTagPath(kCollectionGroupCode, TagFileName(options.name));
    if (platform::GetFileStatus(samePath).exists && !(localTagid && *sameTagid->localEntry->path == samePath) &&
        !MayReplace("Another collection with the same name already exists in the local folder. Do you want to "
                    "replace it?"))
        return false;

    AutoCollectionLog log("Building Collection", NextBuildLogTitle(options.folder));
    Result<TagRecord*> built = BuildCollectionTag(codex, options, tagid, true, log.Log());
    log.EndProgress();
    if (!built) {
        if (built.error() == CreateTagFailureMessage(options.name)) ShowError("%s", built.error().c_str());
        else ShowError("Failed to create the new collection.");
        return false;
    }
    OpenTagGroupEditor(*built);
    return true;
}

}  // namespace tamber::tools
