#pragma once
// The editor of collection tags (`.256`): a tab window with seven pages over one
// collection. Every change to the collection goes through Change(), which records
// the collection as it was and as it became, so each command is one undoable
// action; pages learn about changes from the signals below, never from each other.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "collections/Collection.h"
#include "editing/TagEdit.h"
#include "ui/Signal.h"
#include "ui/UndoHistory.h"

namespace tamber::ui::widgets { class TabWindow; }

namespace tamber::collections::editor {
using namespace tamber::collections;
using namespace tamber::editing;
using namespace tamber::ui;

// What a change touched; pages showing that data refresh.
enum ChangeKind : uint32_t {
    kChangeBitmaps = 1,
    kChangeSequences = 2,
    kChangeHueChanges = 4,
    kChangeColorTable = 8,
    kChangeFlags = 16,
    kChangeAll = 31,
};

class X256Edit : public TagEdit {
public:
    // Page indices of the tab window, in tab order.
    enum Page { kBitmapsPage, kShadowsPage, kSequencesPage, kHueChangesPage, kColorTablePage, kFlagsPage, kOptimizePage, kPageCount };

    explicit X256Edit(TagRecord* record);
    ~X256Edit() override;

    const char* GetClassName() const override { return "X256Edit"; }
    void GetMinimumSize(Point& out) override;
    void OnResize() override;
    int ParsePayload(FILE* stream, const TagHeader& header) override;
    int WritePayload(FILE* stream, const TagHeader& header) override;
    int Save() override;
    int DiscardChanges() override;
    // Presents the window with the shown page focused; a collection opened with Ctrl
    // held then gets a projected shadow for every frame, as one undoable change.
    void Present() override;
    // The bitmap, sequence and hue-change windows refer to the editor: they close with it.
    void OnClose() override;
    // Control+T flips the display set; Control+Z and Control+Y undo and redo,
    // whichever page has the focus.
    bool HandleEvent(Window* target, int kind, Event& event) override;

    // The factory registered for the `.256` group.
    static TagEdit* Create(TagRecord* record);

    // The model. Read it freely; change it only through Change().
    const Collection& GetCollection() const { return *state_.collection; }

    // Runs `change` on a working copy of the collection. When it returns true the
    // copy becomes the collection as one undoable action, the editor is marked
    // modified and the signals of `kinds` are emitted; when it returns false nothing
    // changes. The copy shares bitmap objects with the current collection: a change
    // never alters a Bitmap in place, it puts a new one in its place (see
    // collections/CollectionEdits.h, ReplaceBitmap). Consecutive changes with the
    // same non-zero `mergeKey` are one action (typing into one field, a drag).
    bool Change(uint32_t kinds, const std::function<bool(Collection&)>& change, uintptr_t mergeKey = 0);
    bool Undo();
    bool Redo();
    const UndoHistory& History() const { return history_; }

    // Change signals, emitted after every change, undo and redo that touches the data.
    Signal<> bitmapsChanged;
    Signal<> sequencesChanged;
    Signal<> hueChangesChanged;
    Signal<> colorTableChanged;
    Signal<> flagsChanged;

    // Which set of views with a second set is shown (0 or 1). Not an edit: it is
    // neither undone nor saved. Emits sequencesChanged.
    int DisplaySet() const { return state_.collection->displaySet; }
    void FlipDisplaySet();

    // Windows that show one item register themselves while open, so that commands
    // which would pull the item away (delete, crop, replace) refuse.
    void AddBitmapWindow(Window* window, const Bitmap* bitmap);
    void AddSequenceWindow(Window* window, int sequence);
    void AddHueChangeWindow(Window* window, int hueChange);
    void RemoveOpenWindow(Window* window);
    // The open window of an item, or none.
    Window* BitmapWindowOf(const Bitmap* bitmap) const;
    bool IsSequenceOpen(int sequence) const;
    bool IsHueChangeOpen(int hueChange) const;
    bool HasOpenSequenceWindows() const;
    // The first of `bitmaps` shown in a BitmapWindow; none when no one is open.
    const Bitmap* FirstOpenBitmap(const std::vector<const Bitmap*>& bitmaps) const;

    widgets::TabWindow* Tabs() const { return tabs_; }
    Window* GetPage(Page page) const { return pages_[page]; }

private:
    class CollectionAction;
    // The collection as one action left it. States are shared between the history
    // and the editor and never change; bitmap names are kept beside them because
    // some commands rename bitmap objects in place.
    struct State {
        std::shared_ptr<Collection> collection;
        std::vector<std::string> names;
        uint64_t serial = 0;
    };
    struct OpenWindow {
        Window* window;
        int kind;  // 0 bitmap, 1 sequence, 2 hue change
        const void* bitmap;
        int index;
    };

    // Closes the sequence and hue-change windows whose item moved between the two.
    void CloseShiftedWindows(const Collection& before, const Collection& after);
    // Makes `next` the collection (keeping the shown display set) and emits signals.
    void Install(const State& next, uint32_t kinds);
    void CloseOpenWindows();
    void Emit(uint32_t kinds);
    void UpdateModified();
    static State MakeState(std::shared_ptr<Collection> collection, uint64_t serial);

    State state_;
    UndoHistory history_;
    uint64_t nextSerial_ = 1;
    uint64_t savedSerial_ = 0;  // the serial of the state last loaded or saved
    uintptr_t mergeKey_ = 0;    // the key of the latest action, while it may grow
    bool shadowsOnOpen_ = false;  // Ctrl was held while the collection was read
    CollectionAction* latestAdded_ = nullptr;  // the action last added; grows while still the history's current
    widgets::TabWindow* tabs_ = nullptr;
    Window* pages_[kPageCount] = {};
    std::vector<OpenWindow> openWindows_;
};

// The root menu's "New Collection": asks for a name and opens an editor on a new,
// unsaved collection.
void NewCollection();

}  // namespace tamber::collections::editor
