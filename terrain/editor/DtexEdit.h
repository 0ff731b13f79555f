#pragma once
// The editor of a detail texture (`dtex`): the image at 1:1 in a window of its size
// (at most 512 x 512), with import, export, the clipboard and mean centring on the
// right-button menu and Ctrl keys. Shift held while the tag is read anew shifts
// the image by half its size, bringing the tiling seams to the middle.
#include "editing/TagEdit.h"
#include "terrain/DetailTexture.h"

namespace tamber::terrain::editor {
using namespace tamber::editing;
using namespace tamber::ui;

class DtexTag;

class DtexEdit : public TagEdit {
public:
    static constexpr int kMaxView = 512;

    explicit DtexEdit(TagRecord* record);
    ~DtexEdit() override;

    const char* GetClassName() const override { return "DtexEdit"; }
    int ParsePayload(FILE* stream, const TagHeader& header) override;
    int WritePayload(FILE* stream, const TagHeader& header) override;
    int DiscardChanges() override;
    void OnClose() override;
    void Draw() override;
    bool OnKey(Event& event) override;
    void OnMouseButton(Event& event) override;
    // An image file dropped onto the editor is imported.
    bool OnFilesDropped(const std::vector<std::string>& paths) override;

    // The menu's operations; failures are shown in "Error" boxes and change nothing.
    void Import();
    bool ImportFile(const std::string& path);
    void Export();
    void Copy();
    void Paste();
    void MeanCenter(bool luma);

    DtexTag* Texture() const { return dtex_; }

    static TagEdit* Create(TagRecord* record);

private:
    void Replace(DetailTexture texture);
    void FitToImage();

    DtexTag* dtex_ = nullptr;
};

}  // namespace tamber::terrain::editor
