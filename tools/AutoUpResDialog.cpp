#include "tools/AutoUpResDialog.h"

#include "base/Preferences.h"
#include "collections/CollectionFile.h"
#include "collections/builder/HighResFolder.h"
#include "platform/fs/FileSystem.h"
#include "tags/Codex.h"
#include "tags/FourCC.h"
#include "tags/TagGroups.h"
#include "tags/TagOperations.h"
#include "tags/TagRecord.h"
#include "tools/AutoCollectionLog.h"
#include "ui/choosers/FileDialogs.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/CheckBox.h"
#include "ui/widgets/ComboBox.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TextBox.h"

namespace tamber::tools {
using namespace tamber::base;
using namespace tamber::collections;
using namespace tamber::collections::builder;
using namespace tamber::tags;
using namespace tamber::ui::choosers;

namespace {

constexpr const char* kCollectionKey = "AutoUpResDialog.Collection";
constexpr int kPrepareWidth = 120;

}  // namespace

AutoUpResDialog::AutoUpResDialog() : AutoCollectionForm("Build High-Res Collection", "AutoUpResDialog") {
    collection_ = new ComboBox(this, 0);
    collection_->SetName("Collection");
    collection_->SetListRows(12);
    AddWindowRow("Original Collection:", collection_);
    folder_ = AddFolderRow("High-Res Folder:", "HighResPath", "Choose High-Res Folder");
    scale_ = AddTextRow("Target Scale:", "Scale", TextBox::kModeDecimal, 16);
    scale_->SetText("2");
    tolerance_ = AddTextRow("Scale Tolerance:", "ScaleTolerance", TextBox::kModeDecimal, 16);
    tolerance_->SetText("0.05");
    objectScale_ = AddTextRow("Object Scale:", "ObjectScale", TextBox::kModeDecimal, 16);
    objectScale_->SetText("1");
    invert_ = AddCheck("Invert Alphas", "InvertAlphas");
    framesThenViews_ = AddCheck("Frames Then Views Ordering", "FramesThenViews");
    preserve_ = AddCheck("Preserve Render Alignment", "AlignGlobally");
    prepare_ = new Button(this, 0);
    prepare_->SetName("Prepare Folder...");
    prepare_->SizeToFit();
    prepare_->clicked.Connect(this, &AutoUpResDialog::OnPrepare);
    OKButton()->SetName("Create");
    FinishRows();
    LoadCollections();
}

void AutoUpResDialog::LoadCollections() {
    std::string chosen;
    GetPrefString(kCollectionKey, chosen);
    for (TagRecord* record : Codex::Instance().TagsOfGroup(kCollectionGroupCode)) {
        const TagEntry* entry = Codex::Instance().CurrentEntry(record);
        if (!entry) continue;
        collection_->AddItem(entry->header.Name() + " (" + FourCCText(record->tagid) + ")");
        tagids_.push_back(record->tagid);
        if (chosen.size() == 4 && FourCCFromText(chosen) == record->tagid) collection_->SelectItem(int(tagids_.size()) - 1);
    }
}

TagRecord* AutoUpResDialog::Collection() const {
    const int index = collection_->GetSelectedItem();
    if (index < 0 || size_t(index) >= tagids_.size()) return nullptr;
    return Codex::Instance().FindTag(kCollectionGroupCode, tagids_[size_t(index)]);
}

void AutoUpResDialog::OnResize() {
    AutoCollectionForm::OnResize();
    const Rect ok = OKButton()->RelativeFrame();
    prepare_->SetFrameXYWH(kMargin, ok.top, kPrepareWidth, ok.Height());
}

bool AutoUpResDialog::OnOK() {
    TagRecord* record = Collection();
    if (!record) return Refuse("You must choose a collection.");
    const std::string folder = folder_->Text();
    if (folder.empty() || !platform::GetFileStatus(folder).isFolder) return Refuse("Specified folder not found.");
    if (Status checked = CheckUpResFields(scale_->Text(), tolerance_->Text(), objectScale_->Text(), options_); !checked)
        return Refuse(checked.error());
    if (!ArchivedCollectionEntry(Codex::Instance(), record))
        return Refuse("Cannot Up-Res a collection from the local folder.");
    SaveValues();
    SetPrefString(kCollectionKey, FourCCText(record->tagid));
    options_.folder = folder.back() == '/' ? folder : folder + "/";
    options_.preserveAlignment = preserve_->IsChecked();
    options_.order = framesThenViews_->IsChecked() ? kFramesThenViews : kViewsThenFrames;
    options_.invertAlphas = invert_->IsChecked();
    return true;
}

void AutoUpResDialog::OnPrepare() {
    TagRecord* record = Collection();
    if (!record) {
        ShowError("You must pick a collection first.");
        return;
    }
    std::string location = folder_->Text();
    if (!OsChooseFolder("Choose High-Res Folder Location", location)) return;
    Result<std::string> made = PrepareHighResFolder(Codex::Instance(), record, location);
    if (!made) {
        ShowError("%s", made.error().c_str());
        return;
    }
    folder_->SetText(*made);
}

bool RunAutoUpRes() {
    auto* dialog = new AutoUpResDialog;
    const bool accepted = dialog->Run();
    TagRecord* record = dialog->Collection();
    const UpResOptions options = dialog->Options();
    dialog->Close();
    if (!accepted || !record) return false;
    // The run starts from the archived copy and replaces the local one only once
    // the new collection is complete, so nothing is deleted first.
    if (record->localEntry &&
        MessageBox("Overwrite Tag?",
                   "The specified collection already exists in the local folder. Do you want to replace it?",
                   {"Overwrite", "Don't Overwrite"}) != 0)
        return false;
    const std::string channel = NextUpResLogTitle(options.folder);
    AutoCollectionLog log("Building High-Res Collection", channel);
    Status done = UpResCollectionTag(Codex::Instance(), record, options, log.Log());
    log.EndProgress();
    if (!done) {
        ShowError("The high-resolution collection was not written: %s. See the log \"%s\".", done.error().c_str(),
                  channel.c_str());
        return false;
    }
    OpenTagGroupEditor(record);
    return true;
}

}  // namespace tamber::tools
