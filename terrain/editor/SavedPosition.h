#pragma once
// Where an editor's linear undo history stands relative to the last save: the
// number of actions in effect now and when the tag was saved. Changes made outside
// the history make the saved state unreachable until the next save.
namespace tamber::terrain::editor {

class SavedPosition {
public:
    // An action was added after the current one; any redo branch is gone.
    void Added();
    void Undone() { --depth_; }
    void Redone() { ++depth_; }
    // The history was emptied or the model changed outside it.
    void ChangedOutside();
    void Cleared();
    void Saved() { saved_ = depth_; }
    // A freshly read tag with an empty history.
    void Reset() { depth_ = saved_ = 0; }
    bool Modified() const { return depth_ != saved_; }

private:
    long depth_ = 0;
    long saved_ = 0;  // -1: the saved state can no longer be reached
};

}  // namespace tamber::terrain::editor
