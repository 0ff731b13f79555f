#include "sounds/editor/SoundEdit.h"

#include <algorithm>
#include <cstdio>

#include "base/MessageLog.h"
#include "platform/Os.h"
#include "sounds/SoundExport.h"
#include "tags/LooseTagFile.h"
#include "ui/choosers/FileDialogs.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::sounds::editor {
using namespace tamber::base;
using namespace tamber::platform;
using namespace tamber::ui::choosers;

namespace {

constexpr const char* kSoundExportChannel = "Sound Export";
constexpr int kMargin = 8;
constexpr int kButtonTop = 40;  // above the bottom edge

std::vector<CellValue> RowCells(const SoundPermutation& permutation) {
    const SoundDescriptor& d = permutation.descriptor;
    const uint64_t seconds = d.Rate() && d.channels ? uint64_t(d.packetCount) * 64 / d.channels / d.Rate() : 0;
    return {CellValue::Text(permutation.Name()), CellValue::Number(double(seconds), SoundDurationText(d)),
            CellValue::Integer(d.bitsPerSample), CellValue::Number(d.channels, SoundChannelsText(d.channels)),
            CellValue::Number(d.Rate(), std::to_string(d.Rate()) + " Hz")};
}

}  // namespace

SoundEdit::SoundEdit(TagRecord* record)
    : TagEdit(record), list_(new ListWindow(ListWindow::kHeaderRow | ListWindow::kMultipleSelection, kStyleControl, this)) {
    list_->SetModel(&rows_);
    list_->activated.Connect(this, &SoundEdit::OnActivated);
    exportSelected_ = AddButton("Export Selected");
    exportAll_ = AddButton("Export All");
    play_ = AddButton("Play");
    stop_ = AddButton("Stop");
    exportSelected_->clicked.Connect(this, &SoundEdit::ExportSelected);
    exportAll_->clicked.Connect(this, &SoundEdit::ExportAll);
    play_->clicked.Connect(this, &SoundEdit::Play);
    stop_->clicked.Connect(this, &SoundEdit::Stop);
    SetFrameXYWH(0, 0, kWidth, kHeight);
    SetFocusChild(list_);
    OnResize();
    AddColumns();
}

SoundEdit::~SoundEdit() = default;

void SoundEdit::AddColumns() {
    // The list's borders and scroll bar leave a little less than the 512 pixels the
    // columns ask for; "Bit Depth", whose values are two digits, gives up the rest so
    // that no horizontal scroll bar appears.
    const int missing = std::max(0, 128 + 4 * 96 - list_->Client().Width());
    list_->AddColumn("Name", CellType::kText, 128);
    list_->AddColumn("Duration", CellType::kNumber, 96);
    list_->AddColumn("Bit Depth", CellType::kNumber, 96 - missing);
    list_->AddColumn("Channels", CellType::kNumber, 96);
    list_->AddColumn("Sample Rate", CellType::kNumber, 96);
}

Button* SoundEdit::AddButton(const char* label) {
    auto* button = new Button(this, 0);
    button->SetName(label);
    button->SizeToFit();
    return button;
}

void SoundEdit::OnResize() {
    const int width = Client().Width();
    const int height = Client().Height();
    list_->SetFrameXYWH(0, 0, width, std::max(height - kStripHeight, 0));
    int x = kMargin;
    for (Button* button : {exportSelected_, exportAll_, play_, stop_}) {
        // Playback stands apart from the export buttons.
        if (button == play_) x += 3 * kMargin;
        button->SetFrameXYWH(x, height - kButtonTop, button->Frame().Width(), button->Frame().Height());
        x += button->Frame().Width() + kMargin;
    }
}

bool SoundEdit::HandleEvent(Window* target, int kind, Event& event) {
    // Space plays even while the list (which would take it) has the focus.
    if (kind == kEventKey && event.Pressed() && event.Key() == ' ' && !(event.Modifiers() & kModCtrl)) {
        Play();
        return true;
    }
    return TagEdit::HandleEvent(target, kind, event);
}

bool SoundEdit::OnKey(Event& event) {
    // Nothing here changes the tag, so there is nothing to save.
    if (event.Pressed() && event.Key() == 'S' && (event.Modifiers() & kModCtrl)) return true;
    return TagEdit::OnKey(event);
}

void SoundEdit::OnClose() {
    player_.Stop();
    TagEdit::OnClose();
}

int SoundEdit::ParsePayload(FILE* stream, const TagHeader& header) {
    const Result<std::vector<uint8_t>> payload = ReadTagPayloadBytes(stream, header);
    if (!payload) return 0;
    Result<Sound> sound = ReadSoundPayload(payload->data(), payload->size());
    if (!sound) return 0;
    sound_ = std::move(sound).value();
    list_->Refill([this] {
        rows_.Clear();
        for (size_t i = 0; i < sound_.permutations.size(); ++i) {
            rows_.SetRow(i, RowCells(sound_.permutations[i]));
            list_->AddListItem(nullptr, i, 0, sound_.permutations[i].Name());
        }
    });
    return 1;
}

std::vector<size_t> SoundEdit::SelectedPermutations() const {
    std::vector<size_t> which;
    for (const ListWindow::ListItem* item : list_->Selection()) which.push_back(size_t(item->id));
    std::sort(which.begin(), which.end());
    return which;
}

void SoundEdit::ExportAll() {
    std::string folder;
    if (ChooseFolderOfKind(kFileKindSound, nullptr, folder)) ExportTo(AllPermutations(sound_), folder);
}

void SoundEdit::ExportSelected() {
    const std::vector<size_t> which = SelectedPermutations();
    if (which.empty()) return;
    std::string folder;
    if (ChooseFolderOfKind(kFileKindSound, nullptr, folder)) ExportTo(which, folder);
}

void SoundEdit::ExportTo(const std::vector<size_t>& which, const std::string& folder) {
    std::string failures;
    const size_t failed = ExportWavs(sound_, PlanWavExport(sound_, which, folder), [&](const WavExportOutcome& outcome) {
        if (!outcome.status) {
            LogMessage(0, kSoundExportChannel, "ERROR: %s\n", outcome.status.error().c_str());
            failures += "\n" + outcome.status.error();
        } else if (outcome.replaced) {
            LogMessage(0, kSoundExportChannel, "INFO: replaced '%s'\n", outcome.path.c_str());
        } else {
            LogMessage(0, kSoundExportChannel, "INFO: wrote '%s'\n", outcome.path.c_str());
        }
    });
    if (failed) ShowError("%zu sound file%s could not be written:%s", failed, failed == 1 ? "" : "s", failures.c_str());
}

void SoundEdit::Play() {
    if (sound_.permutations.empty()) {
        OsBeep();
        return;
    }
    const std::vector<size_t> selected = SelectedPermutations();
    const SoundPermutation& permutation = sound_.permutations[selected.empty() ? 0 : selected.front()];
    const Status started = player_.Play(permutation.samples.data(), permutation.samples.size(),
                                        permutation.descriptor.channels, permutation.descriptor.Rate());
    if (!started) ShowError("Couldn't play \"%s\": %s.", permutation.Name().c_str(), started.error().c_str());
}

void SoundEdit::Stop() { player_.Stop(); }

void SoundEdit::OnActivated(ListWindow::ListItem*) { Play(); }

TagEdit* SoundEdit::Create(TagRecord* record) { return new SoundEdit(record); }

}  // namespace tamber::sounds::editor
