#include "collections/editor/X256Edit.h"

#include <algorithm>
#include <cstdint>

#include "collections/CollectionFile.h"
#include "collections/ShadowGeneration.h"
#include "collections/editor/X256BitmapBrowser.h"
#include "collections/editor/X256ColorTableEdit.h"
#include "collections/editor/X256FlagsEdit.h"
#include "collections/editor/X256HueBrowser.h"
#include "collections/editor/X256PageFactories.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TabWindow.h"

namespace tamber::collections::editor {
using namespace tamber::base;
using namespace tamber::ui::widgets;

namespace {

constexpr int kWidth = 760;
constexpr int kHeight = 560;

// The tag's data: exactly header.size bytes, read in pieces so that a size the
// file does not hold costs no more memory than the bytes present.
Result<std::vector<uint8_t>> ReadData(FILE* stream, const TagHeader& header) {
    constexpr size_t kPiece = size_t(1) << 20;
    std::vector<uint8_t> data;
    while (data.size() < header.size) {
        const size_t want = std::min(kPiece, size_t(header.size) - data.size());
        const size_t at = data.size();
        data.resize(at + want);
        if (std::fread(data.data() + at, 1, want, stream) != want) return Fail("the tag's data is shorter than its header says");
    }
    return data;
}

}  // namespace

// One change of the collection: the states before and after it, and what it touched.
class X256Edit::CollectionAction : public UndoableAction {
public:
    CollectionAction(X256Edit& editor, State before, State after, uint32_t kinds)
        : editor_(editor), before_(std::move(before)), after_(std::move(after)), kinds_(kinds) {}
    bool Do(void*) override {
        editor_.Install(after_, kinds_);
        return true;
    }
    void Undo(void*) override { editor_.Install(before_, kinds_); }
    uint64_t Serial() const { return after_.serial; }
    void SetAfter(State after) { after_ = std::move(after); }

private:
    X256Edit& editor_;
    State before_, after_;
    uint32_t kinds_;
};

X256Edit::X256Edit(TagRecord* record) : TagEdit(record), state_(MakeState(std::make_shared<Collection>(), 0)) {
    tabs_ = new TabWindow(kStyleVisible | kStyleEnabled, this);
    const char* const names[kPageCount] = {"Bitmaps", "Shadows", "Sequences", "Hue Changes", "Color Table", "Flags", "Optimize"};
    pages_[kBitmapsPage] = new X256BitmapBrowser(*this, X256BitmapBrowser::kModeBitmaps, tabs_);
    pages_[kShadowsPage] = new X256BitmapBrowser(*this, X256BitmapBrowser::kModeShadows, tabs_);
    pages_[kSequencesPage] = MakeSequencePage(*this, tabs_);
    pages_[kHueChangesPage] = new X256HueBrowser(*this, tabs_);
    pages_[kColorTablePage] = new X256ColorTableEdit(*this, tabs_);
    pages_[kFlagsPage] = new X256FlagsEdit(*this, tabs_);
    pages_[kOptimizePage] = MakeOptimizePage(*this, tabs_);
    for (int i = 0; i < kPageCount; ++i) pages_[i]->SetName(names[i]);
    tabs_->SelectTab(0);
    SetFrameXYWH(0, 0, kWidth, kHeight);
    OnResize();
}

X256Edit::~X256Edit() { CloseOpenWindows(); }

void X256Edit::OnClose() {
    CloseOpenWindows();
    TagEdit::OnClose();
}

void X256Edit::CloseOpenWindows() {
    while (!openWindows_.empty()) {
        Window* window = openWindows_.back().window;
        window->Close();
        RemoveOpenWindow(window);
    }
}

void X256Edit::GetMinimumSize(Point& out) {
    Window::GetMinimumSize(out);
    out.x += 446;
    out.y += 195;
}

void X256Edit::OnResize() { tabs_->SetFrameXYWH(0, 0, Client().Width(), Client().Height()); }

X256Edit::State X256Edit::MakeState(std::shared_ptr<Collection> collection, uint64_t serial) {
    State state{std::move(collection), {}, serial};
    for (const auto& bitmap : state.collection->bitmaps) state.names.push_back(bitmap->name);
    return state;
}

int X256Edit::ParsePayload(FILE* stream, const TagHeader& header) {
    const Result<std::vector<uint8_t>> payload = ReadData(stream, header);
    if (!payload) return 0;
    Result<std::unique_ptr<Collection>> read = ReadCollection(*payload, header.user, true);
    if (!read) return 0;
    if ((*read)->flags & kCollectionColourMap) {
        MessageBox("Unsupported",
                   "The collection is a color map, which is currently not supported for editing.\nUse Vantle instead.",
                   {"Close"});
        return 0;
    }
    shadowsOnOpen_ = WS().IsKeyDown(kKeyCtrl);
    history_.Clear();
    latestAdded_ = nullptr;
    savedSerial_ = nextSerial_++;
    Install(MakeState(std::move(*read), savedSerial_), kChangeAll);
    state_.collection->displaySet = 1;
    UpdateModified();
    return 1;
}

void X256Edit::Present() {
    TagEdit::Present();
    // The editor itself takes no keys: the shown page gets them, so the editor's
    // keys work as soon as it opens.
    const int shown = tabs_->SelectedTab();
    if (shown >= 0 && shown < kPageCount) WS().SetFocus(pages_[shown], kFocusByProgram);
    if (!shadowsOnOpen_) return;
    shadowsOnOpen_ = false;
    const double scale = ShadowScaleFor(TagName());
    Change(kChangeBitmaps | kChangeSequences, [scale](Collection& c) { return GenerateShadows(c, scale) > 0; });
}

int X256Edit::WritePayload(FILE* stream, const TagHeader&) {
    // Which colours each hue change affects follows the palette being written.
    Collection written = *state_.collection;
    for (HueChange& hue : written.hueChanges) hue.ComputeAffected(written.palette.data());
    const Result<CollectionPayload> payload = WriteCollection(written);
    if (!payload) return 0;
    // The collection flags live in the header's user field.
    SetHeaderFields(payload->fields.user, payload->fields.version);
    return std::fwrite(payload->bytes.data(), 1, payload->bytes.size(), stream) == payload->bytes.size() ? 1 : 0;
}

int X256Edit::Save() {
    const int saved = TagEdit::Save();
    if (saved) {
        savedSerial_ = state_.serial;
        UpdateModified();
    }
    return saved;
}

int X256Edit::DiscardChanges() {
    while (state_.serial != savedSerial_ && history_.Undo()) {}
    return 1;
}

bool X256Edit::Change(uint32_t kinds, const std::function<bool(Collection&)>& change, uintptr_t mergeKey) {
    auto next = std::make_shared<Collection>(*state_.collection);
    if (!change(*next)) return false;
    CollectionAction* latest = history_.Current() == latestAdded_ ? latestAdded_ : nullptr;
    if (mergeKey && mergeKey == mergeKey_ && latest && latest->Serial() == state_.serial && state_.serial != savedSerial_) {
        State after = MakeState(std::move(next), state_.serial);
        latest->SetAfter(after);
        Install(after, kinds);
    } else {
        auto action = std::make_unique<CollectionAction>(*this, state_, MakeState(std::move(next), nextSerial_++), kinds);
        CollectionAction* added = action.get();
        latestAdded_ = history_.AddAction(std::move(action), false) ? added : nullptr;
    }
    mergeKey_ = mergeKey;
    UpdateModified();
    return true;
}

bool X256Edit::Undo() {
    mergeKey_ = 0;
    if (!history_.Undo()) return false;
    UpdateModified();
    return true;
}

bool X256Edit::Redo() {
    mergeKey_ = 0;
    if (!history_.Redo()) return false;
    UpdateModified();
    return true;
}

namespace {

// The first position at which two lists differ, judged by `same`; the shorter
// list's length when one is the other's beginning.
template <class Item, class Same>
size_t FirstDifference(const std::vector<Item>& a, const std::vector<Item>& b, Same same) {
    size_t i = 0;
    while (i < a.size() && i < b.size() && same(a[i], b[i])) ++i;
    return i;
}

bool LooksSame(const Sequence& a, const Sequence& b) {
    return a.name == b.name && a.frames.size() == b.frames.size() &&
           (a.frames.empty() || a.frames[0].views.size() == b.frames[0].views.size());
}

}  // namespace

void X256Edit::CloseShiftedWindows(const Collection& before, const Collection& after) {
    // Sequence and hue-change windows know their item by position: after an insertion
    // or removal, those from the first changed position on would show another item.
    size_t sequenceShift = SIZE_MAX, hueShift = SIZE_MAX;
    if (before.sequences.size() != after.sequences.size())
        sequenceShift = FirstDifference(before.sequences, after.sequences, LooksSame);
    if (before.hueChanges.size() != after.hueChanges.size())
        hueShift = FirstDifference(before.hueChanges, after.hueChanges,
                                   [](const HueChange& a, const HueChange& b) { return a == b; });
    std::vector<Window*> shifted;
    for (const OpenWindow& open : openWindows_) {
        if ((open.kind == 1 && size_t(open.index) >= sequenceShift) || (open.kind == 2 && size_t(open.index) >= hueShift))
            shifted.push_back(open.window);
    }
    for (Window* window : shifted) window->Close();
}

void X256Edit::Install(const State& next, uint32_t kinds) {
    const int shown = state_.collection->displaySet;
    CloseShiftedWindows(*state_.collection, *next.collection);
    state_ = next;
    state_.collection->displaySet = shown;
    for (size_t i = 0; i < state_.names.size(); ++i) state_.collection->bitmaps[i]->name = state_.names[i];
    Emit(kinds);
}

void X256Edit::Emit(uint32_t kinds) {
    // A bitmap change shows in the sequences too.
    if (kinds & kChangeBitmaps) kinds |= kChangeSequences;
    if (kinds & kChangeBitmaps) bitmapsChanged.Emit();
    if (kinds & kChangeSequences) sequencesChanged.Emit();
    if (kinds & kChangeHueChanges) hueChangesChanged.Emit();
    if (kinds & kChangeColorTable) colorTableChanged.Emit();
    if (kinds & kChangeFlags) flagsChanged.Emit();
}

void X256Edit::UpdateModified() { SetModified(state_.serial != savedSerial_ ? 1 : 0); }

void X256Edit::FlipDisplaySet() {
    state_.collection->displaySet = state_.collection->displaySet == 1 ? 0 : 1;
    sequencesChanged.Emit();
    Invalidate();
}

bool X256Edit::HandleEvent(Window* target, int kind, Event& event) {
    // Keys typed into a box of a window this editor opened are that box's.
    if (kind == kEventKey && target->GetTopLevel() == GetTopLevel() && event.Pressed() &&
        (event.Modifiers() & kModCtrl)) {
        switch (event.Key()) {
        case 'T': FlipDisplaySet(); return true;
        case 'Z': Undo(); return true;
        case 'Y': Redo(); return true;
        default: break;
        }
    }
    return TagEdit::HandleEvent(target, kind, event);
}

void X256Edit::AddBitmapWindow(Window* window, const Bitmap* bitmap) { openWindows_.push_back({window, 0, bitmap, -1}); }
void X256Edit::AddSequenceWindow(Window* window, int sequence) { openWindows_.push_back({window, 1, nullptr, sequence}); }
void X256Edit::AddHueChangeWindow(Window* window, int hueChange) { openWindows_.push_back({window, 2, nullptr, hueChange}); }

void X256Edit::RemoveOpenWindow(Window* window) {
    std::erase_if(openWindows_, [&](const OpenWindow& open) { return open.window == window; });
}

Window* X256Edit::BitmapWindowOf(const Bitmap* bitmap) const {
    for (const OpenWindow& open : openWindows_)
        if (open.kind == 0 && open.bitmap == bitmap) return open.window;
    return nullptr;
}

bool X256Edit::IsSequenceOpen(int sequence) const {
    return std::any_of(openWindows_.begin(), openWindows_.end(),
                       [&](const OpenWindow& open) { return open.kind == 1 && open.index == sequence; });
}

bool X256Edit::IsHueChangeOpen(int hueChange) const {
    return std::any_of(openWindows_.begin(), openWindows_.end(),
                       [&](const OpenWindow& open) { return open.kind == 2 && open.index == hueChange; });
}

bool X256Edit::HasOpenSequenceWindows() const {
    return std::any_of(openWindows_.begin(), openWindows_.end(), [](const OpenWindow& open) { return open.kind == 1; });
}

const Bitmap* X256Edit::FirstOpenBitmap(const std::vector<const Bitmap*>& bitmaps) const {
    for (const Bitmap* bitmap : bitmaps)
        if (BitmapWindowOf(bitmap)) return bitmap;
    return nullptr;
}

TagEdit* X256Edit::Create(TagRecord* record) { return new X256Edit(record); }

void NewCollection() { PromptNewTag(kCollectionGroupCode, nullptr); }

}  // namespace tamber::collections::editor
