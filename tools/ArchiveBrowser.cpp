#include "tools/ArchiveBrowser.h"

#include <algorithm>
#include <cstdio>

#include "tags/Codex.h"
#include "tags/TagGroups.h"
#include "base/MessageLog.h"
#include "tags/TagOperations.h"
#include "tags/WorkingSet.h"
#include "tools/TagRowRules.h"
#include "ui/WindowPlacement.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/Menu.h"
#include "ui/widgets/MenuItem.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/SplitterWindow.h"

namespace tamber::tools {
using namespace tamber::tags;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

// Tag operations that fail say why in the "Codex" channel of the log.
template <class T>
void ReportFailure(const base::Result<T>& result) {
    if (!result) base::LogMessage(1, "Codex", "%s\n", result.error().c_str());
}

}  // namespace

namespace {

constexpr const char* kPlacementKey = "ArchiveBrowserPlacement";

bool ByFileName(const Archive* a, const Archive* b) { return a->fileName < b->fileName; }

class BrowserHooks : public CodexHooks {
public:
    void CloseBrowser() override;
    void OpenBrowser() override { ShowArchiveBrowser(); }
};

}  // namespace

ArchiveBrowser* ArchiveBrowser::instance_ = nullptr;
ArchiveBrowser::FolderChooser ArchiveBrowser::folderChooser_ = nullptr;
ArchiveBrowser::FilesChooser ArchiveBrowser::filesChooser_ = nullptr;
ArchiveBrowser::InfoOpener ArchiveBrowser::infoOpener_ = nullptr;

void BrowserHooks::CloseBrowser() {
    if (ArchiveBrowser* browser = ArchiveBrowser::Get()) browser->Close();
    Codex::Instance().AddListener(&ArchiveBrowser::OnCodexEvent, nullptr);
}

void ArchiveBrowser::InstallCodexHooks() {
    static BrowserHooks hooks;
    Codex::Instance().SetHooks(&hooks);
    Codex::Instance().AddListener(&ArchiveBrowser::OnCodexEvent, nullptr);
}

ArchiveBrowser* ArchiveBrowser::GetOrCreate() {
    if (!instance_ && WS().Root()) instance_ = new ArchiveBrowser;
    return instance_;
}

void ShowArchiveBrowser() {
    ArchiveBrowser* browser = ArchiveBrowser::GetOrCreate();
    if (!browser) return;
    browser->SetVisible(true);
    browser->BringToFront();
    WS().FocusWindow(browser);
}

ArchiveBrowser::ArchiveBrowser()
    : Window(kStyleDocument & ~kStyleVisible, nullptr), codex_(Codex::Instance()), tagRows_(codex_) {
    SetName("Archive Browser");
    // Hidden until placed; the listener is registered before the first events come.
    codex_.AddListener(&ArchiveBrowser::OnCodexEvent, nullptr);
    outer_ = new SplitterWindow(kStyleVisible, this, SplitterWindow::kSideBySide);
    inner_ = new SplitterWindow(kStyleVisible, outer_, SplitterWindow::kStacked);
    activeList_ = new ListWindow(ListWindow::kMultipleSelection, kStyleControl, inner_);
    activeList_->SetName("Active Archives List");
    inactiveList_ = new ListWindow(ListWindow::kMultipleSelection, kStyleControl, inner_);
    inactiveList_->SetName("Inactive Archives List");
    tree_ = new ListWindow(ListWindow::kMultipleSelection | ListWindow::kHeaderRow, kStyleControl, outer_);
    tree_->SetName("Tag Tree");
    tree_->SetModel(&tagRows_);
    for (int column = 0; column < kTagColumnCount; ++column) {
        const TagColumnInfo& info = TagColumnAt(column);
        tree_->AddColumn(info.title, info.type, info.width);
    }
    // Tags sort by name inside their group; groups (spanning rows) by label.
    tree_->SortByColumn(kColumnName);
    inner_->SetPanes(activeList_, inactiveList_);
    outer_->SetPanes(inner_, tree_);

    activeList_->selectionChanged.Connect(this, &ArchiveBrowser::OnActiveSelection);
    activeList_->contextClick.Connect(this, &ArchiveBrowser::OnActiveContext);
    inactiveList_->contextClick.Connect(this, &ArchiveBrowser::OnInactiveContext);
    tree_->contextClick.Connect(this, &ArchiveBrowser::ShowTagMenu);
    tree_->activated.Connect(this, &ArchiveBrowser::OnTreeActivated);
    tree_->deleteRequested.Connect(this, &ArchiveBrowser::OnTreeDelete);

    const bool placed = RestorePlacement(this, kPlacementKey, true);
    if (!placed) SetSize(0, kDefaultHeight);
    // The dividers are placed once the window has its size, so they are not clamped.
    outer_->SetFrameXYWH(0, 0, Client().Width(), Client().Height());
    outer_->SetSplitPosition(kListsWidth);
    inner_->SetSplitPosition(kFirstListsSplit);
    if (!placed) {
        // Wide enough for the tag columns, as far as the desktop allows.
        WidenWithinParent(this, tree_->MissingColumnsWidth());
        CenterInParent();
    }
    LoadWorkingSet(codex_);
    RebuildLists();
}

ArchiveBrowser::~ArchiveBrowser() {
    if (instance_ == this) instance_ = nullptr;
}

void ArchiveBrowser::GetMinimumSize(Point& out) {
    Window::GetMinimumSize(out);
    out.x += kExtraMinimumWidth;
    out.y += kExtraMinimumHeight;
}

bool ArchiveBrowser::CanClose(int) {
    SavePlacement(this, kPlacementKey);
    SetVisible(false);
    return false;
}

void ArchiveBrowser::OnClose() {
    SavePlacement(this, kPlacementKey);
    // From now on nothing may reach this window: it is deleted at the end of the frame.
    if (instance_ == this) instance_ = nullptr;
}

void ArchiveBrowser::OnResize() {
    if (outer_) outer_->SetFrameXYWH(0, 0, Client().Width(), Client().Height());
}

void ArchiveBrowser::Idle() {
    if (refreshPending_) {
        refreshPending_ = false;
        RebuildLists();
    }
    if (sortPending_) {
        sortPending_ = false;
        UpdateGroupLabels();
        SortTree();
    }
}

void ArchiveBrowser::SortTree() { tree_->Sort(); }

// ---- Codex events ----

void ArchiveBrowser::OnCodexEvent(const CodexEvent& event, void*) {
    if (instance_) instance_->HandleCodexEvent(event);
}

void ArchiveBrowser::HandleCodexEvent(const CodexEvent& event) {
    switch (event.code) {
    case kCodexTagAdded:
    case kCodexTagChanged:
        if (event.record) UpdateRow(event.record);
        sortPending_ = true;
        break;
    case kCodexTagRemoved:
        if (event.record) RemoveRow(event.record);
        sortPending_ = true;
        break;
    case kCodexActiveSetChanged:
        if (!changingSet_) ShowSelection();
        break;
    case kCodexArchiveAdded:
        if (!changingSet_) RebuildLists();
        break;
    case kCodexArchiveRemoving:
        // Unloading frees the archive's entries and may free records: let go of
        // every row that could point at them and rebuild once the unload is over.
        selectedArchives_.erase(event.archive);
        quietLists_ = true;
        activeList_->RemoveAllItems();
        inactiveList_->RemoveAllItems();
        listedArchives_.clear();
        quietLists_ = false;
        ClearTree();
        refreshPending_ = true;
        break;
    default: break;
    }
}

// ---- Archive lists ----

Archive* ArchiveBrowser::ArchiveOf(const ListItem* item) const {
    if (!item) return nullptr;
    auto found = listedArchives_.find(item->id);
    return found == listedArchives_.end() ? nullptr : found->second;
}

RowId ArchiveBrowser::ArchiveRow(const Archive* archive) {
    auto [slot, added] = archiveRows_.try_emplace(archive->path, kFirstArchiveRow + archiveRows_.size());
    return slot->second;
}

void ArchiveBrowser::RebuildLists() {
    std::vector<Archive*> active, inactive;
    for (size_t i = 0; i < codex_.ArchiveCount(); ++i) {
        Archive* archive = codex_.ArchiveAt(i);
        (archive->active ? active : inactive).push_back(archive);
    }
    std::sort(active.begin(), active.end(), ByFileName);
    std::sort(inactive.begin(), inactive.end(), ByFileName);

    // Rows are named by archive path, so the selection and scroll position stay with
    // the archives that are still listed.
    quietLists_ = true;
    listedArchives_.clear();
    auto addArchive = [this](ListWindow* list, Archive* archive) {
        const RowId row = ArchiveRow(archive);
        listedArchives_[row] = archive;
        list->AddListItem(nullptr, row, ListWindow::kItemText, archive->fileName);
    };
    activeList_->Refill([&] {
        activeList_->AddListItem(nullptr, kRowLocal, ListWindow::kItemText, "local");
        activeList_->AddListItem(nullptr, kRowFoundation, ListWindow::kItemText, "foundation");
        activeList_->AddListItem(nullptr, kRowCombined, ListWindow::kItemText, "combined");
        for (Archive* archive : active) addArchive(activeList_, archive);
    });
    inactiveList_->Refill([&] {
        for (Archive* archive : inactive) addArchive(inactiveList_, archive);
    });
    if (activeList_->Selection().empty()) activeList_->SelectListItem(activeList_->FindItem(kRowCombined), false);
    quietLists_ = false;
    FitListsSplit();
    ShowSelection();
}

void ArchiveBrowser::FitListsSplit() {
    const int borders = activeList_->Frame().Height() - activeList_->Client().Height();
    inner_->SetSplitPosition(activeList_->RowCount() * activeList_->RowHeight() + borders);
}

void ArchiveBrowser::OnActiveSelection() {
    if (!quietLists_) ShowSelection();
}

void ArchiveBrowser::SelectArchiveRows(const std::vector<std::string>& labels) {
    // One tree update for the whole selection, not one per row.
    quietLists_ = true;
    activeList_->DeselectAll();
    bool any = false;
    for (ListItem* item = activeList_->FirstItem(); item; item = item->next) {
        if (std::find(labels.begin(), labels.end(), item->label) == labels.end()) continue;
        activeList_->SelectListItem(item, any);
        any = true;
    }
    if (!any) activeList_->SelectListItem(activeList_->FindItem(kRowCombined), false);
    quietLists_ = false;
    ShowSelection();
}

std::vector<Archive*> ArchiveBrowser::SelectedArchives(const ListWindow* list) const {
    std::vector<Archive*> archives;
    for (ListItem* item : list->Selection()) {
        if (Archive* archive = ArchiveOf(item)) archives.push_back(archive);
    }
    return archives;
}

std::vector<Archive*> ArchiveBrowser::ListedArchives(const ListWindow* list) const {
    std::vector<Archive*> archives;
    for (ListItem* item = list->FirstItem(); item; item = item->next) {
        if (Archive* archive = ArchiveOf(item)) archives.push_back(archive);
    }
    return archives;
}

void ArchiveBrowser::ApplyActiveSet(std::vector<Archive*> active) {
    // The lists are rebuilt once below, not again for the Codex's event.
    changingSet_ = true;
    SetActiveArchives(codex_, std::move(active));
    changingSet_ = false;
    StoreWorkingSet(codex_);
    RebuildLists();
}

void ArchiveBrowser::MoveSelection(ListWindow* from) {
    std::vector<Archive*> moved = SelectedArchives(from);
    if (moved.empty()) return;
    std::vector<Archive*> active = ListedArchives(activeList_);
    if (from == inactiveList_) {
        active.insert(active.end(), moved.begin(), moved.end());
    } else {
        std::erase_if(active, [&](Archive* a) { return std::find(moved.begin(), moved.end(), a) != moved.end(); });
    }
    ApplyActiveSet(std::move(active));
}

void ArchiveBrowser::AddArchives(const std::vector<std::string>& paths) {
    std::vector<Archive*> added;
    changingSet_ = true;
    for (const std::string& path : paths) {
        if (Archive* archive = codex_.LoadArchive(path)) added.push_back(archive);
    }
    changingSet_ = false;
    std::vector<Archive*> active = ListedArchives(activeList_);
    active.insert(active.end(), added.begin(), added.end());
    ApplyActiveSet(std::move(active));
}

void ArchiveBrowser::ChooseAndAddArchives() {
    std::vector<std::string> paths;
    if (filesChooser_ && filesChooser_("Add Archives", paths) && !paths.empty()) AddArchives(paths);
}

void ArchiveBrowser::Disassemble(ListWindow* list) {
    std::vector<Archive*> archives = SelectedArchives(list);
    if (archives.size() != 1 || !folderChooser_) return;
    const std::string path = archives.front()->path;
    std::string folder;
    if (!folderChooser_("Choose Destination Folder", folder) || folder.empty()) return;
    // The chooser ran modally: the archive may have been unloaded meanwhile.
    if (Archive* archive = codex_.FindArchiveByPath(path)) ReportFailure(DisassembleArchive(archive, folder));
}

bool ArchiveBrowser::CommandEnabled(int command, ListWindow* list) const {
    switch (command) {
    case kCommandDefaultSet:
    case kCommandToggleHidden: return true;
    case kCommandMoveSelection: return list && !SelectedArchives(list).empty();
    case kCommandDisassemble: return list && SelectedArchives(list).size() == 1;
    case kCommandOpen: return AnySelectedOpens();
    case kCommandGetInfo:
    case kCommandCopyToLocal:
    case kCommandDuplicate:
    case kCommandDelete: return !SelectedTags().empty();
    default: return false;
    }
}

bool ArchiveBrowser::AnySelectedOpens() const {
    for (const TagKey& key : SelectedTags()) {
        TagRecord* record = codex_.FindTag(key.group, key.tagid);
        if (record && tagRows_.CanOpen(record)) return true;
    }
    return false;
}

void ArchiveBrowser::RunCommand(int command, ListWindow* list) {
    // The menu offers "Open" only for tags that open; a key tries any, so that a tag
    // without an editor is answered with why it does not open.
    const bool runs = command == kCommandOpen ? !SelectedTags().empty() : CommandEnabled(command, list);
    if (!runs) return;
    switch (command) {
    case kCommandDefaultSet:
        changingSet_ = true;
        ApplyDefaultWorkingSet(codex_);
        changingSet_ = false;
        ApplyActiveSet(ActiveArchives(codex_));
        break;
    case kCommandMoveSelection: MoveSelection(list); break;
    case kCommandDisassemble: Disassemble(list); break;
    case kCommandOpen: OpenSelected(); break;
    case kCommandGetInfo: ShowSelectedInfo(); break;
    case kCommandCopyToLocal: CopySelectedToLocal(); break;
    case kCommandDuplicate: DuplicateSelected(); break;
    case kCommandDelete: DeleteSelected(); break;
    case kCommandToggleHidden:
        showHidden_ = !showHidden_;
        ShowSelection();
        break;
    default: break;
    }
}

void ArchiveBrowser::ShowArchiveMenu(ListWindow* list, Point point) {
    auto* menu = new Menu(false);
    auto add = [&](const char* label, int command) { AddMenuItem(menu, label, nullptr, command, CommandEnabled(command, list)); };
    add("Default Working Set", kCommandDefaultSet);
    add(list == inactiveList_ ? "Activate Selection" : "Deactivate Selection", kCommandMoveSelection);
    add("Disassemble Archive", kCommandDisassemble);
    const int command = PopupMenu(menu, point);
    menu->Close();
    if (command > 0) RunCommand(command, list);
}

void ArchiveBrowser::ShowTagMenu(Point point) {
    auto* menu = new Menu(false);
    auto add = [&](const char* label, int command) { AddMenuItem(menu, label, nullptr, command, CommandEnabled(command, nullptr)); };
    add("Open (enter)", kCommandOpen);
    add("Get Info (cmd-I)", kCommandGetInfo);
    add("Copy To Local (cmd-K)", kCommandCopyToLocal);
    add("Duplicate (cmd-D)", kCommandDuplicate);
    add("Delete (del)", kCommandDelete);
    AddSeparator(menu, nullptr);
    add("Toggle Hidden Groups (cmd-T)", kCommandToggleHidden);
    const int command = PopupMenu(menu, point);
    menu->Close();
    if (command > 0) RunCommand(command);
}

bool ArchiveBrowser::OnKey(Event& event) {
    if (!event.Pressed() || !(event.Modifiers() & (kModCtrl | kModCommand)) || WS().Focus() != tree_) return false;
    switch (event.Key()) {
    case 'O': RunCommand(kCommandOpen); return true;
    case 'I': RunCommand(kCommandGetInfo); return true;
    case 'K': RunCommand(kCommandCopyToLocal); return true;
    case 'D': RunCommand(kCommandDuplicate); return true;
    case 'T': RunCommand(kCommandToggleHidden); return true;
    default: return false;
    }
}

// ---- Tag tree ----

bool ArchiveBrowser::InSelection(const TagRecord* record) const {
    if (selectLocal_ && record->localEntry) return true;
    if (!codex_.CurrentEntry(record)) return false;
    if (selectCombined_) return true;
    for (const TagEntry* entry = record->entries; entry; entry = entry->next) {
        if (selectFoundation_ && !entry->IsLoose() && entry->rank == 0) return true;
        if (entry->archive && selectedArchives_.count(entry->archive)) return true;
    }
    return false;
}

bool ArchiveBrowser::ShouldList(const TagRecord* record) const {
    return IsTagListed(record->group, showHidden_) && codex_.CurrentEntry(record) && InSelection(record);
}

void ArchiveBrowser::ShowSelection() {
    selectLocal_ = selectFoundation_ = selectCombined_ = false;
    selectedArchives_.clear();
    std::vector<TagRecord*> records;
    for (ListItem* item : activeList_->Selection()) {
        if (item->id == kRowLocal) {
            selectLocal_ = true;
            std::vector<TagRecord*> local = codex_.LocalTags();
            records.insert(records.end(), local.begin(), local.end());
        } else if (item->id == kRowFoundation) {
            selectFoundation_ = true;
            std::vector<TagRecord*> foundation = codex_.FoundationTags();
            records.insert(records.end(), foundation.begin(), foundation.end());
        } else if (item->id == kRowCombined) {
            selectCombined_ = true;
            records = codex_.AllCurrentTags();
            break;  // every other row's tags are among these
        } else if (Archive* archive = ArchiveOf(item)) {
            selectedArchives_.insert(archive);
            std::vector<TagRecord*> tags = codex_.TagsOfArchive(archive);
            records.insert(records.end(), tags.begin(), tags.end());
        }
    }
    std::unordered_set<const TagRecord*> wanted;
    wanted.reserve(records.size());
    for (TagRecord* record : records) {
        if (IsTagListed(record->group, showHidden_) && codex_.CurrentEntry(record)) wanted.insert(record);
    }
    std::vector<TagRecord*> gone;
    for (const auto& [row, record] : tagRows_.Records()) {
        if (!wanted.count(record)) gone.push_back(record);
    }
    for (TagRecord* record : gone) RemoveRow(record);
    for (const TagRecord* record : wanted) {
        auto* mutableRecord = const_cast<TagRecord*>(record);
        if (ListItem* row = RowOf(record)) StyleRow(row, mutableRecord);
        else AddRow(mutableRecord);
    }
    UpdateGroupLabels();
    SortTree();
    sortPending_ = false;
}

void ArchiveBrowser::UpdateRow(TagRecord* record) {
    tagRows_.ForgetUser(record);
    if (!ShouldList(record)) {
        RemoveRow(record);
        return;
    }
    if (ListItem* row = RowOf(record)) StyleRow(row, record);
    else AddRow(record);
    tree_->InvalidateClient();
}

void ArchiveBrowser::AddRow(TagRecord* record) {
    ListItem* group = GroupRow(record->group);
    if (!group) {
        group = tree_->AddListItem(nullptr, TagRowModel::GroupRow(record->group),
                                   ListWindow::kItemHasChildren | ListWindow::kItemSpanning, TagGroupName(record->group));
        tree_->SetItemDimmed(group, !GroupHasEditor(record->group));
    }
    tagRows_.Add(record);
    ListItem* row = tree_->AddListItem(group, TagRowModel::TagRow(record->group, record->tagid), 0, std::string());
    StyleRow(row, record);
}

void ArchiveBrowser::RemoveRow(TagRecord* record) {
    ListItem* row = RowOf(record);
    tagRows_.Remove(record);
    if (!row) return;
    ListItem* group = row->parent;
    tree_->RemoveListItem(row);
    if (group && group->childCount == 0) tree_->RemoveListItem(group);
}

void ArchiveBrowser::ClearTree() {
    tree_->RemoveAllItems();
    tagRows_.Clear();
}

void ArchiveBrowser::UpdateGroupLabels() {
    for (ListItem* group = tree_->FirstItem(); group; group = group->next) {
        char count[16];
        std::snprintf(count, sizeof count, " (%d)", group->childCount);
        group->label = TagGroupName(uint32_t(group->id)) + count;
    }
    tree_->InvalidateClient();
}

void ArchiveBrowser::StyleRow(ListItem* row, TagRecord* record) {
    const uint8_t white[3] = {255, 255, 255};
    tree_->SetItemColor(row, record->localEntry ? kLooseColor : white);
    tree_->SetItemDimmed(row, !tagRows_.CanOpen(record));
}

ArchiveBrowser::ListItem* ArchiveBrowser::RowOf(const TagRecord* record) const {
    return tree_->FindItem(TagRowModel::TagRow(record->group, record->tagid));
}

ArchiveBrowser::ListItem* ArchiveBrowser::GroupRow(uint32_t group) const {
    return tree_->FindItem(TagRowModel::GroupRow(group));
}

std::vector<ArchiveBrowser::TagKey> ArchiveBrowser::SelectedTags() const {
    std::vector<TagKey> keys;
    for (ListItem* item : tree_->Selection()) {
        if (const TagRecord* record = tagRows_.RecordOf(item->id)) keys.push_back({record->group, record->tagid});
    }
    return keys;
}

std::vector<TagRecord*> ArchiveBrowser::SelectedRecords() const {
    std::vector<TagRecord*> records;
    for (const TagKey& key : SelectedTags()) {
        if (TagRecord* record = codex_.FindTagRecord(key.group, key.tagid)) records.push_back(record);
    }
    return records;
}

void ArchiveBrowser::OnTreeActivated(ListItem* item) {
    if (TagRecord* record = item ? tagRows_.RecordOf(item->id) : nullptr) OpenTag(record);
}

void ArchiveBrowser::OnTreeDelete() { RunCommand(kCommandDelete); }

// ---- Tag operations ----

void ArchiveBrowser::Rescan() { codex_.RefreshLocalFolder(false); }

bool ArchiveBrowser::OpenTag(TagRecord* record) {
    if (!GroupHasEditor(record->group)) {
        const TagGroup* group = FindTagGroup(record->group);
        const std::string kind = group ? group->singular : TagGroupName(record->group);
        const TagEntry* entry = codex_.CurrentEntry(record);
        char text[320];
        std::snprintf(text, sizeof text, "'%s' is a %s tag. Tamber has no editor for %s tags.",
                      entry ? entry->header.Name().c_str() : "", kind.c_str(), kind.c_str());
        MessageBox("Can't Open Tag", text, {"OK"});
        return false;
    }
    // Old meshes and unreadable collections are dimmed and skipped.
    if (tagRows_.CanOpen(record)) OpenTagGroupEditor(record);
    return true;
}

void ArchiveBrowser::OpenSelected() {
    // Each editor and message may run the window system; look every tag up again
    // before opening it. One message says there is no editor for a kind of tag.
    bool told = false;
    for (const TagKey& key : SelectedTags()) {
        TagRecord* record = codex_.FindTag(key.group, key.tagid);
        if (!record || (told && !GroupHasEditor(record->group))) continue;
        told = !OpenTag(record) || told;
    }
}

void ArchiveBrowser::ShowSelectedInfo() {
    for (TagRecord* record : SelectedRecords()) {
        // An information window already open for one of them comes forward instead.
        if (auto* open = static_cast<Window*>(codex_.FindAttachment(record, kAttachTagInfo))) {
            open->SetVisible(true);
            open->BringToFront();
            WS().SetFocus(open, kFocusByProgram);
            return;
        }
        if (infoOpener_) infoOpener_(record);
    }
}

void ArchiveBrowser::CopySelectedToLocal() {
    for (TagRecord* record : SelectedRecords()) ReportFailure(CopyTagToLocal(codex_, record));
    Rescan();
}

void ArchiveBrowser::DuplicateSelected() {
    std::vector<TagKey> keys = SelectedTags();
    if (keys.size() == 1) {
        TagRecord* record = codex_.FindTag(keys[0].group, keys[0].tagid);
        const TagEntry* entry = record ? codex_.CurrentEntry(record) : nullptr;
        if (!entry) return;
        std::string name = entry->header.Name() + " copy";
        if (MessageBoxWithInput("Enter Name for Duplicate Tag", name, {"OK", "Cancel"}) != 0) return;
        // The question ran modally: the tag may be gone by now.
        record = codex_.FindTag(keys[0].group, keys[0].tagid);
        if (record) ReportFailure(DuplicateTag(codex_, record, &name));
    } else {
        for (const TagKey& key : keys) {
            if (TagRecord* record = codex_.FindTag(key.group, key.tagid)) ReportFailure(DuplicateTag(codex_, record));
        }
    }
    Rescan();
}

void ArchiveBrowser::DeleteSelected() {
    struct Doomed {
        TagKey key;
        std::string name;
    };
    std::vector<Doomed> doomed;
    for (TagRecord* record : SelectedRecords()) {
        if (record->localEntry) doomed.push_back({{record->group, record->tagid}, record->localEntry->header.Name()});
    }
    if (doomed.empty()) return;
    char text[256];
    if (doomed.size() == 1) std::snprintf(text, sizeof text, "Are you sure you want to delete '%s'?", doomed[0].name.c_str());
    else std::snprintf(text, sizeof text, "Are you sure you want to delete %d tags?", int(doomed.size()));
    if (MessageBox("Confirm Deletion", text, {"Delete", "Don't Delete"}) != 0) return;
    for (const Doomed& tag : doomed) {
        // Each box runs modally; find the tag again every time.
        TagRecord* record = codex_.FindTagRecord(tag.key.group, tag.key.tagid);
        if (!record || !record->localEntry) continue;
        if (record->IsOpen()) {
            std::snprintf(text, sizeof text, "'%s' is still being used by Tamber.", tag.name.c_str());
            MessageBox("Can't delete tag.", text, {"OK"});
        } else if (!DeleteLocalTag(codex_, record)) {
            std::snprintf(text, sizeof text, "Couldn't delete '%s'. It might be locked, or in use by another program.",
                          tag.name.c_str());
            MessageBox("Error", text, {"OK"});
        }
    }
    Rescan();
}

}  // namespace tamber::tools
