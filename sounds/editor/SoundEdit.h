#pragma once
// The editor of `soun` tags: the permutations listed with their duration, depth,
// channels and rate, exported as WAV files and played. It never changes the tag.
#include <cstddef>
#include <string>
#include <vector>

#include "editing/TagEdit.h"
#include "sounds/SoundPayload.h"
#include "sounds/editor/SoundPlayer.h"
#include "ui/widgets/ListWindow.h"
#include "ui/widgets/StoredListModel.h"

namespace tamber::ui::widgets { class Button; }

namespace tamber::sounds::editor {
using namespace tamber::editing;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class SoundEdit : public TagEdit {
public:
    static constexpr int kWidth = 544;
    static constexpr int kHeight = 256;
    static constexpr int kStripHeight = 48;

    explicit SoundEdit(TagRecord* record);
    ~SoundEdit() override;

    const char* GetClassName() const override { return "SoundEdit"; }
    void OnResize() override;
    // Space plays the selected permutation.
    bool HandleEvent(Window* target, int kind, Event& event) override;
    // Control+S does nothing: nothing here changes the tag.
    bool OnKey(Event& event) override;
    void OnClose() override;
    // Reads and decodes every permutation; 0 when the sound does not read.
    int ParsePayload(FILE* stream, const TagHeader& header) override;

    // The buttons: a folder dialog, then one WAV per permutation (or per selected
    // row; nothing when none is selected).
    void ExportAll();
    void ExportSelected();
    // Writes the permutations into the folder, logging each file and every
    // replaced one, and shows one "Error" box naming the files that failed.
    void ExportTo(const std::vector<size_t>& which, const std::string& folder);
    // Plays the selected permutation (the first when none is selected); a sound
    // that cannot be played is explained in an "Error" box.
    void Play();
    void Stop();

    const Sound& GetSound() const { return sound_; }
    ListWindow* List() const { return list_; }
    const SoundPlayer& Player() const { return player_; }
    std::vector<size_t> SelectedPermutations() const;

    static TagEdit* Create(TagRecord* record);

private:
    void AddColumns();
    Button* AddButton(const char* label);
    // Double-clicking a row plays it.
    void OnActivated(ListWindow::ListItem* item);

    Sound sound_;
    StoredListModel rows_;
    ListWindow* list_;
    Button* exportSelected_;
    Button* exportAll_;
    Button* play_;
    Button* stop_;
    SoundPlayer player_;
};

}  // namespace tamber::sounds::editor
