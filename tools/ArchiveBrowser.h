#pragma once
// The archive browser ("Archive Browser"): the archives on the left, split into an
// active list (with the fixed rows "local", "foundation" and "combined") and an
// inactive list; on the right a tree of the tags of whatever the active list has
// selected, grouped by tag group, one column per tag header field. It exists once,
// hides when closed, and is destroyed and recreated around each Codex rebuild.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "tools/TagRowModel.h"
#include "ui/Window.h"
#include "ui/widgets/ListWindow.h"

namespace tamber::tags { class Archive; }
namespace tamber::tags { class Codex; }
namespace tamber::ui::widgets { class SplitterWindow; }
namespace tamber::tags { class TagRecord; }
namespace tamber::tags { struct CodexEvent; }

namespace tamber::tools {
using namespace tamber::ui;
using namespace tamber::tags;
using namespace tamber::ui::widgets;

class ArchiveBrowser : public Window {
public:
    using ListItem = ListWindow::ListItem;
    // Asks for a folder; false when the user cancelled. `folder` holds the choice.
    using FolderChooser = bool (*)(const char* title, std::string& folder);
    // Asks for files; false when the user cancelled. `paths` holds the choice.
    using FilesChooser = bool (*)(const char* title, std::vector<std::string>& paths);
    // Opens a tag's information window ("Get Info"); the program sets it at start-up.
    using InfoOpener = Window* (*)(TagRecord* record);

    static constexpr int kListsWidth = 196;
    static constexpr int kFirstListsSplit = 384;
    static constexpr int kDefaultHeight = 512;
    static constexpr int kExtraMinimumWidth = 448;
    static constexpr int kExtraMinimumHeight = 256;
    static constexpr uint8_t kLooseColor[3] = {255, 144, 0};

    enum Command : int {
        kCommandDefaultSet = 1,
        kCommandMoveSelection,
        kCommandDisassemble,
        kCommandOpen,
        kCommandCopyToLocal,
        kCommandDuplicate,
        kCommandDelete,
        kCommandToggleHidden,
        kCommandGetInfo,
    };

    // The browser, or null when none exists.
    static ArchiveBrowser* Get() { return instance_; }
    // Creates the browser (hidden) when none exists.
    static ArchiveBrowser* GetOrCreate();
    static void SetFolderChooser(FolderChooser chooser) { folderChooser_ = chooser; }
    static void SetFilesChooser(FilesChooser chooser) { filesChooser_ = chooser; }
    static void SetInfoOpener(InfoOpener opener) { infoOpener_ = opener; }
    // Makes the Codex close the browser before a rebuild (registering its listener)
    // and open it afterwards.
    static void InstallCodexHooks();

    // The Codex listener: forwards to the browser while one exists.
    static void OnCodexEvent(const CodexEvent& event, void* context);

    ~ArchiveBrowser() override;
    const char* GetClassName() const override { return "ArchiveBrowser"; }

    // Loads archives, appends them to the active set, applies and stores it.
    void AddArchives(const std::vector<std::string>& paths);
    // Asks for archive files with the files chooser and adds them.
    void ChooseAndAddArchives();

    ListWindow* ActiveList() const { return activeList_; }
    ListWindow* InactiveList() const { return inactiveList_; }
    ListWindow* TagTree() const { return tree_; }
    const TagRowModel& TagRows() const { return tagRows_; }
    bool ShowsHiddenGroups() const { return showHidden_; }
    // The row of a tag and the group row of a group, or null.
    ListItem* RowOf(const TagRecord* record) const;
    ListItem* GroupRow(uint32_t group) const;
    // The archive a list row stands for (null for the fixed rows).
    Archive* ArchiveOf(const ListItem* item) const;
    // Selects the active list's rows with these labels ("local", "combined", file names).
    void SelectArchiveRows(const std::vector<std::string>& labels);
    // Runs a command as its menu item or key does.
    void RunCommand(int command, ListWindow* list = nullptr);
    // Whether a command is enabled for the list's context menu.
    bool CommandEnabled(int command, ListWindow* list) const;

    void GetMinimumSize(Point& out) override;
    bool CanClose(int force) override;
    void OnClose() override;
    void OnResize() override;
    bool OnKey(Event& event) override;
    void Idle() override;

private:
    struct TagKey {
        uint32_t group;
        uint32_t tagid;
    };
    // The fixed rows of the active list; archives take ids from kFirstArchiveRow on.
    enum FixedRow : RowId { kRowLocal = 1, kRowFoundation, kRowCombined, kFirstArchiveRow = 16 };

    ArchiveBrowser();
    void HandleCodexEvent(const CodexEvent& event);

    // Archive lists.
    void RebuildLists();
    // The row id of an archive: one per path for as long as the browser lives.
    RowId ArchiveRow(const Archive* archive);
    void OnActiveSelection();
    void FitListsSplit();
    std::vector<Archive*> SelectedArchives(const ListWindow* list) const;
    std::vector<Archive*> ListedArchives(const ListWindow* list) const;
    void ApplyActiveSet(std::vector<Archive*> active);
    void MoveSelection(ListWindow* from);
    void Disassemble(ListWindow* list);
    void ShowArchiveMenu(ListWindow* list, Point point);
    void OnActiveContext(Point point) { ShowArchiveMenu(activeList_, point); }
    void OnInactiveContext(Point point) { ShowArchiveMenu(inactiveList_, point); }

    // Tag tree.
    void ShowSelection();
    bool InSelection(const TagRecord* record) const;
    bool ShouldList(const TagRecord* record) const;
    void UpdateRow(TagRecord* record);
    void AddRow(TagRecord* record);
    void RemoveRow(TagRecord* record);
    void ClearTree();
    void UpdateGroupLabels();
    void SortTree();
    void StyleRow(ListItem* row, TagRecord* record);
    std::vector<TagKey> SelectedTags() const;
    bool AnySelectedOpens() const;
    std::vector<TagRecord*> SelectedRecords() const;
    void ShowTagMenu(Point point);
    void OnTreeActivated(ListItem* item);
    void OnTreeDelete();

    // Tag operations.
    void OpenSelected();
    // Opens the tag's editor, or says why there is none. False when it has none.
    bool OpenTag(TagRecord* record);
    void ShowSelectedInfo();
    void CopySelectedToLocal();
    void DuplicateSelected();
    void DeleteSelected();
    void Rescan();

    static ArchiveBrowser* instance_;
    static FolderChooser folderChooser_;
    static FilesChooser filesChooser_;
    static InfoOpener infoOpener_;

    Codex& codex_;
    SplitterWindow* outer_ = nullptr;
    SplitterWindow* inner_ = nullptr;
    ListWindow* activeList_ = nullptr;
    ListWindow* inactiveList_ = nullptr;
    ListWindow* tree_ = nullptr;
    TagRowModel tagRows_;
    std::unordered_map<std::string, RowId> archiveRows_;
    std::unordered_map<RowId, Archive*> listedArchives_;
    std::unordered_set<const Archive*> selectedArchives_;
    bool selectLocal_ = false;
    bool selectFoundation_ = false;
    bool selectCombined_ = false;
    bool showHidden_ = false;
    bool changingSet_ = false;  // the browser itself is changing or adding archives
    bool quietLists_ = false;   // list selection changes made by the browser itself
    bool sortPending_ = false;
    bool refreshPending_ = false;
};

// Creates the browser when needed, shows it and brings it to the front.
void ShowArchiveBrowser();

}  // namespace tamber::tools
